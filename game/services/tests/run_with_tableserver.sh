#!/usr/bin/env bash
# Starts native table servers on 127.0.0.1 that answer the ticket request from a script, runs
# the Windows test program with their ports in the environment, and stops what it started.
#   run_with_tableserver.sh NATIVE_TOOLS_DIR WINERUN TEST_EXE [gtest args...]
set -u
tools=$1 winerun=$2 exe=$3
shift 3
work=$(mktemp -d "${TMPDIR:-/tmp}/services-peer.XXXXXX")
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# start NAME SCRIPT_TEXT: runs a table server with that script and exports VESK_PEER_<NAME>.
start() {
  local name=$1
  printf '%s\n' "$2" >"$work/$name.txt"
  [ -x "$tools/tableserver/tableserver" ] || return 1
  "$tools/tableserver/tableserver" --seconds 200 --script "$work/$name.txt" >"$work/$name.out" 2>"$work/$name.err" &
  pids+=($!)
  local port=""
  for _ in $(seq 1 100); do
    port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\).*/\1/p; s/^\([0-9][0-9]*\)$/\1/p' "$work/$name.out" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.05
  done
  [ -n "$port" ] || return 1
  export "VESK_PEER_$name=$port"
}

# MSG_USER_QUERY is 1627: ticket 12345 and its text; a refusal; an answer cut short by a close.
start TICKET 'reply 1627 1 3930000074696b2d61626300' || true
start REFUSED 'reply 1627 2 3930000074696b00' || true
start CLOSED 'reply 1627 1 01 close' || true
start ECHO 'reply 1627 1 echo' || true
"$winerun" "$exe" "$@"
