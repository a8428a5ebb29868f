#!/usr/bin/env bash
# Starts the native web peer on 127.0.0.1, runs the Windows test program under Wine with its
# port and log, and stops the peer.
#   run_with_webpeer.sh WEBPEER WINERUN TEST_EXE SHOTS_DIR [gtest args...]
set -u
webpeer=$1 winerun=$2 exe=$3 shots=$4
shift 4
[ -x "$webpeer" ] || { echo "webctl test: $webpeer missing (build the native tree first)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/webctl-peer.XXXXXX")
"$webpeer" --port 0 --seconds 300 --log "$work/web.log" >"$work/web.out" 2>"$work/web.err" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$work"' EXIT
port=""
for _ in $(seq 1 200); do
  port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/web.out" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.05
done
[ -n "$port" ] || { echo "webctl test: the web peer did not start" >&2; cat "$work/web.err" >&2; exit 1; }
mkdir -p "$shots"
"$winerun" "$exe" --web="$port" --weblog="$work/web.log" --shots="$shots" "$@"
