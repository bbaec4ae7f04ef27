#!/usr/bin/env bash
# Korvex on a fresh Debian 12 machine: install what is missing, build, then start or test.
#   scripts/setup.sh run    build and start Korvex
#   scripts/setup.sh test   build and run every test (also the core tests under ASan + UBSan,
#                           and the Windows build of the core and korvex-cli under Wine)
set -euo pipefail

mode=${1:-run}
shift || true
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KORVEX_BUILD_DIR:-$root/build}
asan_build=${KORVEX_ASAN_BUILD_DIR:-$root/build-asan}
windows_build=${KORVEX_WINDOWS_BUILD_DIR:-$root/build-windows}
fuzz_build=${KORVEX_FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=${KORVEX_JOBS:-2}

packages=(build-essential cmake ninja-build pkg-config clang-format
          qt6-base-dev libgl-dev qt6-translations-l10n
          libgtest-dev libgmock-dev libbenchmark-dev
          libsqlite3-dev libpq-dev
          libzxing-dev libzint-dev libdmtx-dev
          libopencv-imgproc-dev libopencv-imgcodecs-dev
          xvfb xauth imagemagick poppler-utils fonts-dejavu-core fonts-liberation
          desktop-file-utils appstream lintian file)
# Only the test command needs these: the German locale for the second test run, clang and its
# libFuzzer runtime for the fuzz targets, the Windows cross build and Wine to run it.
if [ "$mode" = test ]; then
    packages+=(locales clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix wine64)
fi

# Only the tests need these: LinuxCNC's G-code interpreter (rs274, about 250 MB) reads the
# programs of the delivered round-part profiles.
test_packages=(linuxcnc-uspace postgresql)
if [ "$mode" = test ]; then
    packages+=("${test_packages[@]}")
fi

install_missing() {
    local missing=()
    for p in "$@"; do
        # Read whole before grep: under pipefail an early grep -q can fail the pipe by SIGPIPE.
        local status
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        [[ $status == *'install ok installed'* ]] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$jobs"
}

# Qt takes the C library's locale from the environment, so the window and the CLI are tested a
# second time under a German one, where "%f" writes a decimal comma.
ensure_german_locale() {
    local have
    have=$(locale -a 2>/dev/null || true)
    grep -qi '^de_DE\.utf-\?8$' <<<"$have" && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen
}

# Each reader's fuzz target runs a short fixed number of inputs from its seed corpus on, so a
# reader that starts crashing fails the test command.
run_fuzz_targets() {
    local dir=$1
    CXX=clang++ CC=clang cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVEX_BUILD_FUZZ=ON -DKORVEX_BUILD_GUI=OFF -DKORVEX_BUILD_TESTS=OFF
    cmake --build "$dir" -j "$jobs" --target korvex_fuzz
    local target
    for target in "$dir"/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        local corpus=$dir/fuzz/corpus/$(basename "$target")
        local runs=${KORVEX_FUZZ_RUNS:-2000}
        # The INI reader opens its file once per value, as the Windows API did: a quarter of
        # the inputs keeps its share of the time in line with the others.
        [ "$(basename "$target")" = fuzz_ini ] && runs=$((runs / 4))
        # A log's smallest real file is 16 pages of 512 bytes.
        local max_len=4096
        [ "$(basename "$target")" = fuzz_marking_log ] && max_len=8192
        "$target" -runs="$runs" -seed=1 -max_len="$max_len" -timeout=10 \
            "$corpus" >"$dir/fuzz/$(basename "$target").log" 2>&1 ||
            { cat "$dir/fuzz/$(basename "$target").log"; return 1; }
        echo "fuzzed $(basename "$target"): $(grep -o 'Done [0-9]* runs.*' "$dir/fuzz/$(basename "$target").log")"
    done
}

# Every C++ file keeps the project's .clang-format.
check_format() {
    (cd "$root" && find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run -Werror)
}

# The Windows build: its core tests under Wine (ctest), then the CLI's process tests of the
# Linux build against korvex-cli.exe, which must write the same programs byte for byte.
windows_tests() {
    configure_and_build "$windows_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_BUILD_GUI=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
    ctest --test-dir "$windows_build" --output-on-failure
    local wine status=0
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    # One Wine server for all the processes the tests start, instead of one each.
    WINEPREFIX="$windows_build/wine" "$(dirname "$wine")/wineserver" -p
    KORVEX_CLI_COMMAND="env WINEPREFIX=$windows_build/wine WINEDEBUG=-all $wine $windows_build/bin/korvex-cli.exe" \
        "$build/bin/korvex_cli_tests" --gtest_brief=1 --gtest_filter="$windows_cli_tests" || status=$?
    WINEPREFIX="$windows_build/wine" "$(dirname "$wine")/wineserver" -k || true
    return $status
}

# The process tests that hold for korvex-cli.exe as well: the golden programs, CR LF, whole
# files, paths with umlauts, a run of 100 programs. The others name POSIX things (links,
# permissions, HOME) or paths as Linux spells them in messages.
windows_cli_tests="CliMain.VersionAndEveryCommandsHelpGoToStandardOutput\
:DeliveredExamples.*\
:GenerateCommand.EachDeliveredProfileWritesItsProgram\
:GenerateCommand.ProgramEndsWithoutALineBreakAndUsesCrLf\
:GenerateCommand.PathsWithUmlautsAndBlanksReachTheirFiles\
:GenerateCommand.ASizeTooSmallForTheTextIsReportedButGenerated\
:GenerateCommand.EnglishSettingsGiveEnglishMessages\
:GenerateSeries.SerialRunWritesWhatSingleRunsWrite\
:GenerateSeries.AHundredProgramsAreEachWrittenWhole\
:GenerateSeries.ListFilesInEitherCodePageGiveTheSamePrograms\
:MarkingLogCli.ProgramWrittenWithTheLogIsTheGoldenOneAndListed"

install_missing "${packages[@]}"

case "$mode" in
run)
    configure_and_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec "$build/bin/korvex" "$@"
    fi
    # No display: a window would wait unseen. Run the delivered example job unattended instead.
    out=${KORVEX_RUN_OUTPUT:-$build/typenschild.nc}
    echo "No display found: running the example job unattended instead of opening the window."
    "$build/bin/korvex" /V "$build/bin/data/examples/typenschild.ncm" /D "$out"
    echo "The NC program of the example job was written to $out"
    ;;
test)
    check_format
    configure_and_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_BUILD_BENCH=ON
    ctest --test-dir "$build" --output-on-failure -j "$jobs"
    ensure_german_locale
    KORVEX_TEST_LANG=de_DE.UTF-8 ctest --test-dir "$build" --output-on-failure -j "$jobs" -L '^(app|cli)$'
    "$root/scripts/package-check.sh" "$build"
    configure_and_build "$asan_build" -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON \
        -DKORVEX_BUILD_GUI=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$asan_build" --output-on-failure -j "$jobs"
    run_fuzz_targets "$fuzz_build"
    windows_tests
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
