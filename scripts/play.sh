#!/usr/bin/env bash
# Plays one table locally: installs what is missing, builds the Windows tree,
# stages the platform, starts the local table server (bots in the two other seats),
# the chat and web peers of the right pane and, through the lobby stand-in, the client. With a display set the client appears
# there; without one it runs on a virtual display that a browser on this machine shows
# (x11vnc and noVNC on the loopback address; the address is printed).
# Closing the client ends everything this script started.
# Options: --seats N seats N people (the player and N-1 more clients, the rest bots);
# --four plays the four-player two-deck table; --watch opens a client watching the player.
# Hands are scored in series of three.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
people=1 players=3 watch=0
while [ $# -gt 0 ]; do
  case $1 in
    --seats) [ $# -ge 2 ] || { echo "play: --seats needs a number" >&2; exit 2; }; people=$2; shift ;;
    --four) players=4 ;;
    --watch) watch=1 ;;
    *) echo "usage: play.sh [--seats N] [--four] [--watch]" >&2; exit 2 ;;
  esac
  shift
done
case $people in [1-4]) ;; *) echo "play: --seats takes 1 to 4" >&2; exit 2 ;; esac
[ "$people" -le "$players" ] || { echo "play: $people people do not fit a table of $players" >&2; exit 2; }
export VESK_BUILD=${VESK_BUILD:-$root/build}
bash "$root/scripts/setup.sh" play
bash "$root/scripts/build.sh" native win
source "$root/scripts/wine-env.sh"
source "$root/tests/e2e/e2e_lib.sh"

viewer_pids=()
play_stop() {
  e2e_cleanup
  local p
  for p in "${viewer_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${viewer_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  vesk_wineserver_stop
  vesk_xvfb_stop
}

# A free TCP port on the loopback address.
free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Serves the virtual display to a browser: x11vnc on the loopback address, noVNC in front.
serve_display() {
  local log=$E2E_OUT/x11vnc.log vnc web
  x11vnc -display "$DISPLAY" -localhost -nopw -forever -shared -noxdamage -quiet -o "$log" \
    > "$E2E_OUT/x11vnc.out" 2>&1 </dev/null &
  viewer_pids+=($!)
  e2e_wait_log "$E2E_OUT/x11vnc.out" '^PORT=[0-9]+' 20 || e2e_fail "x11vnc did not start"
  vnc=$(sed -n 's/^PORT=\([0-9]*\).*/\1/p' "$E2E_OUT/x11vnc.out" | head -1)
  web=$(free_port)
  websockify --web /usr/share/novnc "127.0.0.1:$web" "127.0.0.1:$vnc" > "$E2E_OUT/websockify.out" 2>&1 </dev/null &
  viewer_pids+=($!)
  local i
  for i in $(seq 1 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$web") 2>/dev/null && break
    sleep 0.1
  done
  echo "play: open http://127.0.0.1:$web/vnc.html?autoconnect=1&resize=scale in a browser on this machine"
}

E2E_OUT=$VESK_BUILD/play
rm -rf "$E2E_OUT"
mkdir -p "$E2E_OUT"
E2E_PIDS=()
E2E_LOBBY_PIDS=()
trap play_stop EXIT
if [ -z "${DISPLAY:-}" ]; then
  vesk_xvfb_start
  echo "play: no display was set; the table runs on the virtual display $DISPLAY"
  serve_display
fi
vesk_prefix_init
vesk_wineserver_start
E2E_STAGE=$(bash "$root/scripts/stage.sh" "$E2E_OUT/stage") || e2e_fail "staging failed"
echo "play: staged the platform in $E2E_STAGE"

E2E_SERVER=$VESK_BUILD/native/tools/tableserver/tableserver
[ -x "$E2E_SERVER" ] || e2e_fail "the table server is not built"
port=$(E2E_SERVER_SECONDS=86400 e2e_server --bots --series 3 --players "$players")
# The table's chat server and the live panel's web server.
chatport=$(e2e_peer chat "$VESK_BUILD/native/tools/chatpeer/chatpeer" --port 0 --log "$E2E_OUT/chat.log")
webport=$(e2e_peer web "$VESK_BUILD/native/tools/webpeer/webpeer" --port 0 --log "$E2E_OUT/web.log")
cat > "$E2E_STAGE/share/LangRsc.ini" <<INI
[TrebbinQualifying]
VeskAdvertising=http://127.0.0.1:$webport/panel?user=%UserName%&ticket=%Ticket%
QualifyingSign=http://127.0.0.1:$webport/tiers?usernames=%usernames%
[DSTrebbinMsg]
URL=http://127.0.0.1:$webport/msg
INI
echo "play: table server on 127.0.0.1:$port, chat on $chatport, panel on $webport; starting the client"
client() {
  e2e_client "$@" --chat-host 127.0.0.1 --chat-port "$chatport" --column-number 1000
}
# The player takes the lobby's seat 2 (the server's seat 1); more people take the others.
client player Player 2 "$port"
e2e_wait_log "$E2E_OUT/server.log" "login player seat 1" 60 || e2e_fail "the player did not reach the table"
n=1
for seat in 1 3 4; do
  [ "$n" -lt "$people" ] && [ "$seat" -le "$players" ] || continue
  n=$((n + 1))
  client "player$n" "Player$n" "$seat" "$port"
done
# A watcher of the player's seat: the lobby's seat 6 is the server's watch seat 5 (seat 1).
if [ "$watch" = 1 ]; then client watcher Watcher 6 "$port"; fi
# The lobby stand-in returns when the client ends.
wait "${E2E_LOBBY_PIDS[0]}" || true
echo "play: the client has ended"
