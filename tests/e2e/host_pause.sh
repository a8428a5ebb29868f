#!/usr/bin/env bash
# End to end: MSG_PAUSE from the server holds the table. Right after the first bid (the
# client's turn to bid, its clock at 3 s) the server sends a pause of 6 s: the client's
# clock must not count meanwhile (its time-out bid comes after the pause, not 3 s in), and
# its window must keep answering (the message loop runs).
# Usage: host_pause.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

cat >"$E2E_OUT/script.txt" <<'SCRIPT'
# MSG_PAUSE (0x12013) of 6000 ms right behind the first bid the client hears
on out:0x12008 send 0x12013 0 70170000
SCRIPT
port=$(e2e_server --bots --seed 3 --turn 3 --script "$E2E_OUT/script.txt")
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
log=$E2E_OUT/server.log
e2e_wait_log "$log" "login alice seat 1" 30 || e2e_fail "the server saw no login"
e2e_wait_log "$log" "script #1 id=0x00012013" 60 || e2e_fail "the server sent no pause"
paused=$(e2e_now)
e2e_wait_log "$log" "out #1 id=0x00012013" 5 || e2e_fail "the pause was not sent"

# During the pause the window answers and paints.
e2e_probe ping "$hwnd" 2000 || e2e_fail "the window does not answer during the pause"
e2e_shot "$hwnd" paused
grep -q "in #1 id=0x00012008" "$log" && e2e_fail "the client bid during the pause"

e2e_wait_log "$log" "in #1 id=0x00012008" 60 || e2e_fail "the client never bid after the pause"
bid=$(e2e_now)
waited=$(awk -v a="$bid" -v b="$paused" 'BEGIN { printf "%.1f", a - b }')
echo "e2e: the client's time-out bid came ${waited}s after the pause began"
awk -v w="$waited" 'BEGIN { exit !(w >= 5.5) }' || e2e_fail "the clock counted during the pause (bid after ${waited}s)"
e2e_shot "$hwnd" after_pause
echo "e2e: the table held for the pause; screenshots in $E2E_OUT"
