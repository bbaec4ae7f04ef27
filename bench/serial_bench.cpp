// A serial run of 1,000 programs in one korvex-cli process against one korvex-cli generate
// process per number, both writing the same files from the delivered example job; and the
// same run with each program recorded in the marking log.
#include "cli/GenerateSeries.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
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
