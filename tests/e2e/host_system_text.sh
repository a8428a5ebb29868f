#!/usr/bin/env bash
# End to end: the server's scripted system messages reach the program's hooks. A user cut
# and back of bot0 become system lines (in the game log until the chat view exists); a
# server question with an input field gets the typed answer back to the server; a tip
# window shows its notice (held to the work area; only web pages); a text box with a
# countdown closes itself.
# Usage: host_system_text.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

cat >"$E2E_OUT/script.txt" <<'SCRIPT'
# MSG_USER_CUT and MSG_USER_BACK (553, 554) of bot0 once the client has logged in
on out:0x8000021C delay=1500 send 553 0 626f743000
on out:0x8000021C delay=8000 send 554 0 626f743000
# MSG_SERVER_DIALOG (560): echo 0x11, OK box, 30 s, with an input field, "name?"
on out:0x8000021C delay=15000 send 560 0 11000000000000001e000000010000006e616d653f00
SCRIPT
# MSG_TIP_WINDOW (585): title[128] "Tip", address[512], 400 by 300. The notices follow the
# answer to the question (0x80000230), not the login: one tip window shows them in turn, and a
# test slowed down by a busy machine must still find the first before the next replaces it.
zeros() { printf '00%.0s' $(seq 1 "$1"); }
tip="546970$(zeros 125)687474703a2f2f6578616d706c652e746573742f$(zeros 492)900100002c010000"
echo "on in:0x80000230 delay=500 send 585 0 $tip" >>"$E2E_OUT/script.txt"
# One of "file:///c:/x.htm" (refused: the window stays as it is), then the same notice 3000 by
# 2000 of "http://big.test/", long after the first was checked.
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
big="546970$(zeros 125)$(hex http://big.test/)$(zeros $((512 - 16)))b80b0000d0070000"
bad="546970$(zeros 125)$(hex file:///c:/x.htm)$(zeros $((512 - 16)))900100002c010000"
echo "on in:0x80000230 delay=1000 send 585 0 $bad" >>"$E2E_OUT/script.txt"
echo "on in:0x80000230 delay=20000 send 585 0 $big" >>"$E2E_OUT/script.txt"
# MSG_TEXT_BOX (564): inline text (id 0), information icon, a 12-second countdown (long enough
# for a busy machine's prober to find the box before it closes); after the big notice was checked
echo "on in:0x80000230 delay=26000 send 564 0 00000000400000000c000000$(hex 'closes by itself')00" \
  >>"$E2E_OUT/script.txt"
port=$(e2e_server --game --players 3 --turn 60 --script "$E2E_OUT/script.txt")
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
log=$E2E_OUT/server.log
gamelog=$(e2e_game_log)
e2e_wait_log "$log" "login alice seat 1" 30 || e2e_fail "the server saw no login"

e2e_wait_log "$gamelog" "system: \[bot0\]" 30 || e2e_fail "no system line for the user cut"
# The program's socket does not pass the cut on to the base's box: the table goes on.
e2e_shot "$hwnd" user_cut
e2e_wait_log "$log" "script #1 id=0x0000022A" 30 || e2e_fail "the server sent no user back"
for i in $(seq 1 100); do
  [ "$(grep -c "system: \[bot0\]" "$gamelog")" -ge 2 ] && break
  sleep 0.1
done
[ "$(grep -c "system: \[bot0\]" "$gamelog")" = 2 ] || e2e_fail "the game log does not hold both system lines"

# The question: type the answer into its field and press OK.
question=$(e2e_dialog "name?" 40) || e2e_fail "no box for the server's question"
field=$(e2e_probe children "$question" | awk '$4 == "Edit" {print $1; exit}')
[ -n "$field" ] || e2e_fail "the server's question has no input field"
e2e_probe text "$field" abc
e2e_shot "$question" question
# The skinned box's first button is its OK.
e2e_press "$question" 29714 || e2e_fail "no OK in the question box"
e2e_wait_log "$log" "body #1 id=0x80000230 1100000001000000616263" 20 || e2e_fail "the server got no typed answer"

# The tip window shows the notice's page (its browser window holds the address), 400 by 300.
tipwnd=$(e2e_dialog "http://example.test/" 20) || e2e_fail "no tip window"
e2e_shot "$tipwnd" tip_window
read -r tl tt tr tb <<< "$(e2e_probe rect "$tipwnd")"
[ $((tr - tl)) -eq 400 ] && [ $((tb - tt)) -eq 300 ] || e2e_fail "tip window is $((tr - tl)) by $((tb - tt)), not 400 by 300"
# A notice larger than the screen is held to the work area; a page that is no web page is refused.
read -r _ _ wl wt wr wb <<< "$(e2e_probe metrics)"
tipwnd=$(e2e_dialog "http://big.test/" 60) || e2e_fail "no tip window for the big notice"
read -r tl tt tr tb <<< "$(e2e_probe rect "$tipwnd")"
[ $((tr - tl)) -eq $((wr - wl)) ] && [ $((tb - tt)) -eq $((wb - wt)) ] || e2e_fail "the big notice is $((tr - tl)) by $((tb - tt))"
e2e_shot "$tipwnd" tip_window_clamped
e2e_wait_log "$gamelog" "tip window refused: file:" 20 || e2e_fail "a file address reached the tip window"

# The server's text box counts down and closes itself as its default button, untouched.
textbox=$(e2e_dialog "closes by itself" 40) || e2e_fail "no box for the server's text"
e2e_shot "$textbox" text_box
e2e_probe children "$textbox" | grep -qE '"([1-9]|1[0-2])"' || e2e_fail "the text box shows no countdown"
for i in $(seq 1 300); do [ "$(e2e_probe visible "$textbox")" = 1 ] || break; sleep 0.1; done
[ "$(e2e_probe visible "$textbox")" = 1 ] && e2e_fail "the text box did not close itself"
e2e_probe ping "$hwnd" 2000 || e2e_fail "the table does not answer after the text box"
grep -q "drop #" "$log" && e2e_fail "the server dropped the client"
echo "e2e: system lines, question with answer, tip window and text box reached the program; screenshots in $E2E_OUT"
