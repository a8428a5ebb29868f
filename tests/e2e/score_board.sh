#!/usr/bin/env bash
# End to end: the score board over three hands of a series. The staged client plays
# against the table server's bots the default way: when its clock runs out in play it asks
# for trusteeship and the server plays for it; the server ends that trusteeship with the
# hand and tells the seat so, and the client starts the next hand itself. As a player would,
# the test answers the trusteeship notice. After each hand the board's list is read through
# the list's messages and compared with the scores the server logged; after the third hand
# the series' final row must be there.
# Usage: score_board.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
here=$(cd "$(dirname "$0")" && pwd)

port=$(e2e_server --bots --seed "${E2E_SCORE_SEED:-3}" --turn 3 --series 3)
e2e_client alice Alice 2 "$port"
table=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$E2E_OUT/server.log" "login alice seat 1" 30 || e2e_fail "the server saw no login"

# The board's title (Wine hands the prober its arguments in the client's code page).
board_title="积分榜"

# OK in the program's notice boxes (their first button is 29714; the board has none).
answer_notices() {
  local box
  while box=$(e2e_probe dialogid 29714 200); do
    e2e_press "$box" 29714 || break
  done
}

# A picture of window HWND as NAME with no notice over it: a notice that came up while the
# picture was taken is answered and the picture taken again (a few times at most).
clean_shot() {
  local hwnd=$1 name=$2 i
  for i in 1 2 3 4 5; do
    answer_notices
    e2e_shot "$hwnd" "$name"
    e2e_probe dialogid 29714 500 > /dev/null || return 0
  done
}

# Reads the board's rows until they match what the server logged after HAND, or time runs out.
check_board() {
  local hand=$1 i board=
  for i in $(seq 1 30); do
    answer_notices
    board=$(e2e_probe wait "$board_title" 2000) || true
    if [ -n "$board" ]; then
      e2e_probe rows "$board" | iconv -f GBK -t UTF-8 > "$E2E_OUT/rows-$hand.txt" || true
      if python3 "$here/score_board_check.py" "$E2E_OUT/server.log" "$E2E_OUT/rows-$hand.txt" "$hand" alice \
           > "$E2E_OUT/check-$hand.out" 2>&1; then
        echo "$board"
        return 0
      fi
    fi
    sleep 1
  done
  cat "$E2E_OUT/check-$hand.out" >&2 2>/dev/null || true
  return 1
}

for hand in 1 2 3; do
  for i in $(seq 1 240); do
    e2e_wait_log "$E2E_OUT/server.log" "hand over $hand " 1 && break
    answer_notices
  done
  e2e_wait_log "$E2E_OUT/server.log" "hand over $hand " 1 || e2e_fail "hand $hand did not end"
  board=$(check_board "$hand") || e2e_fail "after hand $hand the score board does not show the server's scores"
  clean_shot "$board" "board-$hand"
done
clean_shot "$table" table
# The default path was taken: the clock ran out, the server played for the client, and
# the client came back for the next hand.
grep -q "trusteeship alice mode 2" "$E2E_OUT/server.log" || e2e_fail "the client never asked for trusteeship"
[ "$(grep -c "trusteeship alice ended with the hand" "$E2E_OUT/server.log")" -ge 1 ] ||
  e2e_fail "no trusteeship ended with a hand"
e2e_probe close "$table" >/dev/null || true
echo "e2e: the score board followed three hands and the series' end; rows and screenshots in $E2E_OUT"
