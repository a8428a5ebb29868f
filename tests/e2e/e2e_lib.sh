# Shared pieces of the end-to-end tests: the staged platform, the native peers, the client
# under the lobby stand-in, waits on conditions with bounded time-outs, and screenshots.
# Usage in a test script:
#   source "$(dirname "$0")/e2e_lib.sh"; e2e_init NATIVE_TREE WIN_TREE OUT_DIR
#   port=$(e2e_server --bots --seed 3 --turn 3)          # table server, log in $E2E_OUT/server.log
#   e2e_client alice Alice 2 "$port"                      # Vesk.exe under lobby.exe
#   hwnd=$(e2e_window "Trebbin" 60)                        # the client's table window
#   e2e_wait_log "$E2E_OUT/server.log" "id=0x00000215" 120 || e2e_fail "the hand did not end"
#   e2e_shot "$hwnd" table                                  # $E2E_OUT/table.png
# Each test runs isolated: a copy of the prepared Wine prefix, a display and a wineserver of its
# own (scripts/wine-env.sh), so tests run side by side. Every started process is ended on exit.
# A failed test leaves what shows why under build/test-results/TEST/: a picture of its display,
# its screenshots, the server's, peers' and lobby's logs and the client's game log.
# A missing program is a failure, never a skip.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/peers.sh"

e2e_fail() {
  echo "e2e: $*" >&2
  if [ -n "${E2E_OUT:-}" ]; then
    local f
    for f in "$E2E_OUT"/*.log "$E2E_OUT"/*.out; do
      [ -f "$f" ] || continue
      echo "---- tail of $f" >&2
      tail -25 "$f" >&2 || true
    done
  fi
  exit 1
}

e2e_init() {
  E2E_NATIVE=$(cd "$1" && pwd)
  E2E_WIN=$(cd "$2" && pwd)
  E2E_OUT=$3
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  export VESK_ROOT=$(cd "$here/../.." && pwd)
  export VESK_BUILD=$(cd "$E2E_WIN/.." && pwd)
  source "$VESK_ROOT/scripts/wine-env.sh"
  E2E_NAME=${VESK_TEST_NAME:-tests.e2e.$(basename "$E2E_OUT")}
  E2E_PIDS=()
  E2E_LOBBY_PIDS=()
  trap e2e_cleanup EXIT
  e2e_watchdog
  vesk_isolate "$E2E_NAME" || e2e_fail "no Wine prefix, display or wineserver of its own"
  [ -f "$E2E_WIN/bin/Vesk.exe" ] || e2e_fail "Vesk.exe is not built"
  E2E_SERVER=$E2E_NATIVE/tools/tableserver/tableserver
  [ -x "$E2E_SERVER" ] || e2e_fail "the table server is not built"
  E2E_PROBE=$E2E_WIN/tools/winprobe/winprobe.exe
  [ -f "$E2E_PROBE" ] || e2e_fail "the prober is not built"
  rm -rf "$E2E_OUT"
  mkdir -p "$E2E_OUT"
  E2E_STAGE=$(bash "$VESK_ROOT/scripts/stage.sh" "$E2E_OUT/stage") || e2e_fail "staging failed"
}

# Under ctest the test fails by itself 45 s before ctest would kill it without a word, so a
# test that hangs still leaves what shows why. The watchdog ends with this script.
e2e_watchdog() {
  local limit=$(( ${VESK_TEST_TIMEOUT:-0} - 45 )) me=$$
  [ "$limit" -gt 0 ] || return 0
  trap "e2e_fail 'did not end within $limit s'" TERM
  (timeout "$limit" tail --pid="$me" -f /dev/null || kill -TERM "$me") </dev/null >/dev/null 2>&1 &
}

e2e_cleanup() {
  local rc=$?
  set +e
  if [ $rc -eq 0 ]; then
    [ -z "${E2E_NAME:-}" ] || rm -rf "$VESK_BUILD/test-results/$E2E_NAME"
  else
    e2e_save_results
  fi
  e2e_end_processes
  vesk_release
  return 0
}

# Keeps what shows why a test failed under build/test-results/TEST/ (the display as it was,
# screenshots, logs, the client's game log); the test's next run replaces or removes it.
e2e_save_results() {
  [ -n "${E2E_OUT:-}" ] && [ -n "${E2E_NAME:-}" ] || return 0
  local dest=$VESK_BUILD/test-results/$E2E_NAME f
  rm -rf "$dest"
  mkdir -p "$dest"
  vesk_screen_shot "$dest/screen.png"
  for f in "$E2E_OUT"/*.png "$E2E_OUT"/*.log "$E2E_OUT"/*.out "$E2E_OUT"/*.txt; do
    [ -f "$f" ] && cp -f "$f" "$dest/"
  done
  if [ -n "${E2E_STAGE:-}" ]; then
    for f in "$E2E_STAGE"/program/*.txt "$E2E_STAGE"/program/*.log; do
      [ -f "$f" ] && cp -f "$f" "$dest/"
    done
  fi
  # The game log is GBK: a UTF-8 copy reads in any viewer.
  [ -f "$dest/CQKVesklog.txt" ] && iconv -f GBK -t UTF-8 "$dest/CQKVesklog.txt" >"$dest/CQKVesklog.utf8.txt" 2>/dev/null
  echo "e2e: what the failed test showed is in $dest" >&2
}

# Ends the native peers and lobby launchers started so far, and every Windows process of the
# test's own prefix (its wineserver knows them; other tests' prefixes are never touched).
e2e_end_processes() {
  local p f
  for f in "$E2E_OUT"/*.pid; do
    [ -f "$f" ] && E2E_PIDS+=($(cat "$f"))
  done
  for p in "${E2E_LOBBY_PIDS[@]}" "${E2E_PIDS[@]}"; do
    kill "$p" 2>/dev/null
  done
  # Only the processes ended here: a caller may own others (a display) that outlive this.
  for p in "${E2E_LOBBY_PIDS[@]}" "${E2E_PIDS[@]}"; do
    wait "$p" 2>/dev/null
  done
  rm -f "$E2E_OUT"/*.pid
  if [ -n "${VESK_ISOLATED:-}" ]; then
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
  fi
  return 0
}

# A Windows path for a Linux one.
e2e_winpath() {
  "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'
}

# Waits until FILE holds PATTERN (grep -E), up to SECONDS; 0 when found.
e2e_wait_log() {
  local file=$1 pattern=$2 seconds=${3:-30} i
  for i in $(seq 1 $((seconds * 10))); do
    grep -qE -- "$pattern" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Starts a native peer whose first output line is "listening 127.0.0.1:PORT"; prints PORT.
# NAME names its output file $E2E_OUT/NAME.out.
e2e_peer() {
  local name=$1; shift
  "$@" > "$E2E_OUT/$name.out" 2>&1 </dev/null &
  E2E_PIDS+=($!)
  # Callers take the port with $(...), a subshell: the process id reaches the clean-up through a file.
  echo $! > "$E2E_OUT/$name.pid"
  e2e_wait_log "$E2E_OUT/$name.out" '^listening 127\.0\.0\.1:[0-9]+' 20 || e2e_fail "$name did not start"
  peers_port_in "$E2E_OUT/$name.out"
}

# The table server with the given options; its log is $E2E_OUT/server.log. Prints its port.
e2e_server() {
  e2e_peer server "$E2E_SERVER" --port 0 --seconds "${E2E_SERVER_SECONDS:-600}" --log "$E2E_OUT/server.log" "$@"
}

# Starts Vesk.exe under the lobby stand-in: USER NICK SEAT PORT [more lobby options].
# The lobby's log is $E2E_OUT/lobby-USER.log.
e2e_client() {
  local user=$1 nick=$2 seat=$3 port=$4; shift 4
  local program
  program=$(e2e_winpath "$E2E_STAGE/program/Vesk.exe")
  "$WINE" "$E2E_STAGE/program/lobby.exe" --program "$program" --server 127.0.0.1 --port "$port" \
    --seat "$seat" --user "$user" --nick "$nick" --room "Table 1" \
    --log "$(e2e_winpath "$E2E_OUT/lobby-$user.log")" "$@" \
    > "$E2E_OUT/lobby-$user.out" 2>&1 </dev/null &
  E2E_LOBBY_PIDS+=($!)
}

# Runs the prober with the given arguments; its output without carriage returns.
e2e_probe() {
  "$WINE" "$E2E_PROBE" "$@" 2>/dev/null </dev/null | tr -d '\r'
}

# Waits for a top-level window whose title holds TITLE; prints its handle.
e2e_window() {
  local title=$1 seconds=${2:-60} hwnd= i
  for i in $(seq 1 $(((seconds + 1) / 2))); do
    hwnd=$(e2e_probe wait "$title" 2000) || true
    [ -n "$hwnd" ] && { echo "$hwnd"; return 0; }
  done
  echo "e2e: no window titled '$title'; visible windows:" >&2
  e2e_probe list | grep -v ' 0 ' >&2 || true
  return 1
}

# Saves window HWND as $E2E_OUT/NAME.png.
e2e_shot() {
  local i
  for i in 1 2 3; do
    e2e_probe shot "$1" "$(e2e_winpath "$E2E_OUT/$2.png")" >/dev/null && return 0
    # A window just shown on a busy machine may not have painted yet: it gets a few seconds
    # to settle before the next try.
    e2e_probe still "$1" 3000 >/dev/null 2>&1 || true
  done
  e2e_fail "no screenshot $2"
}

# Ends every process started so far and forgets them, so that a test can run several rounds.
e2e_reset() {
  set +e
  e2e_end_processes
  set -e
  E2E_PIDS=()
  E2E_LOBBY_PIDS=()
  [ -z "${VESK_ISOLATED:-}" ] || vesk_wineserver_start
}

# The resident set size in KB of this test's running Windows program NAME (e.g. Vesk.exe), 0 if none.
e2e_rss_kb() {
  local name=$1 pid arg0
  for pid in $(pgrep -f "$name" 2>/dev/null); do
    # Only this test's program: other tests run the same one in prefixes of their own.
    tr '\0' '\n' < /proc/$pid/environ 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    arg0=$(tr '\0' '\n' < /proc/$pid/cmdline 2>/dev/null | head -1)
    case "$arg0" in
      *"$name") awk '/^VmRSS:/ {print $2; exit}' /proc/$pid/status 2>/dev/null; return 0 ;;
    esac
  done
  echo 0
}

# Waits for a visible message box or dialog of the client (window class #32770) whose texts
# hold TEXT (any when empty), up to SECONDS; prints its handle.
e2e_dialog() {
  local text=${1:-} seconds=${2:-20} i h
  for i in $(seq 1 $((seconds * 4))); do
    for h in $(e2e_probe list | awk '$3 == 1 && $4 == "#32770" {print $1}'); do
      if [ -z "$text" ] || e2e_probe children "$h" | grep -qF -- "$text"; then
        echo "$h"
        return 0
      fi
    done
    sleep 0.25
  done
  return 1
}

# The staged program's game log (GBK text).
e2e_game_log() {
  echo "$E2E_STAGE/program/CQKVesklog.txt"
}

# Seconds since the epoch with a fraction, for measuring waits.
e2e_now() {
  date +%s.%N
}

# Presses button ID of dialog DLG with the mouse and waits (bounded) until the dialog is
# gone. Under Wine the pointer's press does not always reach a skinned button (it acts
# only with the pointer over it), so the button's own command follows when the dialog
# stays. 0 when the dialog went away.
e2e_press() {
  local dlg=$1 id=$2 j
  e2e_probe press "$dlg" "$id" >/dev/null || e2e_probe post "$dlg" 0x111 "$id" >/dev/null || return 1
  for j in $(seq 1 30); do [ "$(e2e_probe visible "$dlg")" = 1 ] || return 0; sleep 0.1; done
  e2e_probe post "$dlg" 0x111 "$id" >/dev/null
  for j in $(seq 1 50); do [ "$(e2e_probe visible "$dlg")" = 1 ] || return 0; sleep 0.1; done
  return 1
}

# e2e_press_start HWND SERVER_LOG: clicks 开始 until the server sees a new MSG_READY (the
# button shows once the table is up).
e2e_press_start() {
  local hwnd=$1 log=$2 i n
  n=$(grep -cE "in #[0-9]+ id=0x8000020A" "$log" || true)
  for i in $(seq 1 60); do
    e2e_probe click "$hwnd" 1006 >/dev/null 2>&1 || true
    [ "$(grep -cE "in #[0-9]+ id=0x8000020A" "$log" || true)" -gt "$n" ] && return 0
    sleep 0.5
  done
  e2e_fail "开始 sent no MSG_READY"
}
