#!/usr/bin/env bash
# End to end: the trusteeship button. In play the player presses 托管 and answers Yes: the
# client sends MSG_TRUSTEESHIP mode 1 and the server plays the seat; the player closes the
# server's notice and presses 解托: mode 0 goes out and the seat is the player's again.
# Usage: host_trusteeship.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

# A long turn: the clock must not run out before the buttons are pressed. The server plays
# the seat at once, so the hand may end before 解托 is pressed: the server then leaves the
# client in trusteeship rather than telling it, and 解托 is still there to press.
port=$(e2e_server --bots --seed 3 --turn 60 --untold-trust-end)
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
log=$E2E_OUT/server.log
e2e_wait_log "$log" "login alice seat 1" 30 || e2e_fail "the server saw no login"
e2e_wait_log "$log" "out #[0-9]+ id=0x0000020C" 60 || e2e_fail "no deal was sent"
# Bid nothing (不叫, 1073) so that play starts at once.
e2e_wait_log "$log" "out #1 id=0x00012008" 30 || e2e_fail "no bid before the client's turn"
for i in $(seq 1 40); do
  e2e_probe click "$hwnd" 1073 >/dev/null 2>&1 && e2e_wait_log "$log" "in #1 id=0x00012008" 1 && break
done
e2e_wait_log "$log" "in #1 id=0x00012008" 5 || e2e_fail "the client did not bid"
e2e_wait_log "$log" "out #1 id=0x00012009" 30 || e2e_fail "play did not start"

# 托管 (1026), then Yes in the question box.
# The table view's buttons, pressed with the pointer (the chat view has controls of its own).
view=$(e2e_probe children "$hwnd" | awk '$2 == 59648 && $4 == "#32770" {print $1; exit}')
e2e_probe press "$view" 1026 >/dev/null || e2e_fail "no trusteeship button"
# The program's boxes are the skinned ones (first button 29714); the score board is a dialog too.
box=$(e2e_probe dialogid 29714 20000) || e2e_fail "no question after the trusteeship button"
e2e_shot "$box" trusteeship_question
# The skinned box's first button is its Yes.
e2e_press "$box" 29714 || e2e_fail "no Yes in the question box"
e2e_wait_log "$log" "trusteeship alice mode 1" 20 || e2e_fail "the server saw no trusteeship request (mode 1)"

# The server's notice to the player (OK), then 解托 (1027).
for i in $(seq 1 50); do [ "$(e2e_probe visible "$box")" = 1 ] || break; sleep 0.1; done
notice=$(e2e_probe dialogid 29714 20000) || e2e_fail "no trusteeship notice"
e2e_shot "$hwnd" trusteeship_on
e2e_press "$notice" 29714 || e2e_fail "no OK in the notice"
for i in $(seq 1 40); do
  e2e_probe press "$view" 1027 >/dev/null 2>&1 && e2e_wait_log "$log" "trusteeship alice mode 0" 1 && break
done
e2e_wait_log "$log" "trusteeship alice mode 0" 10 || e2e_fail "the server saw no cancel (mode 0)"
grep -q "drop #" "$log" && e2e_fail "the server dropped the client"
e2e_shot "$hwnd" trusteeship_off
echo "e2e: trusteeship on (mode 1) and off (mode 0) through the buttons; screenshots in $E2E_OUT"
