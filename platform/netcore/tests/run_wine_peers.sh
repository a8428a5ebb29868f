#!/usr/bin/env bash
# Starts the native peers on ephemeral loopback ports, runs a Windows test program under Wine
# with their ports in the environment, and stops the peers it started.
# Arguments: <native tools folder> <winerun> <program.exe>
set -u
tools=$1 winerun=$2 exe=$3
ts=$tools/tableserver/tableserver socks=$tools/proxypeers/socksproxy http=$tools/proxypeers/httpproxy
if [ ! -x "$ts" ] || [ ! -x "$socks" ] || [ ! -x "$http" ]; then
  echo "run_wine_peers: native peers not built under $tools" >&2
  exit 1
fi
source "$(dirname "${BASH_SOURCE[0]}")/../../../tests/support/peers.sh"
peers_init netcore-peers
echo "echo" > "$PEERS_WORK/script"

# start NAME PROGRAM ARGS...: exports NAME as the port the peer reports.
start() {
  local name=$1; shift
  peers_start "$name" "$@" --seconds 120 || exit 1
  export "$name=$PEER_PORT"
}
start VESK_TS_PORT "$ts" --script "$PEERS_WORK/script"
start VESK_SOCKS_PLAIN "$socks"
start VESK_SOCKS_AUTH "$socks" --user alice --password s3cret
start VESK_SOCKS_V6 "$socks" --reply-type 4
start VESK_SOCKS_BAD "$socks" --fault bad-reply
start VESK_SOCKS_EARLY "$socks" --fault close-early
start VESK_SOCKS_WRONG "$socks" --fault wrong-method
start VESK_HTTP_PLAIN "$http"
start VESK_HTTP_AUTH "$http" --user alice --password s3cret
start VESK_HTTP_BAD "$http" --fault bad-reply
# A port nobody listens on: taken by a peer that is then stopped.
start VESK_CLOSED_PORT "$socks"
peers_stop_last
"$winerun" "$exe"
