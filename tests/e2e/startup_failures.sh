#!/usr/bin/env bash
# Start-ups that cannot go on, each from the lobby stand-in (or started by hand) as a player
# meets it: a damaged theme file (cut, random, empty), the resource library missing, a seat
# out of range, thirteen garbage arguments, a garbage mapping name and three garbage
# arguments. Each must end by itself with a non-zero exit code, a game-log line saying why
# and a box telling the player why. Where the server saw the login it must also have heard
# the client quit; where the client ended before the login the server saw nothing.
# Usage: startup_failures.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
program=$E2E_STAGE/program
theme=$program/Theme/Vesk.thm
[ -f "$theme" ] || e2e_fail "no staged theme file"
cp "$theme" "$E2E_OUT/Vesk.thm.good"
gamelog=$(e2e_game_log)

damage() {
  case $1 in
    theme-cut) head -c $(($(stat -c %s "$theme") / 3)) "$E2E_OUT/Vesk.thm.good" > "$theme" ;;
    theme-random) python3 -c "import random,sys; r=random.Random(36); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(6000)))" > "$theme" ;;
    theme-empty) : > "$theme" ;;
    no-resources) mv "$program/Vesk_Res.dll" "$E2E_OUT/Vesk_Res.dll.away" ;;
  esac
}

undamage() {
  cp "$E2E_OUT/Vesk.thm.good" "$theme"
  [ ! -f "$E2E_OUT/Vesk_Res.dll.away" ] || mv "$E2E_OUT/Vesk_Res.dll.away" "$program/Vesk_Res.dll"
}

# The exit code the lobby recorded for its client.
lobby_exit() {
  sed -n 's/.*EXIT code=\([0-9]*\).*/\1/p' "$1" | tail -1
}

faults=()
# case | how it starts | whether the server sees the login | what the box says (UTF-8)
while IFS='|' read -r name how login says; do
  [ -n "$name" ] || continue
  echo "e2e: start-up case $name"
  damage "$name"
  rm -f "$gamelog"
  port=$(e2e_server --game --seed 1 --turn 30)
  log=$E2E_OUT/server.log
  case $how in
    lobby) e2e_client "$name" "$name" 2 "$port"; pid=${E2E_LOBBY_PIDS[-1]} ;;
    seat9) e2e_client "$name" "$name" 9 "$port"; pid=${E2E_LOBBY_PIDS[-1]} ;;
    garbage13) e2e_client "$name" "$name" 2 "$port" --args --seat "x7" --port "port" --chat-port "-1"
               pid=${E2E_LOBBY_PIDS[-1]} ;;
    garbage1) "$WINE" "$program/Vesk.exe" "no-such-record" > "$E2E_OUT/direct-$name.out" 2>&1 </dev/null &
              pid=$!; E2E_PIDS+=($pid) ;;
    garbage3) "$WINE" "$program/Vesk.exe" "%s%n" "-1" "$(printf 'x%.0s' $(seq 1 300))" \
                > "$E2E_OUT/direct-$name.out" 2>&1 </dev/null &
              pid=$!; E2E_PIDS+=($pid) ;;
  esac
  if [ "$login" = yes ]; then
    e2e_wait_log "$log" "login $name seat" 60 || faults+=("$name: the server saw no login")
  fi
  # The box that says why: read, saved and answered as a player would.
  if box=$(e2e_dialog "" 60); then
    e2e_probe children "$box" | iconv -f GBK -t UTF-8 > "$E2E_OUT/box-$name.txt" 2>/dev/null || true
    e2e_probe shot "$box" "$(e2e_winpath "$E2E_OUT/box-$name.png")" >/dev/null 2>&1 || true
    grep -qF -- "$says" "$E2E_OUT/box-$name.txt" || faults+=("$name: the box does not say '$says'")
    e2e_probe click "$box" 29714 >/dev/null 2>&1 || e2e_probe click "$box" 1 >/dev/null 2>&1 || true
  else
    faults+=("$name: no box told the player why the table did not open")
  fi
  # The client ends by itself: a bounded wait for its launcher.
  code=
  for i in $(seq 1 120); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$pid" 2>/dev/null; then
    faults+=("$name: the client did not end")
  else
    wait "$pid" && code=0 || code=$?
  fi
  case $how in garbage1 | garbage3) ;; *) code=$(lobby_exit "$E2E_OUT/lobby-$name.log") ;; esac
  echo "$name exit=$code" >> "$E2E_OUT/codes.txt"
  [ -n "$code" ] && [ "$code" != 0 ] || faults+=("$name: exit code '${code}', not a failure")
  iconv -f GBK -t UTF-8 "$gamelog" > "$E2E_OUT/gamelog-$name.txt" 2>/dev/null || cp "$gamelog" "$E2E_OUT/gamelog-$name.txt" || true
  grep -q "start-up failed: " "$E2E_OUT/gamelog-$name.txt" || faults+=("$name: no game-log line says why")
  if [ "$login" = yes ]; then
    grep -qE "^in #[0-9]+ id=0x00000202" "$log" || faults+=("$name: the server was not told the client quit")
  else
    ! grep -qE "login [^ ]+ seat" "$log" || faults+=("$name: the server saw a login")
  fi
  cp "$log" "$E2E_OUT/server-$name.log"
  e2e_reset
  undamage
done <<'CASES'
theme-cut|lobby|yes|游戏窗口无法打开
theme-random|lobby|yes|游戏窗口无法打开
theme-empty|lobby|yes|游戏窗口无法打开
no-resources|lobby|no|Vesk_Res.dll not found !
seat9|seat9|no|请从游戏大厅进入游戏！
garbage13|garbage13|no|请从游戏大厅进入游戏！
garbage1|garbage1|no|请从游戏大厅进入游戏！
garbage3|garbage3|no|请从游戏大厅进入游戏！
CASES
if [ ${#faults[@]} -gt 0 ]; then
  printf '  FAULT: %s\n' "${faults[@]}" >&2
  e2e_fail "start-up failures not handled"
fi
echo "e2e: start-up failures passed; $(tr '\n' ' ' < "$E2E_OUT/codes.txt")"
