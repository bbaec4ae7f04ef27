#include "support/TempFolder.h"

#include "job/LoggedRun.h"
#include "job/MarkGrade.h"
#include "job/Run.h"
#include "log/GradeRecord.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

const fs::path DELIVERED = KORVEX_DATA_DIR;
const fs::path EXAMPLE = DELIVERED / "examples" / "typenschild.ncm";

struct TQuietFront : job::TRunFront {
    bool WriteAgain(const log::TMarkRecord&, std::size_t) override { return false; }
    void Tell(job::TRunNews, const std::string&) override {}
};

// The delivered example with a 90 degree cone 0.16 mm deep: 80 % dots in its 0.4 mm cells,
// which read; 0.06 mm shallower they are 50 %, so AS9132 fails over the depth tolerance.
struct TGradedWorkshop {
    TempFolder Temp;
    fs::path Config = Temp / "config";
    job::TJobOptions Options;
    job::TOpenJob Opened;

    explicit TGradedWorkshop(bool gradeSetting) {
        job::OpenSession(Config, DELIVERED);
        std::string profile = readBytes(Config / "profil1.ini");
        profile.replace(profile.find("ZEbene=-0.1\r"), 11, "ZEbene=-0.16");
        writeBytes(Config / "profil1.ini", profile + "TiefeToleranz=0.06\r\n");
        if (gradeSetting)
            writeBytes(Config / "main.ini", readBytes(Config / "main.ini") + "[log]\r\nGrad=1\r\n");
        Options.Tool = ncgen::TTool{ncgen::TToolKind::Cone, 90, 0, 0};
        EXPECT_TRUE(
            job::OpenJob(job::OpenSession(Config, DELIVERED), EXAMPLE, Options, Opened).Ok());
    }
    // What the log keeps of the record with that id.
    std::string StoredGrade(std::int64_t id) const {
        sqlite3* db = nullptr;
        std::string grade = "(no log)";
        if (sqlite3_open((Config / "korvex.sqlite").c_str(), &db) == SQLITE_OK)
            grade = log::StoredGrade(db, id);
        sqlite3_close(db);
        return grade;
    }
    // The grade `generate -o` records for the text, the single program's way.
    std::string SingleGrade(const std::string& text) {
        job::TJobOptions single = Options;
        single.Text = text;
        single.Grade = true;
        job::TOpenJob copy = Opened;
        job::TProgram program;
        EXPECT_TRUE(job::Generate(copy, single, program).Ok());
        return job::ProgramRecord(program, content::TContentKind::Text, "", {}).Grade;
    }
};

} // namespace

// A run's records carry the predicted grade of each program when the run predicts it (asked
// by the caller or the settings' [log] Grad=1, or for a requirement), the same the single
// program's record gets; a requirement the prediction falls short of stops the run unwritten.
TEST(RunGrade, ARunRecordsEachProgramsGradeWhenItPredictsIt) {
    struct TCase {
        const char* Name;
        bool Setting;
        bool Asked;
        const char* Require;
        bool Graded;
        std::size_t Written;
    } cases[] = {
        {"not asked", false, false, "", false, 3},
        {"[log] Grad=1", true, false, "", true, 3},
        {"asked by the caller", false, true, "", true, 3},
        {"a requirement met", false, false, "D", true, 3},
        {"a requirement not met", false, false, "as9132", false, 0},
    };
    for (const TCase& c : cases) {
        TGradedWorkshop w(c.Setting);
        job::TJobOptions options = w.Options;
        options.Grade = c.Asked;
        if (*c.Require) options.Require = c.Require;
        TQuietFront front;
        const job::TRunReport report =
            job::RunAll(front, {job::SeriesJob(w.Opened, options),
                                {w.Config, false},
                                {},
                                job::TSerialPlan{{1, 3, 1}, "SN-{n}", "{n}.nc", w.Temp.path()},
                                {},
                                false});
        EXPECT_EQ(report.Series.Written, c.Written) << c.Name;
        EXPECT_EQ(report.Series.RequirementFailed, c.Written == 0) << c.Name;
        for (std::size_t k = 0; k < c.Written; ++k) {
            const std::string text = "SN-" + std::to_string(k + 1);
            const std::string stored = w.StoredGrade(static_cast<std::int64_t>(k + 1));
            EXPECT_EQ(stored, c.Graded ? w.SingleGrade(text) : "") << c.Name << ' ' << text;
            if (c.Graded) EXPECT_NE(stored.find("AS9132 fails"), std::string::npos) << stored;
        }
        EXPECT_EQ(fs::exists(w.Temp / "1.nc"), c.Written > 0) << c.Name;
    }
}

// The window reads the profile's depth tolerance as korvex-cli does: from the profile's file.
TEST(RunGrade, TheDepthToleranceIsTheProfileFilesOrTheDefault) {
    TempFolder temp;
    const fs::path config = temp / "config";
    job::OpenSession(config, DELIVERED);
    const std::string profile = readBytes(config / "profil2.ini");
    const struct {
        const char* Line;
        int Number;
        long double Tolerance;
    } cases[] = {
        {"TiefeToleranz=0.04\r\n", 2, 0.04L}, {"TiefeToleranz=-0.03\r\n", 2, 0.03L},
        {"TiefeToleranz=x\r\n", 2, 0.01L},    {"", 2, 0.01L},
        {"TiefeToleranz=0.04\r\n", 0, 0.01L},
    };
    for (const auto& c : cases) {
        writeBytes(config / "profil2.ini", profile + c.Line);
        EXPECT_NEAR(static_cast<double>(job::DepthTolerance(config, c.Number)),
                    static_cast<double>(c.Tolerance), 1e-9)
            << c.Line << c.Number;
    }
}
