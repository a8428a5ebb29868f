#!/usr/bin/env bash
# End to end: another seat asks to leave. Two clients at a table without trusteeship whose
# quiet close is off (the series has begun for them); bob closes his window and asks the
# others. Alice's box asks about it, counts down and answers No; asked again, a click on Yes
# answers Yes, the table agrees, bob confirms and his program ends with MSG_QUIT.
# Usage: table_leave_asked.sh NATIVE_TREE WIN_TREE OUT_DIR.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"
EXIT_ASK=1004 EXIT_CANCEL=1152 BOX_FIRST_BUTTON=29714

cat > "$E2E_OUT/script.txt" <<'SCRIPT'
# Quiet close off once a client is in: closing opens the exit dialog.
on out:0x8000021C delay=300 send 0x217 0 00000000
watch 0x20F
SCRIPT
port=$(e2e_server --bots --seed 3 --turn 60 --series 3 --no-trusteeship --script "$E2E_OUT/script.txt")
log=$E2E_OUT/server.log
e2e_client alice alice 2 "$port"
e2e_wait_log "$log" "login alice seat 1" 60 || e2e_fail "alice did not log in"
e2e_client bob bob 3 "$port"
e2e_wait_log "$log" "login bob seat 2" 60 || e2e_fail "bob did not log in"
e2e_wait_log "$log" "script #2 id=0x00000217" 30 || e2e_fail "quiet close was not switched off"
bob=$(e2e_probe list | awk '$3 == 1 && /bob\[bob\]/ {print $1; exit}') || true
[ -n "$bob" ] || e2e_fail "no window of bob"

# The Windows process of USER's client, from its lobby's log.
client_pid() {
  sed -n 's/.*STARTED pid=\([0-9]*\).*/\1/p' "$E2E_OUT/lobby-$1.log" | head -1
}
# Waits (bounded) for a skinned box (a dialog with the Yes button) of USER's client; prints it.
box_of() {
  local pid i b
  pid=$(client_pid "$1")
  for i in $(seq 1 "$2"); do
    for b in $(e2e_probe list "$pid" | awk '$3 == 1 && $4 == "#32770" {print $1}'); do
      e2e_probe children "$b" | awk -v id=$BOX_FIRST_BUTTON '$2 == id && $3 == 1 {f=1} END {exit !f}' && { echo "$b"; return 0; }
    done
    sleep 0.5
  done
  return 1
}

# A box's picture, tried again on a busy display.
shot_box() {
  local i
  for i in 1 2 3; do
    e2e_probe shot "$1" "$(e2e_winpath "$E2E_OUT/$2.png")" >/dev/null && return 0
  done
  e2e_fail "no screenshot $2"
}

# Bob asks the others.
ask_to_leave() {
  e2e_probe close "$bob" >/dev/null
  local dlg
  dlg=$(e2e_probe dialogid $EXIT_CANCEL 15000 | head -1) || true
  [ -n "$dlg" ] || e2e_fail "no exit dialog for bob"
  [ "${1:-}" = shot ] && e2e_shot "$dlg" bob_exit_dialog
  e2e_press "$dlg" $EXIT_ASK || e2e_fail "the exit dialog did not take 'ask the others'"
}

# Alice's question names bob; it counts down to No.
ask_to_leave shot
e2e_wait_log "$log" "leave request 1 of bob" 20 || e2e_fail "the server saw no leave request"
asked_at=$(e2e_now)
box=$(box_of alice 20) || e2e_fail "alice was not asked"
shot_box "$box" alice_asked
e2e_wait_log "$log" "leave answer alice agree 0" 25 || e2e_fail "alice's box did not answer No"
waited=$(echo "$(e2e_now) - $asked_at" | bc)
[ "$(echo "$waited >= 8" | bc)" = 1 ] || e2e_fail "alice's box answered after $waited s, not after its countdown"
grep -qE "body #1 id=0x0000020F 01000000010000000+$" "$log" || e2e_fail "alice's answer is not {1, 1, 0}"
# Bob hears the refusal and lets his box count down.
refusal=$(box_of bob 20) || e2e_fail "bob was not told of the refusal"
shot_box "$refusal" bob_refused
for i in $(seq 1 150); do [ "$(e2e_probe visible "$refusal")" = 1 ] || break; sleep 0.1; done

# Asked again, alice clicks Yes: everyone agreed; bob confirms and leaves.
ask_to_leave
e2e_wait_log "$log" "leave request 2 of bob" 20 || e2e_fail "the server saw no second request"
box=$(box_of alice 20) || e2e_fail "alice was not asked again"
e2e_press "$box" $BOX_FIRST_BUTTON || e2e_fail "alice's box did not take Yes"
e2e_wait_log "$log" "leave answer alice agree 1" 10 || e2e_fail "alice's Yes did not reach the server"
grep -qE "body #1 id=0x0000020F 010000000200000001000000$" "$log" || e2e_fail "alice's answer is not {1, 2, 1}"
e2e_wait_log "$log" "leave request 2 agreed by all" 10 || e2e_fail "the table did not agree"
sure=$(box_of bob 20) || e2e_fail "bob was not asked to confirm"
shot_box "$sure" bob_confirm
e2e_press "$sure" $BOX_FIRST_BUTTON || e2e_fail "bob's confirmation did not take Yes"
e2e_wait_log "$log" "leave confirmed by bob" 10 || e2e_fail "no MSG_LEAVE_CONFIRM"
e2e_wait_log "$log" "in #2 id=0x00000202" 20 || e2e_fail "bob's program sent no MSG_QUIT"
e2e_wait_log "$E2E_OUT/lobby-bob.log" "EXIT code=" 30 || e2e_fail "bob's program did not end"
echo "e2e: a leave request asked, refused by the countdown and agreed by a click; screenshots in $E2E_OUT"
