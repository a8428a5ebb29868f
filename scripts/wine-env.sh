# Wine harness, sourced by the scripts that run Windows programs.
# Own prefix under the build tree, code page 936, CJK fonts, Xvfb on a free display.
: "${VESK_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
: "${VESK_BUILD:=$VESK_ROOT/build}"
export VESK_ROOT VESK_BUILD
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/bin/wineserver
export WINEPREFIX=$VESK_BUILD/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
export LOCPATH=$VESK_BUILD/locale
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
{ export LANG=zh_CN.UTF-8; } 2>/dev/null
unset WINEARCH

vesk_xvfb_start() {
  [ -n "${VESK_XVFB_PID:-}" ] && return 0
  local n
  for n in $(seq 91 140); do
    # A lock whose server is gone (a killed run) leaves the display free: Xvfb removes it itself.
    if [ -e /tmp/.X$n-lock ]; then
      local owner
      owner=$(tr -dc '0-9' 2>/dev/null < /tmp/.X$n-lock)
      [ -n "$owner" ] && kill -0 "$owner" 2>/dev/null && continue
    elif [ -e /tmp/.X11-unix/X$n ]; then
      continue
    fi
    Xvfb :$n -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
    VESK_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      # Ready once the lock names this server and its socket is there (a stale socket may be).
      [ "$(tr -dc '0-9' 2>/dev/null < /tmp/.X$n-lock)" = "$VESK_XVFB_PID" ] && [ -e /tmp/.X11-unix/X$n ] && break
      sleep 0.1
    done
    if kill -0 "$VESK_XVFB_PID" 2>/dev/null; then
      export DISPLAY=:$n VESK_XVFB_PID
      return 0
    fi
  done
  echo "harness: no free display for Xvfb" >&2
  return 1
}

vesk_xvfb_stop() {
  if [ -n "${VESK_XVFB_PID:-}" ]; then
    kill "$VESK_XVFB_PID" 2>/dev/null || true
    wait "$VESK_XVFB_PID" 2>/dev/null || true
    unset VESK_XVFB_PID
  fi
}

# Creates the prefix once (serially: a fresh prefix races) and sets the font substitutes.
vesk_prefix_init() {
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
}

# Wine leaves "managed" windows to the window manager and, each time it hides one, waits up to
# two seconds for the manager to confirm. A display without a manager (the virtual display of
# the headless play path) never confirms, so every closed box or dialog froze the table for two
# seconds. On such a display Wine is told to manage the windows itself; with a real display
# the manager's part is restored. Usage: vesk_window_manager none|present.
vesk_window_manager() {
  if [ "${1:-present}" = none ]; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  else
    "$WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null
  fi
  return 0
}

# Persistent server and one warm-up run, so each later program starts fast and
# no service process keeps a test's pipes open.
vesk_wineserver_start() {
  "$WINESERVER" -p
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

vesk_wineserver_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
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
