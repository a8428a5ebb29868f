# Native peers for the Wine tests: each prints "listening 127.0.0.1:PORT" (or the bare port) as
# its first line. Sourced by the end-to-end library and by the runners that start peers around a
# Windows test program:
#   source "$VESK_ROOT/tests/support/peers.sh"; peers_init TAG
#   peers_start NAME PROGRAM ARGS... && port=$PEER_PORT   # output in $PEERS_WORK/NAME.out, .err
# Every peer started is ended, and the work folder removed, on exit (after a failure its files
# are kept under build/test-results/TEST/).

# The port a peer reported in its output FILE; empty while it has reported none.
peers_port_in() {
  sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\).*/\1/p; s/^\([0-9][0-9]*\)$/\1/p' "$1" | head -n 1
}

peers_init() {
  PEERS_WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  PEERS_PIDS=()
  trap peers_cleanup EXIT
}

peers_cleanup() {
  local rc=$? p
  for p in "${PEERS_PIDS[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${PEERS_PIDS[@]}"; do wait "$p" 2>/dev/null; done
  # A failed test keeps its peers' logs under build/test-results/TEST/.
  if [ $rc -ne 0 ] && [ $rc -ne 77 ] && [ -n "${VESK_TEST_NAME:-}" ] && [ -n "${VESK_BUILD:-}" ]; then
    mkdir -p "$VESK_BUILD/test-results/$VESK_TEST_NAME"
    cp -rf "$PEERS_WORK"/. "$VESK_BUILD/test-results/$VESK_TEST_NAME/" 2>/dev/null
  fi
  rm -rf "$PEERS_WORK"
}

# Starts PROGRAM ARGS... and waits (10 s at most) for its port, left in PEER_PORT. 1 when the
# program is missing or reports no port; the reason goes to stderr.
peers_start() {
  local name=$1 prog=$2
  shift 2
  PEER_PORT=""
  if [ ! -x "$prog" ]; then
    echo "peers: $prog missing (build the native tree first)" >&2
    return 1
  fi
  "$prog" "$@" >"$PEERS_WORK/$name.out" 2>"$PEERS_WORK/$name.err" </dev/null &
  PEERS_PIDS+=($!)
  local _
  for _ in $(seq 1 200); do
    PEER_PORT=$(peers_port_in "$PEERS_WORK/$name.out")
    [ -n "$PEER_PORT" ] && return 0
    sleep 0.05
  done
  echo "peers: $name did not start" >&2
  cat "$PEERS_WORK/$name.err" >&2
  return 1
}

# Ends the peer started last (its port then names a port nobody listens on).
peers_stop_last() {
  kill "${PEERS_PIDS[-1]}" 2>/dev/null
  wait "${PEERS_PIDS[-1]}" 2>/dev/null
}
