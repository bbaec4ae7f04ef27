#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

using korvex::base::FixedText;
using korvex::base::GeneralText;
using korvex::ncgen::ReadNumber;

namespace {

// Rounds a plain decimal text ("123.4567", no sign) half away from zero to `decimals` decimals.
std::string roundDecimalText(const std::string& text, int decimals) {
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    fraction.resize(std::max<std::size_t>(fraction.size(), static_cast<std::size_t>(decimals) + 1),
                    '0');
    const bool up = fraction[static_cast<std::size_t>(decimals)] >= '5';
    std::string digits = whole + fraction.substr(0, static_cast<std::size_t>(decimals));
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i--)] = '0';
        }
        if (i < 0) {
            digits.insert(0, "1");
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    while (digits.size() > static_cast<std::size_t>(decimals) + 1 && digits[0] == '0') {
        digits.erase(0, 1);
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    }
    return digits;
}

// Typed decimals of up to 18 digits survive the 80-bit value: rounding the value must give the
// same text as rounding the typed digits, on both sides of the zero and for tiny values too.
TEST(FixedText, RoundsTypedDecimalsLikeTheirDigits) {
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 20000; ++i) {
        int wholeDigits = static_cast<int>(random() % 7);
        const int fractionDigits = static_cast<int>(random() % 12);
        const int leadingZeros = i % 4 == 0 ? static_cast<int>(random() % 15) : 0;
        if (leadingZeros > 0) {
            wholeDigits = 0; // keeps at most 17 significant digits
        }
        std::string text = wholeDigits == 0 ? "0" : "";
        for (int k = 0; k < wholeDigits; ++k) {
            text += static_cast<char>('0' + (k == 0 ? 1 + random() % 9 : random() % 10));
        }
        text += '.';
        text.append(static_cast<std::size_t>(leadingZeros), '0');
        for (int k = 0; k < fractionDigits; ++k) {
            // Many fives make ties at the rounding position frequent.
            text += static_cast<char>('0' + (random() % 3 == 0 ? 5 : random() % 10));
        }
        const int decimals = static_cast<int>(random() % 9);
        const long double value = ReadNumber(text).value;
        const std::string expected = roundDecimalText(text, decimals);
        ASSERT_EQ(FixedText(value, decimals), expected) << text << " to " << decimals;
        if (value != 0) {
            ASSERT_EQ(FixedText(-value, decimals), "-" + expected) << "-" << text;
        }
    }
}

TEST(GeneralText, WritesShortestFormWithFifteenDigits) {
    struct TCase {
        const char* typed;
        const char* expected;
    };
    const std::array<TCase, 13> cases = {{
        {"-30", "-30"},
        {"12.5", "12.5"},
        {"1E-5", "1E-5"},
        {"0.0001", "0.0001"},
        {"0.00015", "0.00015"},
        {"1.5e-7", "1.5E-7"},
        {"1e15", "1E15"},
        {"123456789012345", "123456789012345"},
        {"0.1", "0.1"},
        {"0", "0"},
        {"-0.25", "-0.25"},
        {"0.33333333333333333", "0.333333333333333"},
        {"2.9999999999999999", "3"},
    }};
    for (const TCase& c : cases) {
        EXPECT_EQ(GeneralText(ReadNumber(c.typed).value, 15), c.expected) << c.typed;
    }
}

} // namespace
