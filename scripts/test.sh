#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the four trees, then runs the
# native unit tests, fuzz targets for a short fixed time, benchmarks briefly,
# and the Windows and end-to-end tests under Wine.
# Results: build/test-results/TREE-LABEL.xml (JUnit) and TREE-LABEL.log (console) per
# ctest run, times.txt (seconds per step). A skipped test fails the run: every test
# here checks a deliverable or a part of one, and a skip would hide that it was not checked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export VESK_BUILD=${VESK_BUILD:-$root/build}
jobs=${VESK_JOBS:-$(nproc)}
results=$VESK_BUILD/test-results
rm -rf "$results"
mkdir -p "$results"

step_start=$SECONDS
step_done() {  # NAME: records the seconds since the previous step
  echo "$1 $((SECONDS - step_start))" >> "$results/times.txt"
  step_start=$SECONDS
}

bash "$root/scripts/setup.sh"
step_done setup
for tree in native fuzz bench win; do
  bash "$root/scripts/build.sh" "$tree"
  step_done "build-$tree"
done

status=0
passed=0
failed=0
skipped=0
skipped_names=()

# Counts one JUnit file's test cases by their status ("run", "fail", "notrun", "disabled").
count_junit() {
  local xml=$1 n f s
  n=$(grep -c '<testcase ' "$xml" || true)
  f=$(grep -c '<testcase [^>]*status="fail"' "$xml" || true)
  s=$(grep -cE '<testcase [^>]*status="(notrun|disabled)"' "$xml" || true)
  passed=$((passed + n - f - s))
  failed=$((failed + f))
  skipped=$((skipped + s))
  [ "$f" -eq 0 ] || status=1
  if [ "$s" -gt 0 ]; then
    status=1
    local name
    while read -r name; do skipped_names+=("$name"); done < <(
      grep -E '<testcase [^>]*status="(notrun|disabled)"' "$xml" | sed -E 's/.*<testcase name="([^"]*)".*/\1/')
  fi
}

# TREE NAME [ctest options]: one ctest run; NAME (the label run) names its result files.
run_ctest() {
  local tree=$1 name=$2; shift 2
  local log=$results/$tree-$name.log xml=$results/$tree-$name.xml
  echo "== ctest $tree $name $*"
  if ! (cd "$VESK_BUILD/$tree" && ctest --output-on-failure --timeout 600 --output-junit "$xml" "$@") 2>&1 | tee "$log"; then
    status=1
  fi
  if [ -f "$xml" ]; then
    count_junit "$xml"
  elif ! grep -q 'No tests were found' "$log"; then
    echo "harness: ctest wrote no results for $tree $name" >&2
    status=1
  fi
  step_done "ctest-$tree-$name"
}

run_ctest native native -j "$jobs"
run_ctest fuzz fuzz -j "$jobs"
run_ctest bench bench -j 1

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
step_done wine-setup
# One at a time: these tests drive real windows, the focus and the pointer on one display.
run_ctest win wine -j 1 -L wine
run_ctest win e2e -j 1 -L e2e

if [ ${#skipped_names[@]} -gt 0 ]; then
  echo "harness: skipped tests fail the run; skipped:" >&2
  printf '  %s\n' "${skipped_names[@]}" >&2
fi
echo "times (seconds):"
sed 's/^/  /' "$results/times.txt"
echo "tests: $passed passed, $failed failed, $skipped skipped"
exit $status
