#if KORVEX_LOG_POSTGRESQL && defined(KORVEX_CLI_PATH)

#include "log/MarkingLog.h"
#include "log/Sha256.h"

#include "support/PgServer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace korvex::log;

namespace {

constexpr int STATIONS = 4, WRITERS = 8, EACH = 500;
const std::string JOB = (fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "serial.ncm").string();

struct TWriter {
    pid_t Pid = -1;
    fs::path Err;
    int Status = -1;
};

// Four stations on one server: a configuration folder each, naming the server, and a host
// name of its own (a UTS namespace), as four computers would have.
struct TShop {
    TempFolder Temp;
    std::string Url;

    explicit TShop(const std::string& url) : Url(url) {
        for (int s = 0; s < STATIONS; ++s) {
            const fs::path config = Temp / ("station" + std::to_string(s));
            fs::create_directory(config);
            for (const char* name :
                 {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
                fs::copy_file(fs::path(KORVEX_DATA_DIR) / name, config / name);
            writeBytes(config / "main.ini",
                       readBytes(config / "main.ini") + "[log]\r\nDatenbank=" + url + "\r\n");
        }
    }
    static std::string Host(int station) { return "korvex-station" + std::to_string(station); }

    // korvex-cli generate at a station, writing SN-{n}.nc into the folder out.
    TWriter Start(int station, const std::string& serial, const fs::path& out) const {
        fs::create_directories(out);
        TWriter w;
        w.Err = out.string() + ".err";
        const std::vector<std::string> args = {
            "unshare",
            "--uts",
            "sh",
            "-c",
            "hostname \"$0\" && exec \"$@\"",
            Host(station),
            KORVEX_CLI_PATH,
            "generate",
            "--config",
            (Temp / ("station" + std::to_string(station))).string(),
            "--serial",
            serial,
            "--text",
            "SN-{n}",
            "-o",
            (out / "SN-{n}.nc").string(),
            JOB};
        w.Pid = ::fork();
        if (w.Pid == 0) {
            const int err = ::open(w.Err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int none = ::open("/dev/null", O_RDWR);
            ::dup2(none, 0);
            ::dup2(none, 1);
            ::dup2(err, 2);
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        return w;
    }
    static void Wait(TWriter& w) {
        int status = 0;
        ::waitpid(w.Pid, &status, 0);
        w.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // Every .nc file below the writers' folders, and the .tmp files left.
    std::set<fs::path> Files(std::size_t& temporaries) const {
        std::set<fs::path> files;
        temporaries = 0;
        for (const auto& entry : fs::recursive_directory_iterator(Temp / "out")) {
            if (entry.path().extension() == ".nc") files.insert(entry.path());
            if (entry.path().extension() == ".tmp") ++temporaries;
        }
        return files;
    }
};

// The count the run's last line reports ("... 192 Programme geschrieben").
std::size_t reported(const std::string& said) {
    const std::size_t end = said.rfind(" Programme geschrieben");
    if (end == std::string::npos) return SIZE_MAX;
    std::size_t begin = end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(said[begin - 1])))
        --begin;
    std::size_t n = SIZE_MAX;
    std::from_chars(said.data() + begin, said.data() + end, n);
    return n;
}

std::size_t filesIn(const fs::path& folder) {
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        n += entry.path().extension() == ".nc";
    return n;
}

std::string userName() {
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? entry->pw_name : "";
}

// The log and the files agree: every file has its record with its bytes' hash and its
// station, no record lacks its file, and no number was handed out twice.
void expectLogAndFilesAgree(const TShop& shop, std::size_t expected) {
    const TMarkingLog log(fs::path(shop.Url), TMarkingLog::TAccess::Read);
    const std::vector<TMarkRecord> records = log.Query({});
    std::size_t temporaries = 0;
    const std::set<fs::path> files = shop.Files(temporaries);
    EXPECT_EQ(temporaries, 0u);
    if (expected) {
        EXPECT_EQ(records.size(), expected);
    }
    std::set<std::int64_t> serials;
    std::set<fs::path> logged;
    std::size_t wrong = 0;
    for (const TMarkRecord& r : records) {
        ASSERT_TRUE(r.Serial);
        serials.insert(*r.Serial);
        logged.insert(r.Output);
        // out/<station>-<writer>/SN-<n>.nc
        const std::string folder = r.Output.parent_path().filename().string();
        const bool right = files.count(r.Output) && Sha256Hex(readBytes(r.Output)) == r.Sha256 &&
                           r.Text == "SN-" + std::to_string(*r.Serial) &&
                           r.Output.filename() == r.Text + ".nc" &&
                           r.Host == TShop::Host(folder[0] - '0') && r.User == userName();
        if (!right && ++wrong < 5)
            ADD_FAILURE() << r.Output << " " << r.Text << " " << r.Host << " " << r.User;
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(serials.size(), records.size()) << "a number handed out twice";
    EXPECT_EQ(logged, files) << "a file without its record";
    EXPECT_GT(log.NextSerial(JOB), serials.empty() ? 0 : *serials.rbegin());
    for (const TRunRecord& run : log.Runs())
        EXPECT_NE(run.State, "open") << run.Id;
}

fs::path writerFolder(const TShop& shop, int k) {
    return shop.Temp / "out" / (std::to_string(k % STATIONS) + "-" + std::to_string(k));
}

// Eight writers at four stations on one counter, 500 programs each.
TEST(ServerLoad, EightWritersAtFourStationsHandOutEachNumberOnce) {
    KORVEX_PG_SERVER_OR_SKIP(server);
    if (::geteuid() != 0) GTEST_SKIP() << "a host name per station needs root, as CI runs";
    const TShop shop(server->Url());
    std::vector<TWriter> writers;
    for (int k = 0; k < WRITERS; ++k)
        writers.push_back(
            shop.Start(k % STATIONS, "next:" + std::to_string(EACH), writerFolder(shop, k)));
    for (TWriter& w : writers) {
        TShop::Wait(w);
        EXPECT_EQ(w.Status, 0) << readBytes(w.Err);
    }
    expectLogAndFilesAgree(shop, WRITERS * EACH);
}

// The server killed in the middle of the run and started again: each writer ends with success
// or a message naming the server; once each station's next run has settled what was
// interrupted, the log and the files agree.
TEST(ServerLoad, ServerKilledMidRunLeavesNoFileWithoutItsRecord) {
    KORVEX_PG_SERVER_OR_SKIP(server);
    if (::geteuid() != 0) GTEST_SKIP() << "a host name per station needs root, as CI runs";
    const TShop shop(server->Url());
    std::vector<TWriter> writers;
    for (int k = 0; k < WRITERS; ++k)
        writers.push_back(
            shop.Start(k % STATIONS, "next:" + std::to_string(EACH), writerFolder(shop, k)));
    std::size_t temporaries = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (shop.Files(temporaries).size() < WRITERS * EACH / 3 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    server->Kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    server->Start();
    int failed = 0;
    for (int k = 0; k < WRITERS; ++k) {
        TWriter& w = writers[k];
        TShop::Wait(w);
        const std::string said = readBytes(w.Err);
        EXPECT_EQ(reported(said), filesIn(writerFolder(shop, k))) << said;
        if (w.Status != 0) {
            ++failed;
            EXPECT_NE(said.find(server->Host()), std::string::npos) << said;
            EXPECT_NE(said.find("/korvex"), std::string::npos) << said << ": the database";
        }
    }
    EXPECT_GT(failed, 0) << "the server went away while nobody wrote";
    for (int s = 0; s < STATIONS; ++s) {
        TWriter next = shop.Start(s, "next:1", shop.Temp / "out" / (std::to_string(s) + "-next"));
        TShop::Wait(next);
        EXPECT_EQ(next.Status, 0) << readBytes(next.Err);
    }
    expectLogAndFilesAgree(shop, 0);
}

} // namespace

#endif
