#include "support/TempFolder.h"

#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "job/Job.h"
#include "job/Series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

const fs::path JOBS = fs::path(KORVEX_TEST_DATA_DIR) / "cli";
const fs::path DELIVERED = KORVEX_DATA_DIR;

job::TJobOptions profile(const char* choice) {
    job::TJobOptions options;
    options.Profile = choice;
    return options;
}

TEST(Job, HandsBackWhatTheToolPathDrawingNeeds) {
    job::TOpenJob opened;
    ASSERT_TRUE(job::OpenJob(job::OpenSession(DELIVERED, DELIVERED), JOBS / "rotated.ncm",
                             profile("3"), opened)
                    .Ok());
    job::TProgram program;
    ASSERT_TRUE(job::Generate(opened, {}, program).Ok());
    EXPECT_EQ(opened.Profile.Number, 3);
    EXPECT_EQ(opened.Job.BlankDefinition, "ROHDEF 1;-20;20;-20;20;0;-5");
    EXPECT_EQ(opened.Job.D3Zrotation, -30);
    EXPECT_EQ(opened.Job.Layers.LayerCount, 2);
    EXPECT_EQ(opened.Session.Settings.Background, 0xFF5030u);
    const auto& simulation = program.Generated.SimulationLines;
    const auto& nc = program.Generated.NCLines;
    ASSERT_FALSE(simulation.empty());
    EXPECT_EQ(simulation.front(), "ZR;2.000;-0.100");
    const auto plunges = std::count_if(nc.begin(), nc.end(),
                                       [](const std::string& l) { return l.starts_with("G1 "); });
    EXPECT_EQ(static_cast<std::size_t>(plunges) + 1, simulation.size());
    EXPECT_EQ(simulation[1], "XY;4.500;0.000") << "lathe mode negates X";
}

TEST(Job, MissingLanguageFileIsAFailureNotAnUntitledProgram) {
    TempFolder data; // the installation's data folder without german.txt
    try {
        job::OpenSession(DELIVERED, data.path());
        FAIL() << "a session without its language";
    } catch (const config::EConfigError& e) {
        EXPECT_EQ(std::string(e.what()), "Datei " + (data / "german.txt").string() +
                                             " kann nicht ge\xF6"
                                             "ffnet werden");
    }
}

// The window's serial dialog and korvex-cli plan their files here; {line} once was empty in one.
TEST(Job, SerialAndListRunsNameTheirFilesAlike) {
    struct Row {
        const char* output;
        std::vector<std::string> serial; // the files of texts "SN-{n}" for n = 8, 10
        std::vector<std::string> list;   // the files of lines 2 "SN-8" and 5 "SN-10"
    };
    const Row rows[] = {
        {"out/{line}.nc", {"out/SN-8.nc", "out/SN-10.nc"}, {"out/SN-8.nc", "out/SN-10.nc"}},
        {"out/{n:06}.nc", {"out/000008.nc", "out/000010.nc"}, {"out/000002.nc", "out/000005.nc"}},
        {"out/{i}-{n}.nc", {"out/1-8.nc", "out/2-10.nc"}, {"out/2-2.nc", "out/5-5.nc"}},
    };
    for (const Row& row : rows) {
        const auto serial = job::PlanSerialItems({8, 2, 2}, "SN-{n}", row.output);
        const auto list = job::PlanListItems({{2, "SN-8"}, {5, "SN-10"}}, row.output);
        ASSERT_EQ(serial.size(), 2u);
        ASSERT_EQ(list.size(), 2u);
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(serial[k].Text, list[k].Text) << row.output;
            EXPECT_EQ(serial[k].Output, fs::path(row.serial[k])) << row.output;
            EXPECT_EQ(list[k].Output, fs::path(row.list[k])) << row.output;
        }
    }
    // A text cannot reach another folder through {line}.
    EXPECT_EQ(job::PlanListItems({{1, "../a/b"}}, "out/{line}.nc").front().Output,
              fs::path("out/.._a_b.nc"));
}

TEST(Job, ASavedJobOpensAsItWasAndAFailedSaveNamesTheFile) {
    TempFolder temp;
    job::TOpenJob opened;
    ASSERT_TRUE(job::OpenJob(job::OpenSession(DELIVERED, DELIVERED), JOBS / "rotated.ncm",
                             profile("3"), opened)
                    .Ok());
    ASSERT_TRUE(job::SaveJob(opened.Job, temp / "copy.ncm").Ok());
    job::TOpenJob again;
    ASSERT_TRUE(
        job::OpenJob(job::OpenSession(DELIVERED, DELIVERED), temp / "copy.ncm", profile("3"), again)
            .Ok());
    EXPECT_EQ(again.Job.BlankDefinition, opened.Job.BlankDefinition);
    EXPECT_EQ(again.Job.Layers.LayerCount, opened.Job.Layers.LayerCount);

    const fs::path nowhere = temp / "fehlt" / "copy.ncm";
    const job::TOutcome failed = job::SaveJob(opened.Job, nowhere);
    EXPECT_EQ(failed.Status, job::TStatus::Failed);
    EXPECT_EQ(failed.Message, (base::TTextMessage{text::TemplateNotWritable, 0, nowhere.string()}));
}

TEST(Job, MessagesFillTheirValuesInTheLanguage) {
    config::TLanguageTexts texts;
    texts.SetContent("9417stopped at program %1 of %2; %3 programs written\n9403warning: %1\n");
    EXPECT_EQ(texts.Format(text::RunStopped, "3", "5", "2"),
              "stopped at program 3 of 5; 2 programs written");
    // A value that holds a marker stays as it is; a marker without its value too.
    EXPECT_EQ(texts.Format(text::WarningText, "%2 %1"), "warning: %2 %1");
    EXPECT_EQ(texts.Format(text::RunStopped, "3"),
              "stopped at program 3 of %2; %3 programs written");
    EXPECT_EQ(texts.Message({text::WarningText, 0, "Punktabstand", {"x"}}),
              "warning: x: Punktabstand");
}

} // namespace

TEST(Job, EverySpellingOfTheJobFileIsTheJobFile) {
    TempFolder folder;
    const fs::path job = folder / "job.ncm";
    std::ofstream(job) << "LAYER Ebene 1\n";
    fs::create_directory(folder / "sub");
    fs::create_symlink(job, folder / "link.ncm");
    fs::create_hard_link(job, folder / "hard.ncm");
    std::ofstream(folder / "other.ncm") << "LAYER Ebene 1\n";
    const struct {
        fs::path output;
        bool same;
    } cases[] = {
        {job, true},
        {folder.path() / "." / "job.ncm", true},
        {folder.path() / "sub" / ".." / "job.ncm", true},
        {folder / "link.ncm", true},
        {folder / "hard.ncm", true},
        {folder / "other.ncm", false},
        {folder / "job.nc", false}, // not there yet
        {folder.path() / "sub" / ".." / "new.nc", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::IsSameFile(job, c.output), c.same) << c.output;
        EXPECT_EQ(job::CheckNotJobFile(job, c.output).Message.Text,
                  c.same ? text::OutputIsJobFile : 0)
            << c.output;
    }
    EXPECT_FALSE(job::IsSameFile({}, job)) << "a job never saved has no file";
}

TEST(Job, SerialRunOfTheWindowRefusesTheJobFileBeforeWritingAnything) {
    TempFolder folder;
    const fs::path file = folder / "serial.ncm";
    fs::copy_file(JOBS / "serial.ncm", file);
    const auto before = fs::file_size(file);
    job::TOpenJob opened;
    ASSERT_TRUE(
        job::OpenJob(job::OpenSession(DELIVERED, DELIVERED), file, profile("1"), opened).Ok());
    ncgen::TJob copy = opened.Job;
    const job::TSeriesJob run{copy,
                              {opened.Job.Layers.SelectLayer(1).Fields,
                               opened.Profile.Profile.SafetyDistance,
                               opened.Profile.Profile.InfeedDepth,
                               {}},
                              opened.Profile.Profile,
                              opened.Profile.Name,
                              opened.Session.Texts,
                              {},
                              file};
    const std::vector<ncgen::TRunItem> items{{"A1", folder / "a1.nc"},
                                             {"A2", folder.path() / "." / "serial.ncm"}};
    const job::TSeriesOutcome outcome = job::RunSeries(run, items, {});
    EXPECT_EQ(outcome.Outcome.Message.Text, text::OutputIsJobFile);
    EXPECT_EQ(outcome.Stop, ncgen::TRunStop::Refused);
    EXPECT_EQ(outcome.StoppedAt, 1u);
    EXPECT_EQ(outcome.Written, 0u);
    EXPECT_FALSE(fs::exists(folder / "a1.nc"));
    EXPECT_EQ(fs::file_size(file), before);
}

TEST(Job, ProfileOrJobFileOverOneMegabyteIsRefusedNamingFileAndLimit) {
    TempFolder folder;
    const std::string padding(1024 * 1024, ';');
    const fs::path profileFile = folder / "huge.ini";
    std::ofstream(profileFile) << "[set]\nProfil=Gross\n" << padding << "\n";
    const fs::path jobFile = folder / "huge.ncm";
    std::ofstream(jobFile) << "LAYER Ebene 1\nDATA\n/A1\n" << padding << "\n";
    const auto session = job::OpenSession(folder / "config", DELIVERED);
    const struct {
        fs::path job;
        const char* profile;
        fs::path named;
    } cases[] = {{JOBS / "serial.ncm", nullptr, profileFile}, {jobFile, "1", jobFile}};
    for (const auto& c : cases) {
        job::TOpenJob opened;
        const job::TOutcome outcome = job::OpenJob(
            session, c.job, profile(c.profile ? c.profile : profileFile.c_str()), opened);
        EXPECT_FALSE(outcome.Ok()) << c.named;
        EXPECT_EQ(session.Texts.Message(outcome.Message),
                  "Datei " + c.named.string() +
                      " ist gr\xF6\xDF"
                      "er als 1 MB und wird nicht gelesen: eine Profil- oder Auftragsdatei ist "
                      "wenige Kilobyte gro\xDF");
    }
    // A file of the limit itself is read.
    std::ofstream(folder / "edge.ncm") << "LAYER Ebene 1\nDATA\n/A1\n"
                                       << std::string(1024 * 1024 - 23, ';');
    ASSERT_EQ(fs::file_size(folder / "edge.ncm"), job::MaxJobFileSize);
    job::TOpenJob opened;
    EXPECT_TRUE(job::OpenJob(session, folder / "edge.ncm", profile("1"), opened).Ok());
}
