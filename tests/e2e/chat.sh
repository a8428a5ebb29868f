#!/usr/bin/env bash
# End to end: two clients at one table (a bot in the third seat) through the lobby stand-in,
# with the chat peer. A line typed into one client's chat reaches the other's chat; both
# user lists show both players with their scores, updated after a hand; system lines
# (trusteeship after a clock ran out) appear in the chat; the emotion plays at start.
# The live panel shows the web peer's page, its address carrying the user name and the
# ticket (from a ticket server behind the remapped registration port); closing a client with
# the browser library loaded saves its settings before the process ends.
# Usage: chat.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

chatpeer=$E2E_NATIVE/tools/chatpeer/chatpeer
[ -x "$chatpeer" ] || e2e_fail "the chat peer is not built"
chatport=$(e2e_peer chat "$chatpeer" --port 0 --seconds 600 --log "$E2E_OUT/chat.log")
# An advertisement record (MSG_AD_RECORD 0x205) after the login: position 1003 (the chat
# view's control), id 7, a banner whose page is a file of the advertisement folder and whose
# second link names the player ("%1" the user name, "%2" the nickname).
page='ad.htm?src=table'
link='http://127.0.0.1/click?u=%1&n=%2'
adbody="eb030000""07000000""0000""0000""1e00""0100""00000000""0000""0000"
adbody+=$(printf '%02x%02x0000' "${#page}" "${#link}")$(printf '%s%s' "$page" "$link" | xxd -p | tr -d '\n')
echo "on out:0x8000021C delay=2000 send 0x205 0 $adbody" > "$E2E_OUT/script.txt"
# MSG_HOST_NAME: alice hosts the table, so her chat lines also run in the table's ticker.
echo "on out:0x8000021C delay=1000 send 0x80012052 1 616c696365$(printf '00%.0s' $(seq 1 15))" >> "$E2E_OUT/script.txt"
# Leaving while the server counts a hand as running asks for a trust exit: the server grants it.
echo "on in:0x21A send 0x8000021A 1 616c696365$(printf '00%.0s' $(seq 1 15))" >> "$E2E_OUT/script.txt"
mkdir -p "$E2E_STAGE/share/Advert/7"
echo '<html><body><p>Double points tonight</p></body></html>' > "$E2E_STAGE/share/Advert/7/ad.htm"
port=$(e2e_server --bots --seed 3 --turn 3 --script "$E2E_OUT/script.txt")

webpeer=$E2E_NATIVE/tools/webpeer/webpeer
[ -x "$webpeer" ] || e2e_fail "the web peer is not built"
webport=$(e2e_peer web "$webpeer" --port 0 --seconds 600 --log "$E2E_OUT/web.log")
# The registration service answers the ticket request (MSG_USER_QUERY 1627): ticket "T k&1".
printf 'reply 1627 1 3930000054206b263100\n' > "$E2E_OUT/ticket.txt"
ticketport=$(e2e_peer ticket "$E2E_SERVER" --port 0 --seconds 600 --script "$E2E_OUT/ticket.txt")
cat > "$E2E_STAGE/share/LangRsc.ini" <<INI
[TrebbinQualifying]
VeskAdvertising=http://127.0.0.1:$webport/panel?user=%UserName%&ticket=%Ticket%
[RegisterIP]
RegisterHost=127.0.0.1,2000
[P80Port]
2000=$ticketport
[DSTrebbinMsg]
URL=http://127.0.0.1:$webport/msg
INI
chatopts=(--chat-host 127.0.0.1 --chat-port "$chatport")
e2e_client alice Alice 2 "$port" "${chatopts[@]}" --column-number 1000
e2e_client bob Bob 3 "$port" "${chatopts[@]}" --column-number 2000

# Both table windows (same title): the one whose chat control lists alice first is alice's.
windows=()
for i in $(seq 1 60); do
  mapfile -t windows < <(e2e_probe list | awk '$3 == 1 && /Trebbin/ {print $1}')
  [ ${#windows[@]} -ge 2 ] && break
  sleep 1
done
[ ${#windows[@]} -ge 2 ] || e2e_fail "two table windows did not appear"
e2e_wait_log "$E2E_OUT/chat.log" "^hello alice" 60 || e2e_fail "alice's chat control did not reach the chat peer"
e2e_wait_log "$E2E_OUT/chat.log" "^hello bob" 60 || e2e_fail "bob's chat control did not reach the chat peer"

# Overlapping windows: the one shot is brought to the front first.
shot() {
  e2e_probe front "$1" >/dev/null || true
  e2e_shot "$1" "$2"
}

# child HWND CLASS: the first descendant of that class.
child() { e2e_probe children "$1" | awk -v c="$2" '$4 == c {print $1; exit}'; }
# The window text of a descendant of that class.
child_text() { e2e_probe children "$1" | awk -v c="$2" '$4 == c {sub(/^[^"]*"/, ""); sub(/"$/, ""); print; exit}'; }
# Waits until the descendant's text holds PATTERN (grep -E).
wait_text() {
  local hwnd=$1 cls=$2 pattern=$3 seconds=${4:-30} i
  for i in $(seq 1 "$seconds"); do
    child_text "$hwnd" "$cls" | grep -qE -- "$pattern" && return 0
    sleep 1
  done
  echo "e2e: no '$pattern' in $cls of $hwnd; its windows:" >&2
  e2e_probe children "$hwnd" >&2
  return 1
}

for i in $(seq 1 30); do
  for w in "${windows[@]}"; do
    case $(child_text "$w" QKChatExCtrl) in
      alice*) alice=$w ;;
      bob*) bob=$w ;;
    esac
  done
  [ -n "${alice:-}" ] && [ -n "${bob:-}" ] && break
  sleep 1
done
if [ -z "${alice:-}" ] || [ -z "${bob:-}" ]; then
  for w in "${windows[@]}"; do e2e_probe children "$w" >&2; done
  e2e_fail "no chat control names its own player first"
fi

# The advertisement record reached the chat view's control, which shows the folder's page.
wait_text "$alice" QKAdCtrl "\[7\] Double points tonight" 30 || e2e_fail "the advertisement was not shown"
wait_text "$alice" QKAdCtrl "<http://127.0.0.1/click\?u=alice&n=Alice>" 5 || e2e_fail "the advertisement does not name alice"

# Both lists show both players with the lobby's scores.
wait_text "$alice" QKChatExCtrl "bob,Bob,2000" 30 || e2e_fail "alice's list lacks bob"
wait_text "$bob" QKChatExCtrl "alice,Alice,1000" 30 || e2e_fail "bob's list lacks alice"
wait_text "$alice" QKChatExCtrl "^alice,Alice,1000" 30 || e2e_fail "alice's list lacks her own score"

# A line typed in alice's chat reaches bob's.
edit=$(e2e_probe children "$alice" | awk '$2 == 3 && tolower($4) == "edit" {print $1; exit}')
[ -n "$edit" ] || e2e_fail "alice's chat has no input line"
e2e_probe text "$edit" "hello from alice" >/dev/null
e2e_probe key "$edit" 13 >/dev/null
e2e_wait_log "$E2E_OUT/chat.log" "^say alice hello from alice" 30 || e2e_fail "the chat peer heard nothing from alice"
wait_text "$bob" QKChatLines "alice.*hello from alice" 30 || { shot "$bob" bob_chat; e2e_fail "bob's chat does not show alice's line"; }
wait_text "$alice" QKChatLines "alice.*hello from alice" 10 || { shot "$alice" alice_chat; e2e_fail "alice's chat does not show her own line"; }
# Each chat control handed the line to its table view (WM_CHAT_ECHO), which put the host's
# line into its ticker: both processes log it.
for i in $(seq 1 20); do
  [ "$(grep -a 'ticker: alice:hello from alice' "$(e2e_game_log)" | awk '{print $3}' | cut -d: -f1 | sort -u | wc -l)" -ge 2 ] && break
  sleep 1
done
[ "$(grep -a 'ticker: alice:hello from alice' "$(e2e_game_log)" | awk '{print $3}' | cut -d: -f1 | sort -u | wc -l)" -ge 2 ] ||
  e2e_fail "the chat line did not reach both tables' tickers"
shot "$alice" alice_chat
shot "$bob" bob_chat

# The clocks run out (3 s): the players go into trusteeship and the other client shows the
# system line; the hand ends and the lists carry the series scores.
wait_text "$bob" QKChatLines "\[alice\]" 120 || e2e_fail "no system line about alice in bob's chat"
shot "$bob" bob_system_line
# The own trusteeship notice is a box that waits for OK; the table holds its messages meanwhile.
dismiss_boxes() {
  local h
  for h in $(e2e_probe list | awk '$3 == 1 && $4 == "#32770" {print $1}'); do
    e2e_probe click "$h" 1 >/dev/null || true
  done
}
for i in $(seq 1 240); do
  grep -q "id=0x00000215" "$E2E_OUT/server.log" && break
  dismiss_boxes
  sleep 1
done
grep -q "id=0x00000215" "$E2E_OUT/server.log" || e2e_fail "the hand did not end"
scores_changed() {
  local t
  t=$(child_text "$1" QKChatExCtrl)
  ! echo "$t" | grep -q "alice,Alice,1000" || ! echo "$t" | grep -q "bob,Bob,2000"
}
for i in $(seq 1 60); do
  scores_changed "$alice" && scores_changed "$bob" && break
  dismiss_boxes
  sleep 1
done
scores_changed "$alice" || e2e_fail "alice's list did not change after the hand: $(child_text "$alice" QKChatExCtrl)"
scores_changed "$bob" || e2e_fail "bob's list did not change after the hand: $(child_text "$bob" QKChatExCtrl)"
shot "$alice" alice_after_hand
shot "$bob" bob_after_hand
# The live panel: the address with the user name and the URL-encoded ticket, the page shown.
e2e_wait_log "$E2E_OUT/web.log" "^GET /panel\?user=alice&ticket=T\+k%261 " 30 || e2e_fail "the panel address lacks alice's name or ticket"
e2e_wait_log "$E2E_OUT/web.log" "^GET /panel\?user=bob&ticket=T\+k%261 " 30 || e2e_fail "the panel address lacks bob's name or ticket"
e2e_wait_log "$E2E_OUT/web.log" "^POST /msg " 30 || e2e_fail "the message service was not called"
shot "$alice" alice_panel

# Closing with the browser library loaded: the settings are written before the process ends.
settings='HKCU\Software\Orvane\Game\Vesk\Settings'
"$WINE" reg delete "$settings" /v ChatHeight /f >/dev/null 2>&1 </dev/null || true
e2e_probe close "$alice" >/dev/null
# What the close meets depends on where the table is: between hands the exit dialog (force, then
# Yes) or a yes/no question; in a running hand a trust exit, whose grant closes the window on
# the next close (and one the server does not grant waits for the hand's end). Answer whatever
# comes, and close again now and then.
for i in $(seq 1 150); do
  e2e_probe list | grep -q "^$alice " || break
  dlg=$(e2e_probe dialogid 1152 500 | head -1) || dlg=
  [ -z "$dlg" ] || e2e_press "$dlg" 1003 || true
  sure=$(e2e_probe dialogid 29714 500 | head -1) || sure=
  [ -z "$sure" ] || e2e_press "$sure" 29714 || true
  # Only with no question open: a close inside a question's loop would ask again within it.
  [ -n "$dlg$sure" ] || [ $((i % 6)) -ne 0 ] || e2e_probe close "$alice" >/dev/null 2>&1 || true
done
e2e_probe list | grep -q "^$alice " && e2e_fail "alice's window did not close"
"$WINE" reg query "$settings" /v ChatHeight </dev/null 2>/dev/null | grep -q ChatHeight || e2e_fail "the chat height was not saved on close"

echo "e2e: alice $alice, bob $bob: chat lines, lists and system lines checked; screenshots in $E2E_OUT"
