#!/usr/bin/env bash
# Builds the .deb in a configured and built build folder, lets lintian judge it (no errors
# allowed), unpacks it into a scratch root and runs the installed korvex-cli from there.
#   scripts/package-check.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && rm -f korvex_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/korvex_*.deb)
echo "package: $deb"

# lintian declines to run as root without --allow-root on newer releases; accept either.
lintian_args=(--tag-display-limit 0)
# Output is read whole before grep: under pipefail, grep -q leaving early makes the writer die
# of SIGPIPE now and then, and a check that holds fails at random.
lintian_help=$(lintian --help 2>&1 || true)
grep -q -- --allow-root <<<"$lintian_help" && lintian_args+=(--allow-root)
report=$(lintian "${lintian_args[@]}" "$deb" 2>&1 || true)
echo "$report"
if grep -q '^E: ' <<<"$report"; then
    echo "lintian reports errors" >&2
    exit 1
fi

info=$(dpkg-deb --info "$deb")
grep -q 'Depends: .*libzxing' <<<"$info" || { echo "no libzxing dependency" >&2; exit 1; }
dpkg -x "$deb" "$scratch/root"
cli="$scratch/root/usr/bin/korvex-cli"
"$cli" --version
# Answered without a display, as a script on a server asks it.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$scratch/root/usr/bin/korvex" --version)
grep -q '^korvex [0-9]' <<<"$version" ||
    { echo "korvex --version does not answer" >&2; exit 1; }
mkdir -p "$scratch/home"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" "$cli" generate \
    --serial 1:3 --text 'SN-{n:06}' -o "$scratch/out/SN-{n}.nc" --check \
    "$scratch/root/usr/lib/korvex/data/examples/typenschild.ncm"
for n in 1 2 3; do
    grep -q M30 "$scratch/out/SN-$n.nc" || { echo "SN-$n.nc is incomplete" >&2; exit 1; }
done
# The desktop program's unattended run, from the same installed files.
HOME="$scratch/home" QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/korvex" \
    /V "$scratch/root/usr/lib/korvex/data/examples/typenschild.ncm" /D "$scratch/out/batch.nc"
grep -q M30 "$scratch/out/batch.nc" || { echo "the batch program is incomplete" >&2; exit 1; }
echo "installed package works"
