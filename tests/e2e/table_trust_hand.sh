#!/usr/bin/env bash
# End to end: trusteeship to the hand's end and back. The player presses 托管 and answers
# Yes; the server plays the seat to the end of the hand and then tells the client that
# trusteeship is over (counts 1 of 3): 解托 goes, 开始 comes back, and a click on it starts
# the next hand with the player in charge.
# Usage: table_trust_hand.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

START=1006 TRUST=1026 UNTRUST=1027 BOX_FIRST_BUTTON=29714

port=$(e2e_server --bots --seed 3 --turn 99 --series 3)
log=$E2E_OUT/server.log
e2e_client alice alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$log" "login alice seat 1" 30 || e2e_fail "no login"
view=$(e2e_probe children "$hwnd" | awk '$2 == 59648 && $4 == "#32770" {print $1; exit}') || true
[ -n "$view" ] || e2e_fail "no table view"
e2e_press_start "$hwnd" "$log"
e2e_wait_log "$log" "out #1 id=0x00012008" 60 || e2e_fail "no bidding"
for i in $(seq 1 40); do
  e2e_probe click "$hwnd" 1073 >/dev/null 2>&1 && e2e_wait_log "$log" "in #1 id=0x00012008" 1 && break
done
e2e_wait_log "$log" "out #1 id=0x00012009" 30 || e2e_fail "play did not start"

# Presses OK (the first button) on every box of the client for a while: the notices.
ok_boxes() {
  local i b
  for i in $(seq 1 "$1"); do
    for b in $(e2e_probe list | awk '$3 == 1 && $4 == "#32770" {print $1}'); do
      e2e_probe children "$b" | awk '$2 == 29714 && $3 == 1 {f=1} END {exit !f}' && e2e_press "$b" $BOX_FIRST_BUTTON
    done
    sleep 0.2
  done
}

e2e_probe press "$view" $TRUST >/dev/null || e2e_fail "no trusteeship button"
box=$(e2e_probe dialogid $BOX_FIRST_BUTTON 20000) || e2e_fail "no trusteeship question"
e2e_press "$box" $BOX_FIRST_BUTTON || e2e_fail "no Yes in the question"
e2e_wait_log "$log" "trusteeship alice mode 1" 20 || e2e_fail "no trusteeship request"
e2e_wait_log "$log" "out #1 id=0x8000021B len=24 status=1" 10 || e2e_fail "no grant"
e2e_shot "$hwnd" in_trusteeship
e2e_wait_log "$log" "trusteeship alice ended with the hand" 60 || e2e_fail "trusteeship was not ended with the hand"
e2e_wait_log "$log" "out #1 id=0x00000215" 10 || e2e_fail "no hand over"
# The notices of trusteeship on and off (本局第1次，最多3次) are shown; close them.
ok_boxes 15
state() { e2e_probe state "$view" "$1"; }
for i in $(seq 1 50); do [ "$(state $START)" = "1 1" ] && break; sleep 0.2; done
[ "$(state $START)" = "1 1" ] || e2e_fail "开始 is not back after the hand (state $(state $START))"
[ "$(state $UNTRUST | cut -d' ' -f1)" = 0 ] || e2e_fail "解托 still shown after the hand"
[ "$(state $TRUST | cut -d' ' -f1)" = 1 ] || e2e_fail "托管 is not shown after the hand"
# Trusteeship plays cards: between hands and in the bidding it stays disabled.
[ "$(state $TRUST)" = "1 0" ] || e2e_fail "托管 is enabled between hands (state $(state $TRUST))"
e2e_shot "$hwnd" after_hand
before=$(grep -c "in #1 id=0x8000020A" "$log" || true)
e2e_probe press "$view" $START >/dev/null || e2e_probe click "$hwnd" $START >/dev/null || e2e_fail "no start button"
for i in $(seq 1 50); do [ "$(grep -c "in #1 id=0x8000020A" "$log")" -gt "$before" ] && break; sleep 0.2; done
[ "$(grep -c "in #1 id=0x8000020A" "$log")" -gt "$before" ] || e2e_fail "开始 sent no MSG_READY"
e2e_wait_log "$log" "client bid seat 1|out #1 id=0x00012008" 30 || e2e_fail "the next hand did not start"
grep -q "trusteeship alice mode 1" <(tail -n +"$(grep -n 'ended with the hand' "$log" | head -1 | cut -d: -f1)" "$log" | tail -n +2) &&
  e2e_fail "the client asked for trusteeship again by itself"
echo "e2e: trusteeship to the hand's end and back; screenshots in $E2E_OUT"
