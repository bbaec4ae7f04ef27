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
jobs=${KORVEX_JOBS:-2}

packages=(build-essential cmake ninja-build pkg-config clang-format
          qt6-base-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libzxing-dev libzint-dev libdmtx-dev
          xvfb xauth imagemagick poppler-utils fonts-dejavu-core fonts-liberation
          desktop-file-utils appstream lintian file)
# Only the tests need these: the Windows cross build and Wine to run it.
test_packages=(g++-mingw-w64-x86-64-posix wine64)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
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
:GenerateSeries.ListFilesInEitherCodePageGiveTheSamePrograms"

if [ "$mode" = test ]; then
    install_missing "${packages[@]}" "${test_packages[@]}"
else
    install_missing "${packages[@]}"
fi

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
    "$root/scripts/package-check.sh" "$build"
    configure_and_build "$asan_build" -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON \
        -DKORVEX_BUILD_GUI=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$asan_build" --output-on-failure -j "$jobs"
    windows_tests
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
