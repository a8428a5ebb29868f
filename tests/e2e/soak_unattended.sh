#!/usr/bin/env bash
# An unattended seat: the real client at the table server's shortest turn, and nobody answers
# any box or presses any button. The clock readies, bids and asks for trusteeship by itself;
# the server plays the seat and tells the end of trusteeship with every hand, so an own
# trusteeship notice comes twice a hand. At every hand's end at most two message boxes may be
# open (a newer notice replaces the open one, never opens inside it), the client must still
# answer its messages, and over the hands its memory may grow by at most 3 MB.
# Usage: soak_unattended.sh NATIVE_TREE WIN_TREE OUT_DIR [HANDS] [SECONDS_PER_HAND]
source "$(dirname "$0")/e2e_lib.sh"
hands=${4:-50}
per_hand=${5:-8}
e2e_init "$1" "$2" "$3"
# The server outlives the hands.
export E2E_SERVER_SECONDS=$((per_hand * hands + 300))

# The client's message boxes, shown or hidden: top-level dialogs holding the box's first button.
count_boxes() {
  local n=0 b
  for b in $(e2e_probe list | awk '$4 == "#32770" {print $1}'); do
    e2e_probe children "$b" | awk '$2 == 29714 {f=1} END {exit !f}' && n=$((n + 1))
  done
  echo "$n"
}

port=$(e2e_server --bots --seed 5 --turn 1)
log=$E2E_OUT/server.log
e2e_client alice alice 2 "$port"
lobby=${E2E_LOBBY_PIDS[-1]}
table=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$log" "login alice seat" 60 || e2e_fail "the server saw no login"

: > "$E2E_OUT/hands.txt"
done_hands=0
most_boxes=0
deadline=$((SECONDS + per_hand * hands + 60))
while [ $SECONDS -lt $deadline ]; do
  n=$(grep -cE "out #[0-9]+ id=0x00000215" "$log" || true)
  if [ "$n" -gt "$done_hands" ]; then
    done_hands=$n
    boxes=$(count_boxes)
    [ "$boxes" -gt "$most_boxes" ] && most_boxes=$boxes
    echo "$n $boxes $(e2e_rss_kb Vesk.exe)" >> "$E2E_OUT/hands.txt"
    [ "$boxes" -le 2 ] || { e2e_shot "$table" too_many_boxes; e2e_fail "$boxes boxes open at the end of hand $n"; }
    [ "$n" -eq 1 ] && e2e_shot "$table" first_hand
  fi
  [ "$done_hands" -ge "$hands" ] && break
  kill -0 "$lobby" 2>/dev/null || e2e_fail "the client ended after $done_hands hands"
  grep -qE "^(closed|drop) #" "$log" && e2e_fail "the client's connection ended after $done_hands hands"
  sleep 0.5
done
e2e_shot "$table" last_hand
e2e_probe ping "$table" 10000 >/dev/null || e2e_fail "the client does not answer after $done_hands hands"
[ "$done_hands" -ge "$hands" ] || e2e_fail "only $done_hands of $hands hands ended in time"
grep -q "trusteeship alice mode 2" "$log" || e2e_fail "the client never asked for trusteeship when its clock ran out"
grep -q "trusteeship alice ended with the hand" "$log" || e2e_fail "the server never ended the trusteeship with a hand"

# Memory: from the fifth hand (the table, its dialogs and first boxes made) to the last.
python3 - "$E2E_OUT/hands.txt" <<'PY' || e2e_fail "the client's memory grew"
import sys
rows = [l.split() for l in open(sys.argv[1]) if len(l.split()) == 3]
rss = [(int(h), int(k)) for h, _, k in rows if int(k) > 0]
base = next((k for h, k in rss if h >= 5), None)
end = rss[-1][1] if rss else None
print(f"memory: {base} KB at hand 5, {end} KB at hand {rss[-1][0] if rss else '?'}")
sys.exit(0 if base and end and end - base <= 3 * 1024 else 1)
PY
echo "e2e: $done_hands unattended hands, at most $most_boxes boxes open at a hand's end; log in $E2E_OUT"
