#include "support/TempFolder.h"

#include "base/TextNumbers.h"
#include "job/Job.h"
#include "job/Series.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

const fs::path DELIVERED = KORVEX_DATA_DIR;
const fs::path EXAMPLES = DELIVERED / "examples";

job::TJobOptions options(const fs::path& profile, ncgen::TSurfaceMode surface) {
    job::TJobOptions o;
    o.Profile = profile.string();
    o.Surface = surface;
    return o;
}

job::TOutcome generate(const fs::path& profile, const fs::path& jobFile,
                       ncgen::TSurfaceMode surface, job::TProgram& program) {
    job::TOpenJob opened;
    const job::TJobOptions o = options(profile, surface);
    const job::TOutcome open =
        job::OpenJob(job::OpenSession(DELIVERED, DELIVERED), jobFile, o, opened);
    if (!open.Ok()) return open;
    return job::Generate(opened, o, program);
}

// The delivered rotary examples with the jobs they go with, and with the shaft job whose axis
// lies where neither machine turns.
TEST(BlankCheck, DeliveredRotaryExamplesRunOnTheirJobsAndRefuseAnotherAxis) {
    struct Row {
        const char* profile;
        const char* job;
        base::TTextMessage refusal;
    };
    const Row rows[] = {
        {"drehen-c-achse.ini", "welle-c-achse.ncm", {}},
        {"drehen-c-achse.ini",
         "welle.ncm",
         {text::TurningAxisMismatch, 0, {}, {"Y (X0 Z0)", "Y (X0 Z-15)"}}},
        {"fraesen-4-achsen-a.ini", "welle-a-achse.ncm", {}},
        {"fraesen-4-achsen-a.ini",
         "welle.ncm",
         {text::TurningAxisMismatch, 0, {}, {"X", "Y (X0 Z-15)"}}},
        {"drehen-c-achse.ini", "typenschild.ncm", {text::TurningNoCylinder, 0, {}, {"Y (X0 Z0)"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.profile) + " with " + row.job);
        job::TProgram program;
        const auto surface = row.refusal.Text == text::TurningNoCylinder
                                 ? ncgen::TSurfaceMode::Flat
                                 : ncgen::TSurfaceMode::Rotary;
        const job::TOutcome outcome =
            generate(EXAMPLES / row.profile, EXAMPLES / row.job, surface, program);
        EXPECT_EQ(outcome.Message, row.refusal);
        EXPECT_EQ(outcome.Ok(), row.refusal.Empty());
    }
}

// The lathe example read in diameters: the same numbers put the tool at half the radius.
TEST(BlankCheck, LatheInDiameterModePlungesHalfwayToTheAxisAndIsRefusedAtItsLine) {
    TempFolder temp;
    std::string profile = readBytes(EXAMPLES / "drehen-c-achse.ini");
    const auto at = profile.find(" G8\r\n");
    ASSERT_NE(at, std::string::npos);
    profile.replace(at, 3, " G7");
    writeBytes(temp / "durchmesser.ini", profile);
    job::TProgram program;
    const job::TOutcome outcome = generate(temp / "durchmesser.ini", EXAMPLES / "welle-c-achse.ncm",
                                           ncgen::TSurfaceMode::Rotary, program);
    // Line 11 goes to X17, read as 8.5 from the axis: inside the R15 shaft.
    EXPECT_EQ(outcome.Message, (base::TTextMessage{text::SafePlaneInBlank, 0, {}, {"11"}}));
    ASSERT_GE(program.Generated.NCLines.size(), 11u);
    EXPECT_EQ(program.Generated.NCLines[10], "G0 X17.");
}

TEST(BlankCheck, RotaryWithoutAnAngleInTheTemplatesIsRefusedNamingAval) {
    job::TProgram program;
    const job::TOutcome outcome =
        generate("1", EXAMPLES / "welle.ncm", ncgen::TSurfaceMode::Rotary, program);
    EXPECT_EQ(outcome.Message,
              (base::TTextMessage{text::RotaryNeedsAngle, 0, {}, {"DIN/ISO Fr\xE4sen"}}));
    EXPECT_TRUE(program.Generated.NCLines.empty());
}

// A serial run writes each program through the same check: the first one is refused, no file.
TEST(BlankCheck, SerialRunIntoTheBlankWritesNothing) {
    TempFolder temp;
    job::TOpenJob opened;
    const job::TJobOptions o =
        options(EXAMPLES / "drehen-c-achse.ini", ncgen::TSurfaceMode::Rotary);
    ASSERT_TRUE(
        job::OpenJob(job::OpenSession(DELIVERED, DELIVERED), EXAMPLES / "welle.ncm", o, opened)
            .Ok());
    const std::vector<ncgen::TRunItem> items = {{"WN 1", temp / "1.nc"}, {"WN 2", temp / "2.nc"}};
    const job::TSeriesOutcome run = job::RunSeries(
        opened, o, items, [](const job::TSeriesStep&) { return true; }, {}, nullptr);
    EXPECT_EQ(run.Written, 0u);
    EXPECT_EQ(run.Outcome.Message.Text, text::TurningAxisMismatch);
    EXPECT_FALSE(fs::exists(temp / "1.nc"));
}

} // namespace
