#include "SkinLayout.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "WebUrl.h"

namespace skin {

namespace {
Box B(int l, int t, int r, int b) { return Box{l, t, r, b}; }

bool StartsNoCase(const std::string& s, size_t at, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (at > s.size() || s.size() - at < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower((unsigned char)s[at + i]) != std::tolower((unsigned char)prefix[i])) return false;
  return true;
}

size_t FindNoCase(const std::string& s, size_t from, const char* pattern) {
  for (size_t i = from; i < s.size(); ++i)
    if (StartsNoCase(s, i, pattern)) return i;
  return std::string::npos;
}
}  // namespace

DialogZones MakeDialogZones(int w, int h, int b, int t) {
  DialogZones z;
  z.topLeft[0] = B(0, 0, b, 20);
  z.topLeft[1] = B(0, 0, 20, b);
  z.bottomLeft[0] = B(0, h - 20, b, h);
  z.bottomLeft[1] = B(0, h - b, 20, h);
  z.topRight[0] = B(w - b, 0, w, 20);
  z.topRight[1] = B(w - 20, 0, w, b);
  z.bottomRight[0] = B(w - b, h - 20, w, h);
  z.bottomRight[1] = B(w - 20, h - b, w, h);
  z.left = B(0, 0, b, h);
  z.right = B(w - b, 0, w, h);
  z.top = B(0, 0, w, 4);  // four rows whatever the border width
  z.bottom = B(0, h - b, w, h);
  z.caption = B(0, 0, w, t);
  z.sysMenu = B(b, b, b + 16, b + 16);
  return z;
}

int DialogSizingHit(const DialogZones& z, int x, int y, bool resizable, bool maximized) {
  if (!resizable || maximized) return kHitNone;
  auto in2 = [x, y](const Box* p) { return p[0].Contains(x, y) || p[1].Contains(x, y); };
  if (in2(z.topLeft)) return kHitTopLeft;
  if (in2(z.bottomLeft)) return kHitBottomLeft;
  if (in2(z.topRight)) return kHitTopRight;
  if (in2(z.bottomRight)) return kHitBottomRight;
  if (z.left.Contains(x, y)) return kHitLeft;
  if (z.right.Contains(x, y)) return kHitRight;
  if (z.top.Contains(x, y)) return kHitTop;
  if (z.bottom.Contains(x, y)) return kHitBottom;
  if (z.sysMenu.Contains(x, y)) return kHitSysMenu;
  return kHitNone;
}

void DialogCornerMoves(int w, int h, int cw, int ch, CornerMove out[4]) {
  // Runs keep their last pixel, so the right-hand corners land exactly on the edge.
  out[0] = CornerMove{B(0, 0, cw, ch), 0, 0};
  out[1] = CornerMove{B(2 * cw, 0, 3 * cw, ch), w - 3 * cw, 0};
  out[2] = CornerMove{B(0, 2 * ch, cw, 3 * ch), 0, h - 3 * ch};
  out[3] = CornerMove{B(2 * cw, 2 * ch, 3 * cw, 3 * ch), w - 3 * cw, h - 3 * ch};
}

FrameZones MakeFrameZones(int w, int h, int l, int r, int bw, int bh) {
  FrameZones z;
  // V pieces stand upright along the side edges, H pieces lie along the top and bottom.
  z.topLeftV = B(0, 0, l, 10);
  z.topLeftH = B(0, 0, 10, l);
  z.bottomLeftV = B(0, h - 10, l, h);
  z.bottomLeftH = B(0, h - l, 10, h);
  z.topRightV = B(w - r, 0, w, 10);
  z.topRightH = B(w - 10, 0, w, r);
  z.bottomRightV = B(w - bw, h - 10, w, h);
  z.bottomRightH = B(w - 10, h - bw, w, h);
  z.left = B(0, 0, l, h);
  z.right = B(w - r, 0, w, h);
  z.top = B(0, 0, w, 2);
  z.bottom = B(0, h - bh, w, h);
  return z;
}

int FrameSizingHit(const FrameZones& z, int mode, int x, int y) {
  auto in = [x, y](const Box& b) { return b.Contains(x, y); };
  if (mode == 1) {
    if (in(z.topLeftH) || in(z.top) || in(z.topRightH)) return kHitTop;
    if (in(z.bottomLeftH) || in(z.bottom) || in(z.bottomRightH)) return kHitBottom;
    if (in(z.topLeftV) || in(z.bottomLeftV) || in(z.topRightV) || in(z.bottomRightV) || in(z.left) || in(z.right))
      return kHitCaption;
    return kHitNone;
  }
  if (mode == 2) {
    if (in(z.topLeftV) || in(z.left) || in(z.bottomLeftV)) return kHitLeft;
    if (in(z.topRightV) || in(z.right) || in(z.bottomRightV)) return kHitRight;
    if (in(z.topLeftH) || in(z.bottomLeftH) || in(z.topRightH) || in(z.bottomRightH) || in(z.top) || in(z.bottom))
      return kHitCaption;
    return kHitNone;
  }
  if (in(z.topLeftH) || in(z.topLeftV)) return kHitTopLeft;
  if (in(z.bottomLeftH) || in(z.bottomLeftV)) return kHitBottomLeft;
  if (in(z.topRightH) || in(z.topRightV)) return kHitTopRight;
  if (in(z.bottomRightH) || in(z.bottomRightV)) return kHitBottomRight;
  if (in(z.left)) return kHitLeft;
  if (in(z.right)) return kHitRight;
  if (in(z.top)) return kHitTop;
  if (in(z.bottom)) return kHitBottom;
  return kHitNone;
}

TitlePlace PlaceFrameTitle(int w, int leftPieceW, int rightPieceW, int rowWidth, int textWidth) {
  TitlePlace p;
  int t = std::min(leftPieceW, w / 3);
  int v = std::max(rightPieceW, std::min(rowWidth, w / 3));
  int free = w - v - t - 12;
  if (free < textWidth + 18) {
    p.cut = true;
    p.cutWidth = std::max(0, w - v - t - 30);
  } else {
    t += (free - (textWidth + 18)) / 2;
  }
  p.iconX = t;
  p.textX = t + 18;
  return p;
}

SysMenuShape ParseSysMenuStyle(const char* value) {
  SysMenuShape s;
  if (!value) return s;
  int n[5];
  int got = 0;
  const char* p = value;
  while (got < 5 && *p) {
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    if (end == p) break;
    n[got++] = (int)std::max(-100000L, std::min(100000L, v));
    p = end;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == ',')
      ++p;
    else
      break;
  }
  if (got < 5 || (n[0] != 0 && n[0] != 1)) return s;
  s.ellipse = n[0] == 1;
  s.box = B(n[1], n[2], n[3], n[4]);
  return s;
}

std::string ImageNameOf(const std::string& value, bool* hadComma) {
  size_t comma = value.find(',');
  if (hadComma) *hadComma = comma != std::string::npos;
  if (comma == std::string::npos) return value;
  size_t start = value.find_first_not_of(" \t", comma + 1);
  return start == std::string::npos ? std::string() : value.substr(start);
}

// ---- caption-button row ------------------------------------------------------------------

bool CaptionRow::Add(unsigned command, int width, int height, int hitCode) {
  if ((int)buttons.size() >= kMaxButtons) return false;
  CaptionButtonModel b;
  b.command = command;
  b.rect = B(0, 0, width, height);
  b.visible = true;
  b.hitCode = hitCode;
  buttons.push_back(b);
  return true;
}

void CaptionRow::LayOut(int x, int y) {
  for (auto& b : buttons) {
    int w = b.rect.Width(), h = b.rect.Height();
    b.rect = B(x, y, x + w, y + h);
    x += w + spacing;
  }
}

int CaptionRow::TotalWidth() const {
  // From the sizes, not the places: the row is measured before it is first laid out.
  int total = 0;
  for (const auto& b : buttons) total += b.rect.Width();
  if (!buttons.empty()) total += spacing * (int)(buttons.size() - 1);
  return total;
}

Box CaptionRow::Bounds() const {
  if (buttons.empty()) return Box{};
  return B(buttons.front().rect.left, buttons.front().rect.top, buttons.back().rect.right, buttons.back().rect.bottom);
}

int CaptionRow::IndexAt(int x, int y) const {
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i].visible && buttons[i].rect.Contains(x, y)) return (int)i;
  return -1;
}

int CaptionRow::HitTest(int x, int y) const {
  int i = IndexAt(x, y);
  return i < 0 ? kHitNone : buttons[i].hitCode;
}

bool CaptionRow::MouseMove(int x, int y, std::vector<int>* changed) {
  bool any = false;
  for (size_t i = 0; i < buttons.size(); ++i) {
    CaptionButtonModel& b = buttons[i];
    int want = 0;
    if (b.visible && b.rect.Contains(x, y)) {
      want = pressed ? 2 : 1;
      any = true;
    }
    if (b.state != want) {
      b.state = want;
      if (changed) changed->push_back((int)i);
    }
  }
  return any;
}

bool CaptionRow::MouseDown(int x, int y, std::vector<int>* changed) {
  pressed = true;
  int i = IndexAt(x, y);
  if (i < 0) {
    pressed = false;
    return false;
  }
  buttons[i].state = 2;
  if (changed) changed->push_back(i);
  return true;
}

bool CaptionRow::MouseUp(int x, int y, std::vector<int>* changed, unsigned* command) {
  pressed = false;
  int i = IndexAt(x, y);
  if (i < 0) return false;
  buttons[i].state = 0;
  if (changed) changed->push_back(i);
  if (command) *command = buttons[i].command;
  return true;
}

// ---- message boxes ------------------------------------------------------------------------

MsgBoxButtons ButtonsForStyle(uint32_t style) {
  MsgBoxButtons b;
  auto set = [&b](int i, int result, unsigned caption, const char* key) {
    b.result[i] = result;
    b.caption[i] = caption;
    b.key[i] = key;
  };
  switch (style & 0x0F) {
    case 1:
      b.count = 2;
      set(0, 1, 29700, "IDOK");
      set(1, 2, 29706, "IDCANCEL");
      break;
    case 2:
      b.count = 3;
      set(0, 3, 29701, "IDABORT");
      set(1, 4, 29702, "IDRETRY");
      set(2, 5, 29703, "IDIGNORE");
      break;
    case 3:
      b.count = 3;
      set(0, 6, 29704, "IDYES");
      set(1, 7, 29705, "IDNO");
      set(2, 2, 29706, "IDCANCEL");
      break;
    case 4:
      b.count = 2;
      set(0, 6, 29704, "IDYES");
      set(1, 7, 29705, "IDNO");
      break;
    case 5:
      b.count = 2;
      set(0, 4, 29702, "IDRETRY");
      set(1, 2, 29706, "IDCANCEL");
      break;
    default:  // MB_OK, and the sets that have no table
      b.count = 1;
      set(0, 1, 29700, "IDOK");
      break;
  }
  return b;
}

MsgBoxIcon IconForStyle(uint32_t style) {
  switch (style & 0xF0) {
    case 0x10:
      return MsgBoxIcon{32513, "ICONHAND"};
    case 0x20:
      return MsgBoxIcon{32514, "ICONQUESTION"};
    case 0x30:
      return MsgBoxIcon{32515, "ICONEXCLAMATION"};
    case 0x40:
      return MsgBoxIcon{32516, "ICONASTERISK"};
    default:
      return MsgBoxIcon{32515, "IDI_EXCLAMATION"};
  }
}

int DefaultButtonIndex(uint32_t style, int count, bool* makeDefault) {
  uint32_t d = style & 0xF00;
  bool def = true;
  int index = 0;
  if (d == 0x100) {
    if (count >= 2) index = 1;
  } else if (d == 0x200) {
    if (count >= 3) index = 2;
  } else if (d != 0) {
    def = false;
  }
  if (makeDefault) *makeDefault = def;
  return index;
}

std::vector<std::string> SplitMessageLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (const TextPiece& p : ParseLinkText(text)) {
    if (p.kind == TextPiece::kNewLine)
      lines.emplace_back();
    else
      lines.back() += p.text;
  }
  return lines;
}

MsgBoxPlace LayOutMessageBox(const MsgBoxMetrics& m) {
  MsgBoxPlace p;
  const int n = std::max(1, std::min(3, m.buttons));
  const int il = m.skinned ? m.innerLeft : 0;
  const int it = m.skinned ? m.innerTop : 0;
  const int iconW = m.iconW, iconH = m.iconH;
  const bool icon = iconW > 0 && iconH > 0;
  const int H = m.textH;

  p.icon = B(il + 8, it + 8, il + 8 + iconW, it + 8 + iconH);
  int x0 = icon ? il + iconW + 16 : il + 8;
  int textTop = it + 8;
  int T = m.skinned ? H + 18 : H + 26;
  if (icon) {
    if (H + 2 < iconH) {
      textTop = it + (iconH - (H + 2)) / 2 + 8;
      T = iconH + 16;
    } else {
      int iconTop = it + (H + 2 - iconH) / 2 + 8;
      p.icon = B(il + 8, iconTop, il + 8 + iconW, iconTop + iconH);
    }
  }
  p.text = B(x0, textTop, x0 + m.textW, textTop + H + 2);
  const int row = (m.buttonW + 10) * n + 54;
  int W = std::max(p.text.right + 8 + il, row);  // il again: the right border
  int entryRow = 0;
  if (m.input) {
    entryRow = m.buttonH + 8;
    // The entry takes the width the box offers, not only the text's.
    int right = std::max(p.text.right, W - il - 8);
    p.entry = B(x0, p.text.bottom + 4, right, p.text.bottom + 4 + m.buttonH);
  }
  p.rowTop = it + T + entryRow;
  int x = (W - row) / 2 + 32;
  for (int i = 0; i < 3; ++i) {
    p.button[i] = B(x, p.rowTop, x + m.buttonW, p.rowTop + m.buttonH);
    x += m.buttonW + 10;
  }
  p.clientW = W;
  p.clientH = it + T + entryRow + m.buttonH + 8 + (m.skinned ? il : 0);
  return p;
}

WaitBoxSize WaitBoxContent(int textW, bool cancel, bool secondLayout, int buttonH, int extraH) {
  WaitBoxSize s;
  s.contentW = std::max(200, textW + 56);
  if (cancel)
    s.contentH = buttonH + 56 + extraH;
  else if (secondLayout)
    s.contentH = 48 + extraH;
  else
    s.contentH = 48;
  return s;
}

// ---- link markup --------------------------------------------------------------------------

std::vector<TextPiece> ParseLinkText(const std::string& s) {
  std::vector<TextPiece> out;
  const size_t n = s.size();
  size_t i = 0;
  auto addText = [&out](const std::string& t) {
    TextPiece p;
    p.text = t;
    out.push_back(p);
  };
  while (i < n) {
    unsigned char c = (unsigned char)s[i];
    if (c == '\r' || c == '\n') {
      TextPiece p;
      p.kind = TextPiece::kNewLine;
      out.push_back(p);
      if (i + 1 < n && (s[i + 1] == '\r' || s[i + 1] == '\n') && s[i + 1] != (char)c)
        i += 2;
      else
        i += 1;
      continue;
    }
    if (c == '\\' && i + 1 < n && s[i + 1] == 'n') {
      TextPiece p;
      p.kind = TextPiece::kNewLine;
      out.push_back(p);
      i += 2;
      continue;
    }
    if (c >= 0x80) {
      size_t len = (i + 1 < n && s[i + 1] != 0) ? 2 : 1;
      addText(s.substr(i, len));
      i += len;
      continue;
    }
    if (StartsNoCase(s, i, "</a>")) {
      i += 4;
      continue;
    }
    if (StartsNoCase(s, i, "<a href=\"") && (StartsNoCase(s, i + 9, "www.") || weburl::SchemeLength(s, i + 9))) {
      size_t a = i + 9;
      size_t e = a;
      while (e < n && s[e] != ' ' && s[e] != '"' && s[e] != ')' && s[e] != ',') ++e;
      TextPiece p;
      p.kind = TextPiece::kLink;
      p.address = s.substr(a, e - a);
      size_t vis = std::min(n, e + 2);
      size_t close = FindNoCase(s, vis, "</a>");
      size_t stop = close == std::string::npos ? n : close;
      p.text = s.substr(vis, stop - vis);
      if (p.text.empty()) p.text = p.address;
      out.push_back(p);
      i = stop;
      continue;
    }
    if (StartsNoCase(s, i, "www.") || weburl::SchemeLength(s, i)) {
      size_t e = i;
      while (e < n) {
        unsigned char d = (unsigned char)s[e];
        if (d <= ' ' || d >= 0x80 || d == ')' || d == ',' || d == '"' || d == '<') break;
        ++e;
      }
      TextPiece p;
      p.kind = TextPiece::kLink;
      p.text = s.substr(i, e - i);
      p.address = p.text;
      out.push_back(p);
      i = e;
      continue;
    }
    addText(std::string(1, (char)c));
    ++i;
  }
  return out;
}

std::string SafeLinkAddress(const std::string& address) {
  for (char c : address)
    if ((unsigned char)c <= ' ' || c == '"') return std::string();
  if (weburl::SchemeLength(address)) return weburl::IsWebUrl(address) ? address : std::string();
  if (StartsNoCase(address, 0, "www.") && address.size() > 4) return "http://" + address;
  return std::string();
}

void CopyTextBounded(char* dst, size_t size, const char* src) {
  if (!dst || size == 0) return;
  size_t n = 0;
  if (src) {
    while (src[n] && n + 1 < size) {
      unsigned char c = (unsigned char)src[n];
      if (c >= 0x80) {
        if (!src[n + 1] || n + 2 >= size) break;  // the pair does not fit whole
        dst[n] = src[n];
        dst[n + 1] = src[n + 1];
        n += 2;
        continue;
      }
      dst[n] = src[n];
      ++n;
    }
  }
  dst[n] = 0;
}

int CountdownSecondsLeft(int seconds, uint32_t elapsedMs) {
  if (seconds <= 0) return 0;
  const int64_t leftMs = int64_t(seconds) * 1000 - int64_t(elapsedMs);
  if (leftMs < 250) return 0;
  return std::max<int>(1, int((leftMs + 500) / 1000));
}

Box MaximisedBox(const Box& workArea, int screenH) {
  Box b = workArea;
  if (b.Height() > screenH - 1) b.bottom = b.top + screenH - 1;
  return b;
}

char MenuAccessKey(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x81) {
      ++i;  // the second byte of a two-byte character is never an ampersand to us
      continue;
    }
    if (c != '&' || i + 1 >= text.size()) continue;
    const unsigned char k = static_cast<unsigned char>(text[i + 1]);
    if (k == '&') {
      ++i;
      continue;
    }
    if (k >= 0x81) return 0;
    return static_cast<char>(k >= 'A' && k <= 'Z' ? k - 'A' + 'a' : k);
  }
  return 0;
}

}  // namespace skin
