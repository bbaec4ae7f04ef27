#include "simulation/SimulationNumber.h"

#include "simulation/EConvertError.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace korvex::simulation {
namespace {

struct Accepted {
    const char* text;
    long double value;
};

class ValidNumber : public ::testing::TestWithParam<Accepted> {};

TEST_P(ValidNumber, Converts) {
    EXPECT_EQ(ParseSimulationNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValidNumber,
    ::testing::Values(Accepted{"2.000", 2}, Accepted{"-0.100", -0.1L}, Accepted{"12.500", 12.5L},
                      Accepted{"+5", 5}, Accepted{"  7 ", 7}, Accepted{".5", 0.5L},
                      Accepted{"1.", 1}, Accepted{"1e3", 1000}, Accepted{"2.5E-1", 0.25L},
                      Accepted{"-0", 0}, Accepted{"0.001", 0.001L},
                      Accepted{"123456.789", 123456.789L},
                      // More digits than the fast path holds take the slow one.
                      Accepted{"3.14159265358979323846264", 3.14159265358979323846264L},
                      Accepted{"1e40", 1e40L}));

class InvalidNumber : public ::testing::TestWithParam<const char*> {};

TEST_P(InvalidNumber, RaisesConversionError) {
    EXPECT_THROW(ParseSimulationNumber(GetParam()), EConvertError) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Texts, InvalidNumber,
                         ::testing::Values("", " ", "-", "+", ".", "1,5", "1.2.3", "abc", "1e",
                                           "1e+", "0x10", "nan", "inf", "2;3", "x", "1 2", "--1",
                                           "1e99999"));

TEST(SimulationNumber, ThreeDecimalTextsConvertToTheNearestValue) {
    // The fast path divides two exact numbers once, so it rounds correctly.
    for (long long thousandths = -200000; thousandths <= 200000; thousandths += 997) {
        const std::string text = std::to_string(thousandths / 1000) + "." +
                                 std::to_string(1000 + std::llabs(thousandths % 1000)).substr(1);
        const std::string signedText = (thousandths < 0 && thousandths > -1000 ? "-" : "") + text;
        EXPECT_EQ(ParseSimulationNumber(signedText), std::strtold(signedText.c_str(), nullptr))
            << signedText;
    }
}

TEST(SimulationNumber, RandomTextsNeverCrash) {
    std::mt19937 random(12345);
    const std::string alphabet = "0123456789.+-eE ;,x";
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 12, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        try {
            const long double v = ParseSimulationNumber(text);
            EXPECT_EQ(v, std::strtold(text.c_str(), nullptr)) << text;
        } catch (const EConvertError&) {
        }
    }
}

} // namespace
} // namespace korvex::simulation
