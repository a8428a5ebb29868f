#!/usr/bin/env bash
# Soak: the real client in its seat against the table server's bots with a one-second turn,
# HANDS whole hands for each seed (seed 7 among them). Every hand must end with the client
# still connected, the server must see the client ask for trusteeship when its clock runs
# out, no refused play may repeat, and the client's memory must stay flat. As a player would,
# the test answers the client's boxes (a box watcher) and presses 开始 after each hand.
# Usage: soak.sh NATIVE_TREE WIN_TREE OUT_DIR [HANDS].
source "$(dirname "$0")/e2e_lib.sh"
hands=${4:-5}
e2e_init "$1" "$2" "$3"
boxwatch=$E2E_WIN/tools/hostile/boxwatch.exe
[ -f "$boxwatch" ] || e2e_fail "the box watcher is not built"
base=$E2E_OUT
status=0
for seed in 7 11; do
  E2E_OUT=$base/seed-$seed
  mkdir -p "$E2E_OUT"
  port=$(e2e_server --bots --seed "$seed" --turn 1)
  "$WINE" "$boxwatch" --process Vesk.exe --log "$(e2e_winpath "$E2E_OUT/box.log")" --press-ms 800 \
    --seconds $((90 * hands + 60)) </dev/null >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  e2e_client alice Alice 2 "$port"
  lobby=${E2E_LOBBY_PIDS[-1]}
  table=$(e2e_window "Trebbin" 60) || e2e_fail "seed $seed: no table window"
  log=$E2E_OUT/server.log
  e2e_wait_log "$log" "login alice seat" 60 || e2e_fail "seed $seed: the server saw no login"
  : > "$E2E_OUT/rss.txt"
  done_hands=0
  deadline=$((SECONDS + 90 * hands))
  while [ $SECONDS -lt $deadline ]; do
    n=$(grep -cE "out #[0-9]+ id=0x00000215" "$log" || true)
    if [ "$n" -gt "$done_hands" ]; then
      done_hands=$n
      echo "$n $(e2e_rss_kb Vesk.exe)" >> "$E2E_OUT/rss.txt"
    fi
    [ "$done_hands" -ge "$hands" ] && break
    # The next hand starts when the player says so.
    [ "$(e2e_probe state "$table" 1006)" = "1 1" ] && e2e_probe click "$table" 1006 >/dev/null
    kill -0 "$lobby" 2>/dev/null || break
    grep -qE "^(closed|drop) #" "$log" && break
    sleep 1
  done
  e2e_reset
  python3 - "$E2E_OUT" "$hands" "$seed" <<'PY' || status=1
import re, sys
d, hands, seed = sys.argv[1], int(sys.argv[2]), sys.argv[3]
lines = open(d + "/server.log", errors="replace").read().splitlines()
faults = []
over = [l for l in lines if re.search(r"out #\d+ id=0x00000215", l)]
if len(over) < hands:
    faults.append(f"only {len(over)} of {hands} hands ended")
# The connection must last to the end: a drop or close before the last hand is a fault.
last_over = max((i for i, l in enumerate(lines) if "id=0x00000215" in l), default=-1)
for i, l in enumerate(lines[: last_over + 1]):
    if re.match(r"(closed|drop) #", l):
        faults.append(f"the client's connection ended mid-series: {l}")
if not any(re.match(r"trusteeship alice mode 2", l) for l in lines):
    faults.append("the client never asked for trusteeship when its clock ran out")
# A refusal followed by another with only the client's own frames between them repeats.
prev_refused = False
for l in lines:
    m = re.match(r"out #\d+ id=0x([0-9A-F]{8})", l)
    if not m:
        continue
    refused = m.group(1) == "80000212"
    if refused and prev_refused:
        faults.append("a refused play was repeated")
        break
    prev_refused = refused
rss = [int(x.split()[1]) for x in open(d + "/rss.txt") if len(x.split()) == 2]
rss = [r for r in rss if r > 0]
if len(rss) >= 3 and rss[-1] - rss[1] > 24 * 1024:
    faults.append(f"memory grew from {rss[1] // 1024} MB to {rss[-1] // 1024} MB")
if rss and max(rss) > 400 * 1024:
    faults.append(f"memory peaked at {max(rss) // 1024} MB")
print(f"soak seed {seed}: {len(over)} hands, memory {[r // 1024 for r in rss]} MB")
for f in faults:
    print("  FAULT:", f)
sys.exit(1 if faults else 0)
PY
done
E2E_OUT=$base
[ $status -eq 0 ] || e2e_fail "the soak found faults"
echo "e2e: soak passed; logs in $base"
