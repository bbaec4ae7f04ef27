#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const fs::path VIEW_JOBS = fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "view";
const std::string CONFIG = fs::path(KORVEX_DATA_DIR).string();
const std::string BLANK_JOB = (VIEW_JOBS / "blank_box.ncm").string();

// Polylines by (number of points, stroke colour, dotted). Plain string search: std::regex
// warns in the sanitizer build.
std::map<std::tuple<std::size_t, std::string, bool>, int> strokes(const std::string& svg) {
    std::map<std::tuple<std::size_t, std::string, bool>, int> found;
    const std::string head = "<polyline points=\"";
    for (std::size_t at = svg.find(head); at != std::string::npos; at = svg.find(head, at + 1)) {
        const std::size_t pointsEnd = svg.find('"', at + head.size());
        const std::size_t tagEnd = svg.find("/>", at);
        if (pointsEnd == std::string::npos || tagEnd == std::string::npos) {
            ADD_FAILURE() << "unterminated polyline at " << at;
            break;
        }
        const std::string points = svg.substr(at + head.size(), pointsEnd - at - head.size());
        const std::string rest = svg.substr(pointsEnd + 1, tagEnd - pointsEnd - 1);
        const std::string strokeHead = " stroke=\"#";
        if (!rest.starts_with(strokeHead) || rest.size() < strokeHead.size() + 7) {
            ADD_FAILURE() << "polyline without a stroke colour: " << rest;
            continue;
        }
        const std::string colour = rest.substr(strokeHead.size() - 1, 7);
        const auto count =
            static_cast<std::size_t>(std::count(points.begin(), points.end(), ' ') + 1);
        ++found[{count, colour, rest.find(" stroke-dasharray") != std::string::npos}];
    }
    return found;
}

// The dark modules of the job's text, from the encoder's own command.
int darkModules(const std::string& text) {
    const auto encoded = RunCli({"encode", text});
    EXPECT_EQ(encoded.exitCode, 0) << encoded.err;
    return static_cast<int>(std::count(encoded.out.begin(), encoded.out.end(), '#'));
}

void expectStandaloneSvg(const std::string& svg, const std::string& size) {
    EXPECT_EQ(
        svg.rfind(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"",
            0),
        0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 " + size + "\""), std::string::npos);
    EXPECT_TRUE(svg.ends_with("</g>\n</svg>\n"));
    for (std::size_t amp = svg.find('&'); amp != std::string::npos; amp = svg.find('&', amp + 1)) {
        const std::string_view rest = std::string_view(svg).substr(amp);
        EXPECT_TRUE(rest.starts_with("&amp;") || rest.starts_with("&lt;") ||
                    rest.starts_with("&gt;") || rest.starts_with("&quot;") ||
                    rest.starts_with("&apos;"))
            << rest.substr(0, 10);
    }
}

TEST(ViewCommand, WritesAStandaloneSvgWithOneMarkerPerDarkModule) {
    TempFolder scratch;
    const fs::path out = scratch / "blank.svg";
    const auto result = RunCli({"view", "--config", CONFIG, "-o", out.string(), BLANK_JOB});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "");
    const std::string svg = readBytes(out);
    expectStandaloneSvg(svg, "800 600");
    // The delivered settings: blue background, yellow path, white rapid moves, orange blank.
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"800\" height=\"600\" fill=\"#3050ff\"/>"),
              std::string::npos);
    const auto found = strokes(svg);
    const int dots = darkModules("12345678");
    EXPECT_GT(dots, 50);
    EXPECT_EQ((found.at({12, "#ffff00", false})), dots);     // tool markers
    EXPECT_EQ((found.at({2, "#ffff00", false})), dots);      // plunges
    EXPECT_EQ((found.at({2, "#ffffff", true})), dots);       // rapid moves, shown by the settings
    EXPECT_EQ((found.at({10, "#ffc882", false})), 1);        // the blank box: top, side, bottom
    EXPECT_EQ((found.at({2, "#ffc882", false})), 3);         // and its other three uprights
    EXPECT_EQ((found.at({3, "#c8d2ff", false})), 3 + 3 + 9); // arrows, origin axes, back walls
    for (const char* label : {">x</text>", ">y</text>", ">z</text>"})
        EXPECT_NE(svg.find(label), std::string::npos) << label;
}

TEST(ViewCommand, PrintsToStandardOutputInTheSizeAndViewAsked) {
    const auto top = RunCli({"view", "--config", CONFIG, "--view", "xy", "--width", "500",
                             "--height", "400", BLANK_JOB});
    ASSERT_EQ(top.exitCode, 0) << top.err;
    expectStandaloneSvg(top.out, "500 400");
    const auto oblique =
        RunCli({"view", "--config", CONFIG, "--width", "500", "--height", "400", BLANK_JOB});
    ASSERT_EQ(oblique.exitCode, 0) << oblique.err;
    EXPECT_NE(top.out, oblique.out);
    // Both show every dot.
    EXPECT_EQ((strokes(top.out).at({12, "#ffff00", false})),
              (strokes(oblique.out).at({12, "#ffff00", false})));
}

TEST(ViewCommand, RefusesUnusableArguments) {
    const std::vector<std::vector<std::string>> rows = {
        {"--view", "XW", BLANK_JOB},
        {"--width", "0", BLANK_JOB},
        {"--width", "12abc", BLANK_JOB},
        {"--height", "99999", BLANK_JOB},
        {"--bogus", BLANK_JOB},
        {},
        {BLANK_JOB, BLANK_JOB},
        {BLANK_JOB, "-o"},
        {"--view", "XY", "--view", "XZ", BLANK_JOB},
        {"--profile", "no such profile", BLANK_JOB}};
    for (const auto& row : rows) {
        std::vector<std::string> args = {"view", "--config", CONFIG};
        args.insert(args.end(), row.begin(), row.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(row);
        EXPECT_EQ(result.out, "") << testing::PrintToString(row);
        EXPECT_NE(result.err, "") << testing::PrintToString(row);
    }
}

TEST(ViewCommand, PassStoppedByAnUnprojectableBlankIsNoSuccess) {
    // The blank's corner lies 10^4931 units away, beyond what a pixel can be computed from.
    const std::string huge = "1" + std::string(4931, '0');
    std::string job = readBytes(BLANK_JOB);
    const std::size_t blank = job.find("BLANK ");
    ASSERT_NE(blank, std::string::npos);
    job.replace(blank, job.find('\n', blank) - blank,
                "BLANK ROHDEF QUAD XM" + huge + " YP25 ZP" + huge + " XP30 YM0 ZM-5");
    TempFolder scratch;
    const fs::path jobFile = scratch / "far_blank.ncm";
    writeBytes(jobFile, job);
    const fs::path out = jobFile.parent_path() / "far_blank.svg";

    const auto result = RunCli({"view", "--config", korvex::testing::EnglishConfig(), "--view",
                                "XY", "-o", out.string(), jobFile.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("stopped after 0 of"), std::string::npos) << result.err;
    // What was drawn before the stop is still written, as the window would show it.
    const std::string svg = readBytes(out);
    expectStandaloneSvg(svg, "800 600");
    EXPECT_EQ(strokes(svg).count({12, "#ffff00", false}), 0u);
}

TEST(ViewCommand, MissingJobOrUnwritableOutputFailsWithoutAPicture) {
    TempFolder scratch;
    const fs::path out = scratch / "never.svg";
    const auto missing = RunCli(
        {"view", "--config", CONFIG, "-o", out.string(), (VIEW_JOBS / "no_such_job.ncm").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("no_such_job.ncm"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(out));

    const auto unwritable =
        RunCli({"view", "--config", CONFIG, "-o",
                (out.parent_path() / "missing-folder" / "x.svg").string(), BLANK_JOB});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("kann nicht erstellt werden"), std::string::npos)
        << unwritable.err;
}

} // namespace
