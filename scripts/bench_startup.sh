#!/usr/bin/env bash
# Benchmark (not a test): time to the table, and how fast a closed box leaves it.
# Starts the staged Vesk.exe N times through the lobby stand-in against the table server, in one
# Wine prefix of its own (a first run warms it and is not counted), and reports median, min and
# max over the runs of:
#   login     the lobby starts the client -> the server sees MSG_LOGIN
#   painted   the lobby starts the client -> the table is on the screen (the client's first idle
#             moment with its window shown: nothing left to paint)
#   each start-up step, in milliseconds since the process was created (VESK_STARTUP_TRACE)
#   closing a server message box, the about box and the score board: from the click on the
#   box's button until the box is hidden, the client's thread is free again, and the screen
#   where the box was shows the table
# The lobby, the server and the client stamp their moments with the wall clock (Unix ms).
# Usage: scripts/bench_startup.sh [RUNS]   (default 5; needs build/native and build/win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=${VESK_BUILD:-$root/build}
export VESK_TEST_NAME=bench.startup
source "$root/tests/e2e/e2e_lib.sh"
e2e_init "$build/native" "$build/win" "$build/bench/startup"

ABOUT_ITEM=10018        # the system menu's about item
SCORE_BUTTON=1033       # the table's score-board button
BOX_FIRST_BUTTON=29714  # the first button of the program's message boxes
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
# MSG_TEXT_BOX (564) well after the client started (its box holds the table back until closed):
# inline text, information icon, no countdown.
echo "on in:0x214 delay=3000 send 564 0 000000004000000000000000$(hex 'bench box')00" > "$E2E_OUT/script.txt"

results=$E2E_OUT/results.txt
: > "$results"
for run in $(seq 0 "$runs"); do
  trace=$E2E_OUT/trace-$run.txt
  rm -f "$trace" "$E2E_OUT/lobby-alice.log"
  port=$(e2e_peer "server$run" "$E2E_SERVER" --port 0 --seconds 120 --log "$E2E_OUT/server-$run.log" --stamp \
    --game --players 3 --turn 60 --script "$E2E_OUT/script.txt")
  export VESK_STARTUP_TRACE
  VESK_STARTUP_TRACE=$(e2e_winpath "$trace")
  e2e_client alice Alice 2 "$port"
  unset VESK_STARTUP_TRACE
  e2e_wait_log "$trace" "^= table painted" 60 || e2e_fail "run $run: the table was not painted"
  e2e_wait_log "$E2E_OUT/server-$run.log" " in #1 id=0x00000200" 10 || e2e_fail "run $run: the server saw no login"
  hwnd=$(e2e_window "Trebbin" 30) || e2e_fail "run $run: no table window"
  started=$(sed -n 's/^CLOCK \([0-9]*\).*/\1/p' "$E2E_OUT/lobby-alice.log" | head -1)
  login=$(awk '/ in #1 id=0x00000200/ {print $1; exit}' "$E2E_OUT/server-$run.log")
  painted=$(awk -F'\t' '/^= table painted/ {print $2; exit}' "$trace" | tr -d '\r')
  line="run $run login $((login - started)) painted $((painted - started))"
  # The steps: "<n> <name>: <ms> ms" -> "step<n> <ms>".
  line+=$(awk '/^[0-9]+ / {split($0, a, ": "); split(a[2], b, " "); printf " step%d %s", $1, b[1]}' "$trace")

  # Closing boxes: the server's message box, the about box, the score board.
  box=$(e2e_probe dialogid $BOX_FIRST_BUTTON 15000 | head -1) || e2e_fail "run $run: no message box"
  t=$(e2e_probe closetime "$box" $BOX_FIRST_BUTTON "$hwnd") || echo "run $run: the message box's close did not finish: $t" >&2
  line+=$(awk '{printf " msgbox_hidden %s msgbox_free %s msgbox_screen %s", $2, $4, $6}' <<< "$t")
  e2e_probe post "$hwnd" 0x112 $ABOUT_ITEM > /dev/null
  about=$(e2e_probe dialog "Vesk" 10000 | head -1) || e2e_fail "run $run: no about box"
  e2e_probe still "$about" 3000 > /dev/null || true
  t=$(e2e_probe closetime "$about" 1 "$hwnd") || echo "run $run: the about box's close did not finish: $t" >&2
  line+=$(awk '{printf " about_hidden %s about_free %s about_screen %s", $2, $4, $6}' <<< "$t")
  e2e_probe press "$hwnd" $SCORE_BUTTON > /dev/null || e2e_fail "run $run: no score-board button"
  board=$(e2e_probe wait "积分榜" 10000) || e2e_fail "run $run: no score board"
  e2e_probe still "$board" 3000 > /dev/null || true
  t=$(e2e_probe closetime "$board" 1 "$hwnd") || echo "run $run: the score board's close did not finish: $t" >&2
  e2e_shot "$hwnd" "table-$run"
  line+=$(awk '{printf " board_hidden %s board_free %s board_screen %s", $2, $4, $6}' <<< "$t")

  echo "$line" | tee -a "$results"
  e2e_reset
done

# Median, min and max of every measure over the counted runs (run 0 warmed the prefix).
echo "---- $runs runs (ms): median min max"
awk '$2 != 0 {
  for (i = 3; i < NF; i += 2) { if (!($i in seen)) { seen[$i] = 1; order[++n] = $i } v[$i] = v[$i] " " $(i + 1) }
} END {
  for (k = 1; k <= n; k++) {
    m = split(substr(v[order[k]], 2), a, " ")
    for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    med = (m % 2) ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
    printf "%-16s %8.1f %8.1f %8.1f\n", order[k], med, a[1], a[m]
  }
}' "$results"
