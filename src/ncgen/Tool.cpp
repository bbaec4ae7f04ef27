#include "ncgen/Tool.h"

#include "base/DecimalText.h"
#include "base/TextNumbers.h"
#include "ncgen/NumberReading.h"

namespace korvex::ncgen {

using base::GeneralText;

namespace {

// Each measure must be a number in range; the problem names which one is not.
base::TTextMessage checkTool(const TTool& tool) {
    if (tool.Kind == TToolKind::Cone) {
        if (!(tool.Angle >= 1 && tool.Angle <= 179)) return {text::ToolAngleRange};
        if (!(tool.Tip >= 0 && tool.Tip < 100)) return {text::ToolTipRange};
    }
    if (tool.Kind == TToolKind::Ball && !(tool.Radius > 0 && tool.Radius < 100))
        return {text::ToolRadiusRange};
    return {};
}

bool readMeasure(std::string_view text, long double& value) {
    const TNumberReading reading = ReadNumber(text);
    if (!reading.ok) return false;
    value = reading.value;
    return true;
}

TToolReading checked(TTool tool) {
    TToolReading reading;
    reading.Problem = checkTool(tool);
    if (reading.Problem.Empty()) reading.Tool = tool;
    return reading;
}

} // namespace

TToolReading ReadTool(const TToolTexts& texts) {
    TToolReading reading;
    // The kind is one digit: "1.5" or "abc" must not pass as a cone or as no tool.
    const auto first = texts.Kind.find_first_not_of(" \t");
    const auto last = texts.Kind.find_last_not_of(" \t");
    const std::string kindText =
        first == std::string::npos ? std::string() : texts.Kind.substr(first, last - first + 1);
    if (kindText.empty() || kindText == "0") return reading;
    const std::int64_t kind = kindText == "1" ? 1 : kindText == "2" ? 2 : -1;
    if (kind != 1 && kind != 2) {
        reading.Problem = {text::ToolKindUnknown, 0, {}, {texts.Kind}};
        return reading;
    }
    TTool tool;
    tool.Kind = kind == 1 ? TToolKind::Cone : TToolKind::Ball;
    if (tool.Kind == TToolKind::Cone) {
        if (!readMeasure(texts.Angle, tool.Angle)) {
            reading.Problem = {text::ToolMeasureNoNumber, 0, {}, {"WzWinkel", texts.Angle}};
            return reading;
        }
        // A sharp point is the usual case; an empty tip is no flat.
        if (!texts.Tip.empty() && !readMeasure(texts.Tip, tool.Tip)) {
            reading.Problem = {text::ToolMeasureNoNumber, 0, {}, {"WzSpitze", texts.Tip}};
            return reading;
        }
    } else if (!readMeasure(texts.Radius, tool.Radius)) {
        reading.Problem = {text::ToolMeasureNoNumber, 0, {}, {"WzRadius", texts.Radius}};
        return reading;
    }
    return checked(tool);
}

TToolTexts ToolTexts(const TTool& tool) {
    TToolTexts texts;
    texts.Kind = std::to_string(static_cast<int>(tool.Kind));
    if (tool.Kind == TToolKind::None) return texts;
    texts.Angle = GeneralText(tool.Angle, 6);
    texts.Tip = GeneralText(tool.Tip, 6);
    texts.Radius = GeneralText(tool.Radius, 6);
    return texts;
}

TToolReading ParseToolOption(std::string_view option) {
    TToolReading reading;
    const auto fail = [&reading, option]() {
        reading.Problem = {text::ToolOptionInvalid, 0, {}, {std::string(option)}};
        return reading;
    };
    if (option == "none") return reading;
    TTool tool;
    std::string_view rest;
    if (option.starts_with("cone:")) {
        tool.Kind = TToolKind::Cone;
        rest = option.substr(5);
        const auto colon = rest.find(':');
        if (!readMeasure(rest.substr(0, colon), tool.Angle)) return fail();
        if (colon != rest.npos && !readMeasure(rest.substr(colon + 1), tool.Tip)) return fail();
    } else if (option.starts_with("ball:")) {
        tool.Kind = TToolKind::Ball;
        if (!readMeasure(option.substr(5), tool.Radius)) return fail();
    } else {
        return fail();
    }
    return checked(tool);
}

std::string DescribeTool(const TTool& tool) {
    switch (tool.Kind) {
    case TToolKind::None:
        break;
    case TToolKind::Cone:
        return "cone " + GeneralText(tool.Angle, 6) + "\xB0, tip " + GeneralText(tool.Tip, 6) +
               " mm";
    case TToolKind::Ball:
        return "ball r " + GeneralText(tool.Radius, 6) + " mm";
    }
    return "no tool";
}

} // namespace korvex::ncgen
