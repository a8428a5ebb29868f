#!/usr/bin/env bash
# End to end against a hostile server: for each round the hostile relay sits between the
# table server (bots) and the real client, injects seeded noise into the game and ends with
# a blow; a box watcher answers the client's boxes and logs them. hostile_check.py then
# checks the logs: no crash, liveness answered in time while no box is open, the blows that
# must close the connection close it with a box, memory bounded.
# Usage: hostile.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
base=$E2E_OUT
hostile=$E2E_NATIVE/tools/hostile/hostile
boxwatch=$E2E_WIN/tools/hostile/boxwatch.exe
[ -x "$hostile" ] || e2e_fail "the hostile relay is not built"
[ -f "$boxwatch" ] || e2e_fail "the box watcher is not built"

# seed frames blow
rounds=("11 120 oversize" "12 100 zipbomb" "13 100 wirecode" "14 80 badzip" "15 80 fatal")
# HOSTILE_ROUNDS="12 100 zipbomb" runs one round; HOSTILE_REPLAY=LOG injects that log's frames.
[ -n "${HOSTILE_ROUNDS:-}" ] && rounds=("$HOSTILE_ROUNDS")
status=0
for round in "${rounds[@]}"; do
  read -r seed frames blow <<<"$round"
  E2E_OUT=$base/seed-$seed
  mkdir -p "$E2E_OUT"
  port=$(e2e_server --bots --seed "$seed" --turn 2)
  hport=$(e2e_peer hostile "$hostile" --server-port "$port" --seed "$seed" --frames "$frames" --every-ms 100 \
          --blow "$blow" --seconds 300 --log "$E2E_OUT/hostile.log" ${HOSTILE_REPLAY:+--replay "$HOSTILE_REPLAY"})
  "$WINE" "$boxwatch" --process Vesk.exe --log "$(e2e_winpath "$E2E_OUT/box.log")" --press-ms 800 --seconds 300 \
    </dev/null >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  e2e_client alice Alice 2 "$hport"
  lobby=${E2E_LOBBY_PIDS[-1]}
  : > "$E2E_OUT/rss.txt"
  # Until the blow, then until the client closes or the program ends (bounded).
  deadline=$((SECONDS + 240))
  while [ $SECONDS -lt $deadline ]; do
    echo "$(date +%s%3N) $(e2e_rss_kb Vesk.exe)" >> "$E2E_OUT/rss.txt"
    grep -q " summary " "$E2E_OUT/hostile.log" 2>/dev/null && break
    if grep -q " blow " "$E2E_OUT/hostile.log" 2>/dev/null && [ -z "${blown_at:-}" ]; then
      blown_at=$SECONDS
    fi
    if [ -n "${blown_at:-}" ] && [ $((SECONDS - blown_at)) -gt 30 ]; then break; fi
    kill -0 "$lobby" 2>/dev/null || break
    sleep 1
  done
  unset blown_at
  # The program may end by itself after the blow's box: give it a bounded time.
  for i in $(seq 1 100); do
    kill -0 "$lobby" 2>/dev/null || break
    sleep 0.2
  done
  code=running
  if ! kill -0 "$lobby" 2>/dev/null; then
    code=0
    wait "$lobby" || code=$?
  fi
  echo "$code" > "$E2E_OUT/exit.txt"
  # What was on the screen at the end of the round, for a failure's reader.
  e2e_probe list > "$E2E_OUT/windows.txt" || true
  main=$(e2e_probe wait "Trebbin" 500 | head -1) || true
  [ -n "$main" ] && e2e_probe shot "$main" "$(e2e_winpath "$E2E_OUT/end.png")" >/dev/null 2>&1 || true
  e2e_reset
  if ! python3 "$(dirname "$0")/hostile_check.py" "$E2E_OUT" "$blow" "$frames"; then
    status=1
  fi
done
E2E_OUT=$base
[ $status -eq 0 ] || e2e_fail "the client did not survive every round"
echo "e2e: hostile rounds passed; logs in $base"
