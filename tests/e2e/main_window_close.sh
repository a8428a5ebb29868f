#!/usr/bin/env bash
# End to end: closing the main window as the connection's state says. With the server's
# connection-ended word set (MSG_SET_STATE557) during a hand, closing opens the exit dialog:
# "ask the others" sends MSG_LEAVE_REQUEST and keeps the window, cancel keeps it, "force"
# asks once more and leaves with MSG_QUIT_FORCED. With trusteeship allowed the dialog offers
# only the trusteeship exit; the server's grant ends the program. Between hands the player
# is asked with a countdown box and Yes quits with MSG_QUIT; a complaint prompt there counts
# down, declines once and shows the server's outcome.
# Usage: main_window_close.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

EXIT_FORCE=1003 EXIT_ASK=1004 EXIT_TRUST=1028 EXIT_CANCEL=1152
BOX_FIRST_BUTTON=29714     # Yes in a Yes/No box

# The connection-ended word once the client is in (and, with a hand, quiet close off).
ended_script() {
  echo "on out:0x8000021C delay=1000 send 557 0 01000000"
  [ "${1:-}" = hand ] && echo "on out:0x8000021C delay=1200 send 0x217 0 00000000"
  return 0
}

# Starts a client against a server with the given options; sets $hwnd and $log.
start_table() {
  local name=$1; shift
  port=$(e2e_peer "$name" "$E2E_SERVER" --port 0 --seconds 300 --log "$E2E_OUT/$name.log" "$@")
  log=$E2E_OUT/$name.log
  e2e_client "$name" "$name" 2 "$port"
  hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window ($name)"
  e2e_wait_log "$log" "script #1 id=0x0000022D" 30 || e2e_fail "the server did not set the ended word ($name)"
}

exit_dialog() {
  e2e_probe close "$hwnd" >/dev/null
  e2e_probe dialogid $EXIT_CANCEL 15000 | head -1
}

window_gone() {
  local i
  for i in $(seq 1 100); do e2e_probe visible "$hwnd" | grep -q 1 || return 0; sleep 0.1; done
  return 1
}

count_in() { grep -cE "in #[0-9]+ id=$2" "$1" || true; }

"$WINE" reg delete 'HKCU\Software\Orvane\Game\Vesk' /f >/dev/null 2>&1 || true

# ---- a hand without trusteeship: ask the others, cancel, force ----
ended_script hand > "$E2E_OUT/hand.txt"
start_table hand --bots --seed 7 --turn 60 --no-trusteeship --script "$E2E_OUT/hand.txt"
e2e_wait_log "$log" "script #1 id=0x00000217" 30 || e2e_fail "quiet close was not switched off"
dlg=$(exit_dialog) || e2e_fail "no exit dialog"
e2e_probe children "$dlg" | awk -v id=$EXIT_TRUST '$2 == id && $3 == 1 {exit 1}' || e2e_fail "trusteeship offered without option bit 0"
e2e_shot "$dlg" exit_dialog
e2e_press "$dlg" $EXIT_ASK || e2e_fail "the exit dialog did not take 'ask the others'"
e2e_wait_log "$log" "in #[0-9]+ id=0x0000020E" 20 || e2e_fail "no MSG_LEAVE_REQUEST"
# No hand runs, so the bots agree: the client asks whether to leave now; No keeps the window.
agreed=$(e2e_probe dialogid $BOX_FIRST_BUTTON 15000 | head -1) || e2e_fail "no question once the table agreed"
e2e_shot "$agreed" leave_agreed_question
# Its countdown answers No.
for i in $(seq 1 200); do [ "$(e2e_probe visible "$agreed")" = 1 ] || break; sleep 0.1; done
[ "$(e2e_probe visible "$agreed")" = 1 ] && e2e_fail "the question did not count down to No"
[ "$(e2e_probe visible "$hwnd")" = 1 ] || e2e_fail "asking the others closed the window"

before=$(wc -l < "$log")
dlg=$(exit_dialog) || e2e_fail "no exit dialog the second time"
e2e_press "$dlg" $EXIT_CANCEL || e2e_fail "the exit dialog did not take cancel"
[ "$(e2e_probe visible "$hwnd")" = 1 ] || e2e_fail "cancel closed the window"
tail -n +"$((before + 1))" "$log" | grep -qE "in #[0-9]+ id=0x0000020(2|3|E)" && e2e_fail "cancel sent something"

dlg=$(exit_dialog) || e2e_fail "no exit dialog the third time"
e2e_press "$dlg" $EXIT_FORCE || e2e_fail "the exit dialog did not take 'force'"
sure=$(e2e_dialog "" 15) || e2e_fail "no question before forcing the exit"
e2e_shot "$sure" force_exit_question
e2e_press "$sure" $BOX_FIRST_BUTTON || e2e_fail "the force question did not take Yes"
e2e_wait_log "$log" "in #[0-9]+ id=0x00000203" 20 || e2e_fail "no MSG_QUIT_FORCED"
window_gone || e2e_fail "the window stayed after forcing the exit"

# ---- a hand with trusteeship: only the trusteeship exit; the grant ends the program ----
{ ended_script hand; echo "reply 538 1 echo"; } > "$E2E_OUT/trust.txt"
start_table trust --bots --seed 7 --turn 60 --script "$E2E_OUT/trust.txt"
e2e_wait_log "$log" "script #1 id=0x00000217" 30 || e2e_fail "quiet close was not switched off (trust)"
dlg=$(exit_dialog) || e2e_fail "no exit dialog with trusteeship"
for id in $EXIT_ASK $EXIT_FORCE; do
  e2e_probe children "$dlg" | awk -v id=$id '$2 == id && $3 == 1 {exit 1}' || e2e_fail "control $id shown beside the trusteeship exit"
done
e2e_shot "$dlg" exit_dialog_trust
e2e_press "$dlg" $EXIT_TRUST || e2e_fail "the exit dialog did not take the trusteeship exit"
e2e_wait_log "$log" "in #[0-9]+ id=0x0000021A" 20 || e2e_fail "no MSG_TRUST_EXIT"
window_gone || e2e_fail "the server's grant did not end the program"

# ---- between hands: a complaint prompt counts down and declines once; then closing asks
# with a countdown question and Yes quits ----
{
  ended_script
  # MSG_COMPLAINT_UPDATE: fees 200 and 300; MSG_COMPLAINT_PROMPT: 3 s, keep-alive 1 s
  echo "on out:0x8000021C delay=1500 send 0x245 0 c80000002c0100000000000000000000"
  echo "on out:0x8000021C delay=2000 send 0x80012047 0 b80b0000e8030000"
  # the decline brings MSG_COMPLAINT_RESULT: flag 1, code 7 (the complaint limit)
  echo "on in:0x12048 delay=500 send 0x80012049 0 0100000007000000"
} > "$E2E_OUT/quiet.txt"
start_table quiet --game --script "$E2E_OUT/quiet.txt"
prompt=$(e2e_dialog "" 20) || e2e_fail "no complaint dialog"
e2e_shot "$prompt" complaint_prompt
e2e_wait_log "$log" "in #[0-9]+ id=0x00012048" 20 || e2e_fail "the countdown sent no decline"
e2e_wait_log "$log" "script #1 id=0x80012049" 20 || e2e_fail "the server sent no result"
for i in $(seq 1 30); do e2e_probe children "$prompt" | grep -q "Halvorn\|$(printf '\xd3\xc9')" && break; sleep 0.1; done
e2e_shot "$prompt" complaint_result
[ "$(count_in "$log" 0x00012048)" -eq 1 ] || e2e_fail "the decline was sent $(count_in "$log" 0x00012048) times"
e2e_probe post "$prompt" 0x10 0 >/dev/null || true
e2e_probe close "$hwnd" >/dev/null
ask=$(e2e_dialog "" 15) || e2e_fail "no question when closing between hands"
e2e_shot "$ask" close_question
e2e_press "$ask" $BOX_FIRST_BUTTON || e2e_fail "the close question did not take Yes"
e2e_wait_log "$log" "in #[0-9]+ id=0x00000202" 20 || e2e_fail "no MSG_QUIT"
window_gone || e2e_fail "the window stayed after Yes"
echo "e2e: closing checked; screenshots in $E2E_OUT"
