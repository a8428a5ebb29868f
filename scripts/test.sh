#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the four trees, then runs the
# native unit tests, fuzz targets for a short fixed time, benchmarks briefly,
# and the Windows and end-to-end tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export VESK_BUILD=${VESK_BUILD:-$root/build}
jobs=${VESK_JOBS:-$(nproc)}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" native fuzz bench win

status=0
passed=0
failed=0
run_ctest() {
  local tree=$1; shift
  local log=$VESK_BUILD/ctest-$tree-$#.log
  echo "== ctest $tree $*"
  if ! (cd "$VESK_BUILD/$tree" && ctest --output-on-failure --timeout 600 "$@") 2>&1 | tee "$log"; then
    status=1
  fi
  # "N% tests passed, F tests failed out of T"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1 || true)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
    [ "$f" -eq 0 ] || status=1
  fi
}

run_ctest native -j "$jobs"
run_ctest fuzz -j "$jobs"
run_ctest bench -j 1

source "$root/scripts/wine-env.sh"
vesk_xvfb_start
trap 'vesk_wineserver_stop; vesk_xvfb_stop' EXIT
vesk_prefix_init
vesk_wineserver_start
"$WINE" "$VESK_BUILD/win/tools/winprobe/winprobe.exe" acp >"$VESK_BUILD/acp.txt" 2>/dev/null </dev/null || true
if [ "$(tr -d '\r\n' <"$VESK_BUILD/acp.txt")" != "936" ]; then
  echo "harness: the ANSI code page under Wine is '$(cat "$VESK_BUILD/acp.txt")', not 936" >&2
  exit 1
fi
# One at a time: these tests drive real windows, the focus and the pointer on one display.
run_ctest win -j 1 -L wine
run_ctest win -j 1 -L e2e

echo "tests: $passed passed, $failed failed"
exit $status
