#!/usr/bin/env bash
# The Wine harness keeps tests that run side by side apart: each has a prefix (registry), display
# and wineserver of its own, and releasing one ends its own Windows programs and nothing else.
# Two sessions run at once here; each keeps a program open and a value of its own in HKCU.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/vesk-isolation.XXXXXX")
pids=()
cleanup() {
  local p
  touch "$work/release-a" "$work/release-b"
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "isolation: $*" >&2
  exit 1
}

# TAG: isolates, writes TAG into HKCU, opens notepad, reports, and releases once told to.
session() {
  local tag=$1 i
  vesk_isolate "isolation-$tag" || exit 1
  "$WINE" reg add 'HKCU\Software\VeskIsolation' /v Tag /d "$tag" /f >/dev/null 2>&1 </dev/null
  "$WINE" notepad >/dev/null 2>&1 </dev/null &
  local program=$!
  echo "$VESK_ISOLATED $DISPLAY $VESK_XVFB_PID $program" >"$work/$tag.where"
  for i in $(seq 1 1200); do [ -e "$work/release-$tag" ] && break; sleep 0.1; done
  "$WINE" reg query 'HKCU\Software\VeskIsolation' /v Tag 2>/dev/null </dev/null | tr -d '\r' |
    awk '$1 == "Tag" {print $3}' >"$work/$tag.value"
  vesk_release
  touch "$work/$tag.released"
}

# Waits (bounded) until FILE exists.
await() {
  local i
  for i in $(seq 1 1200); do [ -e "$1" ] && return 0; sleep 0.1; done
  return 1
}
alive() { kill -0 "$1" 2>/dev/null; }

session a &
pids+=($!)
session b &
pids+=($!)
await "$work/a.where" && await "$work/b.where" || fail "a session did not start"
read -r dir_a display_a xvfb_a program_a <"$work/a.where"
read -r dir_b display_b xvfb_b program_b <"$work/b.where"
[ "$dir_a" != "$dir_b" ] || fail "both sessions have the prefix $dir_a"
[ "$display_a" != "$display_b" ] || fail "both sessions have the display $display_a"
alive "$program_a" && alive "$program_b" || fail "a session's program did not stay open"

touch "$work/release-a"
await "$work/a.released" || fail "session a was not released"
[ "$(cat "$work/a.value")" = a ] || fail "session a read '$(cat "$work/a.value")' from its registry"
for i in $(seq 1 100); do alive "$program_a" || break; sleep 0.1; done
! alive "$program_a" || fail "releasing session a left its program running"
! alive "$xvfb_a" || fail "releasing session a left its display running"
[ ! -e "$dir_a" ] || fail "releasing session a left its prefix"
alive "$program_b" || fail "releasing session a ended session b's program"
alive "$xvfb_b" || fail "releasing session a ended session b's display"

touch "$work/release-b"
await "$work/b.released" || fail "session b was not released"
[ "$(cat "$work/b.value")" = b ] || fail "session b read '$(cat "$work/b.value")' from its registry"
for i in $(seq 1 100); do alive "$program_b" || break; sleep 0.1; done
! alive "$program_b" || fail "releasing session b left its program running"
echo "isolation: two sessions side by side, each released alone"
