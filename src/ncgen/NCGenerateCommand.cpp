#include "ncgen/NCGenerateCommand.h"

#include "base/PathText.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "content/IuidMarking.h"
#include "datamatrix/ERangeError.h"
#include "datamatrix/TDatamatrix.h"
#include "ncgen/NumberReading.h"
#include "ncgen/DateCodes.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/GenerateChecks.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/ProfileSelection.h"

#include <algorithm>

namespace korvex::ncgen {

namespace {

void refuse(TGenerateCommandResult& result, base::TTextMessage message) {
    result.Outcome = TGenerateOutcome::Refused;
    result.Message = std::move(message);
}

bool hasTemplateLines(const TActiveProfile& profile) {
    const auto any = [](const TTemplate& lines) {
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& line) { return !line.empty(); });
    };
    return any(profile.FirstPoint) || any(profile.FollowingPoints) || any(profile.End);
}

// Without the angle every row of a turned part lands on one line of the surface.
bool turnsPerDot(const TActiveProfile& profile) {
    const auto has = [](const TTemplate& lines) {
        return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("[#AVAL]") != line.npos;
        });
    };
    return has(profile.FirstPoint) && has(profile.FollowingPoints);
}

} // namespace

void GenerateCommand(TLayerTable& layers, const TGenerateFields& fields,
                     const TActiveProfile& profile, std::string_view profileName,
                     TGenerateCommandResult& result) {
    const TLayerFields& window = fields.Layer;
    const std::string code = base::JoinLines(window.EText);

    const TStatusCheck status = Checkstatus(
        {code, window.EDrehWinkel, fields.REbeneauswahl, fields.ZEbeneauswahl}, profile);
    if (status.MessageText != 0) {
        refuse(result, {status.MessageText, status.DetailText, {}});
        return;
    }
    const TGenerateCheck check =
        CheckGenerateFields(window.EGroesse, window.EXVersatz, window.EYVersatz);
    if (!check.Ok) {
        result.EXVersatz = check.EXVersatz;
        result.EYVersatz = check.EYVersatz;
        refuse(result, {check.MessageText, check.DetailText, {}});
        return;
    }
    // Without a single template line the program would be empty and look like success.
    if (!hasTemplateLines(profile)) {
        refuse(result, {text::ProfileHasNoTemplate, 0, std::string(profileName)});
        return;
    }
    if (base::TTextMessage unreadable = CheckNumberFormat(profile.Format, profileName);
        !unreadable.Empty()) {
        refuse(result, std::move(unreadable));
        return;
    }
    if (code.empty()) {
        result.Outcome = TGenerateOutcome::NoText;
        return;
    }
    // Marking flat instead would cut every dot at a depth nobody asked for.
    if (fields.Surface.Mode != TSurfaceMode::Flat && !fields.Surface.Cylinder.Usable()) {
        refuse(result, {text::SurfaceNeedsCylinder, 0, {}});
        return;
    }
    if (fields.Surface.Mode == TSurfaceMode::Rotary && !turnsPerDot(profile)) {
        refuse(result, {text::RotaryNeedsAngle, 0, {}, {std::string(profileName)}});
        return;
    }
    result.Content = content::PrepareContent(window.Content, code);
    if (!result.Content.Ok()) {
        refuse(result, result.Content.Refusal);
        return;
    }
    result.DroppedTextLines = layers.StoreCurrentLayer(window);

    datamatrix::TDatamatrix symbol;
    content::ApplyContent(result.Content, symbol);
    symbol.Encoding = window.CurrentEncodation < datamatrix::ENCODING_COUNT
                          ? static_cast<datamatrix::TEncoding>(window.CurrentEncodation)
                          : datamatrix::E_ASCII;
    symbol.PreferredFormat = window.CurrentSymbolSize < datamatrix::FORMAT_COUNT
                                 ? static_cast<datamatrix::TFormat>(window.CurrentSymbolSize)
                                 : datamatrix::AUTO;
    symbol.AllowDmre = window.Dmre;
    symbol.rebuild = true;
    try {
        symbol.paintBarcode(nullptr);
    } catch (const datamatrix::ERangeError&) {
        base::TTextMessage tooLong = content::TooLongForAnySymbol(window.Content);
        if (tooLong.Empty()) throw;
        refuse(result, std::move(tooLong));
        return;
    }
    result.PreferredFormat = symbol.PreferredFormat;
    result.CalculatedFormat = symbol.CalculatedFormat();
    result.ContentWarnings =
        content::IuidMarkingWarnings(window.Content, ReadNumber(window.EGroesse).value,
                                     symbol.MatrixCols(), symbol.MatrixRows());
    if (datamatrix::IsDmre(symbol.CalculatedFormat()))
        result.ContentWarnings.push_back(
            {text::DmreOlderReaders, 0, {}, {std::string(FormatName(symbol.CalculatedFormat()))}});

    std::vector<THrtDot> textDots;
    if (window.Hrt.Position != THrtPosition::None) {
        result.HrtText = HrtText(window.Hrt, result.Content.HumanReadable, code,
                                 fields.Now ? *fields.Now : LocalNow());
        THrtLayout layout = LayoutHrt(window.Hrt, result.HrtText, symbol.MatrixCols(),
                                      symbol.MatrixRows(), ReadNumber(window.EGroesse).value);
        if (!layout.Refusal.Empty()) {
            refuse(result, std::move(layout.Refusal));
            return;
        }
        textDots = std::move(layout.Dots);
    }
    const datamatrix::TIArray matrix = symbol.Matrix();
    // The profile's tool aims each dot on the tilted surface.
    TSurface surface = fields.Surface;
    if (surface.Tool.Kind == TToolKind::None) surface.Tool = CheckedTool(profile);
    TGenerateOutput output;
    const TGenerateInput input{layers.Layer(1),
                               matrix,
                               symbol.MatrixCols(),
                               symbol.MatrixRows(),
                               profile,
                               fields.REbeneauswahl,
                               fields.ZEbeneauswahl,
                               false,
                               surface,
                               textDots.empty() ? nullptr : &textDots};
    const auto keep = [&result, &output] {
        result.NCLines = std::move(output.NCLines);
        result.SimulationLines = std::move(output.SimulationLines);
        result.PointLines = std::move(output.PointLines);
        result.LastUsedFormat = output.LastUsedFormat;
    };
    try {
        GenerateLayer(input, output);
    } catch (...) {
        keep();
        throw;
    }
    if (!output.Refusal.Empty()) {
        refuse(result, std::move(output.Refusal));
        return;
    }
    keep();
    result.Outcome = TGenerateOutcome::Generated;
}

TGenerateCommandResult GenerateCommand(TLayerTable& layers, const TGenerateFields& fields,
                                       const TActiveProfile& profile,
                                       std::string_view profileName) {
    TGenerateCommandResult result;
    GenerateCommand(layers, fields, profile, profileName, result);
    return result;
}

base::TTextMessage CheckBatchJob(const TLoadReport& report, const std::filesystem::path& file) {
    if (!report.AddedDefaultLayer) return {};
    return {text::TemplateHoldsNoLayer, 0, base::PathText(file)};
}

} // namespace korvex::ncgen
