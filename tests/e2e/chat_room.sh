#!/usr/bin/env bash
# End to end: the login reply's value for the chat control reaches it, and the chat peer
# keeps each table's room apart. Alice sits at a table whose server gives room 5, Bob at
# another table (room 6), both with the same chat peer: each list shows only its own table,
# and a line said at one table is not heard at the other.
# Usage: chat_room.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

chatpeer=$E2E_NATIVE/tools/chatpeer/chatpeer
[ -x "$chatpeer" ] || e2e_fail "the chat peer is not built"
chatport=$(e2e_peer chat "$chatpeer" --port 0 --seconds 600 --log "$E2E_OUT/chat.log")
port5=$(e2e_server --bots --seed 3 --chat-room 5)
port6=$(e2e_peer server6 "$E2E_SERVER" --port 0 --seconds 600 --log "$E2E_OUT/server6.log" --bots --seed 4 --chat-room 6)
chatopts=(--chat-host 127.0.0.1 --chat-port "$chatport")
e2e_client alice Alice 2 "$port5" "${chatopts[@]}" --column-number 1000
e2e_client bob Bob 2 "$port6" "${chatopts[@]}" --column-number 2000

e2e_wait_log "$E2E_OUT/chat.log" "^hello alice room 5$" 90 || e2e_fail "alice's chat control did not name room 5"
e2e_wait_log "$E2E_OUT/chat.log" "^hello bob room 6$" 90 || e2e_fail "bob's chat control did not name room 6"

# child_text HWND CLASS: the window text of the first descendant of that class.
child_text() { e2e_probe children "$1" | awk -v c="$2" '$4 == c {sub(/^[^"]*"/, ""); sub(/"$/, ""); print; exit}'; }
wait_text() {
  local hwnd=$1 cls=$2 pattern=$3 seconds=$4 i
  for i in $(seq 1 "$seconds"); do
    child_text "$hwnd" "$cls" | grep -qE -- "$pattern" && return 0
    sleep 1
  done
  echo "e2e: no '$pattern' in $cls of $hwnd: $(child_text "$hwnd" "$cls")" >&2
  return 1
}
for i in $(seq 1 60); do
  for w in $(e2e_probe list | awk '$3 == 1 && /Trebbin/ {print $1}'); do
    case $(child_text "$w" QKChatExCtrl) in
      alice*) alice=$w ;;
      bob*) bob=$w ;;
    esac
  done
  [ -n "${alice:-}" ] && [ -n "${bob:-}" ] && break
  sleep 1
done
[ -n "${alice:-}" ] && [ -n "${bob:-}" ] || e2e_fail "the two tables' chat controls were not found"

say() {
  local hwnd=$1 text=$2 edit
  edit=$(e2e_probe children "$hwnd" | awk '$2 == 3 && tolower($4) == "edit" {print $1; exit}')
  [ -n "$edit" ] || e2e_fail "no chat input line in $hwnd"
  e2e_probe text "$edit" "$text" >/dev/null
  e2e_probe key "$edit" 13 >/dev/null
}
# Alice speaks first; Bob's own line comes back to him after hers (one peer, lines in
# order), so once his shows, hers would have too had it been sent to his room.
say "$alice" "one from room five"
e2e_wait_log "$E2E_OUT/chat.log" "^say alice one from room five" 30 || e2e_fail "the chat peer heard nothing from alice"
wait_text "$alice" QKChatLines "alice.*one from room five" 30 || e2e_fail "alice's chat does not show her line"
say "$bob" "two from room six"
wait_text "$bob" QKChatLines "bob.*two from room six" 30 || e2e_fail "bob's chat does not show his line"
e2e_probe front "$alice" >/dev/null || true
e2e_shot "$alice" alice_room5
e2e_probe front "$bob" >/dev/null || true
e2e_shot "$bob" bob_room6
child_text "$bob" QKChatLines | grep -q "one from room five" && e2e_fail "bob heard a line of the other table"
child_text "$alice" QKChatLines | grep -q "two from room six" && e2e_fail "alice heard a line of the other table"
child_text "$bob" QKChatExCtrl | grep -q "alice," && e2e_fail "bob's list shows a player of the other table"
child_text "$alice" QKChatExCtrl | grep -q "bob," && e2e_fail "alice's list shows a player of the other table"
echo "e2e: rooms 5 and 6 kept apart; screenshots in $E2E_OUT"
