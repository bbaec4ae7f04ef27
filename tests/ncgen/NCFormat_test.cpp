#include "ncgen/NCFormat.h"
#include "base/ENumberFormatError.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

using korvex::ncgen::FormatNumber;
using korvex::ncgen::TNCFormat;

namespace {

TNCFormat formatOf(bool dezipunkt, bool ncpunkt, bool nnullen, bool vnullen, bool vorzeichen,
                   int decimals, int digits) {
    TNCFormat f;
    f.Dezipunkt = dezipunkt;
    f.NCpunkt = ncpunkt;
    f.NNullen = nnullen;
    f.VNullen = vnullen;
    f.Vorzeichen = vorzeichen;
    f.Nachkommastellen = static_cast<std::uint8_t>(decimals);
    f.Stellen = static_cast<std::uint8_t>(digits);
    return f;
}

struct TExampleRow {
    const char* name;
    TNCFormat format;
    std::array<const char*, 7> expected; // for the values below
};

constexpr std::array<long double, 7> EXAMPLE_VALUES = {12.5L, 10.0L,   0.0L,    -3.25L,
                                                       0.5L,  1.2345L, -0.0004L};

class ExampleTable : public ::testing::TestWithParam<TExampleRow> {};

TEST_P(ExampleTable, EveryValueFormatsAsTheTableSays) {
    const TExampleRow& row = GetParam();
    for (std::size_t i = 0; i < EXAMPLE_VALUES.size(); ++i) {
        EXPECT_EQ(FormatNumber(row.format, EXAMPLE_VALUES[i]), row.expected[i])
            << "format " << row.name << ", value " << static_cast<double>(EXAMPLE_VALUES[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAtoG, ExampleTable,
    ::testing::Values(
        TExampleRow{"A",
                    formatOf(true, false, false, false, false, 3, 3),
                    {"12.5", "10", "0", "-3.25", "0.5", "1.235", "-0"}},
        TExampleRow{"B",
                    formatOf(true, true, false, false, false, 3, 3),
                    {"12.5", "10.", "0.", "-3.25", "0.5", "1.235", "-0."}},
        TExampleRow{"C",
                    formatOf(true, false, true, false, false, 3, 3),
                    {"12.500", "10.000", "0.000", "-3.250", "0.500", "1.235", "-0.000"}},
        TExampleRow{"D",
                    formatOf(false, false, true, true, false, 3, 6),
                    {"012500", "010000", "000000", "-003250", "000500", "001235", "-000000"}},
        TExampleRow{"E",
                    formatOf(false, false, true, false, false, 3, 6),
                    {"12500", "10000", "0000", "-3250", "0500", "1235", "-0000"}},
        TExampleRow{"F",
                    formatOf(true, false, true, true, true, 3, 7),
                    {"+0012.500", "+0010.000", "+0000.000", "-0003.250", "+0000.500", "+0001.235",
                     "-0000.000"}},
        TExampleRow{"G",
                    formatOf(true, true, false, false, false, 0, 0),
                    {"13.", "10.", "0.", "-3.", "1.", "1.", "-0."}}),
    [](const auto& rowInfo) { return std::string(rowInfo.param.name); });

struct TCase {
    TNCFormat format;
    long double value;
    const char* expected;
    const char* why;
};

TEST(FormatNumber, EdgeCasesOfSignPointAndZeros) {
    const TNCFormat a = formatOf(true, false, false, false, false, 3, 3);
    const TNCFormat noPointNoZeros = formatOf(false, false, false, false, false, 3, 3);
    const std::array<TCase, 12> cases = {{
        {a, -0.0L, "0", "negative zero never gets a sign"},
        {formatOf(true, false, false, false, true, 3, 3), -0.0L, "+0",
         "negative zero counts as not negative"},
        {formatOf(false, true, false, false, false, 3, 3), 10.0L, "1",
         "NCpunkt without Dezipunkt has no effect"},
        {formatOf(true, false, false, false, false, 0, 0), 12.5L, "13",
         "d = 0 rounds half away, no point"},
        {formatOf(true, false, false, false, false, 0, 0), -12.5L, "-13",
         "half away from zero also below 0"},
        {formatOf(true, false, true, false, false, 3, 9), 12.5L, "12.500",
         "Stellen without VNullen does nothing"},
        {noPointNoZeros, 0.0L, "0", "all-zero digits keep one digit"},
        {noPointNoZeros, -0.0004L, "-0", "a negative value rounding to zero keeps its sign"},
        {noPointNoZeros, 12.5L, "125", "without point the digits close up and lose trailing zeros"},
        {a, 0.0005L, "0.001", "half away at the last decimal"},
        {formatOf(true, false, false, false, false, 2, 0), 2.675L, "2.68",
         "the binary residue of 2.675 does not show"},
        {a, 123456789.0004L, "123456789", "large values stay fixed"},
    }};
    for (const TCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.format, c.value), c.expected) << c.why;
    }
}

TEST(FormatNumber, RoundsOnEighteenSignificantDigits) {
    // Whichever side of ...0005 the 80-bit value lies, on 18 digits it is a tie, rounded away.
    const TNCFormat a = formatOf(true, false, false, false, false, 3, 3);
    EXPECT_EQ(FormatNumber(a, 1.0005L), "1.001");
    EXPECT_EQ(FormatNumber(a, -1.0005L), "-1.001");
    EXPECT_EQ(FormatNumber(formatOf(true, false, false, false, false, 17, 0), 0.1L), "0.1");
}

TEST(FormatNumber, ManyDecimalsAndHugeValuesStayInFixedNotation) {
    const TNCFormat c = formatOf(true, false, true, false, false, 20, 0);
    EXPECT_EQ(FormatNumber(c, 0.5L), "0.50000000000000000000");
    const TNCFormat a = formatOf(true, false, false, false, false, 3, 3);
    EXPECT_EQ(FormatNumber(a, 1e20L), "100000000000000000000");
    EXPECT_EQ(FormatNumber(a, 1e-30L), "0");
}

// A controller reads "12.500", "+0012.5" or, without a point, "12500" as the last
// Nachkommastellen digits being the decimals. Answers the value in those decimal units.
std::optional<long long> readAsController(const std::string& text, const TNCFormat& format) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    long long whole = 0, fraction = 0;
    int fractionDigits = 0;
    bool point = false, digits = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            (point ? fraction : whole) = (point ? fraction : whole) * 10 + (c - '0');
            if (point) ++fractionDigits;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || fractionDigits > format.Nachkommastellen) return std::nullopt;
    if (!format.Dezipunkt) {
        if (point) return std::nullopt;
        return negative ? -whole : whole;
    }
    long long scale = 1;
    for (int k = 0; k < format.Nachkommastellen; ++k) {
        scale *= 10;
        if (k >= fractionDigits) fraction *= 10;
    }
    const long long value = whole * scale + fraction;
    return negative ? -value : value;
}

TEST(FormatNumber, EveryFormatWithPointOrTrailingZerosReadsBackAsWritten) {
    std::mt19937_64 random(17);
    std::uniform_int_distribution<long long> units(-99'999'999, 99'999'999);
    int formats = 0;
    for (int flags = 0; flags < 32; ++flags) {
        const bool dezipunkt = flags & 1, nnullen = flags & 2;
        if (!dezipunkt && !nnullen) continue;
        for (int decimals = 0; decimals <= 5; ++decimals) {
            for (int digits : {0, 4, 10}) {
                const TNCFormat f = formatOf(dezipunkt, flags & 4, nnullen, flags & 8, flags & 16,
                                             decimals, digits);
                ++formats;
                long double scale = 1;
                for (int k = 0; k < decimals; ++k)
                    scale *= 10;
                for (int n = 0; n < 250; ++n) {
                    // Values on the format's own grid, and ones a decimal finer that it rounds
                    // half away from zero.
                    const long long u = units(random);
                    const bool finer = n % 2 == 1;
                    const long double x = u / (finer ? scale * 10 : scale);
                    const long long expected =
                        finer ? (u + (u < 0 ? -5 : 5)) / 10 : u; // C++ truncates towards zero
                    const std::string text = FormatNumber(f, x);
                    const auto back = readAsController(text, f);
                    ASSERT_TRUE(back.has_value()) << text << " flags " << flags;
                    ASSERT_EQ(*back, expected)
                        << text << " flags " << flags << " d " << decimals << " stellen " << digits;
                }
            }
        }
    }
    EXPECT_EQ(formats, 24 * 6 * 3);
}

TEST(FormatNumber, NonFiniteValuesThrowInsteadOfWritingGarbage) {
    const TNCFormat a = formatOf(true, false, false, false, false, 3, 3);
    EXPECT_THROW(FormatNumber(a, std::numeric_limits<long double>::infinity()),
                 korvex::base::ENumberFormatError);
    EXPECT_THROW(FormatNumber(a, std::numeric_limits<long double>::quiet_NaN()),
                 korvex::base::ENumberFormatError);
}

} // namespace
