#!/usr/bin/env bash
# Starts native table servers on 127.0.0.1 that answer the ticket request from a script, runs
# the Windows test program with their ports in the environment, and stops what it started.
#   run_with_tableserver.sh NATIVE_TOOLS_DIR WINERUN TEST_EXE [gtest args...]
set -u
tools=$1 winerun=$2 exe=$3
shift 3
source "$(dirname "${BASH_SOURCE[0]}")/../../../tests/support/peers.sh"
peers_init services-peer

# start NAME SCRIPT_TEXT: runs a table server with that script and exports VESK_PEER_<NAME>.
start() {
  printf '%s\n' "$2" >"$PEERS_WORK/$1.txt"
  peers_start "$1" "$tools/tableserver/tableserver" --seconds 200 --script "$PEERS_WORK/$1.txt" || return 1
  export "VESK_PEER_$1=$PEER_PORT"
}

# MSG_USER_QUERY is 1627: ticket 12345 and its text; a refusal; an answer cut short by a close.
start TICKET 'reply 1627 1 3930000074696b2d61626300' || true
start REFUSED 'reply 1627 2 3930000074696b00' || true
start CLOSED 'reply 1627 1 01 close' || true
start ECHO 'reply 1627 1 echo' || true
"$winerun" "$exe" "$@"
