#!/usr/bin/env bash
# Lays out the platform for one run: a program folder with the deliverables and
# stand-ins, a share folder, and HKCU\Software\Orvane\Game\Share\Path pointing at it.
# Usage: stage.sh DEST   (needs the Wine harness environment for the registry step)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VESK_BUILD:-$root/build}
dest=${1:?usage: stage.sh DEST}
win=$build/win
mkdir -p "$dest/program" "$dest/share/odctrls"

# A run without one of the deliverables would test a smaller program than the one shipped.
missing=()
for f in Vesk.exe Vesk_Res_936.dll QKCards.dll Brellin.dll Help/Help.htm; do
  [ -f "$win/bin/$f" ] || missing+=("$f")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "stage: not built in $win/bin: ${missing[*]}" >&2
  exit 1
fi

# Deliverables, stand-ins and the lobby tool.
for f in "$win"/bin/*.exe "$win"/bin/*.dll "$win"/bin/*.emt; do
  [ -f "$f" ] && cp -f "$f" "$dest/program/"
done
# The help page (and its pictures) the help window opens from the program's folder.
rm -rf "$dest/program/Help"
cp -r "$win/bin/Help" "$dest/program/Help"
# The resource library is looked up by the program under its generic name.
cp -f "$dest/program/Vesk_Res_936.dll" "$dest/program/Vesk_Res.dll"
# Outside the platform's own folder layout the skinned windows read their theme beside the
# program (the flat copy of the window skin).
if [ -d "$win/framework/theme/flat/Theme" ]; then
  cp -rf "$win/framework/theme/flat/Theme" "$dest/program/"
fi
# Share-folder files produced by components (theme files, LangRsc.ini, ...).
if [ -d "$win/share" ]; then
  cp -rf "$win/share/." "$dest/share/"
fi

# The platform's controls live in the share folder, where the client reads their versions.
if [ -f "$dest/program/QKChatEx.dll" ]; then
  cp -f "$dest/program/QKChatEx.dll" "$dest/share/QKChatEx.dll"
  cp -f "$dest/program/QKChatEx.dll" "$dest/share/QKAdCtrl.ocx"
fi

if [ -n "${WINEPREFIX:-}" ] && [ -x "${WINE:-}" ]; then
  sharewin=$("$WINE" winepath -w "$dest/share" 2>/dev/null | tr -d '\r')
  "$WINE" reg add 'HKCU\Software\Orvane\Game\Share' /v Path /t REG_SZ /d "$sharewin" /f >/dev/null 2>&1 </dev/null
  if [ -f "$dest/share/QKChatEx.dll" ] && declare -F vesk_register_controls >/dev/null; then
    vesk_register_controls "$dest/share/QKChatEx.dll"
  fi
  # The web-browser control stand-in takes the system control's class identifier.
  if [ -f "$dest/program/VWebCtl.dll" ] && declare -F vesk_register_controls >/dev/null; then
    vesk_register_controls "$dest/program/VWebCtl.dll"
  fi
fi
echo "$dest"
