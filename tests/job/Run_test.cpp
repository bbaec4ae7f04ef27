#include "support/LogBackends.h"
#include "support/TempFolder.h"

#include "base/AtomicFile.h"
#include "base/TextNumbers.h"
#include "config/DefaultConfiguration.h"
#include "job/Run.h"
#include "log/LoggedWrite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <thread>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

const fs::path JOBS = fs::path(KORVEX_TEST_DATA_DIR) / "cli";
const fs::path DELIVERED = KORVEX_DATA_DIR;

// A front end that answers as told and keeps what it heard.
struct TFront : job::TRunFront {
    bool Answer = false;
    int Asked = 0;
    std::size_t AskedItem = 0;
    std::vector<std::pair<job::TRunNews, std::string>> Told;
    std::function<void()> OnReplace;
    std::function<void(const job::TSeriesStep&)> OnStep;

    bool WriteAgain(const log::TMarkRecord&, std::size_t item) override {
        ++Asked;
        AskedItem = item;
        return Answer;
    }
    void Tell(job::TRunNews news, const std::string& words) override {
        Told.emplace_back(news, words);
    }
    bool Step(const job::TSeriesStep& step) override {
        if (OnStep) OnStep(step);
        return true;
    }
    bool Replace(std::size_t) override {
        if (OnReplace) OnReplace();
        return true;
    }
};

using RunLog = korvex::test::TLogBackends;
KORVEX_LOG_BACKENDS(RunLog);

// The delivered settings in a folder of their own, the log beside them or on the test's server
// (named in main.ini, with a password the server does not ask for), and a job file.
struct TWorkshop {
    const RunLog& Backend;
    TempFolder Temp;
    fs::path Config = Temp / "config";
    fs::path JobFile = Temp / "serial.ncm";
    fs::path Log = Backend.Sqlite()
                       ? Config / "korvex.sqlite"
                       : fs::path(Backend.Fresh(Temp.path()).string() + "&password=geheim");
    job::TOpenJob Opened;

    explicit TWorkshop(const RunLog& backend) : Backend(backend) {
        fs::copy_file(JOBS / "serial.ncm", JobFile);
        config::FillConfigFolder(Config, DELIVERED);
        if (!Backend.Sqlite())
            writeBytes(Config / "main.ini", readBytes(Config / "main.ini") +
                                                "[log]\r\nDatenbank=" + Log.string() + "\r\n");
        job::TJobOptions options;
        options.Profile = "1";
        EXPECT_TRUE(
            job::OpenJob(job::OpenSession(Config, DELIVERED), JobFile, options, Opened).Ok());
    }
    fs::path LogFile() const { return Log; }
    // Whether the log was made: the file, or Korvex's schema on the server.
    bool LogMade() const {
        return Backend.Sqlite() ? fs::exists(Log)
                                : Backend.Server()->Rows("SELECT count(*) FROM pg_namespace "
                                                         "WHERE nspname = 'korvex'") == "1";
    }
    const config::TLanguageTexts& Texts() const { return Opened.Session.Texts; }

    job::TRunRequest List(std::vector<ncgen::TRunItem> items) {
        return {job::SeriesJob(Opened, {}), {Config, false}, std::move(items), {}, {}, false};
    }
    // SN-{n} into {n}.nc from the counter "c"; planned: the run must get `start`.
    job::TRunRequest Counted(std::int64_t start, std::int64_t count, bool planned) {
        job::TRunRequest request = List({});
        request.Serial = job::TSerialPlan{{start, count, 1}, "SN-{n}", "{n}.nc", Temp.path()};
        request.Counter = "c";
        request.FirstAsPlanned = planned;
        return request;
    }
    job::TWriteOutcome Write(TFront& front, const fs::path& output, const std::string& text) {
        log::TMarkRecord record;
        record.Text = text;
        log::DescribeContent(record, content::TContentKind::Text);
        return job::WriteOne(front, Texts(), {{Config, false}, JobFile, output, "G0\r\n", record});
    }
    std::vector<log::TMarkRecord> Records() const { return log::TMarkingLog(LogFile()).Query({}); }
};

TEST_P(RunLog, TheJobFileIsRefusedBeforeTheLogIsOpened) {
    struct TCase {
        const char* Name;
        std::function<job::TRunEnd(TWorkshop&, const fs::path&)> Start;
    };
    const TCase cases[] = {
        {"single program",
         [](TWorkshop& w, const fs::path& job) {
             TFront front;
             return w.Write(front, job, "SN-1").End;
         }},
        {"list run, second item",
         [](TWorkshop& w, const fs::path& job) {
             TFront front;
             return job::RunAll(front, w.List({{"A1", w.Temp / "a1.nc"}, {"A2", job}})).End;
         }},
        {"counter run",
         [](TWorkshop& w, const fs::path&) {
             TFront front;
             job::TRunRequest request = w.Counted(1, 2, false);
             request.Serial->Names = "./serial.ncm";
             return job::RunAll(front, std::move(request)).End;
         }},
    };
    for (const TCase& c : cases) {
        TWorkshop w(*this);
        const auto before = fs::file_size(w.JobFile);
        EXPECT_EQ(c.Start(w, w.Temp.path() / "." / "serial.ncm"), job::TRunEnd::JobFile) << c.Name;
        EXPECT_EQ(fs::file_size(w.JobFile), before) << c.Name;
        EXPECT_FALSE(fs::exists(w.Temp / "a1.nc")) << c.Name;
        EXPECT_FALSE(w.LogMade()) << c.Name << ": no log, no counter was touched";
    }
}

// One program: what is refused and what is asked, with the record only of what was written.
TEST_P(RunLog, ASingleProgramIsWrittenWithItsRecordOrNotAtAll) {
    struct TCase {
        const char* Name;
        const char* Output; // in the workshop; "/dev/full" a disk without room
        bool ReadOnly;
        bool Answer;
        job::TRunEnd End;
        int Asked;
        std::size_t Records; // after the first program, SN-1 in first.nc
    };
    const TCase cases[] = {
        {"duplicate answered no", "second.nc", false, false, job::TRunEnd::Duplicate, 1, 1},
        {"duplicate answered yes", "second.nc", false, true, job::TRunEnd::Done, 1, 2},
        {"read-only file is not asked about", "second.nc", true, true, job::TRunEnd::CannotWrite, 0,
         1},
        {"disk full", "/dev/full", false, true, job::TRunEnd::CannotWrite, 1, 1},
    };
    for (const TCase& c : cases) {
        TWorkshop w(*this);
        TFront front;
        ASSERT_TRUE(w.Write(front, w.Temp / "first.nc", "SN-1").Written());
        const fs::path output = c.Output[0] == '/' ? fs::path(c.Output) : w.Temp / c.Output;
        if (c.ReadOnly) {
            ASSERT_TRUE(base::WriteFileAtomically(output, "old"));
            fs::permissions(output, fs::perms::owner_read);
        }
        front.Answer = c.Answer;
        const job::TWriteOutcome written = w.Write(front, output, "SN-1");
        EXPECT_EQ(written.End, c.End) << c.Name;
        EXPECT_TRUE(written.Logged) << c.Name;
        EXPECT_EQ(front.Asked, c.Asked) << c.Name;
        const auto records = w.Records();
        EXPECT_EQ(records.size(), c.Records) << c.Name;
        for (const log::TMarkRecord& record : records)
            EXPECT_FALSE(record.Pending) << c.Name;
        if (c.End != job::TRunEnd::Done && !c.ReadOnly)
            EXPECT_FALSE(fs::exists(w.Temp / "second.nc")) << c.Name;
    }
}

// A run over a content logged before asks once, naming the item; no leaves the counter alone.
TEST_P(RunLog, ADuplicateInARunIsAskedOnceAndNoWritesNothing) {
    for (const bool counted : {false, true})
        for (const bool answer : {false, true}) {
            TWorkshop w(*this);
            TFront front;
            ASSERT_TRUE(w.Write(front, w.Temp / "first.nc", "SN-2").Written());
            front.Answer = answer;
            job::TRunRequest request =
                counted ? w.Counted(1, 3, true)
                        : w.List({{"SN-1", w.Temp / "1.nc"}, {"SN-2", w.Temp / "2.nc"}});
            const job::TRunReport report = job::RunAll(front, std::move(request));
            const std::string name =
                std::string(counted ? "counter" : "list") + (answer ? ", yes" : ", no");
            EXPECT_EQ(front.Asked, 1) << name;
            EXPECT_EQ(front.AskedItem, 1u) << name;
            EXPECT_EQ(report.End, answer ? job::TRunEnd::Done : job::TRunEnd::Duplicate) << name;
            EXPECT_EQ(fs::exists(w.Temp / "1.nc"), answer) << name;
            EXPECT_EQ(w.Records().size(), answer ? (counted ? 4u : 3u) : 1u) << name;
            if (counted) {
                EXPECT_EQ(log::TMarkingLog(w.LogFile()).NextSerial("c"), answer ? 4 : 1) << name;
            }
        }
}

// A program that fails midway stops the run there: those before it stay, written and logged,
// and the run's numbers are settled, so the next start finds no run cut short.
TEST_P(RunLog, AFailureMidRunKeepsWhatCameBeforeAndEndsTheRun) {
    struct TCase {
        const char* Name;
        content::TContentKind Kind;
        std::vector<std::pair<std::string, std::string>> Items; // text, file; none: SN-1 ... SN-3
        ncgen::TRunStop Stop;
    };
    const TCase cases[] = {
        {"GS1 check digit",
         content::TContentKind::Gs1,
         {{"(01)09506000134352(21)1", "1.nc"},
          {"(01)09506000134353(21)2", "2.nc"},
          {"(01)09506000134352(21)3", "3.nc"}},
         ncgen::TRunStop::Generation},
        {"disk full",
         content::TContentKind::Text,
         {{"SN-1", "1.nc"}, {"SN-2", "/dev/full"}, {"SN-3", "3.nc"}},
         ncgen::TRunStop::Write},
        {"disk full, numbers from a counter",
         content::TContentKind::Text,
         {},
         ncgen::TRunStop::Write},
    };
    for (const TCase& c : cases) {
        TWorkshop w(*this);
        std::vector<ncgen::TRunItem> items;
        for (const auto& [text, file] : c.Items)
            items.push_back({text, file[0] == '/' ? fs::path(file) : w.Temp / file});
        job::TRunRequest request = items.empty() ? w.Counted(1, 3, true) : w.List(items);
        // The second program's file is a link to a disk without room.
        if (items.empty()) fs::create_symlink("/dev/full", w.Temp / "2.nc");
        request.Job.Fields.Layer.Content = c.Kind;
        TFront front;
        const job::TRunReport report = job::RunAll(front, std::move(request));
        EXPECT_EQ(report.End, job::TRunEnd::Done) << c.Name;
        EXPECT_EQ(report.Series.Stop, c.Stop) << c.Name;
        EXPECT_EQ(report.Series.StoppedAt, 1u) << c.Name;
        EXPECT_EQ(report.Series.Written, 1u) << c.Name;
        EXPECT_FALSE(report.Series.Outcome.Ok()) << c.Name;
        EXPECT_TRUE(fs::exists(w.Temp / "1.nc")) << c.Name;
        EXPECT_FALSE(fs::exists(w.Temp / "3.nc")) << c.Name;
        const auto records = w.Records();
        ASSERT_EQ(records.size(), 1u) << c.Name;
        EXPECT_EQ(records[0].Text, items.empty() ? "SN-1" : c.Items[0].first) << c.Name;
        EXPECT_FALSE(records[0].Pending) << c.Name;
        log::TMarkingLog reopened(w.LogFile());
        EXPECT_TRUE(reopened.Recovered().Runs.empty()) << c.Name;
        if (!items.empty()) continue;
        const auto runs = reopened.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].State, "done");
        EXPECT_EQ(runs[0].Written, 1);
        EXPECT_EQ(reopened.NextSerial("c"), 4) << "the unused numbers are not handed out again";
    }
}

// Another process takes numbers from the same counter while a run gets ready or writes.
TEST_P(RunLog, NumbersTakenElsewhereAreNeverHandedOutTwice) {
    const auto takeTwo = [](const fs::path& file) {
        log::TMarkingLog other(file);
        return other.TakeSerials("c", 2, 1, [](std::int64_t) { return true; })->First;
    };
    { // the window's run wants the number it showed: refused, nothing written
        TWorkshop w(*this);
        TFront front;
        ASSERT_TRUE(base::WriteFileAtomically(w.Temp / "1.nc", "old")); // so it is asked
        front.OnReplace = [&] { EXPECT_EQ(takeTwo(w.LogFile()), 1); };
        const job::TRunReport report = job::RunAll(front, w.Counted(1, 2, true));
        EXPECT_EQ(report.End, job::TRunEnd::TakenMeanwhile);
        EXPECT_FALSE(fs::exists(w.Temp / "2.nc"));
        EXPECT_EQ(log::TMarkingLog(w.LogFile()).NextSerial("c"), 3);
    }
    { // the command line's run takes the next ones
        TWorkshop w(*this);
        TFront front;
        ASSERT_TRUE(base::WriteFileAtomically(w.Temp / "1.nc", "old"));
        front.OnReplace = [&] { takeTwo(w.LogFile()); };
        const job::TRunReport report = job::RunAll(front, w.Counted(1, 2, false));
        EXPECT_EQ(report.End, job::TRunEnd::Done);
        EXPECT_TRUE(fs::exists(w.Temp / "3.nc") && fs::exists(w.Temp / "4.nc"));
        ASSERT_EQ(front.Told.size(), 1u);
        EXPECT_EQ(front.Told[0].first, job::TRunNews::Numbers);
        EXPECT_NE(front.Told[0].second.find("3"), std::string::npos) << front.Told[0].second;
    }
    { // taken while the run writes: the other process gets the numbers after the run's
        TWorkshop w(*this);
        TFront front;
        std::int64_t othersFirst = 0;
        front.OnStep = [&](const job::TSeriesStep& step) {
            if (step.Index == 0) othersFirst = takeTwo(w.LogFile());
        };
        const job::TRunReport report = job::RunAll(front, w.Counted(1, 3, true));
        EXPECT_EQ(report.Series.Written, 3u);
        EXPECT_EQ(othersFirst, 4);
        for (const log::TMarkRecord& record : w.Records())
            EXPECT_EQ(record.Text, "SN-" + std::to_string(*record.Serial));
    }
}

// A locked log is said at once through the front end, naming the file, before the wait.
TEST_P(RunLog, AWriteWaitingForALockedLogSaysSoAtOnce) {
    TWorkshop w(*this);
    { log::TMarkingLog{w.LogFile()}; }
    korvex::test::TLogHolder other(w.LogFile());
    std::thread release;
    struct TWaiting : TFront {
        std::function<void()> Then;
        void Tell(job::TRunNews news, const std::string& words) override {
            TFront::Tell(news, words);
            if (news == job::TRunNews::Waiting) Then();
        }
    } front;
    front.Then = [&] { release = std::thread([&other] { other.Release(); }); };
    EXPECT_TRUE(w.Write(front, w.Temp / "a.nc", "SN-1").Written());
    if (release.joinable()) release.join();
    ASSERT_EQ(front.Told.size(), 1u);
    EXPECT_EQ(front.Told[0].first, job::TRunNews::Waiting);
    const std::string said = front.Told[0].second;
    EXPECT_NE(said.find(Sqlite() ? w.LogFile().string() : Server()->Host()), std::string::npos)
        << said;
    EXPECT_EQ(said.find("geheim"), std::string::npos) << said;
}

} // namespace
