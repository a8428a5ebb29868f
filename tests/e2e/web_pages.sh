#!/usr/bin/env bash
# End to end: web pages in the program's web-browser control (the stand-in registered by the
# staging). The server's tip-window notice shows its page, fetched from the local web peer,
# in the skinned tip window; its close button hides it and leaves the page blank. With the
# theme's help type 1, F1 opens the help window on the help page the language resources
# name, also fetched from the web peer.
# Usage: web_pages.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

HELP_AGAIN=29753  # the help window's check box
TIP_PAGE=101      # the tip window's browser
HELP_WEB=29752    # the help window's browser

webpeer=$E2E_NATIVE/tools/webpeer/webpeer
[ -x "$webpeer" ] || e2e_fail "the web peer is not built"
webport=$(e2e_peer web "$webpeer" --port 0 --seconds 600 --log "$E2E_OUT/web.log")
tipurl="http://127.0.0.1:$webport/tip?user=noticed&ticket=n1"
helpurl="http://127.0.0.1:$webport/help"
cat > "$E2E_STAGE/share/LangRsc.ini" <<INI
[URL]
Vesk_s=$helpurl
INI
# The help window in its browser mode with the configured page.
thm=$E2E_STAGE/program/Theme/Vesk.thm
[ -f "$thm" ] || e2e_fail "no staged theme at $thm"
sed -i 's/^HelpType=0/HelpType=1/' "$thm"
grep -q '^HelpType=1' "$thm" || e2e_fail "the staged theme has no help type"

# MSG_TIP_WINDOW (585): title[128] "Tip", address[512], 400 by 300
zeros() { printf '00%.0s' $(seq 1 "$1"); }
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
tip="546970$(zeros 125)$(hex "$tipurl")$(zeros $((512 - ${#tipurl})))900100002c010000"
echo "on out:0x8000021C delay=3000 send 585 0 $tip" > "$E2E_OUT/script.txt"
port=$(e2e_server --game --players 3 --turn 60 --script "$E2E_OUT/script.txt")
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$E2E_OUT/server.log" "login alice seat 1" 30 || e2e_fail "the server saw no login"

# The browser's page window (class VeskWebPage) with control id ID in dialog DLG: its text
# is the address it shows.
page_of() {
  e2e_probe children "$1" | awk '$4 == "VeskWebPage" {print $1; exit}'
}
page_address() {
  e2e_probe children "$1" | awk '$4 == "VeskWebPage" {sub(/^[^"]*"/, ""); sub(/"$/, ""); print; exit}'
}

# ---- the tip window shows the notice's page ----
tipwnd=$(e2e_dialog "$tipurl" 30) || e2e_fail "no tip window with the notice's page"
e2e_wait_log "$E2E_OUT/web.log" "GET /tip\?user=noticed&ticket=n1" 20 || e2e_fail "the tip window's page was not fetched"
[ -n "$(page_of "$tipwnd")" ] || e2e_fail "the tip window holds no browser page"
read -r tl tt tr tb <<< "$(e2e_probe rect "$tipwnd")"
[ $((tr - tl)) -eq 400 ] && [ $((tb - tt)) -eq 300 ] || e2e_fail "tip window is $((tr - tl)) by $((tb - tt)), not 400 by 300"
e2e_shot "$tipwnd" tip_page
# Its close button (the caption's system-menu hit) hides it; the page goes blank.
e2e_probe post "$tipwnd" 0xA1 3 >/dev/null
e2e_probe post "$tipwnd" 0xA2 3 >/dev/null
for i in $(seq 1 50); do [ "$(e2e_probe visible "$tipwnd")" = 0 ] && break; sleep 0.1; done
[ "$(e2e_probe visible "$tipwnd")" = 0 ] || e2e_fail "the close button did not hide the tip window"
for i in $(seq 1 30); do shown=$(page_address "$tipwnd"); [ "$shown" = "about:blank" ] && break; sleep 0.1; done
[ "$shown" = "about:blank" ] || e2e_fail "the hidden tip window still shows '$shown': $(e2e_probe children "$tipwnd")"

# ---- F1: the help window on the configured help page ----
e2e_probe key "$hwnd" 0x70 >/dev/null
help=$(e2e_probe dialogid $HELP_AGAIN 10000) || e2e_fail "F1 showed no help window"
e2e_wait_log "$E2E_OUT/web.log" "GET /help" 20 || e2e_fail "the help page was not fetched"
[ "$(page_address "$help")" = "$helpurl" ] || e2e_fail "the help window shows '$(page_address "$help")'"
read -r hl ht hr hb <<< "$(e2e_probe rect "$help")"
[ $((hb - ht)) -le 580 ] || e2e_fail "the help window is $((hb - ht)) high"
[ $((hr - hl)) -ge 780 ] || e2e_fail "the help window is $((hr - hl)) wide, less than its page"
e2e_shot "$help" help_page
e2e_probe key "$hwnd" 0x70 >/dev/null
for i in $(seq 1 50); do [ "$(e2e_probe visible "$help")" = 1 ] || break; sleep 0.1; done
[ "$(e2e_probe visible "$help")" = 0 ] || e2e_fail "F1 did not hide the help window"
grep -q "drop #" "$E2E_OUT/server.log" && e2e_fail "the server dropped the client"
echo "e2e: the tip window and the help window showed their pages; screenshots in $E2E_OUT"
