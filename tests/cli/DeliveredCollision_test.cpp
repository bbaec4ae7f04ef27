#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string_view>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

// Every delivered profile marks at -0.1; the program's numbers have three decimals.
constexpr double Infeed = 0.1;
constexpr double Tolerance = 0.003;

// How each delivered profile's machine holds the part, as its header comments say.
enum class TMachine {
    Mill,     // X Y Z as the job has them
    FourAxis, // A turns about X through the blank's axis (Y and Z as the job's blank has them)
    LatheC,   // X the radius from the spindle axis, Z along it (the job's Y), C turns
    Other,    // a dialect rs274 does not read
};

struct TProfile {
    std::string choice;
    TMachine machine;
};

struct TMove {
    bool feed = false;
    double x = 0, y = 0, z = 0, a = 0;
};

double number(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::vector<TMove> canonicalMoves(const fs::path& program, std::string& output) {
    // rs274 maps $HOME/.tool.mmap, truncating it: each program runs with a HOME of its own.
    const std::string folder = program.parent_path().string();
    const std::string command =
        "cd '" + folder + "' && HOME='" + folder + "' rs274 -g '" + program.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<TMove> moves;
    if (!pipe) return moves;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    for (std::size_t at = 0; (at = output.find("STRAIGHT_", at)) != std::string::npos;) {
        const std::size_t open = output.find('(', at);
        const std::size_t close = output.find(')', open);
        TMove move;
        move.feed = output.compare(at, 13, "STRAIGHT_FEED") == 0;
        std::string_view args(output.data() + open + 1, close - open - 1);
        double values[6] = {};
        for (double& value : values) {
            const std::size_t comma = args.find(',');
            value = number(args.substr(0, comma));
            args.remove_prefix(comma == args.npos ? args.size() : comma + 1);
        }
        move = {move.feed, values[0], values[1], values[2], values[3] + values[4] + values[5]};
        moves.push_back(move);
        at = close;
    }
    return moves;
}

// The job's blank, read from its "BLANK ROHDEF" line here rather than by the program.
struct TBlank {
    std::string shape; // QUAD, ZYL1 (along Z), ZYL2 (along X), ZYL3 (along Y)
    std::map<std::string, double> v;

    bool Round() const { return shape == "ZYL2" || shape == "ZYL3"; }
};

TBlank blankOf(const fs::path& job) {
    TBlank blank;
    const std::string text = readBytes(job);
    const std::size_t at = text.find("BLANK ROHDEF ");
    if (at == std::string::npos) return blank;
    std::string_view line(text.data() + at + 13, text.find('\r', at) - at - 13);
    blank.shape = std::string(line.substr(0, 4));
    for (std::size_t p = line.find(' '); p != line.npos; p = line.find(' ', p + 1)) {
        const std::string_view word = line.substr(p + 1, line.find(' ', p + 1) - p - 1);
        if (word.size() > 2) blank.v[std::string(word.substr(0, 2))] = number(word.substr(2));
    }
    return blank;
}

// A machine position in the job's frame, or for a turned part its distance from the axis.
struct TPlace {
    bool turned = false;
    double p[3] = {};  // x, y, z (not turned)
    double along = 0;  // turned
    double radial = 0; // turned
};

struct TJudge {
    TMachine machine;
    TBlank blank;

    TPlace Place(const TMove& m) const {
        TPlace place;
        if (machine == TMachine::LatheC) {
            place.turned = true;
            place.along = m.z;
            place.radial = std::hypot(m.x, m.y);
        } else if (machine == TMachine::FourAxis && std::fabs(m.a) > 1e-9 &&
                   blank.shape == "ZYL2") {
            place.turned = true;
            place.along = m.x;
            place.radial = std::hypot(m.y - blank.v.at("YC"), m.z - blank.v.at("ZC"));
        } else {
            place.p[0] = m.x;
            place.p[1] = m.y;
            place.p[2] = m.z;
        }
        return place;
    }

    // How far below the blank's surface a place lies; negative outside the blank.
    double Depth(const TPlace& at) const {
        const auto& v = blank.v;
        const auto between = [](double x, double a, double b) {
            return x > std::min(a, b) && x < std::max(a, b);
        };
        if (at.turned) {
            const bool along = machine == TMachine::LatheC
                                   ? between(at.along, v.at("YM"), v.at("YP"))
                                   : between(at.along, v.at("XM"), v.at("XP"));
            return along ? std::fabs(v.at("RA")) - at.radial : -1;
        }
        const double x = at.p[0], y = at.p[1], z = at.p[2];
        if (blank.shape == "QUAD")
            return between(x, v.at("XM"), v.at("XP")) && between(y, v.at("YM"), v.at("YP")) &&
                           z > std::min(v.at("ZM"), v.at("ZP"))
                       ? std::max(v.at("ZM"), v.at("ZP")) - z
                       : -1;
        if (blank.shape == "ZYL1")
            return std::hypot(x - v.at("XC"), y - v.at("YC")) < std::fabs(v.at("RA")) &&
                           between(z, v.at("ZM"), v.at("ZP"))
                       ? std::max(v.at("ZM"), v.at("ZP")) - z
                       : -1;
        const bool alongX = blank.shape == "ZYL2";
        const double across = alongX ? y - v.at("YC") : x - v.at("XC");
        const double r = std::fabs(v.at("RA"));
        const bool along =
            alongX ? between(x, v.at("XM"), v.at("XP")) : between(y, v.at("YM"), v.at("YP"));
        if (!along || std::fabs(across) >= r) return -1;
        const double top = v.at("ZC") + std::sqrt(r * r - across * across);
        // Inside the circle, not merely below its top line.
        return std::hypot(across, z - v.at("ZC")) < r ? top - z : -1;
    }

    static bool backOut(const TMove& start, const TMove& end, const TMove& to) {
        const double in[3] = {end.x - start.x, end.y - start.y, end.z - start.z};
        const double out[3] = {to.x - end.x, to.y - end.y, to.z - end.z};
        const double dot = in[0] * out[0] + in[1] * out[1] + in[2] * out[2];
        const double lengths = std::hypot(in[0], in[1], in[2]) * std::hypot(out[0], out[1], out[2]);
        return lengths > 0 && dot < -0.999999 * lengths && to.a == end.a;
    }

    // Faults of the program: feeds ending too deep, rapids through the blank.
    std::vector<std::string> Faults(const std::vector<TMove>& moves) const {
        std::vector<std::string> faults;
        for (std::size_t i = 1; i < moves.size(); ++i) {
            const TMove& from = moves[i - 1];
            const TMove& to = moves[i];
            if (to.feed) {
                if (const double d = Depth(Place(to)); d > Infeed + Tolerance)
                    faults.push_back("move " + std::to_string(i) + ": feed " + std::to_string(d) +
                                     " deep");
                continue;
            }
            const double length = std::hypot(to.x - from.x, to.y - from.y, to.z - from.z);
            // Out of the dot the way the feed went in: through its own hole.
            if (from.feed && i >= 2 && backOut(moves[i - 2], from, to)) continue;
            const int steps = static_cast<int>(length / 0.01) + 1;
            for (int k = 0; k <= steps; ++k) {
                const double t = static_cast<double>(k) / steps;
                const TMove at{false, from.x + t * (to.x - from.x), from.y + t * (to.y - from.y),
                               from.z + t * (to.z - from.z), from.a + t * (to.a - from.a)};
                if (Depth(Place(at)) > Tolerance) {
                    faults.push_back("move " + std::to_string(i) + ": rapid inside the blank");
                    break;
                }
            }
        }
        return faults;
    }
};

bool haveRs274() {
    return std::system("command -v rs274 > /dev/null 2>&1") == 0;
}

const fs::path DATA = KORVEX_DATA_DIR;

std::vector<TProfile> deliveredProfiles() {
    return {{"1", TMachine::Mill},
            {"2", TMachine::Other},
            {"3", TMachine::Other},
            {"4", TMachine::Mill},
            {(DATA / "examples" / "drehen-c-achse.ini").string(), TMachine::LatheC},
            {(DATA / "examples" / "fraesen-4-achsen-a.ini").string(), TMachine::FourAxis}};
}

} // namespace

TEST(DeliveredCollision, EveryProfileWithEveryExampleJobStaysOutOfTheBlankOrIsRefused) {
    if (!haveRs274()) GTEST_SKIP() << "LinuxCNC's rs274 is not installed";
    TempFolder temp;
    int judged = 0, refused = 0, turned = 0;
    for (const auto& entry : fs::directory_iterator(DATA / "examples")) {
        if (entry.path().extension() != ".ncm") continue;
        const TBlank blank = blankOf(entry.path());
        ASSERT_FALSE(blank.shape.empty()) << entry.path();
        std::vector<const char*> surfaces = {"flat"};
        if (blank.Round()) surfaces = {"flat", "follow", "rotary"};
        for (const TProfile& profile : deliveredProfiles()) {
            for (const char* surface : surfaces) {
                const std::string name = entry.path().stem().string() + "-" +
                                         fs::path(profile.choice).stem().string() + "-" + surface;
                SCOPED_TRACE(name);
                const fs::path folder = temp / name;
                fs::create_directories(folder);
                const fs::path program = folder / "program.ngc";
                const auto r = RunCli({"generate", "--config", DATA.string(), "--profile",
                                       profile.choice, "--surface", surface, "--no-log", "-o",
                                       program.string(), entry.path().string()});
                if (r.exitCode != 0) {
                    EXPECT_EQ(r.exitCode, 1) << r.err;
                    EXPECT_FALSE(r.err.empty()) << "refused without a reason";
                    EXPECT_FALSE(fs::exists(program));
                    ++refused;
                    continue;
                }
                ASSERT_TRUE(fs::exists(program));
                if (profile.machine == TMachine::Other) continue;
                std::string output;
                const std::vector<TMove> moves = canonicalMoves(program, output);
                ASSERT_GT(moves.size(), 20u) << output.substr(0, 2000);
                const TJudge judge{profile.machine, blank};
                const std::vector<std::string> faults = judge.Faults(moves);
                EXPECT_TRUE(faults.empty()) << faults.size() << " faults, first: " << faults[0];
                const auto turns = std::any_of(moves.begin(), moves.end(),
                                               [](const TMove& m) { return m.a != 0; });
                turned += turns ? 1 : 0;
                ++judged;
            }
        }
    }
    // The flat jobs on the milling profiles, and each rotary example on its own job.
    EXPECT_GE(judged, 10);
    EXPECT_GE(turned, 2);
    EXPECT_GE(refused, 5);
}

// The judge itself: the lathe example's program read in diameters puts the tool at half the
// radius, which it must see (the program refuses to write such a program itself).
TEST(DeliveredCollision, JudgeSeesALathePlungeReadAsDiameter) {
    if (!haveRs274()) GTEST_SKIP() << "LinuxCNC's rs274 is not installed";
    TempFolder temp;
    const fs::path job = DATA / "examples" / "welle-c-achse.ncm";
    const auto r =
        RunCli({"generate", "--config", DATA.string(), "--profile",
                (DATA / "examples" / "drehen-c-achse.ini").string(), "--no-log", job.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string program = r.out;
    const std::size_t at = program.find(" G8\r\n");
    ASSERT_NE(at, std::string::npos);
    program.replace(at, 3, " G7");
    writeBytes(temp / "diameter.ngc", program);
    writeBytes(temp / "radius.ngc", r.out);
    const TJudge judge{TMachine::LatheC, blankOf(job)};
    std::string output;
    EXPECT_TRUE(judge.Faults(canonicalMoves(temp / "radius.ngc", output)).empty());
    EXPECT_FALSE(judge.Faults(canonicalMoves(temp / "diameter.ngc", output)).empty());
}
