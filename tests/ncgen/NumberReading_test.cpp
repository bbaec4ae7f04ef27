#include "ncgen/NumberReading.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

using korvex::ncgen::ReadNumber;
using korvex::ncgen::ReadWholeNumber;

namespace {

struct TReadingCase {
    const char* text;
    bool ok;
    long double value;
};

TEST(ReadNumber, AcceptsOnlyCompleteNumbersAndKeepsThePartialValue) {
    const std::array<TReadingCase, 24> cases = {{
        {"12.5", true, 12.5L},
        {"  -3.25", true, -3.25L},
        {"+7", true, 7.0L},
        {"1E3", true, 1000.0L},
        {"2.5e-1", true, 0.25L},
        {"1e+2", true, 100.0L},
        {".5", true, 0.5L},
        {"5.", true, 5.0L},
        {"-0", true, 0.0L},
        {"1e-99999", true, 0.0L}, // underflow reads as zero
        {"", false, 0.0L},        // empty is not a number
        {"   ", false, 0.0L},
        {"1,5", false, 1.0L},     // comma: digits before it
        {"12.5x", false, 125.0L}, // digits before the bad character, without the point
        {"-3a", false, 3.0L},     // ... and without the sign
        {"Q200", false, 0.0L},
        {"1 ", false, 1.0L},    // nothing may follow
        {"1e", false, 1.0L},    // exponent without digits
        {"1e5x", false, 15.0L}, // exponent digits count too
        {"e5", false, 0.0L},
        {".", false, 0.0L},
        {"-", false, 0.0L},
        {"inf", false, 0.0L},
        {"1e99999", false, 199999.0L}, // overflow is not a number
    }};
    for (const TReadingCase& c : cases) {
        const auto reading = ReadNumber(c.text);
        EXPECT_EQ(reading.ok, c.ok) << '"' << c.text << '"';
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
    }
}

// Beyond the extended range a value is either huge (not a number) or tiny (zero); which one
// depends on where the digits stand, not only on the exponent's sign.
TEST(ReadNumber, OutOfRangeTellsHugeFromTinyByThePlaceOfTheDigits) {
    const std::string zeros(5000, '0');
    const std::string manyNines(30, '9');
    const std::array<std::pair<std::string, bool>, 8> cases = {{
        {"1" + zeros + "e-1", false}, // about 1E4999: too large
        {"-1" + zeros + "E-10", false},
        {"1" + zeros, false},
        {"0." + zeros + "1e1", true}, // about 1E-4999: as good as zero
        {"-0." + zeros + "5", true},
        {"0.00" + zeros + "1e+10", true},
        {"5e-" + manyNines, true}, // an exponent longer than any register
        {"0.5e" + manyNines, false},
    }};
    for (const auto& [text, ok] : cases) {
        const auto reading = ReadNumber(text);
        EXPECT_EQ(reading.ok, ok) << text.substr(0, 12) << "... of " << text.size()
                                  << " characters";
        if (ok) {
            EXPECT_EQ(reading.value, 0.0L);
        }
    }
}

TEST(ReadNumber, ReadsTypedDecimalsToTheNearestExtendedValue) {
    EXPECT_EQ(ReadNumber("0.1").value, 0.1L);
    EXPECT_EQ(ReadNumber("1.2345").value, 1.2345L);
    EXPECT_EQ(ReadNumber("-1234567.875").value, -1234567.875L);
}

struct TWholeCase {
    const char* text;
    std::int64_t value;
};

TEST(ReadWholeNumber, ReadsDecimalAndHexUpToTheFirstOtherCharacter) {
    const std::array<TWholeCase, 14> cases = {{
        {"3", 3},
        {"  42", 42},
        {"-10", -10},
        {"+5", 5},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X10", 16},
        {"-$10", -16},
        {"12abc", 12},
        {"3.7", 3},
        {"", 0},
        {"abc", 0},
        {"$", 0},
        {"0", 0},
    }};
    for (const TWholeCase& c : cases) {
        EXPECT_EQ(ReadWholeNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ReadWholeNumber, WrapsLikeARegisterSoNarrowingKeepsTheLowBits) {
    EXPECT_EQ(static_cast<std::int32_t>(ReadWholeNumber("$FFFFFFFF")), -1);
    EXPECT_EQ(static_cast<std::uint8_t>(ReadWholeNumber("259")), 3);
}

} // namespace
