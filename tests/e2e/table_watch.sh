#!/usr/bin/env bash
# End to end: a watcher joins a running table. Alice plays seat 1; a second client enters
# on the lobby's seat 6 (watching seat 1). Its window stays hidden behind the wait box until
# the server lets it see the table (MSG_GAME_PROGRESS, held back a few seconds here); then
# it shows alice's hand. The watcher never sends a game action.
# Usage: table_watch.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"


port=$(e2e_server --bots --seed 3 --turn 60 --series 3 --watch-delay 15000)
log=$E2E_OUT/server.log
e2e_client alice alice 2 "$port"
hwnd=$(e2e_window "alice[alice]" 60) || e2e_fail "no table window of alice"
e2e_wait_log "$log" "login alice seat 1" 30 || e2e_fail "alice did not log in"
e2e_press_start "$hwnd" "$log"
e2e_wait_log "$log" "out #1 id=0x0000020C" 60 || e2e_fail "no deal"

e2e_client wendy wendy 6 "$port"
e2e_wait_log "$log" "watcher wendy watches seat 1" 60 || e2e_fail "the server did not seat the watcher"
# The watcher's connection: the login right before the server seated it.
w=$(grep -E "in #[0-9]+ id=0x00000200|watcher wendy watches" "$log" | grep -B1 "watcher wendy" | head -1 | sed 's/.*#\([0-9]*\).*/\1/')
[ -n "$w" ] || e2e_fail "no login of the watcher in the server's log"
e2e_wait_log "$log" "in #$w id=0x00000208" 60 || e2e_fail "the watcher's client did not come up"
# Until the table arrives: the main window hidden, the wait box up.
main=$(e2e_probe list | awk '/wendy\[wendy\]/ {print $1, $3; exit}')
[ -n "$main" ] || e2e_fail "no window of the watcher"
grep -q "game progress to watcher wendy" "$log" && e2e_fail "the table arrived before the check"
[ "${main#* }" = 0 ] || e2e_fail "the watcher's window is shown before MSG_GAME_PROGRESS"
pid=$(sed -n 's/.*STARTED pid=\([0-9]*\).*/\1/p' "$E2E_OUT/lobby-wendy.log" | head -1)
wait_box=$(e2e_probe list "$pid" | awk '$3 == 1 && $4 == "#32770" {print $1; exit}')
[ -n "$wait_box" ] || e2e_fail "no wait box while the watcher waits"
for i in 1 2 3; do
  e2e_probe shot "$wait_box" "$(e2e_winpath "$E2E_OUT/watcher_wait_box.png")" >/dev/null && break
done
[ -f "$E2E_OUT/watcher_wait_box.png" ] || e2e_fail "no screenshot of the wait box"
main=${main% *}

e2e_wait_log "$log" "game progress to watcher wendy" 40 || e2e_fail "no MSG_GAME_PROGRESS"
for i in $(seq 1 100); do [ "$(e2e_probe visible "$main")" = 1 ] && break; sleep 0.1; done
[ "$(e2e_probe visible "$main")" = 1 ] || e2e_fail "the watcher's window stayed hidden"
[ "$(e2e_probe visible "$wait_box")" = 1 ] && e2e_fail "the wait box stayed"
e2e_shot "$main" watcher_table
e2e_shot "$hwnd" player_table
# Alice's hand ends in the server's hands; the watcher sees the result.
view=$(e2e_probe children "$hwnd" | awk '$2 == 59648 && $4 == "#32770" {print $1; exit}') || true
e2e_wait_log "$log" "out #1 id=0x00012008" 30 || e2e_fail "no bidding"
for i in $(seq 1 40); do
  e2e_probe click "$hwnd" 1073 >/dev/null 2>&1 && e2e_wait_log "$log" "in #1 id=0x00012008" 1 && break
done
e2e_wait_log "$log" "out #1 id=0x00012009" 30 || e2e_fail "play did not start"
# The watcher's window covers alice's: her 托管 gets its command directly.
e2e_probe post "$view" 0x111 1026 >/dev/null || e2e_fail "no table view of alice"
box=$(e2e_probe dialogid 29714 20000) || e2e_fail "no trusteeship question"
e2e_press "$box" 29714 || e2e_fail "no Yes in the trusteeship question"
e2e_wait_log "$log" "out #$w id=0x00000215" 60 || e2e_fail "the watcher did not get the hand's result"
e2e_shot "$main" watcher_hand_over
grep -qE "in #$w id=0x(8000020A|00012008|00012010|00000216|0000021B|0000020E|0000020F|00000211|00003301|00012048)" "$log" &&
  e2e_fail "the watcher sent a game action"
grep -q "game action of watcher" "$log" && e2e_fail "the server ignored a game action of the watcher"
echo "e2e: a watcher joined a running table and saw the hand; screenshots in $E2E_OUT"
