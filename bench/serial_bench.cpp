// A serial run of 1,000 programs in one korvex-cli process against one korvex-cli generate
// process per number, both writing the same files from the delivered example job; and the
// same run with each program recorded in the marking log, in the SQLite file and on a
// PostgreSQL server the bench starts itself; and what 8 writers at once get from the server.
#include "cli/GenerateSeries.h"
#include "log/MarkingLog.h"
#ifdef KORVEX_BENCH_PGSERVER
#include "support/PgServer.h"
#endif

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <filesystem>
#include <random>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int Programs = 1000;

fs::path scratch() {
    std::random_device device;
    const fs::path folder =
        fs::temp_directory_path() / ("korvex-serial-bench-" + std::to_string(device()));
    fs::create_directories(folder);
    return folder;
}

std::string text(int n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "SN-%06d", n);
    return buffer;
}

void BM_SerialRunInOneProcess(benchmark::State& state) {
    const fs::path out = scratch();
    for (auto _ : state) {
        korvex::cli::TSeriesOptions series;
        series.Options = {KORVEX_DATA_DIR, std::nullopt, "SN-{n:06}", KORVEX_EXAMPLE_JOB,
                          std::nullopt,    std::nullopt, std::nullopt};
        series.Output = (out / "SN-{n}.nc").string();
        series.Serial = "1:" + std::to_string(Programs);
        series.Log.NoLog = true;
        std::ostringstream err;
        if (korvex::cli::RunGenerateSeries(series, err) != 0) state.SkipWithError("run failed");
    }
    state.counters["per_program"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Programs,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    fs::remove_all(out);
}
BENCHMARK(BM_SerialRunInOneProcess)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

// The marking log's share of a program: the same run, each program recorded before its file
// is in place, the numbers from the log's counter (so every repetition marks new ones).
void BM_SerialRunWithLog(benchmark::State& state) {
    const fs::path out = scratch();
    const fs::path config = out / "config";
    fs::create_directories(config);
    for (const char* name :
         {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
        fs::copy_file(fs::path(KORVEX_DATA_DIR) / name, config / name);
    for (auto _ : state) {
        korvex::cli::TSeriesOptions series;
        series.Options = {config.string(), std::nullopt, "SN-{n:06}", KORVEX_EXAMPLE_JOB,
                          std::nullopt,    std::nullopt, std::nullopt};
        series.Output = (out / "SN-{n}.nc").string();
        series.Serial = "next:" + std::to_string(Programs);
        std::ostringstream err;
        if (korvex::cli::RunGenerateSeries(series, err) != 0) state.SkipWithError("run failed");
    }
    state.counters["per_program"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Programs,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    fs::remove_all(out);
}
BENCHMARK(BM_SerialRunWithLog)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

#ifdef KORVEX_BENCH_PGSERVER
// The server of this bench run, started at the first use; nullptr (and why) when it cannot.
korvex::test::TPgServer* server(std::string& why) {
    static std::string problem;
    static const std::unique_ptr<korvex::test::TPgServer> started = [] {
        try {
            return std::make_unique<korvex::test::TPgServer>();
        } catch (const std::exception& e) {
            problem = e.what();
            return std::unique_ptr<korvex::test::TPgServer>();
        }
    }();
    why = "no PostgreSQL server for the bench: " + problem;
    return started.get();
}
#endif

// The same run as BM_SerialRunWithLog with the log on the server (--log URL).
void BM_SerialRunWithServerLog(benchmark::State& state) {
#ifdef KORVEX_BENCH_PGSERVER
    std::string why;
    korvex::test::TPgServer* pg = server(why);
    if (!pg) {
        state.SkipWithError(why.c_str());
        return;
    }
    const fs::path out = scratch();
    for (auto _ : state) {
        korvex::cli::TSeriesOptions series;
        series.Options = {KORVEX_DATA_DIR, std::nullopt, "SN-{n:06}", KORVEX_EXAMPLE_JOB,
                          std::nullopt,    std::nullopt, std::nullopt};
        series.Output = (out / "SN-{n}.nc").string();
        series.Serial = "next:" + std::to_string(Programs);
        series.Log.Location = pg->Url();
        std::ostringstream err;
        if (korvex::cli::RunGenerateSeries(series, err) != 0)
            state.SkipWithError(("run failed: " + err.str()).c_str());
    }
    state.counters["per_program"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Programs,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    fs::remove_all(out);
#else
    state.SkipWithError("built without libpq: no PostgreSQL case");
#endif
}
BENCHMARK(BM_SerialRunWithServerLog)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

// Records per second that 8 writers reach on the server, each with a connection of its own,
// each record begun and finished as a program's is.
void BM_ServerLogEightWriters(benchmark::State& state) {
#ifdef KORVEX_BENCH_PGSERVER
    constexpr int Writers = 8, Each = 250;
    std::string why;
    korvex::test::TPgServer* pg = server(why);
    if (!pg) {
        state.SkipWithError(why.c_str());
        return;
    }
    const fs::path out = scratch();
    std::atomic<int> failed{0};
    for (auto _ : state) {
        std::vector<std::thread> writers;
        for (int w = 0; w < Writers; ++w)
            writers.emplace_back([&, w] {
                try {
                    korvex::log::TMarkingLog log(fs::path(pg->Url()));
                    for (int k = 0; k < Each; ++k) {
                        std::vector<korvex::log::TMarkRecord> records(1);
                        records[0].Text = "W" + std::to_string(w) + "-" + std::to_string(k);
                        records[0].ContentKind = "TEXT";
                        records[0].Output = out / (records[0].Text + ".nc");
                        records[0].Sha256 = std::string(64, '0');
                        log.BeginWrites(records, false);
                        log.FinishWrites({records[0].Id});
                    }
                } catch (const std::exception&) {
                    ++failed;
                }
            });
        for (std::thread& writer : writers)
            writer.join();
    }
    if (failed != 0) state.SkipWithError("a writer failed");
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * Writers * Each, benchmark::Counter::kIsRate);
    fs::remove_all(out);
#else
    state.SkipWithError("built without libpq: no PostgreSQL case");
#endif
}
BENCHMARK(BM_ServerLogEightWriters)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

int runCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, KORVEX_CLI_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_OneProcessPerNumber(benchmark::State& state) {
    const fs::path out = scratch();
    for (auto _ : state) {
        for (int n = 1; n <= Programs; ++n) {
            const std::string file = (out / ("SN-" + std::to_string(n) + ".nc")).string();
            if (runCli({KORVEX_CLI_PATH, "generate", "--config", KORVEX_DATA_DIR, "--text", text(n),
                        "-o", file, KORVEX_EXAMPLE_JOB}) != 0) {
                state.SkipWithError("korvex-cli failed");
                break;
            }
        }
    }
    state.counters["per_program"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Programs,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    fs::remove_all(out);
}
BENCHMARK(BM_OneProcessPerNumber)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
