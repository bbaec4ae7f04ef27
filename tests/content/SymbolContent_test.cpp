// Content kinds as a scanner sees them: the codewords Korvex writes, the refusals before
// anything is written, and what zxing-cpp reads back (identifier, content type, bytes), with
// zint's GS1 mode as the reference encoder.

#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "content/Gs1Content.h"
#include "content/IuidMarking.h"
#include "content/SymbolContent.h"
#include "datamatrix/CodewordBuffer.h"
#include "datamatrix/TDatamatrix.h"
#include "datamatrix/SymbolReader.h"

#include <ZXing/Content.h>
#include <gtest/gtest.h>
#include <zint.h>

#include <cstring>
#include <string>

namespace korvex::content {
namespace {

using datamatrix::TDatamatrix;

struct TRead {
    bool ok = false;
    std::string bytes;
    std::string text; // UTF-8, after the ECI
    std::string identifier;
    ZXing::ContentType type = ZXing::ContentType::Text;
};

TRead readGrid(int cols, int rows, const std::function<bool(int, int)>& dark) {
    const testing::GridImage image = testing::RenderGrid(cols, rows, dark, 4);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setIsPure(true);
    const ZXing::Result result = ZXing::ReadBarcode(
        {image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum}, hints);
    TRead read;
    if (!result.isValid()) return read;
    read.ok = true;
    read.bytes.assign(result.bytes().begin(), result.bytes().end());
    read.text = result.text();
    read.identifier = result.symbologyIdentifier();
    read.type = result.contentType();
    return read;
}

TRead readSymbol(const TDatamatrix& dm) {
    const datamatrix::TIArray m = dm.Matrix();
    return readGrid(dm.MatrixCols(), dm.MatrixRows(), [&m](int x, int y) { return m[x][y] != 0; });
}

// The data codewords before the first pad, as "232 131 ...".
std::string codewordText(const TDatamatrix& dm) {
    std::string text;
    for (const int codeword : dm.DataCodewords()) {
        if (codeword == datamatrix::CW_PAD) break;
        if (!text.empty()) text += ' ';
        text += std::to_string(codeword);
    }
    return text;
}

TDatamatrix encoded(const TSymbolContent& content,
                    datamatrix::TEncoding encoding = datamatrix::E_ASCII) {
    TDatamatrix dm;
    dm.Encoding = encoding;
    ApplyContent(content, dm);
    dm.paintBarcode(nullptr);
    return dm;
}

struct Gs1Case {
    const char* name;
    const char* text;
    const char* codewords; // nullptr: refused
    std::string readerBytes;
    int refusal;
    const char* detail;
};

// Written by hand from ISO/IEC 16022 (digit pairs 130 + value, FNC1 232), not by the encoder.
const Gs1Case GS1_CASES[] = {
    {"GtinExpiryLotSerial", "(01)09506000134352(17)261231(10)ABC123(21)7",
     "232 131 139 180 190 130 143 173 182 147 156 142 161 140 66 67 68 142 52 232 151 56",
     "0109506000134352"
     "17261231"
     "10ABC123\x1D"
     "217",
     0, ""},
    {"VariableLastHasNoSeparator", "(01)09506000134352(10)ABC",
     "232 131 139 180 190 130 143 173 182 140 66 67 68", "010950600013435210ABC", 0, ""},
    {"EachVariableNotLastEndsInFnc1", "(10)AB(21)12(17)261200",
     "232 140 66 67 232 151 142 232 147 156 142 130",
     "10AB\x1D"
     "2112\x1D"
     "17261200",
     0, ""},
    {"FixedButNotPredefinedNeedsSeparator", "(7003)2612311530(21)X1",
     "232 200 133 156 142 161 145 160 232 151 89 50",
     "70032612311530\x1D"
     "21X1",
     0, ""},
    {"SsccCheckDigit", "(00)106141412345678908", "232 130 140 191 171 171 153 175 197 219 138",
     "00106141412345678908", 0, ""},
    {"DocumentTypeWithSerialPart", "(253)9506000134352ABC",
     "232 155 169 180 190 130 143 173 182 66 67 68", "2539506000134352ABC", 0, ""},
    {"WrongCheckDigit", "(01)09506000134353", nullptr, "", text::Gs1WrongCheckDigit,
     "(01)09506000134353"},
    {"UnknownAi", "(01)09506000134352(19)12", nullptr, "", text::Gs1UnknownAi, "(19)12"},
    {"TooLong", "(10)ABCDEFGHIJKLMNOPQRSTU", nullptr, "", text::Gs1TooLong,
     "(10)ABCDEFGHIJKLMNOPQRSTU"},
    {"FixedTooShort", "(01)0950600013435", nullptr, "", text::Gs1TooShort, "(01)0950600013435"},
    {"BlankOutsideSet82", "(21)AB CD", nullptr, "", text::Gs1BadCharacter, "(21)AB CD"},
    {"LetterInNumericAi", "(01)0950600013435A", nullptr, "", text::Gs1BadCharacter,
     "(01)0950600013435A"},
    {"MonthThirteen", "(17)261331", nullptr, "", text::Gs1BadDate, "(17)261331"},
    {"ThirtiethOfFebruary", "(11)260230", nullptr, "", text::Gs1BadDate, "(11)260230"},
    {"DayZeroWhereNotAllowed", "(7006)261200", nullptr, "", text::Gs1BadDate, "(7006)261200"},
    {"NoBracketedAi", "0109506000134352", nullptr, "", text::Gs1NoIdentifier, "0109506000134352"},
};

class Gs1Content : public ::testing::TestWithParam<Gs1Case> {};

TEST_P(Gs1Content, CodewordsRefusalAndReadBack) {
    const Gs1Case& c = GetParam();
    const TSymbolContent content = PrepareContent(TContentKind::Gs1, c.text);
    if (c.codewords == nullptr) {
        EXPECT_EQ(content.Refusal, (base::TTextMessage{c.refusal, 0, c.detail}));
        return;
    }
    ASSERT_TRUE(content.Ok()) << content.Refusal.Text << " " << content.Refusal.Detail;
    EXPECT_EQ(content.HumanReadable, c.text);
    EXPECT_EQ(codewordText(encoded(content)), c.codewords);
    // FNC1 stays an ASCII codeword in every encodation, or readers lose the separators.
    for (const auto encoding : {datamatrix::E_ASCII, datamatrix::E_C40, datamatrix::E_TEXT,
                                datamatrix::E_BASE256, datamatrix::E_AUTO}) {
        const TRead read = readSymbol(encoded(content, encoding));
        ASSERT_TRUE(read.ok) << datamatrix::EncodingName(encoding);
        EXPECT_EQ(read.identifier, "]d2") << datamatrix::EncodingName(encoding);
        EXPECT_EQ(read.type, ZXing::ContentType::GS1) << datamatrix::EncodingName(encoding);
        EXPECT_EQ(read.bytes, c.readerBytes) << datamatrix::EncodingName(encoding);
    }
    // zint's GS1 mode, the reference, reads back to the same bytes.
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->input_mode = GS1_MODE | GS1PARENS_MODE;
    const std::string input = c.text;
    ASSERT_LT(ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(input.data()),
                              static_cast<int>(input.size())),
              ZINT_ERROR)
        << symbol->errtxt;
    const TRead zint = readGrid(symbol->width, symbol->rows, [symbol](int x, int y) {
        return (symbol->encoded_data[y][x / 8] >> (x % 8) & 1) != 0;
    });
    ZBarcode_Delete(symbol);
    EXPECT_EQ(zint.bytes, c.readerBytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, Gs1Content, ::testing::ValuesIn(GS1_CASES),
                         [](const auto& row) { return std::string(row.param.name); });

struct AiCase {
    const char* text;
    TGs1Fault fault;
    bool zintKnows; // zint 2.11's table predates the AIs added since 2023
};

// The GS1 General Specifications' AI table (Release 25): 3100-3105 only, as the fourth digit
// places the decimal point in six digits; AIs of the current table are known.
const AiCase AI_CASES[] = {
    {"(3105)123456", TGs1Fault::None, true},
    {"(3106)123456", TGs1Fault::UnknownAi, true},
    {"(3109)123456", TGs1Fault::UnknownAi, true},
    {"(3375)123456", TGs1Fault::None, true},
    {"(3943)1234", TGs1Fault::None, true},
    {"(3944)1234", TGs1Fault::UnknownAi, true},
    {"(3956)123456", TGs1Fault::UnknownAi, true},
    {"(00)106141412345678908(4321)1", TGs1Fault::None, true},
    {"(00)106141412345678908(4321)2", TGs1Fault::BadCharacter, false},
    {"(00)106141412345678908(4324)2612001230", TGs1Fault::None, true},
    {"(00)106141412345678908(4324)2612002460", TGs1Fault::BadDateOrTime, true},
    {"(01)09506000134352(7240)ABC-1", TGs1Fault::None, true},
    {"(01)09506000134352(716)AIC123", TGs1Fault::None, false},
    {"(01)09506000134352(717)AIC123", TGs1Fault::UnknownAi, true},
    {"(01)09506000134352(7011)261231", TGs1Fault::None, false},
    {"(01)09506000134352(7011)26123112", TGs1Fault::BadDateOrTime, false},
    {"(00)106141412345678908(4331)003250-", TGs1Fault::None, false},
    {"(00)106141412345678908(4331)003250+", TGs1Fault::BadCharacter, false},
    {"(8018)123456789012345675(7250)20000229", TGs1Fault::None, false},
    {"(8018)123456789012345675(7250)19000229", TGs1Fault::BadDateOrTime, false},
    {"(03)09506000134352", TGs1Fault::None, false},
    {"(01)09506000134352(21)1(8030)AZaz09-_", TGs1Fault::None, false},
    {"(01)09506000134352(21)1(8030)AZ+/", TGs1Fault::BadCharacter, false},
    {"(01)09506000134352(8008)26123125", TGs1Fault::BadDateOrTime, true},
};

TEST(Gs1Content, AiTableFollowsTheCurrentGeneralSpecifications) {
    for (const AiCase& c : AI_CASES) {
        const TGs1Parse parse = ParseGs1(c.text);
        EXPECT_EQ(parse.Fault, c.fault) << c.text;
        if (!c.zintKnows) continue;
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = BARCODE_DATAMATRIX;
        symbol->input_mode = GS1_MODE | GS1PARENS_MODE;
        const int zint = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(c.text),
                                         static_cast<int>(std::strlen(c.text)));
        // zint warns (but encodes) where its linters find a wrong value; it refuses a wrong AI.
        EXPECT_EQ(zint == 0, c.fault == TGs1Fault::None) << c.text << ": " << symbol->errtxt;
        ZBarcode_Delete(symbol);
    }
}

struct EnvelopeCase {
    const char* name;
    TContentKind kind;
    const char* text; // the lines of the text field
    int firstCodeword;
    std::string readerBytes;
    const char* humanReadable;
};

const EnvelopeCase ENVELOPE_CASES[] = {
    {"Format06Construct2", TContentKind::Iso15434Format06, "17V0CVA5\r\n1P1234-5\r\nS786950", 237,
     "[)>\x1E"
     "06\x1D"
     "17V0CVA5\x1D"
     "1P1234-5\x1D"
     "S786950\x1E\x04",
     "D0CVA51234-5786950"},
    {"Format06LinesEndedByLf", TContentKind::Iso15434Format06, "18S0CVA5786950\n", 237,
     "[)>\x1E"
     "06\x1D"
     "18S0CVA5786950\x1E\x04",
     "D0CVA5786950"},
    {"Format05GtinSerial", TContentKind::Iso15434Format05, "(01)09506000134352\r\n(21)7A", 236,
     "[)>\x1E"
     "05\x1D"
     "0109506000134352\x1D"
     "217A\x1E\x04",
     "(01)09506000134352(21)7A"},
    {"Format12SpelledOut", TContentKind::Iso15434Format12, "MFR 0CVA5\r\nSER 786950", '[' + 1,
     "[)>\x1E"
     "12\x1D"
     "MFR 0CVA5\x1D"
     "SER 786950\x1E\x04",
     ""},
};

class EnvelopeContent : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(EnvelopeContent, MacroOrSpelledOutEnvelopeReadsAsIso15434) {
    const EnvelopeCase& c = GetParam();
    const TSymbolContent content = PrepareContent(c.kind, c.text);
    ASSERT_TRUE(content.Ok()) << content.Refusal.Text << " " << content.Refusal.Detail;
    EXPECT_EQ(content.HumanReadable, c.humanReadable);
    const TDatamatrix dm = encoded(content);
    EXPECT_EQ(dm.DataCodewords().front(), c.firstCodeword);
    const TRead read = readSymbol(dm);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.type, ZXing::ContentType::ISO15434);
    EXPECT_EQ(read.bytes, c.readerBytes);
    EXPECT_EQ(content.ReaderBytes, c.readerBytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, EnvelopeContent, ::testing::ValuesIn(ENVELOPE_CASES),
                         [](const auto& row) { return std::string(row.param.name); });

struct UiiCase {
    const char* name;
    const char* elements;
    const char* uii; // nullptr: refused
    int refusal;
};

// MIL-STD-130N, table A-II: the UII a reader concatenates per construct.
const UiiCase UII_CASES[] = {
    {"Construct1CageAndSerial", "18S0CVA5786950", "D0CVA5786950", 0},
    {"Construct1Complete", "25SUN0779912891234786950", "UN0779912891234786950", 0},
    {"Construct2Cage", "17V0CVA5\n1P1234\nS786950", "D0CVA51234786950", 0},
    {"Construct2Duns", "12V077991289\n1P1234\nS786950", "UN0779912891234786950", 0},
    {"Construct2DodaacLot", "7LS4404A\n1TLOT7\nS12", "LDS4404ALOT712", 0},
    {"Construct2AgencyInData", "18VD0CVA5\n1P1234\nS786950", "D0CVA51234786950", 0},
    {"TraceabilityBesideTheUii", "17V0CVA5\n1P1234\nS786950\n30TLOT-4", "D0CVA51234786950", 0},
    {"MissingSerial", "17V0CVA5\n1P1234", nullptr, text::UiiNoSerial},
    {"MissingPart", "17V0CVA5\nS786950", nullptr, text::UiiNoPartOrLot},
    {"Over50Characters", "17V0CVA5\n1P123456789012345678901234567890\nS1234567890123456", nullptr,
     text::UiiTooLong},
    {"LowerCaseInUii", "18S0cva5786950", nullptr, text::UiiBadCharacter},
    {"TwoEnterprises", "17V0CVA5\n12V077991289\n1P1\nS2", nullptr, text::UiiTwoConstructs},
};

class UiiContent : public ::testing::TestWithParam<UiiCase> {};

TEST_P(UiiContent, ReaderUiiOrRefusal) {
    const UiiCase& c = GetParam();
    const TSymbolContent content = PrepareContent(TContentKind::Iso15434Format06, c.elements);
    if (c.uii == nullptr) {
        EXPECT_EQ(content.Refusal.Text, c.refusal);
        EXPECT_FALSE(content.Refusal.Detail.empty());
        return;
    }
    ASSERT_TRUE(content.Ok()) << content.Refusal.Text;
    EXPECT_EQ(content.HumanReadable, c.uii);
}

INSTANTIATE_TEST_SUITE_P(Cases, UiiContent, ::testing::ValuesIn(UII_CASES),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SymbolContent, EnvelopeRefusesControlCharactersAndEmptyText) {
    EXPECT_EQ(PrepareContent(TContentKind::Iso15434Format06, "17V0CVA5\x1D"
                                                             "1P1\nS2")
                  .Refusal.Text,
              text::Iso15434ControlCharacter);
    EXPECT_EQ(PrepareContent(TContentKind::Iso15434Format12, "\r\n").Refusal.Text,
              text::Iso15434NoElement);
    // The envelope typed by hand as the first line (it has no RS) is refused, not marked.
    for (const auto kind : {TContentKind::Iso15434Format05, TContentKind::Iso15434Format06,
                            TContentKind::Iso15434Format12})
        EXPECT_EQ(PrepareContent(kind, "[)>06\r\n17V0CVA5\r\n1P1234\r\nS786950").Refusal,
                  (base::TTextMessage{text::Iso15434EnvelopeTyped, 0, "[)>06"}));
}

TEST(SymbolContent, Windows1252OnlyCharactersGetEci23AndReadBackAsText) {
    const std::string euro = base::Utf8ToWindows1252("Preis 5 \xE2\x82\xAC").text;
    const TSymbolContent content = PrepareContent(TContentKind::Text, euro);
    EXPECT_TRUE(content.Eci);
    const TDatamatrix dm = encoded(content);
    EXPECT_EQ(dm.DataCodewords()[0], datamatrix::CW_ECI);
    EXPECT_EQ(dm.DataCodewords()[1], 24);
    const TRead read = readSymbol(dm);
    EXPECT_EQ(read.text, "Preis 5 \xE2\x82\xAC");

    // Latin-1 letters mean the same in a reader's default: the codewords of the bytes alone.
    const TSymbolContent umlaut = PrepareContent(TContentKind::Text, "M\xFC"
                                                                     "ller");
    EXPECT_FALSE(umlaut.Eci);
    EXPECT_TRUE(umlaut.Marks.Empty());
}

TEST(SymbolContent, IuidMarksOutsideMilStd130LimitsAreWarned) {
    struct Row {
        TContentKind kind;
        long double moduleSize;
        int cols, rows;
        std::vector<base::TTextMessage> expected;
    };
    const Row rows[] = {
        {TContentKind::Iso15434Format06, 0.5L, 22, 22, {}},
        {TContentKind::Iso15434Format06, 0.19L, 18, 18, {}},
        {TContentKind::Iso15434Format06, 0.18L, 18, 18, {{text::IuidModuleSize, 0, "0.180 mm"}}},
        {TContentKind::Iso15434Format05, -0.7L, 10, 10, {{text::IuidModuleSize, 0, "0.700 mm"}}},
        {TContentKind::Iso15434Format12,
         0.6L,
         44,
         44,
         {{text::IuidSymbolTooLarge, 0, "26.400 mm"}}},
        {TContentKind::Iso15434Format06, 0.5L, 32, 8, {{text::IuidNotSquare, 0, "32 x 8"}}},
        {TContentKind::Gs1, 1.0L, 32, 8, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IuidMarkingWarnings(row.kind, row.moduleSize, row.cols, row.rows), row.expected)
            << static_cast<double>(row.moduleSize) << " " << row.cols << "x" << row.rows;
}

} // namespace
} // namespace korvex::content
