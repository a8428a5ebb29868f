#!/usr/bin/env bash
# End to end: start-up and exit of the program with its players. With the music setting on,
# the background music is started through the sound player once the table shows; with it
# off, nothing plays. The owner-drawn theme is loaded at start-up (step 6) and released at
# exit. What the program did is read from its game log.
# Usage: host_music_theme.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

settings='HKCU\Software\Orvane\Game\Vesk\Settings'
setting() {
  "$WINE" reg add "$settings" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1 </dev/null || e2e_fail "cannot set $1"
}
# The smallest MIDI file: one track that ends at once.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\4\0\377\57\0' >"$E2E_OUT/tune.mid"
tune=$(e2e_winpath "$E2E_OUT/tune.mid")
gamelog=$(e2e_game_log)
# No hand runs: the server lets the player leave (MSG_SET_STATE557 sets the ended word).
echo "on out:0x8000021C send 557 0 01000000" >"$E2E_OUT/script.txt"
port=$(e2e_server --game --players 3 --turn 60 --script "$E2E_OUT/script.txt")
log=$E2E_OUT/server.log

# Runs the client until it has sent its start notice (after the music's moment); prints the
# main window.
run_client() {
  e2e_client alice Alice 2 "$port"
  local hwnd
  hwnd=$(e2e_window "Trebbin" 60) || e2e_fail "no table window"
  e2e_wait_log "$log" "in #[0-9]+ id=0x00000208" 30 || e2e_fail "the client sent no start notice"
  echo "$hwnd"
}

# Closes the main window, answering a question about leaving, until the program exits; the
# client leaves with MSG_QUIT (the server then closes) or closes the connection itself.
close_client() {
  local hwnd=$1 i box
  e2e_probe close "$hwnd" >/dev/null || true
  for i in $(seq 1 30); do
    e2e_wait_log "$gamelog" "theme unloaded" 1 && return 0
    # Yes is the skinned box's first button.
    box=$(e2e_dialog "" 1) && e2e_press "$box" 29714 || true
  done
  e2e_fail "the program did not exit"
}

# Music on.
setting Music REG_DWORD 1
setting MusicFile REG_SZ "$tune"
hwnd=$(run_client)
e2e_wait_log "$gamelog" "theme loaded: .*vesk_skn.ini \(held\)" 5 || e2e_fail "the theme was not loaded at start-up"
e2e_wait_log "$gamelog" "music playing: .*tune.mid" 10 || e2e_fail "the music did not start"
e2e_shot "$hwnd" music_on
close_client "$hwnd"
e2e_wait_log "$gamelog" "theme unloaded \(released\)" 5 || e2e_fail "the theme was not released at exit"
e2e_wait_log "$log" "closed #1|in #1 id=0x00000202" 20 || e2e_fail "the first client did not close its connection"

# Music off: nothing plays in a second run.
setting Music REG_DWORD 0
before=$(wc -l <"$gamelog")
hwnd=$(run_client)
tail -n +"$((before + 1))" "$gamelog" | grep -qE "music (playing|not playable)" && e2e_fail "music played with the setting off"
close_client "$hwnd"
echo "e2e: music with the setting on only; the theme held from start-up to exit"
