#include "log/LoggedWrite.h"
#include "log/MarkingLog.h"
#include "log/Sha256.h"

#include "base/TextNumbers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace korvex::log;
namespace text = korvex::text;

namespace {

TMarkRecord record(const std::string& text, const fs::path& output) {
    TMarkRecord r;
    r.Text = text;
    r.ContentKind = "TEXT";
    r.Output = output;
    r.Profile = "Fräsen";
    return r;
}

// Runs body in a child process and gives back its exit status: for a writer that dies at a
// chosen moment, and for limits (another user, a file size) the test process must not take.
int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int status = 1;
        try {
            status = body();
        } catch (...) {
            status = 99;
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void sql(const fs::path& file, const char* statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A log that cannot take the record stops the write: no file, the reason in language texts.
TEST(MarkingLog, UnusableLogStopsTheWriteWithItsReason) {
    struct TCase {
        const char* Name;
        std::function<void(const fs::path& folder)> Spoil;
        bool OtherUser; // the superuser could write anywhere
        bool SmallFiles;
        int Text;
    };
    const TCase cases[] = {
        {"garbage file", [](const fs::path& f) { writeBytes(f / LogFileName, "not a log\n"); },
         false, false, text::LogNotALog},
        {"newer schema",
         [](const fs::path& f) {
             TMarkingLog{f / LogFileName};
             sql(f / LogFileName, "PRAGMA user_version=99");
         },
         false, false, text::LogNewerSchema},
        {"folder in its place", [](const fs::path& f) { fs::create_directory(f / LogFileName); },
         false, false, text::LogCannotOpen},
        {"read-only folder",
         [](const fs::path& f) {
             fs::permissions(f, fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
         },
         true, false, text::LogCannotOpen},
        {"full disk", [](const fs::path& f) { TMarkingLog{f / LogFileName}; }, false, true,
         text::LogCannotWrite},
    };
    for (const auto& c : cases) {
        TempFolder temp;
        const fs::path folder = temp / "config";
        fs::create_directory(folder);
        const fs::path program = temp / "SN-1.nc";
        c.Spoil(folder);
        const int status = inChild([&] {
            if (c.OtherUser && ::setuid(65534) != 0) return 98;
            if (c.SmallFiles) {
                // A disk that is full: every file this process grows stops where it is.
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{32768, RLIM_INFINITY};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            try {
                TMarkingLog log{folder / LogFileName};
                // More than the disk has room for, once the log's own files are made.
                WriteLogged(log, record(std::string(40000, 'y'), program), "G0 X0\r\n", true);
                return 0;
            } catch (const ELogError& e) {
                return e.Message.Text - 9700;
            }
        });
        EXPECT_EQ(status, c.Text - 9700) << c.Name;
        EXPECT_FALSE(fs::exists(program)) << c.Name;
    }
}

TEST(MarkingLog, DuplicateContentIsRefusedNamingTheEarlierRecord) {
    TempFolder temp;
    TMarkingLog log{temp / LogFileName};
    ASSERT_TRUE(WriteLogged(log, record("SN-7", temp / "a.nc"), "A\r\n", true).Written);
    const TLoggedWrite again = WriteLogged(log, record("SN-7", temp / "b.nc"), "A\r\n", true);
    EXPECT_FALSE(again.Written);
    ASSERT_TRUE(again.Duplicate);
    EXPECT_EQ(again.Duplicate->Output, temp / "a.nc");
    EXPECT_FALSE(fs::exists(temp / "b.nc"));
    // The same text of another content kind is another content.
    TMarkRecord gs1 = record("SN-7", temp / "c.nc");
    gs1.ContentKind = "GS1";
    EXPECT_TRUE(WriteLogged(log, gs1, "C\r\n", true).Written);

    const auto first = log.FindFirstLogged({"SN-5", "SN-6", "SN-7", "SN-8"}, "TEXT");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->first, 2u);
    const auto records = log.Query({});
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Sha256, Sha256Hex("A\r\n"));
    EXPECT_EQ(records[0].Profile, "Fräsen");
    EXPECT_FALSE(records[0].Pending);
}

// A writer killed at each step of a logged write: afterwards a file is either in place with
// its record or gone with it, and no temporary file stays.
TEST(MarkingLog, WriteCutShortIsSettledAtTheNextOpening) {
    enum TMoment { AfterRecord, AfterTemporary, AfterRename };
    for (const TMoment moment : {AfterRecord, AfterTemporary, AfterRename}) {
        TempFolder temp;
        const fs::path file = temp / LogFileName;
        const fs::path program = temp / "SN-1.nc";
        ASSERT_EQ(inChild([&] {
                      TMarkingLog log{file};
                      std::vector<TMarkRecord> records{record("SN-1", program)};
                      records[0].Sha256 = Sha256Hex("G1\r\n");
                      const auto begun = log.BeginWrites(records, true);
                      if (moment != AfterRecord) writeBytes(begun.Temporaries[0], "G1\r\n");
                      if (moment == AfterRename) fs::rename(begun.Temporaries[0], program);
                      return 0;
                  }),
                  0);
        TMarkingLog log{file};
        const bool kept = moment == AfterRename;
        EXPECT_EQ(log.Recovered().Completed, kept ? 1u : 0u) << moment;
        EXPECT_EQ(log.Recovered().Abandoned, kept ? 0u : 1u) << moment;
        EXPECT_EQ(log.Query({}).size(), kept ? 1u : 0u) << moment;
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(temp.path()))
            files += entry.path().extension() == ".nc" || entry.path().extension() == ".tmp";
        EXPECT_EQ(files, kept ? 1u : 0u) << moment;
    }
}

// A run's file that cannot be written takes its record and every later one of its batch
// along: the log names only files that are there.
TEST(MarkingLog, RunStopsAtAFileThatCannotBeWrittenAndLogsOnlyWhatIsThere) {
    TempFolder temp;
    TMarkingLog log{temp / LogFileName};
    fs::create_directory(temp / "SN-2.nc"); // a folder where program 2 should go
    const std::vector<korvex::ncgen::TRunItem> items = {
        {"SN-1", temp / "SN-1.nc"}, {"SN-2", temp / "SN-2.nc"}, {"SN-3", temp / "SN-3.nc"}};
    std::vector<korvex::ncgen::TRunProgram> programs(3);
    for (auto& program : programs) {
        program.Ok = true;
        program.Bytes = "G1\r\n";
    }
    TLoggedSink sink(log, record("", {}), {1, 2, 3});
    const auto written = sink.Write(0, {&items[0], &items[1], &items[2]},
                                    {&programs[0], &programs[1], &programs[2]});
    EXPECT_EQ(written.Count, 1u);
    EXPECT_TRUE(written.Failure.Empty());
    const auto records = log.Query({});
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Output, temp / "SN-1.nc");
    EXPECT_EQ(records[0].Serial, 1);
    EXPECT_FALSE(fs::exists(temp / "SN-3.nc"));
    for (const auto& entry : fs::directory_iterator(temp.path()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(MarkingLog, CountersHandOutEachNumberOnceAndKeepItOnRefusal) {
    TempFolder temp;
    TMarkingLog log{temp / LogFileName};
    EXPECT_EQ(log.NextSerial("typenschild"), 1);
    EXPECT_EQ(log.TakeSerials("typenschild", 10, 1, {})->First, 1);
    EXPECT_EQ(log.TakeSerials("typenschild", 5, 2, {})->First, 11);
    EXPECT_FALSE(log.TakeSerials("typenschild", 5, 1, [](std::int64_t) { return false; }));
    EXPECT_EQ(log.NextSerial("typenschild"), 21);
    EXPECT_EQ(log.NextSerial("other"), 1);
    // An interrupted run is known again by whoever opens the log next.
    ASSERT_EQ(inChild([&] {
                  TMarkingLog other{temp / LogFileName};
                  other.TakeSerials("typenschild", 100, 1, {});
                  return 0;
              }),
              0);
    TMarkingLog later{temp / LogFileName};
    ASSERT_EQ(later.Recovered().Runs.size(), 1u);
    EXPECT_EQ(later.Recovered().Runs[0].First, 21);
    EXPECT_EQ(later.Recovered().Runs[0].Count, 100);
    EXPECT_EQ(later.NextSerial("typenschild"), 121);

    // Whoever asks, a counter never moves back nor past INT64_MAX, and a refusal takes nothing.
    const auto refusal = [&later](std::int64_t count, std::int64_t step) {
        try {
            later.TakeSerials("typenschild", count, step, {});
        } catch (const ELogError& e) {
            return e.Message.Text;
        }
        return 0;
    };
    EXPECT_EQ(refusal(2, -1), korvex::text::CounterStepNotPositive);
    EXPECT_EQ(refusal(1, INT64_MAX), korvex::text::CounterWouldOverflow);
    EXPECT_EQ(refusal(INT64_MAX / 2, 3), korvex::text::CounterWouldOverflow);
    EXPECT_EQ(later.NextSerial("typenschild"), 121);
}

// Processes that find no log and create it at the same moment all get it: none is told it is
// locked (two programs started by one script, or a window and a script on a fresh machine).
TEST(MarkingLog, ProcessesCreatingTheLogAtOnceAllOpenIt) {
    TempFolder temp;
    int refused = 0;
    for (int round = 0; round < 100; ++round) {
        const fs::path file = temp / ("round" + std::to_string(round)) / LogFileName;
        fs::create_directories(file.parent_path());
        // The children start together when the parent closes the pipe they wait on.
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> children;
        for (int k = 0; k < 3; ++k) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(gate[1]);
                char byte;
                (void)!::read(gate[0], &byte, 1);
                try {
                    TMarkingLog log{file};
                    ::_exit(0);
                } catch (...) {
                    ::_exit(1);
                }
            }
            children.push_back(pid);
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (const pid_t pid : children) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            refused += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        }
    }
    EXPECT_EQ(refused, 0);
}

} // namespace
