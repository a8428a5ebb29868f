#!/usr/bin/env bash
# Runs the close-speed benchmark on the real program: the staged client at a table of the
# local server, the score board opened and hidden ROUNDS times, the times printed.
# Usage: run.sh NATIVE_TREE WIN_TREE OUT_DIR [ROUNDS] [none|present]. Needs DISPLAY (or the
# harness's); the last argument says whether a window manager runs on it (as play.sh sets it:
# "none" on the virtual display of the headless play path).
source "$(dirname "$0")/../../tests/e2e/e2e_lib.sh"
rounds=${4:-7}
e2e_init "$1" "$2" "$3"
vesk_window_manager "${5:-none}"
bench=$E2E_WIN/tools/closebench/closebench.exe
[ -f "$bench" ] || e2e_fail "closebench is not built"
port=$(e2e_server --bots --seed 3 --turn 60)
e2e_client alice Alice 2 "$port"
table=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
e2e_wait_log "$E2E_OUT/server.log" "login alice seat" 30 || e2e_fail "the server saw no login"
view=$(e2e_probe children "$table" | awk '$2 == 59648 && $4 == "#32770" {print $1; exit}')
[ -n "$view" ] || e2e_fail "no table view"
e2e_probe still "$table" 5000 >/dev/null || true
"$WINE" "$bench" "$table" "$view" "$rounds" 2>&1 | tr -d '\r' | tee "$E2E_OUT/closebench.txt"
