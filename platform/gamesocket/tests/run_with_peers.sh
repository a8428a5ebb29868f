#!/usr/bin/env bash
# Starts the native peers on 127.0.0.1 (table server, SOCKS and HTTP proxies, relay), runs the
# Windows test program under Wine with their ports, and stops every peer it started.
#   run_with_peers.sh NATIVE_TOOLS_DIR WINERUN TEST_EXE STAGED_BIN_DIR [gtest args...]
set -u
tools=$1 winerun=$2 exe=$3 bin=$4
shift 4
# Compressed frames are inflated through QKZip, found beside the program.
[ -f "$bin/QKZip.dll" ] && cp -f "$bin/QKZip.dll" "$(dirname "$exe")/"
work=$(mktemp -d "${TMPDIR:-/tmp}/gamesocket-peers.XXXXXX")
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# start NAME PROGRAM ARGS...: runs it, waits for its port on stdout, sets PORT_NAME.
start() {
  local name=$1 prog=$2
  shift 2
  if [ ! -x "$prog" ]; then
    echo "peers: $prog missing (build the native tree first)" >&2
    return 1
  fi
  "$prog" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  pids+=($!)
  local port=""
  for _ in $(seq 1 100); do
    port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\).*/\1/p; s/^\([0-9][0-9]*\)$/\1/p' "$work/$name.out" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.05
  done
  [ -n "$port" ] || { echo "peers: $name did not start" >&2; cat "$work/$name.err" >&2; return 1; }
  eval "PORT_$name=$port"
}

cat >"$work/table.txt" <<'SCRIPT'
echo
compress 512
silent 701
reply 710 1 echo wirecode
wirecode 305419896 2596069104 xor:1234,add:77,rol:3 sub:99,ror:5,xor:42
reply 730 1 text:bye close
SCRIPT

ok=1
start table "$tools/tableserver/tableserver" --seconds 240 --script "$work/table.txt" || ok=0
if [ $ok = 1 ]; then
  start socks "$tools/proxypeers/socksproxy" --seconds 240 || ok=0
  start socksauth "$tools/proxypeers/socksproxy" --seconds 240 --user player --password secret9 || ok=0
  start socksdomain "$tools/proxypeers/socksproxy" --seconds 240 --reply-type 3 || ok=0
  start socksbad "$tools/proxypeers/socksproxy" --seconds 240 --fault bad-reply || ok=0
  start socksearly "$tools/proxypeers/socksproxy" --seconds 240 --fault close-early || ok=0
  start http "$tools/proxypeers/httpproxy" --seconds 240 || ok=0
  start httpauth "$tools/proxypeers/httpproxy" --seconds 240 --user player --password secret9 || ok=0
  start relay "$tools/relay/relay" || ok=0
  start relay302 "$tools/relay/relay" --redirects 4 || ok=0
fi
args=()
if [ $ok = 1 ]; then
  args=(--table="$PORT_table" --socks="$PORT_socks" --socksauth="$PORT_socksauth" --socksdomain="$PORT_socksdomain"
        --socksbad="$PORT_socksbad" --socksearly="$PORT_socksearly" --http="$PORT_http" --httpauth="$PORT_httpauth"
        --relay="$PORT_relay" --relay302="$PORT_relay302")
fi
"$winerun" "$exe" "${args[@]}" "$@"
