#!/usr/bin/env bash
# End to end: a person plays whole hands with clicks and keys only. The seats show their
# avatars and the tiers the tier service (the web peer) gives. On a three-player table
# the client bids with the bid buttons, takes the bottom cards, selects cards by clicking
# (Ctrl for a range, again to deselect), is refused an illegal selection, plays, passes and
# cycles hints until the hand is over; the server's log shows each play as selected. On a
# four-player table (two decks) it plays two turns by hand and then lets its clock run
# out: the seat goes to trusteeship and the bots finish the hand.
# Usage: hand_by_clicks.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
here=$(cd "$(dirname "$0")" && pwd)

# The tier service and the chat (whose user list gives the seats' nicknames).
webpeer=$E2E_NATIVE/tools/webpeer/webpeer
chatpeer=$E2E_NATIVE/tools/chatpeer/chatpeer
[ -x "$webpeer" ] || e2e_fail "the web peer is not built"
[ -x "$chatpeer" ] || e2e_fail "the chat peer is not built"
webport=$(e2e_peer web "$webpeer" --port 0 --seconds 900 --log "$E2E_OUT/web.log")
chatport=$(e2e_peer chat "$chatpeer" --port 0 --seconds 900 --log "$E2E_OUT/chat.log")
cat > "$E2E_STAGE/share/LangRsc.ini" <<INI
[TrebbinQualifying]
QualifyingSign=http://127.0.0.1:$webport/tiers?usernames=%usernames%
INI

# One table: PLAYERS, the lobby's seat, then the driver's optional turn limit.
play_table() {
  local players=$1 lobbySeat=$2 limit=${3:-} out=$E2E_OUT/players$1
  mkdir -p "$out"
  local port
  port=$(E2E_OUT=$out e2e_server --bots --seed 7 --turn 99 --players "$players")
  # The clean-up ends the processes named in the test folder's pid files.
  cat "$out/server.pid" >> "$E2E_OUT/tables.pid"
  e2e_client alice Alice "$lobbySeat" "$port" --chat-host 127.0.0.1 --chat-port "$chatport"
  table_hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window ($players players)"
  E2E_WEBLOG=$E2E_OUT/web.log E2E_WINOUT=$(e2e_winpath "$out") python3 "$here/hand_by_clicks.py" "$WINE" "$E2E_PROBE" -- \
    "$table_hwnd" "$out/server.log" "$out" alice "$players" $limit > "$out/driver.log" 2>&1 ||
    { cat "$out/driver.log" >&2; e2e_fail "the hand by clicks ($players players)"; }
}

play_table 3 2
grep -q "client bid seat" "$E2E_OUT/players3/server.log" || e2e_fail "no bid by button reached the server"
# The player acted on every turn: the clock never ran out.
! grep -q "trusteeship alice" "$E2E_OUT/players3/server.log" || e2e_fail "a turn of the player was missed"
"$WINE" taskkill /f /im Vesk.exe >/dev/null 2>&1 || true

# The first seat bids first: the player bids on the two-deck table too.
play_table 4 1 2
grep -q "client bid seat" "$E2E_OUT/players4/server.log" || e2e_fail "no bid by button on the four-player table"
# The clock runs out on its own thread: the seat goes to the server's trusteeship.
e2e_wait_log "$E2E_OUT/players4/server.log" "trusteeship alice mode 2" 90 || e2e_fail "the clock did not run out"
e2e_wait_log "$E2E_OUT/players4/server.log" "id=0x00000215" 240 || e2e_fail "the four-player hand did not end"
e2e_shot "$table_hwnd" players4/hand_over
echo "e2e: whole hands played by clicks; screenshots in $E2E_OUT/players3 and $E2E_OUT/players4"
