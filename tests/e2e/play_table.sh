#!/usr/bin/env bash
# End to end: the staged client, started by the lobby stand-in, logs in to the table
# server (bots in the other seats) and shows its table window; the window is saved as PNG.
# Usage: play_table.sh NATIVE_TREE WIN_TREE OUT_DIR. Exit 77 (skipped) without Vesk.exe.
set -euo pipefail
native=$1 win=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
export VESK_ROOT=$(cd "$here/../.." && pwd)
export VESK_BUILD=$(cd "$win/.." && pwd)
source "$VESK_ROOT/scripts/wine-env.sh"
[ -n "${DISPLAY:-}" ] || { echo "e2e: DISPLAY is not set"; exit 2; }
[ -f "$win/bin/Vesk.exe" ] || { echo "e2e: Vesk.exe is not built"; exit 77; }
server=$native/tools/tableserver/tableserver
[ -x "$server" ] || { echo "e2e: the table server is not built"; exit 77; }
probe=$win/tools/winprobe/winprobe.exe

rm -rf "$out"
mkdir -p "$out"
stage=$(bash "$VESK_ROOT/scripts/stage.sh" "$out/stage")

"$server" --bots --seed 3 --turn 3 --port 0 --seconds 240 --log "$out/server.log" > "$out/server.out" 2>&1 </dev/null &
spid=$!
lpid=
cleanup() {
  set +e
  # The Windows processes outlive their Wine launchers: end them by name.
  "$WINE" taskkill /f /im Vesk.exe >/dev/null 2>&1 || true
  "$WINE" taskkill /f /im lobby.exe >/dev/null 2>&1 || true
  [ -n "$lpid" ] && kill "$lpid" 2>/dev/null
  kill "$spid" 2>/dev/null
  wait 2>/dev/null || true
}
trap cleanup EXIT
for i in $(seq 1 100); do
  grep -q listening "$out/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/^listening 127.0.0.1:\([0-9]*\).*/\1/p' "$out/server.out")
[ -n "$port" ] || { echo "e2e: the table server did not start"; exit 1; }

program=$("$WINE" winepath -w "$stage/program/Vesk.exe" 2>/dev/null | tr -d '\r')
"$WINE" "$stage/program/lobby.exe" --program "$program" --server 127.0.0.1 --port "$port" \
  --seat 2 --user alice --nick Alice --room "Table 1" --log "$("$WINE" winepath -w "$out/lobby.log" | tr -d '\r')" \
  > "$out/lobby.out" 2>&1 </dev/null &
lpid=$!

# Wait for the table window while the client (under the lobby) still runs.
hwnd=
for i in $(seq 1 30); do
  hwnd=$("$WINE" "$probe" wait "Trebbin" 2000 | tr -d '\r') || true
  [ -n "$hwnd" ] && break
  kill -0 "$lpid" 2>/dev/null || break
done
if [ -z "$hwnd" ]; then
  echo "e2e: no table window; visible windows:"
  "$WINE" "$probe" list | tr -d '\r' | grep -v ' 0 ' || true
  tail -20 "$out/server.log" || true
  cat "$out/lobby.out" || true
  exit 1
fi
sleep 2
"$WINE" "$probe" shot "$hwnd" "$("$WINE" winepath -w "$out/table.png" | tr -d '\r')"
grep -q "login alice seat 1" "$out/server.log" || { echo "e2e: the server saw no login"; exit 1; }

# A whole hand: the client's turn clock runs out (3 s), so it bids nothing and, in play,
# asks the server to play for it; the bots play the rest.
for i in $(seq 1 120); do
  grep -q "id=0x00000215" "$out/server.log" && break
  kill -0 "$lpid" 2>/dev/null || break
  sleep 1
done
grep -q "id=0x00000215" "$out/server.log" || { echo "e2e: the hand did not end"; tail -30 "$out/server.log"; exit 1; }
sleep 2
"$WINE" "$probe" shot "$hwnd" "$("$WINE" winepath -w "$out/hand_over.png" | tr -d '\r')"
"$WINE" "$probe" close "$hwnd" || true
echo "e2e: table window $hwnd, a whole hand played; screenshots $out/table.png, $out/hand_over.png"
