#!/usr/bin/env bash
# End to end: what the table view and its dialogs show a player who sits alone at a table.
# The live panel's loading lines go to the connection log (its debug switch on), not to the
# game log. Both complaint dialogs exist hidden from start-up and a complaint prompt shows
# the one made then. Start shows the wait text in a box of its own over the table. The
# screenshot button puts its notice into the chat in blue. The score button shows and hides
# the score board. Music started with the table stops as soon as the settings switch it off.
# Usage: view_notices.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

START=1006 SETTINGS=1007 SCORE=1033 SCREENSHOT=1036
SETUP_MUSIC=1023 SETUP_SMALLCARDS=1048
INDICT_BUTTON=1008 WAIT_INDICT_TEXT=1037 WAIT_TEXT=1043

settings='HKCU\Software\Orvane\Game\Vesk\Settings'
setting() {
  "$WINE" reg add "$settings" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1 </dev/null || e2e_fail "cannot set $1"
}
# The smallest MIDI file: one track that ends at once.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\4\0\377\57\0' >"$E2E_OUT/tune.mid"
setting Music REG_DWORD 1
setting MusicFile REG_SZ "$(e2e_winpath "$E2E_OUT/tune.mid")"

webpeer=$E2E_NATIVE/tools/webpeer/webpeer
[ -x "$webpeer" ] || e2e_fail "the web peer is not built"
webport=$(e2e_peer web "$webpeer" --port 0 --seconds 600 --log "$E2E_OUT/web.log")
cat >"$E2E_STAGE/share/LangRsc.ini" <<INI
[TrebbinQualifying]
VeskAdvertising=http://127.0.0.1:$webport/panel?user=%UserName%&ticket=%Ticket%
INI
# The connection manager's debug switch: its log in the share folder.
printf '[Debug]\r\nlog=1\r\nEncrypt=0\r\n' >"$E2E_STAGE/share/VodoVozev.dat"
connlog=$E2E_STAGE/share/VodoVozev.log
gamelog=$(e2e_game_log)

# A complaint prompt (15 s, keep-alive every 10 s) ten seconds after the player is ready, once
# the wait box has been looked at.
echo "on in:0x8000020A delay=10000 send 0x80012047 0 983a000010270000" >"$E2E_OUT/script.txt"
port=$(e2e_server --game --players 3 --turn 60 --script "$E2E_OUT/script.txt")
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$E2E_OUT/server.log" "in #[0-9]+ id=0x00000208" 30 || e2e_fail "the client sent no start notice"
pid=$(e2e_probe list | awk -v h="$hwnd" '$1 == h {print $2; exit}')
table_view() { e2e_probe children "$hwnd" | awk '$2 == 59648 && $4 == "#32770" {print $1; exit}'; }
view=$(table_view)
[ -n "$view" ] || e2e_fail "no table view"

# ---- the live panel's lines: connection log only ----
e2e_wait_log "$connlog" "CreateBrowser " 30 || e2e_fail "the panel's creation is not in the connection log"
grep -aq "CreateBrowser \|LoadURL " "$gamelog" && e2e_fail "the panel's lines went to the game log"

# ---- the music plays ----
e2e_wait_log "$gamelog" "music playing: .*tune.mid" 10 || e2e_fail "the music did not start"

# ---- the complaint dialogs: made hidden at start-up, one of each ----
# Top-level dialogs of the client holding control ID, as "HWND VISIBLE" lines.
dialogs_with() {
  local id=$1 h vis
  e2e_probe list "$pid" | awk '$4 == "#32770" {print $1, $3}' | while read -r h vis; do
    e2e_probe children "$h" | awk -v id="$id" '$2 == id {found = 1} END {exit !found}' && echo "$h $vis"
  done
}
mapfile -t farmers < <(dialogs_with $INDICT_BUTTON)
mapfile -t declarer < <(dialogs_with $WAIT_INDICT_TEXT)
[ ${#farmers[@]} -eq 1 ] || e2e_fail "${#farmers[@]} complaint dialogs at start-up, not 1"
[ ${#declarer[@]} -eq 1 ] || e2e_fail "${#declarer[@]} complaint-wait dialogs at start-up, not 1"
[ "${farmers[0]#* }" = 0 ] && [ "${declarer[0]#* }" = 0 ] || e2e_fail "a complaint dialog shows at start-up"
indict=${farmers[0]% *}

# ---- start: the wait text in a box of its own over the table ----
e2e_probe press "$view" $START >/dev/null || e2e_fail "no start button"
e2e_wait_log "$E2E_OUT/server.log" "in #[0-9]+ id=0x8000020A" 20 || e2e_fail "the client did not say it is ready"
box=$(e2e_probe dialogid $WAIT_TEXT 20000 | head -1) || e2e_fail "no wait box after start"
[ "$(e2e_probe parent "$box")" = "$hwnd" ] || e2e_fail "the wait box does not belong to the main window"
read -r bl bt br bb <<<"$(e2e_probe rect "$box")"
read -r vl vt vr vb <<<"$(e2e_probe rect "$view")"
[ $((bb - bt)) -le 60 ] || e2e_fail "the wait box is $((bb - bt)) high"
[ $(((bl + br) / 2 - (vl + vr) / 2)) -ge -1 ] && [ $(((bl + br) / 2 - (vl + vr) / 2)) -le 1 ] ||
  e2e_fail "the wait box is not centred on the table"
# The whole screen once the box has painted (it stands outside the main window's picture).
e2e_probe settled-shot "$box" "$(e2e_winpath "$E2E_OUT/wait_box_alone.png")" >/dev/null || true
vesk_screen_shot "$E2E_OUT/wait_box.png"

# ---- the prompt shows the complaint dialog made at start-up, and no other ----
for i in $(seq 1 150); do [ "$(e2e_probe visible "$indict")" = 1 ] && break; sleep 0.2; done
[ "$(e2e_probe visible "$indict")" = 1 ] || e2e_fail "the prompt did not show the complaint dialog made at start-up"
mapfile -t farmers < <(dialogs_with $INDICT_BUTTON)
[ ${#farmers[@]} -eq 1 ] || e2e_fail "${#farmers[@]} complaint dialogs after the prompt, not 1"
e2e_shot "$indict" complaint
e2e_press "$indict" 1009 || true  # no complaint: the dialog waits for the others

# ---- the screenshot notice: in the chat, in blue ----
e2e_probe press "$view" $SCREENSHOT >/dev/null || e2e_fail "no screenshot button"
lines=
for i in $(seq 1 50); do
  lines=$(e2e_probe children "$hwnd" | awk '$4 == "QKChatLines" {print $1; exit}')
  [ -n "$lines" ] && e2e_probe children "$hwnd" | awk '$4 == "QKChatLines"' | grep -qi 'snapshot.*\.jpg' && break
  sleep 0.2
done
e2e_probe children "$hwnd" | awk '$4 == "QKChatLines"' | grep -qi 'snapshot.*\.jpg' ||
  e2e_fail "the screenshot's notice is not in the chat"
e2e_probe shot "$lines" "$(e2e_winpath "$E2E_OUT/chat_notice.png")" >/dev/null || e2e_fail "no picture of the chat"
blue=$(convert "$E2E_OUT/chat_notice.png" -depth 8 txt:- | awk '
  !/^#/ {
    sub(/^[^(]*\(/, ""); split($0, v, /[,)]/)
    if (v[3] + 0 >= 180 && v[1] + 0 <= 80 && v[2] + 0 <= 80) n++
  }
  END {print n + 0}')
[ "$blue" -ge 20 ] || e2e_fail "the screenshot's notice is not blue ($blue blue pixels)"

# ---- the score button shows the board, and hides it ----
board_title="积分榜"
e2e_probe press "$view" $SCORE >/dev/null || e2e_fail "no score button"
board=$(e2e_probe wait "$board_title" 10000) || e2e_fail "the score button showed no board"
e2e_shot "$board" score_board
e2e_probe press "$view" $SCORE >/dev/null || true
for i in $(seq 1 50); do [ "$(e2e_probe visible "$board")" = 0 ] && break; sleep 0.1; done
[ "$(e2e_probe visible "$board")" = 0 ] || e2e_fail "the score button did not hide the board"

# ---- music off in the settings stops it at once ----
e2e_probe press "$view" $SETTINGS >/dev/null || e2e_fail "no settings button"
setup=$(e2e_probe dialogid $SETUP_SMALLCARDS 10000) || e2e_fail "no settings dialog"
[ "$(e2e_probe checked "$setup" $SETUP_MUSIC)" = 1 ] || e2e_fail "the settings do not show the music on"
e2e_probe click "$setup" $SETUP_MUSIC >/dev/null
e2e_press "$setup" 1 || e2e_fail "the settings dialog did not take OK"
e2e_wait_log "$gamelog" "music stopped" 10 || e2e_fail "switching the music off did not stop it"

e2e_probe close "$hwnd" >/dev/null || true
echo "e2e: connection log, complaint dialogs, wait box, chat notice, score board and music checked; pictures in $E2E_OUT"
