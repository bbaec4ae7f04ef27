#include "content/SymbolContent.h"

#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "content/Gs1Content.h"
#include "content/Gs1Identifiers.h"
#include "content/UniqueItemIdentifier.h"

#include <algorithm>
#include <vector>

namespace korvex::content {

namespace {

constexpr char RS = '\x1E';
constexpr char GS = '\x1D';
constexpr char EOT = '\x04';
constexpr int ECI_WINDOWS_1252 = 23;

int gs1FaultText(TGs1Fault fault) {
    switch (fault) {
    case TGs1Fault::None:
        break;
    case TGs1Fault::NoIdentifier:
        return text::Gs1NoIdentifier;
    case TGs1Fault::UnknownAi:
        return text::Gs1UnknownAi;
    case TGs1Fault::TooShort:
        return text::Gs1TooShort;
    case TGs1Fault::TooLong:
        return text::Gs1TooLong;
    case TGs1Fault::BadCharacter:
        return text::Gs1BadCharacter;
    case TGs1Fault::WrongCheckDigit:
        return text::Gs1WrongCheckDigit;
    case TGs1Fault::BadDate:
        return text::Gs1BadDate;
    case TGs1Fault::BadDateOrTime:
        return text::Gs1BadDateOrTime;
    }
    return 0;
}

int uiiFaultText(TUiiFault fault) {
    switch (fault) {
    case TUiiFault::None:
    case TUiiFault::NoConstruct:
        break;
    case TUiiFault::TwoConstructs:
        return text::UiiTwoConstructs;
    case TUiiFault::NoPartOrLot:
        return text::UiiNoPartOrLot;
    case TUiiFault::NoSerial:
        return text::UiiNoSerial;
    case TUiiFault::TooLong:
        return text::UiiTooLong;
    case TUiiFault::BadCharacter:
        return text::UiiBadCharacter;
    }
    return 0;
}

void prepareGs1(std::string_view text, TSymbolContent& content) {
    const TGs1Parse parse = ParseGs1(text);
    if (!parse.Ok()) {
        content.Refusal = {gs1FaultText(parse.Fault), 0, parse.Faulty};
        return;
    }
    content.Marks.Lead.push_back(datamatrix::CW_FNC1);
    for (std::size_t i = 0; i < parse.Elements.size(); ++i) {
        const TGs1Element& element = parse.Elements[i];
        if (i > 0 && !HasPredefinedLength(parse.Elements[i - 1].Ai)) {
            content.Marks.Fnc1Before.push_back(static_cast<int>(content.Code.size()));
            content.ReaderBytes += GS;
        }
        content.Code += element.Ai + element.Data;
        content.ReaderBytes += element.Ai + element.Data;
    }
    content.HumanReadable = Gs1HumanReadable(parse.Elements);
    content.SymbologyIdentifier = "]d2";
    content.ReaderType = TReaderContentType::Gs1;
}

std::vector<std::string> dataElements(std::string_view text) {
    std::vector<std::string> elements;
    for (std::string& line : base::SplitLines(text))
        if (!line.empty()) elements.push_back(std::move(line));
    return elements;
}

void prepareIso15434(TContentKind kind, std::string_view text, TSymbolContent& content) {
    std::vector<std::string> elements = dataElements(text);
    if (elements.empty()) {
        content.Refusal = {text::Iso15434NoElement, 0, {}};
        return;
    }
    // ISO/IEC 15434 opens a message with "[)>" RS and the format with its number and GS, once;
    // Korvex writes both (or the macro codeword that stands for them). A first line "[)>06" is
    // the envelope typed by hand: without RS no reader takes it for one, and no data element
    // begins so, so encoding it would hand every reader a first element that is none.
    if (elements.front().starts_with("[)>")) {
        content.Refusal = {text::Iso15434EnvelopeTyped, 0, elements.front()};
        return;
    }
    // The envelope's own separators inside an element would end it early for every reader.
    for (const std::string& element : elements)
        if (std::any_of(element.begin(), element.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
            content.Refusal = {text::Iso15434ControlCharacter, 0, element};
            return;
        }
    if (kind == TContentKind::Iso15434Format05) {
        std::vector<std::string> strings;
        std::vector<TGs1Element> all;
        for (const std::string& element : elements) {
            const TGs1Parse parse = ParseGs1(element);
            if (!parse.Ok()) {
                content.Refusal = {gs1FaultText(parse.Fault), 0, parse.Faulty};
                return;
            }
            for (const TGs1Element& one : parse.Elements) {
                strings.push_back(one.Ai + one.Data);
                all.push_back(one);
            }
        }
        elements = std::move(strings);
        content.HumanReadable = Gs1HumanReadable(all);
    }
    if (kind == TContentKind::Iso15434Format06) {
        const TUii uii = BuildUii(elements);
        if (const int refusal = uiiFaultText(uii.Fault); refusal != 0) {
            content.Refusal = {refusal, 0, uii.Value.empty() ? elements.front() : uii.Value};
            return;
        }
        content.HumanReadable = uii.Value;
    }

    const std::string format = kind == TContentKind::Iso15434Format05   ? "05"
                               : kind == TContentKind::Iso15434Format06 ? "06"
                                                                        : "12";
    std::string joined;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) joined += GS;
        joined += elements[i];
    }
    const std::string header = std::string("[)>") + RS + format + GS;
    const std::string trailer = std::string(1, RS) + EOT;
    if (kind == TContentKind::Iso15434Format12) {
        content.Code = header + joined + trailer;
    } else {
        // ISO/IEC 16022, 5.2.4.2: the macro codeword stands for header and trailer.
        content.Marks.Lead.push_back(kind == TContentKind::Iso15434Format05
                                         ? datamatrix::CW_MACRO_05
                                         : datamatrix::CW_MACRO_06);
        content.Code = joined;
    }
    content.ReaderBytes = header + joined + trailer;
    content.ReaderType = TReaderContentType::Iso15434;
}

} // namespace

bool NeedsEci(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F && byte != 0x81 && byte != 0x8D && byte != 0x8F &&
           byte != 0x90 && byte != 0x9D;
}

TSymbolContent PrepareContent(TContentKind kind, std::string_view text) {
    TSymbolContent content;
    switch (kind) {
    case TContentKind::Text:
        content.Code = std::string(text);
        content.ReaderBytes = content.Code;
        if (std::any_of(text.begin(), text.end(),
                        [](char c) { return NeedsEci(static_cast<unsigned char>(c)); })) {
            content.Marks.Lead = {datamatrix::CW_ECI, ECI_WINDOWS_1252 + 1};
            content.Eci = true;
        }
        break;
    case TContentKind::Gs1:
        prepareGs1(text, content);
        break;
    case TContentKind::Iso15434Format05:
    case TContentKind::Iso15434Format06:
    case TContentKind::Iso15434Format12:
        prepareIso15434(kind, text, content);
        break;
    }
    if (!content.Ok()) {
        content.Code.clear();
        content.Marks = {};
        content.ReaderBytes.clear();
    }
    return content;
}

base::TTextMessage TooLongForAnySymbol(TContentKind kind) {
    if (kind == TContentKind::Text) return {};
    return {text::ContentTooLongForSymbol, 0, {}};
}

void ApplyContent(const TSymbolContent& content, datamatrix::TDatamatrix& symbol) {
    symbol.Code = content.Code;
    symbol.Marks = content.Marks;
    symbol.rebuild = true;
}

} // namespace korvex::content
