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
if [ -x "$server" ] && [ -f "$lobby" ] && [ -f "$stage/program/Vesk.exe" ]; then
  "$server" --port 7100 --bots &
  spid=$!
  trap 'kill $spid 2>/dev/null; vesk_wineserver_stop; vesk_xvfb_stop' EXIT
  "$WINE" "$lobby" --server 127.0.0.1 --port 7100 --program "$stage/program/Vesk.exe"
else
  echo "play: the client cannot play a table yet; this run built and staged:"
  ls "$stage/program"
fi
