#!/usr/bin/env bash
# End to end: the net skin. The table server sends MSG_NET_SKIN_DATA with three entries: one
# whose period is current and whose installed folder holds pictures of its own (the frame in
# other colours, the right pane's caption and background, a table fill), one whose installed
# version differs (reported to the lobby, not used) and one whose period is over (drawn in
# yet other colours; not used although it comes last). The client stores the section; from
# then on the pictures come from the current entry's folder: after a restart the frame, the
# table and the right pane show them. Screenshots before and after; the right pane's
# caption picture is checked in both.
# Usage: net_skin.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
here=$(cd "$(dirname "$0")" && pwd)
pictures() { python3 "$here/net_skin_pictures.py" "$@"; }

theme=$E2E_STAGE/program/Theme
[ -f "$theme/frame01.bmp" ] || e2e_fail "the staged theme has no frame pictures"
skin=$E2E_STAGE/share/skin/Vesk
rm -rf "$E2E_STAGE/share/skin"
installed() {  # FOLDER VERSION ORDER
  mkdir -p "$skin/$1"
  printf '[Version]\r\nVersion=%s\r\n' "$2" > "$skin/$1/version.ini"
  pictures make "$theme" "$skin/$1" "$3"
}
installed spring 1.0 bgr   # current: red and blue swapped
installed summer 1.0 gbr   # the server names version 2.0: not used, reported
installed winter 1.0 grb   # its period is over: not used

year=$(date +%Y)
section="1=1,Vesk_skin_1,spring,$((year - 1)).1.1-$((year + 1)).12.31,springpkg,1.0,1"
section+=$'\n'"2=2,Vesk_skin_1,summer,$((year - 1)).1.1-$((year + 1)).12.31,summerpkg,2.0,1"
section+=$'\n'"3=3,Vesk_skin_1,winter,2001.1.1-2002.12.31,winterpkg,1.0,1"
body=00000000$(printf '%s' "$section" | xxd -p | tr -d '\n')00
echo "on out:0x8000021C delay=500 send 0x248 0 $body" > "$E2E_OUT/script.txt"
port=$(e2e_server --bots --seed 5 --turn 30 --script "$E2E_OUT/script.txt")
e2e_client alice Alice 2 "$port"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"

ini=$E2E_STAGE/share/skin/GameClientSkin.ini
e2e_wait_log "$ini" "spring" 30 || e2e_fail "the client did not store the net skin"
grep -q "winter" "$ini" || e2e_fail "the stored section lacks an entry"
# The entry whose installed version differs goes to the lobby: package and version 2.0.0.0.
e2e_wait_log "$E2E_OUT/lobby-alice.log" "COPYDATA .*value=33554432 .*text=summerpkg" 20 ||
  e2e_fail "the lobby was not told about the differing skin"
grep -q "text=springpkg\|text=winterpkg" "$E2E_OUT/lobby-alice.log" && e2e_fail "the lobby was told about a skin it has"

# The frame's caption at its middle, 8 pixels down: blue in the theme's own colours.
frame_colour() {  # NAME -> "r g b"
  local w
  w=$(e2e_probe rect "$hwnd" | awk '{print $3 - $1}')
  pictures pixel "$E2E_OUT/$1.png" $((w / 2)) 8
}
# The right pane's chat caption, in the part the live panel (350 pixels high) leaves free:
# 5 pixels above the chat window (which starts at 360), past the balloon mark.
PANE_RIGHT=59649  # AFX_IDW_PANE_FIRST + 1
pane_colour() {  # NAME -> "r g b"
  local pane x y
  pane=$(e2e_probe children "$hwnd" | awk -v id=$PANE_RIGHT '$2 == id {print $1; exit}')
  [ -n "$pane" ] || e2e_fail "no right pane"
  read -r x y < <(paste <(e2e_probe rect "$pane") <(e2e_probe rect "$hwnd") | awk '{print $1 - $5 + 40, $2 - $6 + 355}')
  pictures pixel "$E2E_OUT/$1.png" "$x" "$y"
}
e2e_probe front "$hwnd" >/dev/null || true
e2e_probe still "$hwnd" 3000 >/dev/null 2>&1 || true
e2e_shot "$hwnd" theme_own
read -r r g b < <(frame_colour theme_own)
[ "$b" -gt "$r" ] || e2e_fail "the frame's own caption is not blue ($r $g $b)"
read -r r g b < <(pane_colour theme_own)
[ "$b" -gt "$r" ] && [ "$b" -gt 120 ] || e2e_fail "the right pane's caption picture is not drawn ($r $g $b)"

# ---- a restart under the stored net skin ----
"$WINE" taskkill /f /im Vesk.exe >/dev/null 2>&1 || true
for i in $(seq 1 100); do e2e_probe list | grep -q '"Trebbin' || break; sleep 0.1; done
port2=$(e2e_peer server2 "$E2E_SERVER" --port 0 --seconds 300 --log "$E2E_OUT/server2.log" --bots --seed 5 --turn 30)
e2e_client bob Bob 2 "$port2"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window after the restart"
e2e_probe front "$hwnd" >/dev/null || true
e2e_probe still "$hwnd" 3000 >/dev/null 2>&1 || true
e2e_shot "$hwnd" theme_net_skin
read -r r g b < <(frame_colour theme_net_skin)
# spring swaps red and blue; winter (over) would give green the lead, summer too.
[ "$r" -gt "$b" ] && [ "$r" -gt "$g" ] || e2e_fail "the frame does not show the current net skin ($r $g $b)"
read -r r g b < <(pane_colour theme_net_skin)
[ "$r" -gt "$b" ] && [ "$r" -gt 120 ] || e2e_fail "the right pane's caption is not the net skin's ($r $g $b)"
echo "e2e: the right pane's caption under the net skin: $r $g $b"

# ---- without the browser library the advertisement control shows in the panel's corner ----
# The chat view's control (position 1003) gets an advertisement record whose page is a file
# of the advertisement folder; with no live panel to host, the empty host stays hidden.
"$WINE" taskkill /f /im Vesk.exe >/dev/null 2>&1 || true
for i in $(seq 1 100); do e2e_probe list | grep -q '"Trebbin' || break; sleep 0.1; done
rm -f "$E2E_STAGE/program/Brellin.dll"
page='ad.htm'
adbody="eb030000""07000000""0000""0000""1e00""0100""00000000""0000""0000"
adbody+=$(printf '%02x000000' "${#page}")$(printf '%s' "$page" | xxd -p | tr -d '\n')
echo "on out:0x8000021C delay=500 send 0x205 0 $adbody" > "$E2E_OUT/script3.txt"
mkdir -p "$E2E_STAGE/share/Advert/7"
echo '<html><body><p>Spring tables open</p></body></html>' > "$E2E_STAGE/share/Advert/7/ad.htm"
port3=$(e2e_peer server3 "$E2E_SERVER" --port 0 --seconds 300 --log "$E2E_OUT/server3.log" --bots --seed 5 \
  --turn 30 --script "$E2E_OUT/script3.txt")
e2e_client carol Carol 2 "$port3"
hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window without the browser library"
ad=
for i in $(seq 1 100); do
  ad=$(e2e_probe children "$hwnd" | awk '$4 == "QKAdCtrl" && /Spring tables open/ {print $1; exit}')
  [ -n "$ad" ] && break
  sleep 0.2
done
[ -n "$ad" ] || e2e_fail "the advertisement did not reach the chat view's control"
[ "$(e2e_probe visible "$ad")" = 1 ] || e2e_fail "the advertisement control is not visible"
e2e_probe front "$hwnd" >/dev/null || true
e2e_probe still "$hwnd" 3000 >/dev/null 2>&1 || true
e2e_shot "$hwnd" advert_without_panel
# On the screen the control's own face shows there (the stand-in's cream page), not the
# grey of an empty panel host.
read -r x y < <(paste <(e2e_probe rect "$ad") <(e2e_probe rect "$hwnd") | awk '{print $1 - $5 + 100, $2 - $6 + 150}')
read -r r g b < <(pictures pixel "$E2E_OUT/advert_without_panel.png" "$x" "$y")
[ "$r" -ge 250 ] && [ "$b" -le 235 ] || e2e_fail "the advertisement control is covered ($r $g $b)"
