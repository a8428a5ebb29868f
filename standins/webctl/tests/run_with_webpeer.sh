#!/usr/bin/env bash
# Starts the native web peer on 127.0.0.1, runs the Windows test program under Wine with its
# port and log, and stops the peer.
#   run_with_webpeer.sh WEBPEER WINERUN TEST_EXE SHOTS_DIR [gtest args...]
set -u
webpeer=$1 winerun=$2 exe=$3 shots=$4
shift 4
source "$(dirname "${BASH_SOURCE[0]}")/../../../tests/support/peers.sh"
peers_init webctl-peer
peers_start web "$webpeer" --port 0 --seconds 300 --log "$PEERS_WORK/web.log" || exit 1
mkdir -p "$shots"
"$winerun" "$exe" --web="$PEER_PORT" --weblog="$PEERS_WORK/web.log" --shots="$shots" "$@"
