#!/usr/bin/env bash
# Plays one table locally: installs what is missing, builds the Windows tree,
# stages the platform, starts the local table server and, through the lobby
# stand-in, the client on a visible display (Xvfb when none is set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export VESK_BUILD=${VESK_BUILD:-$root/build}
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" native win
source "$root/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  vesk_xvfb_start
  echo "play: no display was set; running on Xvfb $DISPLAY"
fi
trap 'vesk_wineserver_stop; vesk_xvfb_stop' EXIT
vesk_prefix_init
vesk_wineserver_start
stage=$(bash "$root/scripts/stage.sh" "$VESK_BUILD/play")
echo "play: staged the platform in $stage"

server=$VESK_BUILD/native/tools/tableserver/tableserver
lobby=$stage/program/lobby.exe
# Starts a native peer; its first line names its port. Prints the port.
start_peer() {
  local name=$1; shift
  "$@" > "$VESK_BUILD/play/$name.out" 2>&1 &
  pids+=($!)
  local i
  for i in $(seq 1 100); do
    grep -q listening "$VESK_BUILD/play/$name.out" 2>/dev/null && break
    sleep 0.1
  done
  sed -n 's/^listening 127.0.0.1:\([0-9]*\).*/\1/p' "$VESK_BUILD/play/$name.out" | head -1
}

server=$VESK_BUILD/native/tools/tableserver/tableserver
chatpeer=$VESK_BUILD/native/tools/chatpeer/chatpeer
webpeer=$VESK_BUILD/native/tools/webpeer/webpeer
lobby=$stage/program/lobby.exe
if [ -x "$server" ] && [ -x "$chatpeer" ] && [ -x "$webpeer" ] && [ -f "$lobby" ] && [ -f "$stage/program/Vesk.exe" ]; then
  pids=()
  trap 'kill "${pids[@]}" 2>/dev/null; vesk_wineserver_stop; vesk_xvfb_stop' EXIT
  # The table server on a free port with bots in the two other seats, the table's chat
  # server and the live panel's web server.
  port=$(start_peer server "$server" --bots --port 0 --log "$VESK_BUILD/play/server.log")
  chatport=$(start_peer chat "$chatpeer" --port 0 --log "$VESK_BUILD/play/chat.log")
  webport=$(start_peer web "$webpeer" --port 0 --log "$VESK_BUILD/play/web.log")
  cat > "$stage/share/LangRsc.ini" <<INI
[TrebbinQualifying]
VeskAdvertising=http://127.0.0.1:$webport/panel?user=%UserName%&ticket=%Ticket%
[DSTrebbinMsg]
URL=http://127.0.0.1:$webport/msg
INI
  program=$("$WINE" winepath -w "$stage/program/Vesk.exe" | tr -d '\r')
  echo "play: table server on 127.0.0.1:$port, chat on $chatport, panel on $webport; starting the client"
  "$WINE" "$lobby" --program "$program" --server 127.0.0.1 --port "$port" --seat 2 --user player \
    --nick Player --room "Table 1" --chat-host 127.0.0.1 --chat-port "$chatport" --column-number 1000
else
  echo "play: the client cannot play a table yet; this run built and staged:"
  ls "$stage/program"
fi
