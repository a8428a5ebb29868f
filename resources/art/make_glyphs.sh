#!/usr/bin/env bash
# Developer tool, not run by the build: renders the characters that the generated
# pictures carry into art/glyphs.txt (32 x 32 coverage grids, one hex digit a pixel),
# so the build itself needs no font renderer. Run again after adding characters.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
chars="上轮亮牌设置理积分逆顺托管解意见反馈地主农民不出叫开始提示取消0123456789:VeskxX"
out=$here/glyphs.txt
echo "# 32x32 glyph coverage grids rendered from WenQuanYi Micro Hei; see make_glyphs.sh" > "$out"
python3 - "$chars" "$font" >> "$out" <<'PY'
import subprocess, sys
chars, font = sys.argv[1], sys.argv[2]
for ch in chars:
    data = subprocess.run(["convert", "-size", "32x32", "xc:black", "-font", font, "-pointsize", "28",
                           "-fill", "white", "-gravity", "center", "-annotate", "0", ch, "-depth", "8", "gray:-"],
                          check=True, capture_output=True).stdout
    print("glyph %04X %s" % (ord(ch), ch))
    for y in range(32):
        print("".join("0123456789abcdef"[b >> 4] for b in data[y * 32:y * 32 + 32]))
PY
