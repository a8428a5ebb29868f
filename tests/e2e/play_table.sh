#!/usr/bin/env bash
# End to end: the staged client, started by the lobby stand-in, logs in to the table
# server (bots in the other seats) and shows its table window; a whole hand is played
# while the client's clock runs out; the window is saved as PNG at the start and the end.
# Usage: play_table.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

port=$(e2e_server --bots --seed 3 --turn 3)
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$E2E_OUT/server.log" "login alice seat 1" 30 || e2e_fail "the server saw no login"
e2e_wait_log "$E2E_OUT/server.log" "out #[0-9]+ id=0x0000020C" 60 || e2e_fail "no deal was sent"
e2e_shot "$hwnd" table

# A whole hand: the client's turn clock runs out (3 s), so it bids nothing and, in play,
# asks the server to play for it; the bots play the rest.
e2e_wait_log "$E2E_OUT/server.log" "trusteeship alice mode 2" 120 ||
  e2e_fail "the clock ran out in play without MSG_TRUSTEESHIP (0x21B) mode 2"
e2e_wait_log "$E2E_OUT/server.log" "id=0x00000215" 180 || e2e_fail "the hand did not end"
grep -q "drop #" "$E2E_OUT/server.log" && e2e_fail "the server dropped the client"
e2e_shot "$hwnd" hand_over
e2e_probe close "$hwnd" >/dev/null || true
echo "e2e: table window $hwnd, a whole hand played; screenshots in $E2E_OUT"
