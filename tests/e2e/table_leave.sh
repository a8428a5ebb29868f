#!/usr/bin/env bash
# End to end: closing the window against the local table server. Mid-hand the client asks
# for leave by trusteeship (MSG_TRUST_EXIT); the server grants it, the program ends and a
# bot plays the seat to the hand's end. Between two hands of a series on a table without
# trusteeship the exit dialog appears; "force" and Yes end the program with MSG_QUIT_FORCED.
# Usage: table_leave.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

EXIT_FORCE=1003 EXIT_ASK=1004 EXIT_CANCEL=1152 BOX_FIRST_BUTTON=29714
BID_NONE=1073 PASS=1009

# Starts the server (log $E2E_OUT/NAME/server.log) and alice's client; sets $hwnd and $log.
start_table() {
  local name=$1; shift
  mkdir -p "$E2E_OUT/$name"
  port=$(E2E_OUT=$E2E_OUT/$name e2e_server "$@")
  cat "$E2E_OUT/$name/server.pid" >> "$E2E_OUT/tables.pid"
  log=$E2E_OUT/$name/server.log
  lobby_log=$E2E_OUT/lobby-$name.log
  e2e_client "$name" "$name" 2 "$port"
  hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window ($name)"
  e2e_wait_log "$log" "login $name seat 1" 30 || e2e_fail "the server saw no login ($name)"
}

# ---- mid-hand: leave by trusteeship ----
start_table midhand --bots --seed 3 --turn 60 --series 3
e2e_press_start "$hwnd" "$log"
e2e_wait_log "$log" "out #1 id=0x0000020C" 60 || e2e_fail "no deal"
e2e_shot "$hwnd" midhand/before_close
e2e_probe close "$hwnd" >/dev/null
e2e_wait_log "$log" "in #1 id=0x0000021A" 20 || e2e_fail "closing mid-hand sent no MSG_TRUST_EXIT"
e2e_wait_log "$log" "trust exit midhand granted" 10 || e2e_fail "the server did not grant the leave"
e2e_wait_log "$lobby_log" "EXIT code=" 30 || e2e_fail "the program did not end after the grant"
e2e_wait_log "$log" "seat 1 midhand left \(trust exit\), a bot plays it" 20 || e2e_fail "the seat was not handed to a bot"
e2e_wait_log "$log" "id=0x00000215" 60 || e2e_fail "the server did not play the seat to the hand's end"
grep -qE "in #1 id=0x0000020(2|3)" "$log" && e2e_fail "a quit went out besides the trusteeship exit"

# ---- between hands of a series, without trusteeship: the exit dialog, then force ----
start_table between --bots --seed 3 --turn 60 --series 3 --no-trusteeship
e2e_press_start "$hwnd" "$log"
e2e_wait_log "$log" "out #1 id=0x0000020C" 60 || e2e_fail "no deal (between)"
# The player bids nothing and passes on every turn (a bot declares and leads): the hand ends.
for i in $(seq 1 400); do
  grep -q "id=0x00000215" "$log" && break
  e2e_probe click "$hwnd" $BID_NONE >/dev/null 2>&1 || true
  e2e_probe click "$hwnd" $PASS >/dev/null 2>&1 || true
  sleep 0.2
done
e2e_wait_log "$log" "out #1 id=0x00000215" 5 || e2e_fail "the first hand did not end"
e2e_wait_log "$log" "out #1 id=0x0000022D" 5 || e2e_fail "no connection-ended word at the hand's end"
e2e_probe close "$hwnd" >/dev/null
dlg=$(e2e_probe dialogid $EXIT_CANCEL 15000 | head -1) || true
[ -n "$dlg" ] || e2e_fail "no exit dialog between hands"
for id in $EXIT_FORCE $EXIT_ASK; do
  e2e_probe children "$dlg" | awk -v id=$id '$2 == id && $3 == 1 {found=1} END {exit !found}' ||
    e2e_fail "the exit dialog lacks control $id"
done
e2e_shot "$dlg" between/exit_dialog
e2e_press "$dlg" $EXIT_FORCE || e2e_fail "the exit dialog did not take 'force'"
# The skinned Yes/No box (the score board is a dialog too).
sure=$(e2e_probe dialogid $BOX_FIRST_BUTTON 15000 | head -1) || e2e_fail "no question before forcing the exit"
e2e_shot "$sure" between/force_question
e2e_press "$sure" $BOX_FIRST_BUTTON || e2e_fail "the force question did not take Yes"
e2e_wait_log "$log" "in #1 id=0x00000203" 20 || e2e_fail "no MSG_QUIT_FORCED"
e2e_wait_log "$lobby_log" "EXIT code=" 30 || e2e_fail "the program did not end after forcing"
e2e_wait_log "$log" "seat 1 between left \(quit forced\)" 10 || e2e_fail "the server did not end the seat"
echo "e2e: closing mid-hand and between hands; screenshots in $E2E_OUT"
