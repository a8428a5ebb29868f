#!/usr/bin/env bash
# Runs every test: checks the formatting, installs what is missing, builds the three trees,
# then runs the native unit tests, fuzz targets for a short fixed time (side by side),
# benchmarks briefly, and the Windows and end-to-end tests under Wine side by side (each in a
# Wine prefix, display and wineserver of its own; a failed one leaves what shows why in
# test-results/TEST/).
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

status=0

# Every C/C++ file tracked by git is as the tree's .clang-format lays it out (one clang-format
# run over all of them; it names each file that differs).
check_format() {
  local out unformatted
  out=$(cd "$root" && git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.cxx' '*.h' '*.hh' '*.hpp' '*.inl' |
    xargs -0 -r clang-format --dry-run --Werror 2>&1) && return 0
  unformatted=$(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$out" | sort -u)
  if [ -n "$unformatted" ]; then
    echo "harness: not formatted as .clang-format says (clang-format -i FILE):" >&2
    sed 's/^/  /' <<<"$unformatted" >&2
  else
    echo "harness: clang-format failed:" >&2
    echo "$out" | head -20 >&2
  fi
  status=1
}
if ! command -v clang-format >/dev/null || ! git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  echo "harness: the format check needs clang-format and a git checkout" >&2
  status=1
else
  check_format
fi
step_done format

bash "$root/scripts/setup.sh"
step_done setup
for tree in native bench win; do
  bash "$root/scripts/build.sh" "$tree"
  step_done "build-$tree"
done

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

run_ctest native native -j "$jobs" -LE '^fuzz$'
run_ctest native fuzz -j "$jobs" -L '^fuzz$'
run_ctest bench bench -j 1

source "$root/scripts/wine-env.sh"
# What a killed earlier run of this tree left (prefixes, displays, wineservers of its tests).
vesk_sweep
trap vesk_sweep EXIT
vesk_prefix_init
VESK_TEST_NAME=acp "$root/scripts/winerun" "$VESK_BUILD/win/tools/winprobe/winprobe.exe" acp \
  >"$VESK_BUILD/acp.txt" 2>/dev/null </dev/null || true
if [ "$(tr -d '\r\n' <"$VESK_BUILD/acp.txt")" != "936" ]; then
  echo "harness: the ANSI code page under Wine is '$(cat "$VESK_BUILD/acp.txt")', not 936" >&2
  exit 1
fi
step_done wine-setup
# Side by side: each test has a Wine prefix, display and wineserver of its own. A Wine
# test keeps about two cores busy (its wineserver, the client, the peers and the prober),
# so half as many at once as there are cores: more only makes each player's turn slower.
wine_jobs=${VESK_WINE_JOBS:-$(( jobs > 3 ? jobs / 2 : 2 ))}
run_ctest win wine-e2e -j "$wine_jobs" -L '^(wine|e2e)$'

if [ ${#skipped_names[@]} -gt 0 ]; then
  echo "harness: skipped tests fail the run; skipped:" >&2
  printf '  %s\n' "${skipped_names[@]}" >&2
fi
echo "times (seconds):"
sed 's/^/  /' "$results/times.txt"
echo "tests: $passed passed, $failed failed, $skipped skipped"
exit $status
