#!/usr/bin/env bash
# Starts the native peers on 127.0.0.1 (table server, SOCKS and HTTP proxies, relay), runs the
# Windows test program under Wine with their ports, and stops every peer it started.
#   run_with_peers.sh NATIVE_TOOLS_DIR WINERUN TEST_EXE STAGED_BIN_DIR [gtest args...]
set -u
tools=$1 winerun=$2 exe=$3 bin=$4
shift 4
# Compressed frames are inflated through QKZip, found beside the program.
[ -f "$bin/QKZip.dll" ] && cp -f "$bin/QKZip.dll" "$(dirname "$exe")/"
# The boxes' texts come from the resource library.
[ -f "$bin/Vesk_Res_936.dll" ] && cp -f "$bin/Vesk_Res_936.dll" "$(dirname "$exe")/"
source "$(dirname "${BASH_SOURCE[0]}")/../../../tests/support/peers.sh"
peers_init gamesocket-peers
work=$PEERS_WORK

# start NAME PROGRAM ARGS...: runs it, waits for its port, sets PORT_NAME.
start() {
  peers_start "$@" || return 1
  eval "PORT_$1=$PEER_PORT"
}

cat >"$work/table.txt" <<'SCRIPT'
echo
compress 512
silent 701
reply 710 1 echo wirecode
wirecode 305419896 2596069104 xor:1234,add:77,rol:3 sub:99,ror:5,xor:42
reply 730 1 text:bye close
SCRIPT

LOGIN_OK=0300070000000000706c6179657231000000000000000000000000005031000000000000000000000000000000000000000000000100b603626f620000000000000000000000000000000000426f62000000000000000000000000000000000001000000020000006361726c000000000000000000000000000000004361726c0000000000000000000000000000000000000000060000003120322c330004000000aabbccdd
printf 'reply 512 1 %s\nreply 538 1 706c617965723100\n' "$LOGIN_OK" >"$work/login.txt"
printf 'reply 512 4 -\n' >"$work/login4.txt"
printf 'reply 512 2 -\n' >"$work/login2.txt"
# System messages sent to every client on connect, in this order.
cat >"$work/sysmsg.txt" <<'SCRIPT'
greet 0x8000021C 5 -
greet 557 0 07000000
greet 553 0 626f6200
greet 580 0 706c61796572310000000000000000000000000000000000000000000000000000000000000000002a000000
greet 561 0 -
greet 560 0 09000000000000000000000000000000
greet 560 0 11000000010000000a000000010000006e616d653f00
greet 564 0 000000004000000003000000686900
greet 564 0 000000004f000000030000006f646400
greet 549 0 ffffffff000000000000000001000000000000000000000000000000687474703a2f2f6578616d706c652e746573742f00
greet 549 0 ffffffff00000000000000000100000000000000000000000000000066696c653a2f2f2f633a2f7800
greet 0xFFFFFFFF 4 706c617965723100
SCRIPT

# The game table answers the speed probe 272 with its own id; its log shows the bodies of the
# probes and of the P80 header.
printf 'watch 272\nwatch 1635\n' >"$work/speed.txt"

# The server puts the own name into trusteeship (mode 2, once of at most 3), then changes the
# option flags: the second frame must arrive while the first one's box is open.
cat >"$work/trust.txt" <<'SCRIPT'
greet 0x8000021B 1 02000103706c617965723100000000000000000000000000
greet 0x8000021C 7 -
SCRIPT

# Frames that break the protocol: a compressed body shorter than its length word, and a
# MSG_WIRE_CODE whose blocks do not fit its body.
printf 'greet 0x40000300 0 0102\n' >"$work/badzip.txt"
printf 'greet 352 0 0102030405\n' >"$work/badwire.txt"
# A quit notice followed at once by the server's close.
printf 'greet 0x80000202 0 626f6200\nreply 740 1 - close\n' >"$work/quit.txt"

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
  start login "$tools/tableserver/tableserver" --seconds 240 --script "$work/login.txt" || ok=0
  start login4 "$tools/tableserver/tableserver" --seconds 240 --script "$work/login4.txt" || ok=0
  start login2 "$tools/tableserver/tableserver" --seconds 240 --script "$work/login2.txt" || ok=0
  start badzip "$tools/tableserver/tableserver" --seconds 240 --script "$work/badzip.txt" || ok=0
  start badwire "$tools/tableserver/tableserver" --seconds 240 --script "$work/badwire.txt" || ok=0
  start quit "$tools/tableserver/tableserver" --seconds 240 --script "$work/quit.txt" || ok=0
  start trust "$tools/tableserver/tableserver" --seconds 240 --script "$work/trust.txt" || ok=0
  start sysmsg "$tools/tableserver/tableserver" --seconds 240 --script "$work/sysmsg.txt" --log "$work/sysmsg.log" || ok=0
  start relay302 "$tools/relay/relay" --redirects 4 || ok=0
  start speed "$tools/tableserver/tableserver" --seconds 240 --game --script "$work/speed.txt" --log "$work/speed.log" || ok=0
fi
args=()
if [ $ok = 1 ]; then
  args=(--table="$PORT_table" --socks="$PORT_socks" --socksauth="$PORT_socksauth" --socksdomain="$PORT_socksdomain"
        --socksbad="$PORT_socksbad" --socksearly="$PORT_socksearly" --http="$PORT_http" --httpauth="$PORT_httpauth"
        --relay="$PORT_relay" --relay302="$PORT_relay302" --login="$PORT_login" --login4="$PORT_login4"
        --login2="$PORT_login2" --sysmsg="$PORT_sysmsg" --sysmsglog="$work/sysmsg.log"
        --badzip="$PORT_badzip" --badwire="$PORT_badwire" --quit="$PORT_quit" --trust="$PORT_trust"
        --speed="$PORT_speed" --speedlog="$work/speed.log")
fi
"$winerun" "$exe" "${args[@]}" "$@"
