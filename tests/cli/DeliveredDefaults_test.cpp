#include "CliProcess.h"
#include "support/TempFolder.h"

#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

// The delivered profiles as a machine runs them: the programs korvex-cli writes for the example
// jobs, read back word by word. Clamps and vice jaws may stand anywhere below the clearance and
// the marked surface is at 0, so the tool has to reach the clearance before it crosses to the
// first dot, cross between dots no lower than the safety level, and end at the clearance.

constexpr double CLEARANCE = 50; // the height the delivered templates carry as a literal
constexpr double SAFETY = 2;     // the delivered safety distance R

// The words that move the tool across the marked face, the one that lifts and plunges it, and
// the words that start and stop the marking tool's spindle.
struct TFamily {
    const char* profile;
    char across1, across2, depth;
    const char* spindleOn;
    const char* spindleOff;
};

const TFamily FAMILIES[] = {
    {"1", 'X', 'Y', 'Z', "M3", "M5"},     // DIN/ISO milling
    {"2", 'X', 'Y', 'Z', "M3", "M5"},     // conversational
    {"3", 'X', 'Z', 'Y', "M2=3", "M2=5"}, // lathe: symbol in X/Z, driven tool along Y
    {"4", 'X', 'Y', 'Z', "M3", "M5"},     // DIN/ISO drilling cycle
};

std::vector<std::string> lines(const std::string& program) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = program.find("\r\n", start)) != std::string::npos; start = end + 2)
        result.push_back(program.substr(start, end - start));
    result.push_back(program.substr(start));
    return result;
}

// Words of a block without its comments: "; ..." to the end, "( ... )" anywhere.
std::vector<std::string> words(std::string block) {
    block = block.substr(0, block.find(';'));
    for (std::size_t open; (open = block.find('(')) != std::string::npos;) {
        const std::size_t close = block.find(')', open);
        block.erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
    }
    std::istringstream in(block);
    std::vector<std::string> result;
    for (std::string w; in >> w;)
        result.push_back(w);
    return result;
}

// The value of an address word's number, e.g. "+15.5", "2.", "-0.1"; nothing for "", "S3000".
std::optional<double> number(const std::string& text) {
    if (text.empty() || std::string("+-.0123456789").find(text[0]) == std::string::npos)
        return std::nullopt;
    // from_chars takes neither "+" nor a locale's comma.
    const std::size_t start = text[0] == '+' ? 1 : 0;
    double value = 0;
    const auto read = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (read.ec != std::errc() || read.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

struct TWalk {
    std::vector<std::string> faults;
    int plunges = 0;
    std::optional<double> finalDepth;
    int spindleOnLine = 0, spindleOffLine = 0, firstPlungeLine = 0, lastPlungeLine = 0;
};

// Follows the tool's height through the program and notes every crossing that is too low. A
// drilling cycle (G81 ... G89) crosses at its current height, at least R, then drills to its Z
// and retracts to R (G99) or to the height it started from (G98).
TWalk walk(const std::string& program, const TFamily& f) {
    TWalk w;
    std::optional<double> depth, at1, at2; // unknown until the program sets them
    bool cycle = false, retractToR = true;
    double cycleR = 0, cycleBottom = 0, cycleStart = 0;
    int lineNumber = 0;
    for (const std::string& block : lines(program)) {
        ++lineNumber;
        std::map<char, double> axis;
        bool cycleWord = false;
        for (const std::string& word : words(block)) {
            if (word == f.spindleOn && w.spindleOnLine == 0) w.spindleOnLine = lineNumber;
            if (word == f.spindleOff) w.spindleOffLine = lineNumber;
            const auto value = number(word.substr(1));
            if (!value) continue;
            if (word[0] == 'G') {
                const int g = static_cast<int>(*value);
                if (g == 0 || g == 1 || g == 80) cycle = false;
                if (g >= 81 && g <= 89) {
                    if (!cycle) cycleStart = depth.value_or(0);
                    cycle = cycleWord = true;
                }
                if (g == 98 || g == 99) retractToR = g == 99;
            } else {
                axis[word[0]] = *value;
            }
        }
        const auto fault = [&](const std::string& what) {
            w.faults.push_back("line " + std::to_string(lineNumber) + " \"" + block +
                               "\": " + what);
        };
        const auto plunge = [&] {
            ++w.plunges;
            if (w.firstPlungeLine == 0) w.firstPlungeLine = lineNumber;
            w.lastPlungeLine = lineNumber;
        };
        const auto cross = [&](std::optional<double> height) {
            const double needed = w.plunges == 0 ? CLEARANCE : SAFETY;
            if (!height)
                fault("crosses before any height is programmed");
            else if (*height < needed)
                fault("crosses at " + std::to_string(*height) + ", below " +
                      std::to_string(needed));
        };
        // Only a change of position crosses the face; the first position is a change.
        const auto a1 = axis.find(f.across1), a2 = axis.find(f.across2);
        bool moves = false;
        if (a1 != axis.end() || a2 != axis.end()) {
            const auto to1 = a1 != axis.end() ? std::optional<double>(a1->second) : at1;
            const auto to2 = a2 != axis.end() ? std::optional<double>(a2->second) : at2;
            moves = !at1 || !at2 || to1 != at1 || to2 != at2;
            at1 = to1;
            at2 = to2;
        }
        const auto target = axis.find(f.depth);
        if (cycle && (moves || cycleWord)) {
            if (axis.count('R')) cycleR = axis['R'];
            if (target != axis.end()) cycleBottom = target->second;
            if (moves)
                cross(depth ? std::optional<double>(std::max(*depth, cycleR)) : std::nullopt);
            if (cycleBottom < 0) plunge();
            depth = retractToR ? cycleR : std::max(cycleStart, cycleR);
            continue;
        }
        if (moves) // a move that also changes the height crosses partly at the lower one
            cross(depth && target != axis.end() ? std::min(*depth, target->second) : depth);
        if (target != axis.end()) {
            if (target->second < 0 && (!depth || *depth >= 0)) plunge();
            depth = target->second;
        }
    }
    w.finalDepth = depth;
    return w;
}

std::string firstFaults(const std::vector<std::string>& faults) {
    std::string text;
    for (std::size_t i = 0; i < faults.size() && i < 5; ++i)
        text += "\n  " + faults[i];
    return text;
}

TEST(DeliveredProfileMoves, ClearanceBeforeTheFirstDotAndAtTheEndSafetyLevelBetween) {
    const fs::path data = KORVEX_DATA_DIR;
    int jobs = 0;
    for (const auto& entry : fs::directory_iterator(data / "examples")) {
        if (entry.path().extension() != ".ncm") continue;
        // A turned part's job needs a rotary profile, which none of these families is.
        if (readBytes(entry.path()).find("SURFACE ROTARY") != std::string::npos) continue;
        ++jobs;
        std::vector<int> plunges;
        for (const TFamily& f : FAMILIES) {
            SCOPED_TRACE(entry.path().filename().string() + " with profile " + f.profile);
            const auto r = RunCli({"generate", "--config", data.string(), "--profile", f.profile,
                                   entry.path().string()});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            const TWalk w = walk(r.out, f);
            EXPECT_TRUE(w.faults.empty())
                << w.faults.size() << " low crossings" << firstFaults(w.faults);
            ASSERT_TRUE(w.finalDepth.has_value());
            EXPECT_GE(*w.finalDepth, CLEARANCE) << "the program leaves the tool this low";
            EXPECT_GT(w.spindleOnLine, 0);
            EXPECT_LT(w.spindleOnLine, w.firstPlungeLine) << "plunges with the tool standing";
            EXPECT_GT(w.spindleOffLine, w.lastPlungeLine) << "the tool still turns at the end";
            plunges.push_back(w.plunges);
        }
        // Every family marks every dot once.
        ASSERT_EQ(plunges.size(), std::size(FAMILIES));
        EXPECT_GT(plunges[0], 20);
        EXPECT_EQ(std::count(plunges.begin(), plunges.end(), plunges[0]),
                  static_cast<long>(plunges.size()))
            << testing::PrintToString(plunges);
    }
    EXPECT_GE(jobs, 2) << "a milling and a lathe example";
}

// The reading above must see the faults it is there for; these are the programs the profiles
// wrote before they had a clearance, and small variations of the delivered ones.
TEST(DeliveredProfileMoves, ReadingFindsLowCrossingsInEveryFamily) {
    struct Row {
        const char* program;
        int family; // index into FAMILIES
        std::size_t faults;
        std::optional<double> finalDepth;
        const char* comment;
    };
    const Row rows[] = {
        {"G17 G90 G94\r\nG0 Z2.\r\nS3000 M3\r\nG0 X15.5 Y5.\r\nG1 Z-0.1 F50\r\nG0 Z2.\r\n"
         "G0 X15. Y5.\r\nG1 Z-0.1\r\nG0 Z2.\r\nM5\r\nM30",
         0, 1, 2, "old milling: first crossing at the safety level"},
        {"T1 M6\r\nG0 G43 H1 Z50.\r\nG0 X1 Y1\r\nG1 Z-0.1\r\nG0 X2 Y1\r\nG0 Z2\r\nG0 Z50\r\nM30", 0,
         1, 50, "crossing while still in the part"},
        {"G0 X1 Y1\r\nG0 Z50\r\nG1 Z-0.1\r\nG0 Z50", 0, 1, 50, "crossing before any height"},
        {"G0 Z50\r\nG0 X1 Y1 Z2\r\nG1 Z-0.1\r\nG0 Z50", 0, 1, 50,
         "diagonal move down to the safety level"},
        {"0 BEGIN PGM DM MM\r\n1 TOOL CALL Z S3000\r\n2 L Z+2 R0 FMAX M3\r\n"
         "3 L X+15.5 Y+5 R0 FMAX\r\n4 L Z-0.1 R0 F50\r\n5 L Z+2 R0 FMAX M5\r\n6 END PGM DM MM",
         1, 1, 2, "old conversational"},
        {"; L X+1 Y+1\r\n1 L Z+50 R0 FMAX\r\n2 L X+1 Y+1 R0 FMAX\r\n3 L Z-0.1 F50\r\n"
         "4 L Z+2 R0 FMAX\r\n5 L Z+50 R0 FMAX M5",
         1, 0, 50, "a commented move does not count"},
        {"G18 G90 G94 DIAMOF\r\nG0 Y2\r\nG0 X-15.5 Z5\r\nG1 Y-0.1 F50\r\nG0 Y2\r\nDIAMON\r\nM30", 2,
         1, 2, "old lathe: crossing in X/Z at Y2"},
        {"G0 Z50\r\nG1 Y-0.1\r\nG0 Y50", 2, 1, 50,
         "lathe crosses in X/Z; a milling height word is no height there"},
        {"%\r\nN10 G17 G90 G94\r\nN20 G0 Z2.\r\nN30 S3000 M3\r\nN40 G0 X15.5 Y5.\r\n"
         "N50 G98 G81 X15.5 Y5. Z-0.1 R2. F50\r\nN60 G81 X15. Y5. Z-0.1 R2. F50\r\nN70 G80\r\n"
         "N80 G0 Z2.\r\nN90 M5\r\nN100 M30\r\n%",
         3, 1, 2, "old drilling cycle"},
        {"G0 Z50\r\nG99 G81 X1 Y1 Z-0.1 R-1 F50\r\nX2 Y1\r\nG80\r\nG0 Z50", 3, 1, 50,
         "cycle retracting below the surface crosses to the next hole in the part"},
        {"G0 Z50\r\nG98 G81 X1 Y1 Z-0.1 R2 F50\r\nX2 Y1\r\nG80", 3, 0, 50,
         "G98 returns to the starting height"},
    };
    for (const auto& row : rows) {
        const TWalk w = walk(row.program, FAMILIES[row.family]);
        EXPECT_EQ(w.faults.size(), row.faults) << row.comment << firstFaults(w.faults);
        EXPECT_EQ(w.finalDepth, row.finalDepth) << row.comment;
    }
}

// Relative luminance of a 0x00BBGGRR colour, and the contrast ratio of two (1 to 21).
double luminance(std::uint32_t bgr) {
    const auto channel = [bgr](int shift) {
        const double c = ((bgr >> shift) & 0xFF) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(0) + 0.7152 * channel(8) + 0.0722 * channel(16);
}

double contrast(std::uint32_t a, std::uint32_t b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// "#rrggbb" as 0x00BBGGRR.
std::uint32_t svgColour(const std::string& hex) {
    const auto rgb = static_cast<std::uint32_t>(std::stoul(hex.substr(1), nullptr, 16));
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

// The colours an attribute takes in the SVG's elements of one kind, e.g. "text", " fill=\"".
std::set<std::string> colours(const std::string& svg, const std::string& element,
                              const std::string& attribute) {
    std::set<std::string> found;
    const std::string open = "<" + element + " ";
    for (auto at = svg.find(open); at != std::string::npos; at = svg.find(open, at + 1)) {
        const auto value = svg.find(attribute, at);
        if (value < svg.find('>', at) && svg.compare(value + attribute.size(), 1, "#") == 0)
            found.insert(svg.substr(value + attribute.size(), 7));
    }
    return found;
}

// Everything the graphic draws has to stand out from the delivered background: the lines the
// settings colour, the labels in the window-text colour, and the fixed yellow preview dots and
// red crosshair, which are drawn not-xor and so show as the background with bits inverted. A
// yellow not-xor pen inverts only the blue channel, so no background lifts it beyond 2.4:1; on
// white it stays at 1.07:1 and the preview cannot be seen.
TEST(DeliveredColours, EveryElementStandsOutFromTheBackground) {
    const fs::path data = KORVEX_DATA_DIR;
    const auto r = RunCli(
        {"view", "--config", data.string(), (data / "examples" / "typenschild.ncm").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto backgrounds = colours(r.out, "rect", " fill=\"");
    ASSERT_EQ(backgrounds.size(), 1u);
    const std::uint32_t background = svgColour(*backgrounds.begin());

    const auto lines = colours(r.out, "polyline", " stroke=\"");
    EXPECT_GE(lines.size(), 4u) << "axes, path, rapid moves, blank";
    for (const auto& line : lines)
        EXPECT_GE(contrast(svgColour(line), background), 3.0)
            << line << " on " << *backgrounds.begin();
    const auto labels = colours(r.out, "text", " fill=\"");
    EXPECT_FALSE(labels.empty());
    for (const auto& text : labels)
        EXPECT_GE(contrast(svgColour(text), background), 3.0) << "labels " << text;
    const auto notXor = [background](std::uint32_t pen) { return ~(pen ^ background) & 0xFFFFFF; };
    EXPECT_GE(contrast(notXor(korvex::simulation::PREVIEW_DOT_COLOR), background), 1.5)
        << "pick preview";
    EXPECT_GE(contrast(notXor(korvex::simulation::MARKER_COLOR), background), 1.5)
        << "pick crosshair";
}

} // namespace
