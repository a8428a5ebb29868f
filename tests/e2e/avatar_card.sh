#!/usr/bin/env bash
# End to end: a player right-clicks another seat's avatar at the table; the avatar control
# opens that player's card (picture and name) beside it, and a click on the card closes it.
# Usage: avatar_card.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

port=$(e2e_server --bots --seed 5)
e2e_client alice Alice 2 "$port"
table=$(e2e_window "Trebbin" 90) || e2e_fail "the table window did not appear"
# The table view: the splitter's first pane (AFX_IDW_PANE_FIRST, like the splitter itself,
# which is the wider of the two).
view=
for h in $(e2e_probe children "$table" | awk '$2 == 59648 && $3 == 1 {print $1}'); do
  read -r cw ch < <(e2e_probe client "$h")
  if [ -z "$view" ] || [ "$cw" -lt "$vw" ]; then view=$h vw=$cw; fi
done
[ -n "$view" ] || e2e_fail "no table view"
e2e_probe front "$table" >/dev/null || true

# The left seat's avatar: 90 by 110 at (16, height / 2 - 72) of the view.
card_window() { e2e_probe list | awk '$3 == 1 && $4 == "QKAvatarCard" {print $1; exit}'; }
card=
for i in $(seq 1 30); do
  read -r w h < <(e2e_probe client "$view")
  e2e_probe mouse "$view" 61 $((h / 2 - 72 + 55)) right >/dev/null
  for j in $(seq 1 10); do
    card=$(card_window)
    [ -n "$card" ] && break 2
    sleep 0.2
  done
done
[ -n "$card" ] || e2e_fail "no player card opened on the avatar click"
title=$(e2e_probe list | awk -v h="$card" '$1 == h {sub(/^[^"]*"/, ""); sub(/"$/, ""); print; exit}')
echo "$title" | grep -qE '^bot[0-9]$' || e2e_fail "the card names '$title', not the left seat's bot"
# Beside the table's avatar, on the screen.
read -r l t r b < <(e2e_probe rect "$card")
read -r vl vt vr vb < <(e2e_probe rect "$view")
[ "$l" -ge "$vl" ] && [ "$t" -ge 0 ] && [ $((r - l)) -ge 150 ] && [ $((b - t)) -ge 190 ] ||
  e2e_fail "the card is not placed beside the avatar: $l $t $r $b (view $vl $vt $vr $vb)"
e2e_shot "$card" player_card
e2e_shot "$table" table_with_card
e2e_probe mouse "$card" 20 20 >/dev/null
for i in $(seq 1 50); do
  [ -z "$(card_window)" ] && break
  sleep 0.1
done
[ -z "$(card_window)" ] || e2e_fail "a click on the card did not close it"
echo "e2e: the card of $title opened and closed; screenshots in $E2E_OUT"
