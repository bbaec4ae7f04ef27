#include "CliProcess.h"
#include "support/PhotoRender.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using korvex::testing::RunCli;
namespace photo = korvex::phototest;

struct TOutcome {
    const char* Name;
    std::string File; // written into the test's folder; empty: none there
    std::vector<std::string> Extra;
    int Exit;
    const char* Says; // on standard output for 0, else on standard error
};

void PrintTo(const TOutcome& o, std::ostream* os) {
    *os << o.Name;
}

std::string png(double fill) {
    photo::TPhotoScene s;
    s.Fill = fill;
    s.AngleDegrees = 17;
    return photo::EncodePhoto(photo::RenderPhoto(s), ".png");
}

class VerifyCommand : public testing::TestWithParam<TOutcome> {};

// What a script sees: the exit status tells read, no symbol, a photo that cannot be read and
// bad arguments apart, and the words say why in the user's language.
TEST_P(VerifyCommand, ExitsAndSaysWhatHappened) {
    if (std::getenv("KORVEX_CLI_COMMAND")) GTEST_SKIP() << "the Windows build has no verification";
    const TOutcome& o = GetParam();
    TempFolder dir;
    std::vector<std::string> args{"verify", "--config", korvex::testing::EnglishConfig()};
    args.insert(args.end(), o.Extra.begin(), o.Extra.end());
    const std::string file = (dir / "photo.png").string();
    if (!o.File.empty()) writeBytes(dir / "photo.png", o.File);
    if (o.Extra.empty() || o.Extra.back() != "--format") args.push_back(file);
    const auto result = RunCli(args);
    EXPECT_EQ(result.exitCode, o.Exit) << result.err;
    EXPECT_NE((o.Exit == 0 ? result.out : result.err).find(o.Says), std::string::npos)
        << result.out << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Photos, VerifyCommand,
    testing::Values(
        TOutcome{"Reads", png(0.8), {}, 0, "Decoded: \"KORVEX 4711\" (symbology identifier ]d1"},
        TOutcome{"SaysItIsNotCalibrated", png(0.8), {}, 0, "Not a calibrated verifier"},
        TOutcome{"Json", png(0.7), {"--format", "json"}, 0, "\"calibrated\":false"},
        TOutcome{"BareMetal", png(0), {}, 3, "No readable DataMatrix symbol found in"},
        TOutcome{"NotAPicture", "G0 X0\r\n", {}, 1, "is not a PNG, JPEG, TIFF or BMP picture"},
        TOutcome{"Missing", "", {}, 1, "cannot be opened"},
        TOutcome{"BadFormat", png(0.8), {"--format", "xml"}, 2, "--format must be text or json"},
        TOutcome{"NoPhoto", "", {"--format"}, 2, "option --format needs a value"}),
    [](const auto& c) { return std::string(c.param.Name); });

} // namespace
