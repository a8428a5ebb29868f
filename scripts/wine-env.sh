# Wine harness, sourced by the scripts that run Windows programs.
# Own prefix under the build tree, code page 936, CJK fonts, Xvfb on a free display.
# Each test runs isolated (vesk_isolate): a copy of the prepared prefix, a display and a
# wineserver of its own, so tests run side by side without sharing focus, pointer or registry.
: "${VESK_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
: "${VESK_BUILD:=$VESK_ROOT/build}"
export VESK_ROOT VESK_BUILD
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/bin/wineserver
# The prepared prefix that every test copies; it is only read once prepared.
export VESK_PREFIX=$VESK_BUILD/wineprefix
# Inside an isolated test (and the scripts it starts) the test's own copy stays in force.
if [ -n "${VESK_ISOLATED:-}" ]; then
  export WINEPREFIX=$VESK_ISOLATED/prefix
else
  export WINEPREFIX=$VESK_PREFIX
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
export LOCPATH=$VESK_BUILD/locale
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
{ export LANG=zh_CN.UTF-8; } 2>/dev/null
unset WINEARCH

vesk_xvfb_start() {
  [ -n "${VESK_XVFB_PID:-}" ] && return 0
  # Xvfb picks a free display itself and reports its number once it serves it: servers started
  # side by side never race for one number (a lock held by a live server is skipped).
  local num
  num=$(mktemp "${TMPDIR:-/tmp}/vesk-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp -noreset 3>"$num" >/dev/null 2>&1 &
  VESK_XVFB_PID=$!
  local i n=
  for i in $(seq 1 300); do
    n=$(tr -dc '0-9' <"$num")
    [ -n "$n" ] && break
    kill -0 "$VESK_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$num"
  if [ -z "$n" ]; then
    kill "$VESK_XVFB_PID" 2>/dev/null || true
    unset VESK_XVFB_PID
    echo "harness: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=:$n VESK_XVFB_PID
}

vesk_xvfb_stop() {
  if [ -n "${VESK_XVFB_PID:-}" ]; then
    kill "$VESK_XVFB_PID" 2>/dev/null || true
    wait "$VESK_XVFB_PID" 2>/dev/null || true
    unset VESK_XVFB_PID
  fi
}

# Creates the prefix once (serially: a fresh prefix races) and sets the font substitutes.
# Tests started side by side wait on the lock for the one that creates it.
vesk_prefix_init() {
  mkdir -p "$VESK_BUILD"
  (
    flock 9
    WINEPREFIX=$VESK_PREFIX vesk_prefix_create
  ) 9>"$VESK_BUILD/.wineprefix.lock"
}

vesk_prefix_create() {
  if [ ! -f "$WINEPREFIX/.vesk-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
    "$WINESERVER" -w
    local reg=$VESK_BUILD/fonts.reg
    # regedit reads UTF-16 files with a BOM; the Chinese face names need it.
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for face in '宋体' '楷体_GB2312' '新宋体' '黑体' 'SimSun' 'NSimSun' 'SimHei' 'KaiTi_GB2312' 'Tahoma' 'MS Shell Dlg' 'MS Sans Serif'; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
      done
      printf '\r\n'
    } | iconv -f UTF-8 -t UTF-16 > "$reg"
    "$WINE" regedit /S "$reg" >/dev/null 2>&1 </dev/null
    "$WINESERVER" -w
    touch "$WINEPREFIX/.vesk-ready"
  fi
  vesk_prefix_symbol_font
}

# Wine draws the small marks of menus and captions (the system menu's restore, minimise,
# maximise and close) with its Marlett font, which the prefix does not get by itself:
# without it they show as the letters "2 0 1 r". Also for prefixes prepared before.
vesk_prefix_symbol_font() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts f
  [ -f "$fonts/marlett.ttf" ] && return 0
  for f in /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/wine/marlett.ttf; do
    if [ -f "$f" ]; then
      mkdir -p "$fonts" && cp "$f" "$fonts/"
      return 0
    fi
  done
  echo "harness: Wine's Marlett font is missing (package fonts-wine)" >&2
}

# Persistent server and one warm-up run, so each later program starts fast and
# no service process keeps a test's pipes open.
vesk_wineserver_start() {
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

vesk_wineserver_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
}

# Copies the prepared prefix to DEST. System libraries are hard links (Wine never rewrites
# them); every other file (registry, ini files) is a copy, since Wine may rewrite it in place.
vesk_prefix_clone() {
  local dest=$1
  cp -a --link "$VESK_PREFIX" "$dest"
  # Replaced, not written through: a hard-linked file truncated in place would change the original.
  (cd "$VESK_PREFIX" &&
    find . -type f ! -regex '.*\.\(dll\|exe\|nls\|sys\|drv\|ocx\|cpl\|acm\|tlb\|ds\|msstyles\|icm\|com\|ax\)' -print0 |
    xargs -0 -r cp -a --parents --remove-destination -t "$dest")
}

# Isolates the caller, one test named NAME: its own copy of the prepared prefix, Xvfb display
# and persistent wineserver. Programs it starts inherit them. vesk_release ends them again;
# vesk_sweep ends what a killed test left. Isolating twice (a test's helper scripts) is a no-op.
vesk_isolate() {
  [ -n "${VESK_ISOLATED:-}" ] && return 0
  local name=${1:-test}
  vesk_prefix_init
  mkdir -p "$VESK_BUILD/wine-tests"
  VESK_ISOLATED=$(mktemp -d "$VESK_BUILD/wine-tests/$name.XXXXXX")
  VESK_ISOLATED_HERE=$BASHPID
  export VESK_ISOLATED WINEPREFIX=$VESK_ISOLATED/prefix
  vesk_prefix_clone "$WINEPREFIX"
  unset VESK_XVFB_PID DISPLAY
  vesk_xvfb_start || return 1
  echo "$VESK_XVFB_PID" >"$VESK_ISOLATED/xvfb.pid"
  vesk_wineserver_start
}

# Ends the isolated test's processes (its own wineserver ends every Windows process of its
# prefix), its display, and removes its prefix. Only the shell that isolated releases.
vesk_release() {
  [ -n "${VESK_ISOLATED:-}" ] && [ "${VESK_ISOLATED_HERE:-}" = "$BASHPID" ] || return 0
  vesk_wineserver_stop
  vesk_xvfb_stop
  rm -rf "$VESK_ISOLATED"
  unset VESK_ISOLATED VESK_ISOLATED_HERE
}

# Ends what isolated tests of this build tree left behind when they were killed (a time-out):
# each one's wineserver through its own prefix, and its display by the recorded process id.
vesk_sweep() {
  local d pid
  for d in "$VESK_BUILD"/wine-tests/*/; do
    [ -d "$d" ] || continue
    [ -d "$d/prefix" ] && WINEPREFIX=${d%/}/prefix "$WINESERVER" -k 2>/dev/null
    pid=$(cat "$d/xvfb.pid" 2>/dev/null || true)
    if [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] && [ "$(tr '\0' ' ' <"/proc/$pid/cmdline" | cut -d' ' -f1)" = Xvfb ]; then
      kill "$pid" 2>/dev/null
    fi
    rm -rf "$d"
  done
  return 0
}

# Saves a picture of the whole display as FILE.png (what a failed test showed).
vesk_screen_shot() {
  [ -n "${DISPLAY:-}" ] || return 0
  xwd -root -silent -display "$DISPLAY" 2>/dev/null | /usr/bin/convert xwd:- "png:$1" 2>/dev/null || rm -f "$1"
}

# Registers the chat, avatar and advertisement controls (one in-process library) in the
# prefix, so that the client creates them by class identifier.
vesk_register_controls() {
  local dll=${1:?usage: vesk_register_controls QKChatEx.dll}
  "$WINE" regsvr32 /s "$("$WINE" winepath -w "$dll" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1 </dev/null || {
    echo "harness: cannot register the controls in $dll" >&2
    return 1
  }
}
export -f vesk_register_controls
