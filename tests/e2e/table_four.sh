#!/usr/bin/env bash
# End to end: the four-player two-deck table played to its end by clicks. The person bids
# with the bid buttons, selects and plays cards, passes and uses hints on every turn of the
# hand (no turn left to the clock); the server's log shows each play as selected.
# Usage: table_four.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
here=$(cd "$(dirname "$0")" && pwd)

# The tier service and the chat, which the driver checks on the seats.
webport=$(e2e_peer web "$E2E_NATIVE/tools/webpeer/webpeer" --port 0 --seconds 900 --log "$E2E_OUT/web.log")
chatport=$(e2e_peer chat "$E2E_NATIVE/tools/chatpeer/chatpeer" --port 0 --seconds 900 --log "$E2E_OUT/chat.log")
cat > "$E2E_STAGE/share/LangRsc.ini" <<INI
[TrebbinQualifying]
QualifyingSign=http://127.0.0.1:$webport/tiers?usernames=%usernames%
INI

port=$(E2E_SERVER_SECONDS=900 e2e_server --bots --seed 7 --turn 99 --players 4 --series 3)
# The first seat bids first: the player bids on the two-deck table.
e2e_client alice Alice 1 "$port" --chat-host 127.0.0.1 --chat-port "$chatport"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
E2E_WEBLOG=$E2E_OUT/web.log E2E_WINOUT=$(e2e_winpath "$E2E_OUT") python3 "$here/hand_by_clicks.py" "$WINE" "$E2E_PROBE" -- \
  "$hwnd" "$E2E_OUT/server.log" "$E2E_OUT" alice 4 > "$E2E_OUT/driver.log" 2>&1 ||
  { cat "$E2E_OUT/driver.log" >&2; e2e_fail "the four-player hand by clicks"; }
grep -q "client bid seat 0" "$E2E_OUT/server.log" || e2e_fail "no bid by button"
grep -q "trusteeship alice" "$E2E_OUT/server.log" && e2e_fail "a turn of the player was left to the clock"
e2e_wait_log "$E2E_OUT/server.log" "hand over 1 " 10 || e2e_fail "the hand did not end"
e2e_shot "$hwnd" hand_over
echo "e2e: the four-player table played to its end by clicks; screenshots in $E2E_OUT"
