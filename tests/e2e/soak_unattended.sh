#!/usr/bin/env bash
# Unattended soak: the real client in its seat at the shortest turn time, with the end of
# trusteeship told, and nobody at the keyboard: no box is answered, no button pressed. The
# clock puts the seat in trusteeship, the server plays it, and every hand ends with the own
# trusteeship notice. At each hand's end the test sees (hands may end faster than the
# prober runs, so it samples) the client's message boxes, hidden ones too, are counted: a
# box opened inside another's loop nests a stack level per hand, so more than two open at
# once is a fault. Memory must stay flat, and the client must stay connected.
# Usage: soak_unattended.sh NATIVE_TREE WIN_TREE OUT_DIR [HANDS] [MEMORY_GROWTH_KB].
source "$(dirname "$0")/e2e_lib.sh"
hands=${4:-50}
growth_kb=${5:-3072}
e2e_init "$1" "$2" "$3"
E2E_SERVER_SECONDS=$((60 * hands + 120))
port=$(e2e_server --bots --seed 5 --turn 1)
e2e_client alice Alice 2 "$port"
lobby=${E2E_LOBBY_PIDS[-1]}
table=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
log=$E2E_OUT/server.log
e2e_wait_log "$log" "login alice seat" 60 || e2e_fail "the server saw no login"

# The client's message boxes: dialogs holding the box's text control (29811), shown or not.
count_boxes() {
  local n=0 h
  for h in $(e2e_probe list | awk '$4 == "#32770" {print $1}'); do
    e2e_probe children "$h" | awk '$2 == 29811 {found = 1} END {exit !found}' && n=$((n + 1))
  done
  echo "$n"
}

: > "$E2E_OUT/hands.txt"
seen=0
# A hand at a one-second turn with nobody answering takes well under a minute.
deadline=$((SECONDS + 60 * hands + 60))
while [ $SECONDS -lt $deadline ]; do
  n=$(grep -c "^hand over" "$log" || true)
  if [ "$n" -gt "$seen" ]; then
    seen=$n
    echo "$n $(e2e_rss_kb Vesk.exe) $(count_boxes)" >> "$E2E_OUT/hands.txt"
    [ "$seen" -eq 1 ] && e2e_shot "$table" first_hand_over
  fi
  [ "$seen" -ge "$hands" ] && break
  kill -0 "$lobby" 2>/dev/null || break
  grep -qE "^(closed|drop) #" "$log" && break
  sleep 0.5
done
alive=$(e2e_probe ping "$table" 5000 && echo 1 || echo 0)
e2e_shot "$table" last_hand_over
# What the server saw up to here; ending the client below closes its connection.
wc -l < "$log" > "$E2E_OUT/lines_before_end.txt"
e2e_reset
python3 - "$E2E_OUT" "$hands" "$growth_kb" "$alive" <<'PY' || e2e_fail "the unattended soak found faults"
import re, sys
d, hands, growth, alive = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4] == "1"
lines = open(d + "/server.log", errors="replace").read().splitlines()
lines = lines[: int(open(d + "/lines_before_end.txt").read().split()[0])]
rows = [tuple(int(x) for x in l.split()) for l in open(d + "/hands.txt") if len(l.split()) == 3]
faults = []
ended = max((h for h, _, _ in rows), default=0)
if ended < hands:
    faults.append(f"only {ended} of {hands} hands ended")
# The connection must last until the last hand counted (the test's own end closes it).
last = max((i for i, l in enumerate(lines) if l.startswith("hand over")), default=-1)
for l in lines[: last + 1]:
    if re.match(r"(closed|drop) #", l):
        faults.append(f"the client's connection ended: {l}")
        break
if not any(re.match(r"trusteeship alice mode 2", l) for l in lines):
    faults.append("the client never asked for trusteeship when its clock ran out")
nested = [(h, b) for h, _, b in rows if b > 2]
if nested:
    faults.append(f"more than two boxes open at once at hand ends (hand, boxes): {nested[:5]}")
if not any(b >= 1 for _, _, b in rows):
    faults.append("no trusteeship notice was ever open: the soak did not reach the boxes")
rss = [r for _, r, _ in rows if r > 0]
# The resident size dips whenever the system reclaims pages from the idle process, so the
# growth compares the peaks of the first and the last third (the first hand warms caches).
third = max(1, len(rss) // 3)
start = max(rss[1 : 1 + third], default=0)
end = max(rss[-third:], default=0)
if len(rss) >= 4 and end - start > growth:
    faults.append(f"memory grew by {(end - start) // 1024} MB ({start} KB -> {end} KB)")
if not alive:
    faults.append("the table window no longer answers")
print(f"unattended soak: {ended} hands ({len(rows)} hand ends sampled), boxes at hand ends max "
      f"{max((b for *_, b in rows), default=0)}, memory peak {start // 1024} MB -> {end // 1024} MB ({start} KB -> {end} KB)")
for f in faults:
    print("  FAULT:", f)
sys.exit(1 if faults else 0)
PY
echo "e2e: unattended soak passed; logs in $E2E_OUT"
