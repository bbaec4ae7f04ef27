#include "log/LogExport.h"
#include "log/LogTexts.h"
#include "log/LoggedWrite.h"
#include "log/MarkingLog.h"
#include "log/Sha256.h"

#include "base/TextNumbers.h"
#include "support/LogBackends.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <thread>
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

using MarkingLog = korvex::test::TLogBackends;
KORVEX_LOG_BACKENDS(MarkingLog);

// A log that cannot take the record stops the write: no file, the reason in language texts.
TEST_P(MarkingLog, UnusableLogStopsTheWriteWithItsReason) {
    struct TCase {
        const char* Name;
        // Spoils the log's folder or the server; gives back where the log is then looked for.
        // Empty: the back end has no such case.
        std::function<fs::path(MarkingLog&self, const fs::path&folder)> Sqlite, Server;
        bool OtherUser; // the superuser could write anywhere
        bool SmallFiles;
        int Text;
    };
    const auto file = [](const fs::path& f) { return f / LogFileName; };
    const TCase cases[] = {
        {"garbage file",
         [&](MarkingLog&, const fs::path& f) {
             writeBytes(file(f), "not a log\n");
             return file(f);
         },
         {},
         false,
         false,
         text::LogNotALog},
        {"newer schema",
         [&](MarkingLog&, const fs::path& f) {
             TMarkingLog{file(f)};
             sql(file(f), "PRAGMA user_version=99");
             return file(f);
         },
         [](MarkingLog& self, const fs::path& f) {
             const fs::path url = self.Fresh(f);
             TMarkingLog{url};
             self.Server()->Sql("UPDATE korvex.owner SET version = 99");
             return url;
         },
         false, false, text::LogNewerSchema},
        {"folder in its place",
         [&](MarkingLog&, const fs::path& f) {
             fs::create_directory(file(f));
             return file(f);
         },
         [](MarkingLog&, const fs::path& f) {
             return fs::path("postgresql:///korvex?host=" + f.string() + "&user=korvex");
         },
         false, false, text::LogCannotOpen},
        {"read-only folder",
         [&](MarkingLog&, const fs::path& f) {
             fs::permissions(f, fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
             return file(f);
         },
         {},
         true,
         false,
         text::LogCannotOpen},
        {"full disk",
         [&](MarkingLog&, const fs::path& f) {
             TMarkingLog{file(f)};
             return file(f);
         },
         {},
         false,
         true,
         text::LogCannotWrite},
    };
    for (const auto& c : cases) {
        const auto& spoil = Sqlite() ? c.Sqlite : c.Server;
        if (!spoil) continue;
        TempFolder temp;
        const fs::path folder = temp / "config";
        fs::create_directory(folder);
        const fs::path program = temp / "SN-1.nc";
        const fs::path location = spoil(*this, folder);
        const int status = inChild([&] {
            if (c.OtherUser && ::setuid(65534) != 0) return 98;
            if (c.SmallFiles) {
                // A disk that is full: every file this process grows stops where it is.
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{32768, RLIM_INFINITY};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            try {
                TMarkingLog log{location};
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

TEST_P(MarkingLog, DuplicateContentIsRefusedNamingTheEarlierRecord) {
    TempFolder temp;
    TMarkingLog log{Fresh(temp.path())};
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
TEST_P(MarkingLog, WriteCutShortIsSettledAtTheNextOpening) {
    enum TMoment { AfterRecord, AfterTemporary, AfterRename };
    for (const TMoment moment : {AfterRecord, AfterTemporary, AfterRename}) {
        TempFolder temp;
        const fs::path file = Fresh(temp.path());
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
TEST_P(MarkingLog, RunStopsAtAFileThatCannotBeWrittenAndLogsOnlyWhatIsThere) {
    TempFolder temp;
    TMarkingLog log{Fresh(temp.path())};
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

TEST_P(MarkingLog, CountersHandOutEachNumberOnceAndKeepItOnRefusal) {
    TempFolder temp;
    const fs::path file = Fresh(temp.path());
    TMarkingLog log{file};
    EXPECT_EQ(log.NextSerial("typenschild"), 1);
    EXPECT_EQ(log.TakeSerials("typenschild", 10, 1, {})->First, 1);
    EXPECT_EQ(log.TakeSerials("typenschild", 5, 2, {})->First, 11);
    EXPECT_FALSE(log.TakeSerials("typenschild", 5, 1, [](std::int64_t) { return false; }));
    EXPECT_EQ(log.NextSerial("typenschild"), 21);
    EXPECT_EQ(log.NextSerial("other"), 1);
    // An interrupted run is known again by whoever opens the log next.
    ASSERT_EQ(inChild([&] {
                  TMarkingLog other{file};
                  other.TakeSerials("typenschild", 100, 1, {});
                  return 0;
              }),
              0);
    TMarkingLog later{file};
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

// A log as the Korvex before application ids, content keys and writer identities kept it.
void makeVersion1Log(const fs::path& file, const char* content, const char* kind) {
    sql(file, "CREATE TABLE marks(id INTEGER PRIMARY KEY, time_utc TEXT NOT NULL, "
              "time_local TEXT NOT NULL, user TEXT NOT NULL, host TEXT NOT NULL, pid INTEGER NOT "
              "NULL, content TEXT NOT NULL, content_kind TEXT NOT NULL, human_readable TEXT NOT "
              "NULL, symbol_size TEXT NOT NULL, encodation TEXT NOT NULL, profile TEXT NOT NULL, "
              "job TEXT NOT NULL, output TEXT NOT NULL, sha256 TEXT NOT NULL, read_back TEXT NOT "
              "NULL, counter TEXT NOT NULL, serial INTEGER, pending INTEGER NOT NULL, temporary "
              "TEXT NOT NULL, run INTEGER NOT NULL);"
              "CREATE TABLE counters(name TEXT PRIMARY KEY, next INTEGER NOT NULL);"
              "CREATE TABLE runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, host TEXT NOT "
              "NULL, pid INTEGER NOT NULL, counter TEXT NOT NULL, first INTEGER NOT NULL, count "
              "INTEGER NOT NULL, step INTEGER NOT NULL, state TEXT NOT NULL);"
              "PRAGMA user_version=1;");
    const std::string insert =
        std::string("INSERT INTO marks VALUES(1, '2026-12-01T10:00:00Z', '2026-12-01 11:00:00 "
                    "+0100', 'u', 'h', 1, '") +
        content + "', '" + kind + "', '', '', '', '', '', '/old.nc', 'ab', '', '', NULL, 0, '', 0)";
    sql(file, insert.c_str());
}

std::int64_t pragma(const fs::path& file, const char* name) {
    sqlite3* db = nullptr;
    std::int64_t value = -1;
    if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, (std::string("PRAGMA ") + name).c_str(), -1, &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW) value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

// Typings a scanner cannot tell apart are one content; the same for a record of an older log.
TEST_P(MarkingLog, DuplicateIsFoundByWhatAReaderGets) {
    struct TCase {
        const char* Kind;
        const char* Logged;
        const char* Asked;
        bool Same;
    };
    const TCase cases[] = {
        {"GS1", "(01)09506000134352(21)1", "(01)09506000134352\r\n(21)1", true},
        {"GS1", "(01)09506000134352(21)1", "(21)1(01)09506000134352", true},
        {"GS1", "(01)09506000134352(21)1", "(01)09506000134352(21)2", false},
        {"ISO15434-05", "(01)09506000134352(21)1", "(21)1\n(01)09506000134352", true},
        {"ISO15434-06", "17VABC12\n1PPART7\nSSER9", "17VABC12\n\n1PPART7\nSSER9", true},
        {"ISO15434-06", "17VABC12\n1PPART7\nSSER9", "17VABC12\n1PPART7\nSSER8", false},
        {"TEXT", "SN-7", "SN-7", true},
        {"TEXT", "SN-7", "sn-7", false},
    };
    for (const auto& c : cases) {
        for (const bool older : {false, true}) {
            if (older && !Sqlite()) continue; // no server log is older than its schema
            TempFolder temp;
            const fs::path file = Fresh(temp.path());
            if (older) {
                makeVersion1Log(file, c.Logged, c.Kind);
            } else {
                TMarkingLog log{file};
                TMarkRecord first = record(c.Logged, temp / "a.nc");
                first.ContentKind = c.Kind;
                ASSERT_TRUE(WriteLogged(log, first, "A\r\n", true).Written) << c.Asked;
            }
            TMarkingLog log{file};
            TMarkRecord again = record(c.Asked, temp / "b.nc");
            again.ContentKind = c.Kind;
            const TLoggedWrite written = WriteLogged(log, again, "A\r\n", true);
            EXPECT_EQ(written.Duplicate.has_value(), c.Same) << c.Kind << " " << c.Asked << older;
            EXPECT_EQ(fs::exists(temp / "b.nc"), !c.Same) << c.Asked;
        }
    }
}

// Another program's database named as the log stays as it was; an empty one or a log of an
// older Korvex becomes Korvex's.
TEST_P(MarkingLog, OnlyKorvexsOwnDatabasesAreTaken) {
    struct TCase {
        const char* Name;
        const char* Server; // statements on an empty server; nullptr: the file's case only
        std::function<void(const fs::path&)> Make;
        bool Taken;
    };
    const TCase cases[] = {
        {"another program's tables", "CREATE SCHEMA korvex; CREATE TABLE korvex.invoices(id INT)",
         [](const fs::path& f) { sql(f, "CREATE TABLE invoices(id INTEGER, total REAL)"); }, false},
        {"another program's id",
         "CREATE SCHEMA korvex; CREATE TABLE korvex.owner(application INT, version INT); "
         "INSERT INTO korvex.owner VALUES(1234, 1)",
         [](const fs::path& f) { sql(f, "PRAGMA application_id=1234"); }, false},
        {"our table names, no schema version",
         "CREATE SCHEMA korvex; CREATE TABLE korvex.marks(x INT); CREATE TABLE "
         "korvex.counters(y INT); CREATE TABLE korvex.runs(z INT)",
         [](const fs::path& f) {
             sql(f, "CREATE TABLE marks(x); CREATE TABLE counters(y); CREATE TABLE runs(z)");
         },
         false},
        {"an empty file", "SELECT 1", [](const fs::path& f) { writeBytes(f, ""); }, true},
        {"an older Korvex log", nullptr,
         [](const fs::path& f) { makeVersion1Log(f, "SN-1", "TEXT"); }, true},
    };
    // What another program would find changed: the file's bytes, the server's tables.
    const auto look = [this](const fs::path& file) {
        return Sqlite() ? readBytes(file)
                        : Server()->Rows("SELECT table_name, column_name FROM "
                                         "information_schema.columns WHERE table_schema = "
                                         "'korvex' ORDER BY 1, 2");
    };
    for (const auto& c : cases) {
        if (!Sqlite() && !c.Server) continue;
        TempFolder temp;
        const fs::path file = Fresh(temp.path());
        if (Sqlite())
            c.Make(file);
        else
            Server()->Sql(c.Server);
        const std::string before = look(file);
        int refusal = 0;
        try {
            TMarkingLog log{file};
        } catch (const ELogError& e) {
            refusal = e.Message.Text;
        }
        EXPECT_EQ(refusal, c.Taken ? 0 : text::LogForeignDatabase) << c.Name;
        if (c.Taken) {
            EXPECT_EQ(Sqlite() ? std::to_string(pragma(file, "application_id"))
                               : Server()->Rows("SELECT application FROM korvex.owner"),
                      std::to_string(ApplicationId))
                << c.Name;
        } else {
            EXPECT_EQ(look(file), before) << c.Name;
            if (Sqlite()) {
                EXPECT_FALSE(fs::exists(file.string() + "-wal")) << c.Name;
            }
        }
    }
    if (!Sqlite()) return;
    TempFolder temp;
    makeVersion1Log(temp / LogFileName, "SN-1", "TEXT");
    EXPECT_EQ(TMarkingLog{temp / LogFileName}.Query({}).size(), 1u);
}

// A writer's pid that is alive again (after a reboot, or reused) is not the writer: its
// complete file is settled as any dead writer's is.
TEST_P(MarkingLog, ARecycledPidDoesNotKeepADeadWritersRecordsPending) {
    for (const char* column : {"boot", "started"}) {
        TempFolder temp;
        const fs::path file = Fresh(temp.path());
        const fs::path program = temp / "SN-1.nc";
        ASSERT_EQ(inChild([&] {
                      TMarkingLog log{file};
                      std::vector<TMarkRecord> records{record("SN-1", program)};
                      records[0].Sha256 = Sha256Hex("G1\r\n");
                      const auto begun = log.BeginWrites(records, true);
                      writeBytes(begun.Temporaries[0], "G1\r\n");
                      fs::rename(begun.Temporaries[0], program);
                      log.TakeSerials("c", 5, 1, {});
                      return 0;
                  }),
                  0);
        // The pid is now a live process's (this one), but of another boot or another start.
        const std::string pid = std::to_string(::getpid());
        const std::string change = std::string("UPDATE marks SET pid = ") + pid + ", " + column +
                                   " = 'other';" + "UPDATE runs SET pid = " + pid + ", " +
                                   (std::string(column) == "boot" ? "boot" : "started_process") +
                                   " = 'other';";
        if (Sqlite())
            sql(file, change.c_str());
        else
            Server()->Sql("SET search_path = korvex; " + change);
        TMarkingLog log{file};
        EXPECT_EQ(log.Recovered().Completed, 1u) << column;
        EXPECT_EQ(log.Recovered().Runs.size(), 1u) << column;
        EXPECT_EQ(log.Query({}).size(), 1u) << column;
    }
}

// The disk fills between a batch's files and the log's note that they are in place: the
// count says what is on disk, and the next opening logs those files as complete.
TEST(MarkingLog, DiskFullAfterTheFilesCountsWhatIsOnDisk) {
    std::vector<korvex::ncgen::TRunItem> items;
    std::vector<korvex::ncgen::TRunProgram> programs(3);
    for (auto& program : programs) {
        program.Ok = true;
        program.Bytes = "G1\r\n";
    }
    int logFailures = 0;
    // Every size at which the log's file may stop growing, one disk each.
    for (rlim_t room = 16384; room <= 196608; room += 2048) {
        TempFolder temp;
        items = {{std::string(6000, 'a'), temp / "1.nc"},
                 {std::string(6000, 'b'), temp / "2.nc"},
                 {std::string(6000, 'c'), temp / "3.nc"}};
        { TMarkingLog{temp / LogFileName}; }
        // 99: the log could not even be opened on so small a disk, so nothing was written.
        const int status = inChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{room, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            TMarkingLog log{temp / LogFileName};
            TLoggedSink sink(log, record("", {}), {1, 2, 3});
            const auto written = sink.Write(0, {&items[0], &items[1], &items[2]},
                                            {&programs[0], &programs[1], &programs[2]});
            // 20 more: the failure says nothing was written while files were.
            const bool denied = written.Count > 0 && written.Failure.Text == text::LogCannotWrite;
            return static_cast<int>(written.Count) + (written.Failure.Empty() ? 0 : 10) +
                   (denied ? 20 : 0);
        });
        EXPECT_LT(status == 99 ? 0 : status, 20) << room << ": 'nothing was written' after files";
        const int counted = status == 99 ? 0 : status;
        logFailures += counted >= 10;
        int onDisk = 0;
        for (const char* name : {"1.nc", "2.nc", "3.nc"})
            onDisk += fs::exists(temp / name);
        EXPECT_EQ(counted % 10, onDisk) << room;
        EXPECT_EQ(TMarkingLog{temp / LogFileName}.Query({}).size(),
                  static_cast<std::size_t>(onDisk))
            << room;
    }
    EXPECT_GT(logFailures, 0); // some disk did fill up on the way
}

// A writer that finds the log locked says so at once, then goes on when the lock is gone.
TEST_P(MarkingLog, AWriterWaitingForTheLogSaysSoAtOnce) {
    TempFolder temp;
    const fs::path file = Fresh(temp.path());
    { TMarkingLog{file}; }
    korvex::test::TLogHolder other(file);
    int told = 0;
    std::thread release;
    const auto started = std::chrono::steady_clock::now();
    TMarkingLog log(file, TMarkingLog::TAccess::Write, [&] {
        ++told;
        release = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            other.Release();
        });
    });
    EXPECT_EQ(told, 1);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(150));
    std::vector<TMarkRecord> records{record("SN-1", temp / "a.nc")};
    EXPECT_EQ(log.BeginWrites(records, true).Temporaries.size(), 1u);
    if (release.joinable()) release.join();
}

// A listing's text filter: a part of the content, or a pattern with *, ? and [...] as the
// file log's GLOB reads it, whichever back end answers.
TEST_P(MarkingLog, TextFilterFindsTheSameRecordsOnEveryBackend) {
    TempFolder temp;
    TMarkingLog log{Fresh(temp.path())};
    const char* contents[] = {"SN-1", "SN-2", "SN-12", "A.B", "AxB", "(01)95", "a\\b"};
    int n = 0;
    for (const char* content : contents)
        ASSERT_TRUE(
            WriteLogged(log, record(content, temp / (std::to_string(++n) + ".nc")), "G0", true)
                .Written);
    const std::pair<const char*, const char*> cases[] = {
        {"SN-1", "SN-1 SN-12"},   {"SN-?", "SN-1 SN-2"}, {"SN-*", "SN-1 SN-2 SN-12"},
        {"SN-[12]", "SN-1 SN-2"}, {"SN-[^1]*", "SN-2"},  {"*[.]*", "A.B"},
        {"A.B", "A.B"},           {"A?B", "A.B AxB"},    {"(01)", "(01)95"},
        {"*5", "(01)95"},         {"a[\\]b", "a\\b"},    {"sn-1", ""},
    };
    for (const auto& [filter, expected] : cases) {
        std::string found;
        for (const TMarkRecord& r : log.Query({"", "", filter}))
            found += (found.empty() ? "" : " ") + r.Text;
        EXPECT_EQ(found, expected) << filter;
    }
}

// Lists and exports speak the user's language, whatever words the log keeps.
TEST(MarkingLog, RecordsAreShownInTheUsersLanguage) {
    korvex::config::TLanguageTexts german;
    german.Load(fs::path(KORVEX_DATA_DIR) / "german.txt");
    TMarkRecord r = record("SN-1", "/a.nc");
    struct TCase {
        const char* Kind;
        const char* ReadBack;
        const char* KindWords;
        const char* ReadBackWords; // UTF-8
    };
    const TCase cases[] = {
        {"TEXT", "reads as the text; reads from 60 %", "Text",
         "liest sich als der Text; reads from 60 %"},
        {"GS1", "reads as the text only mirrored (as one mirror asks)", "GS1",
         "liest sich als der Text nur gespiegelt (wie eine Spiegelung verlangt)"},
        {"ISO15434-06", "does not read", "ISO/IEC 15434 Format 06", "liest sich nicht"},
        {"TEXT", "", "Text", ""},
    };
    for (const auto& c : cases) {
        r.ContentKind = c.Kind;
        r.ReadBack = c.ReadBack;
        const auto words = RecordWords(r, german);
        EXPECT_EQ(words[6], c.KindWords);
        EXPECT_EQ(words[14], c.ReadBackWords);
        const auto csv = ReadCsv(RecordsCsv({r}, german));
        ASSERT_EQ(csv.size(), 2u);
        EXPECT_EQ(csv[1][14], c.ReadBackWords);
    }
}

// Processes that find no log and create it at the same moment all get it: none is told it is
// locked (two programs started by one script, or a window and a script on a fresh machine).
TEST_P(MarkingLog, ProcessesCreatingTheLogAtOnceAllOpenIt) {
    TempFolder temp;
    int refused = 0;
    // A server makes its schema under a lock: fewer rounds show it.
    for (int round = 0; round < (Sqlite() ? 100 : 20); ++round) {
        const fs::path file = Fresh(temp / ("round" + std::to_string(round)));
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
