#include "CliProcess.h"

#include "ncgen/NumberReading.h"
#include "ncgen/SimulationLine.h"
#include "readback/ReadBack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
// A d20 shaft along X with its axis 10 below the zero point: the top line is Y0 Z0.
constexpr long double Radius = 10;
constexpr long double AxisZ = -10;
constexpr const char* Text = "WN4711";

struct TMove {
    bool Feed = false;
    long double X = 0, Y = 0, Z = 0, A = 0;
};

// The straight moves LinuxCNC's interpreter makes of a program: "STRAIGHT_FEED(x, y, z, a, b, c)".
std::vector<TMove> canonicalMoves(const fs::path& program) {
    std::vector<TMove> moves;
    // rs274 maps $HOME/.tool.mmap, truncating it: two at once with one HOME crash each other.
    const std::string folder = program.parent_path().string();
    const std::string command =
        "cd '" + folder + "' && HOME='" + folder + "' rs274 -g '" + program.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return moves;
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    std::size_t at = 0;
    while ((at = output.find("STRAIGHT_", at)) != std::string::npos) {
        const std::size_t open = output.find('(', at);
        const std::size_t close = output.find(')', open);
        TMove move;
        move.Feed = output.compare(at, 13, "STRAIGHT_FEED") == 0;
        std::string_view args(output.data() + open + 1, close - open - 1);
        long double* fields[] = {&move.X, &move.Y, &move.Z, &move.A};
        for (long double* field : fields) {
            const std::size_t comma = args.find(',');
            *field = korvex::ncgen::ReadNumber(args.substr(0, comma)).value;
            args.remove_prefix(comma == args.npos ? args.size() : comma + 1);
        }
        moves.push_back(move);
        at = close;
    }
    return moves;
}

bool haveRs274() {
    return std::system("command -v rs274 > /dev/null 2>&1") == 0;
}

// Generates the shaft job with a profile and surface choice and runs it through rs274.
std::vector<TMove> programMoves(const std::string& profile, const char* surface) {
    // A folder per test: ctest runs both at once.
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("korvex-round-parts-" + std::string(surface));
    fs::create_directories(folder);
    const fs::path job = folder / "welle20.ncm";
    std::ofstream(job, std::ios::binary)
        << "LAYER Ebene 1\r\nSHOW\r\nSIZE 0.3\r\nDMFORM 0\r\nDMENC 0\r\nANGLE 0\r\nXDIS 0\r\n"
           "YDIS -1.35\r\nDATA\r\n/"
        << Text << "\r\nBLANK ROHDEF ZYL2 XM-5 YC0 RA10 ZC-10 XP20\r\n";
    const fs::path program = folder / (std::string(surface) + ".ngc");
    const auto r = RunCli({"generate", "--config", KORVEX_DATA_DIR, "--profile", profile,
                           "--surface", surface, "--no-log", "-o", program.string(), job.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return canonicalMoves(program);
}

// The marks unrolled (arc length across, position along) as a scanner reads them flat.
korvex::readback::TReadBackResult readUnrolled(const std::vector<std::string>& lines) {
    korvex::ncgen::TLayer layer;
    layer.Size = "0.3";
    korvex::ncgen::TActiveProfile profile;
    profile.FirstPoint[0] = "X[#XVAL] Y[#YVAL]";
    profile.FollowingPoints = profile.FirstPoint;
    profile.Format.Nachkommastellen = 4;
    return korvex::readback::CheckReadBack(lines, layer, profile, Text);
}

std::string flatDot(long double along, long double arc) {
    return korvex::ncgen::PointLine(along, arc);
}

} // namespace

TEST(LinuxCncRoundParts, FourAxisProfilePlungesRadiallyToOneDepthAndUnrollsToTheText) {
    if (!haveRs274()) GTEST_SKIP() << "LinuxCNC's rs274 is not installed";
    const std::string profile =
        (fs::path(KORVEX_DATA_DIR) / "examples" / "fraesen-4-achsen-a.ini").string();
    const std::vector<TMove> moves = programMoves(profile, "rotary");
    std::vector<std::string> unrolled;
    for (std::size_t i = 1; i < moves.size(); ++i) {
        if (!moves[i].Feed) continue;
        const TMove& from = moves[i - 1];
        const TMove& to = moves[i];
        // Radial: straight down over the axis, the part standing still.
        EXPECT_EQ(from.X, to.X);
        EXPECT_NEAR(static_cast<double>(to.Y), 0, 1e-9);
        EXPECT_EQ(from.Y, to.Y);
        EXPECT_EQ(from.A, to.A);
        EXPECT_LT(to.Z, from.Z);
        EXPECT_NEAR(static_cast<double>(Radius - (to.Z - AxisZ)), 0.1, 0.001);
        // The tool at angle A about +X stands at -A from the top line in the part's frame.
        unrolled.push_back(flatDot(to.X, Radius * (-to.A * Pi / 180)));
    }
    ASSERT_GT(unrolled.size(), 40u);
    const auto read = readUnrolled(unrolled);
    EXPECT_EQ(read.Verdict, korvex::readback::TReadBackVerdict::ReadsAsText)
        << korvex::readback::Describe(read);
}

TEST(LinuxCncRoundParts, MillingProfileFollowingTheSurfaceKeepsOneDepthAndUnrollsToTheText) {
    if (!haveRs274()) GTEST_SKIP() << "LinuxCNC's rs274 is not installed";
    const std::vector<TMove> moves = programMoves("1", "follow");
    std::vector<std::string> unrolled;
    for (std::size_t i = 1; i < moves.size(); ++i) {
        if (!moves[i].Feed) continue;
        const TMove& from = moves[i - 1];
        const TMove& to = moves[i];
        EXPECT_EQ(from.X, to.X);
        EXPECT_EQ(from.Y, to.Y);
        EXPECT_LT(to.Z, from.Z);
        const long double surface = AxisZ + std::sqrt(Radius * Radius - to.Y * to.Y);
        EXPECT_NEAR(static_cast<double>(surface - to.Z), 0.1, 0.0015) << to.Y;
        unrolled.push_back(flatDot(to.X, Radius * std::asin(to.Y / Radius)));
    }
    ASSERT_GT(unrolled.size(), 40u);
    const auto read = readUnrolled(unrolled);
    EXPECT_EQ(read.Verdict, korvex::readback::TReadBackVerdict::ReadsAsText)
        << korvex::readback::Describe(read);
}
