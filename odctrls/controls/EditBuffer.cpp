#include "EditBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vesk {
namespace odctrls {

namespace {
const int kBack = 0x08, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28,
          kInsert = 0x2D, kDelete = 0x2E;
bool Lead(unsigned char c) { return c >= 0x80; }
}  // namespace

void EditBuffer::SetText(const std::string& text) {
  size_t b = text.find_first_not_of("\r\n");
  size_t e = text.find_last_not_of("\r\n");
  m_text = b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
  if (m_maxLength >= 0 && Length() > m_maxLength) {
    int cut = 0;
    while (cut < Length() && NextBoundary(cut) <= m_maxLength) cut = NextBoundary(cut);
    m_text.resize(cut);
  }
  ClearSel();
  m_selAnchor = -1;
  m_caret = Length();
  m_leadPending = false;
}

int EditBuffer::NextBoundary(int pos) const {
  int i = 0;
  while (i < Length()) {
    int next = i + ((Lead(m_text[i]) && i + 1 < Length()) ? 2 : 1);
    if (i >= pos) return next;
    if (next > pos) return next;
    i = next;
  }
  return Length();
}

int EditBuffer::PrevBoundary(int pos) const {
  int i = 0, prev = 0;
  while (i < pos && i < Length()) {
    prev = i;
    i += (Lead(m_text[i]) && i + 1 < Length()) ? 2 : 1;
  }
  return prev;
}

bool EditBuffer::IsBoundary(int pos) const {
  int i = 0;
  while (i < pos && i < Length()) i += (Lead(m_text[i]) && i + 1 < Length()) ? 2 : 1;
  return i == pos;
}

void EditBuffer::SetSel(int start, int end) {
  if (start < 0 || start > Length()) {
    ClearSel();
    return;
  }
  m_selStart = start;
  m_selAnchor = start;
  if (start < Length()) {
    int stop = end == -1 ? Length() : std::min(Length(), std::max(start, end + 1));
    m_selLength = stop - start;
  } else {
    m_selLength = 0;
  }
  if (m_selLength != 0) m_caret = start + std::abs(m_selLength);
}

void EditBuffer::SelRange(int* start, int* end) const {
  if (!HasSel()) {
    *start = *end = m_caret;
    return;
  }
  int a = m_selStart, b = m_selStart + std::abs(m_selLength);
  *start = std::max(0, std::min(a, Length()));
  *end = std::max(*start, std::min(b, Length()));
}

std::string EditBuffer::SelText() const {
  int s, e;
  SelRange(&s, &e);
  return m_text.substr(s, e - s);
}

void EditBuffer::DeleteSel() {
  if (!HasSel()) return;
  int s, e;
  SelRange(&s, &e);
  m_text.erase(s, e - s);
  m_caret = s;
  ClearSel();
  m_selAnchor = -1;
}

bool EditBuffer::Room(int bytes) const { return m_maxLength < 0 || Length() + bytes <= m_maxLength; }

void EditBuffer::Insert(const std::string& bytes) {
  m_caret = std::max(0, std::min(m_caret, Length()));
  m_text.insert(m_caret, bytes);
  m_caret += static_cast<int>(bytes.size());
}

bool EditBuffer::Paste(const std::string& text) {
  if (m_style & (kEditPassword | kEditReadOnly)) return false;
  DeleteSel();
  std::string take;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '\0') break;
    if (Lead(text[i]) && (i + 1 >= text.size() || text[i + 1] == '\0')) break;  // half a character
    size_t n = Lead(text[i]) ? 2 : 1;
    if (!Room(static_cast<int>(take.size() + n))) break;
    take.append(text, i, n);
    i += n;
  }
  Insert(take);
  return true;
}

bool EditBuffer::Char(unsigned char c) {
  if (m_leadPending) {
    m_leadPending = false;
    if (m_leadRefused) return false;
    // The room is counted again: the selection may have changed since the first byte.
    int s, e;
    SelRange(&s, &e);
    if (m_maxLength >= 0 && Length() - (e - s) + 2 > m_maxLength) return false;
    DeleteSel();
    Insert(std::string{static_cast<char>(m_lead), static_cast<char>(c)});
    return true;
  }
  if (c == '\r' || (m_style & kEditReadOnly)) return false;
  if ((m_style & kEditNumber) && !((c >= '0' && c <= '9') || c == '-')) return false;
  int s, e;
  SelRange(&s, &e);
  const int kept = Length() - (e - s);
  if (Lead(c)) {
    m_leadPending = true;
    m_lead = c;
    m_leadRefused = m_maxLength >= 0 && kept + 2 > m_maxLength;
    return false;
  }
  if (c < 0x20 || (m_maxLength >= 0 && kept >= m_maxLength)) return false;
  DeleteSel();
  Insert(std::string(1, static_cast<char>(c)));
  return true;
}

void EditBuffer::ExtendTo(int pos) {
  if (!HasSel() || m_selAnchor < 0) m_selAnchor = m_caret;
  m_selStart = std::min(m_selAnchor, pos);
  m_selLength = pos - m_selAnchor;
  if (m_selLength == 0) m_selStart = -1;
  m_caret = pos;
}

EditRequest EditBuffer::Key(int vk, bool shift, bool ctrl, bool* changed) {
  m_leadPending = false;  // a key between the two bytes of a character drops the first
  const std::string before = m_text;
  const bool ro = (m_style & kEditReadOnly) != 0;
  EditRequest req = kEditNone;
  auto move = [&](int pos) {
    if (shift) {
      ExtendTo(pos);
    } else {
      ClearSel();
      m_selAnchor = -1;
      m_caret = pos;
    }
  };
  switch (vk) {
    case kBack:
      if (ro) break;
      if (HasSel()) {
        DeleteSel();
      } else if (m_caret > 0) {
        int p = PrevBoundary(m_caret);
        m_text.erase(p, m_caret - p);
        m_caret = p;
      }
      break;
    case kEnd:
      move(Length());
      break;
    case kHome:
      move(0);
      break;
    case kLeft:
    case kUp:
      move(PrevBoundary(m_caret));
      break;
    case kRight:
    case kDown:
      move(NextBoundary(m_caret));
      break;
    case kInsert:
      if (shift)
        req = kEditPaste;
      else if (ctrl)
        req = kEditCopy;
      break;
    case kDelete:
      if (ro) break;
      if (shift) {
        req = kEditCut;
      } else if (HasSel()) {
        DeleteSel();
      } else if (m_caret < Length()) {
        m_text.erase(m_caret, NextBoundary(m_caret) - m_caret);
      }
      break;
    default:
      if (!ctrl) break;
      if (vk == 'A')
        SelectAll();
      else if (vk == 'C')
        req = kEditCopy;
      else if (vk == 'V' && !ro)
        req = kEditPaste;
      else if (vk == 'X' && !ro)
        req = kEditCut;
      break;
  }
  *changed = m_text != before;
  return req;
}

std::string EditBuffer::Display() const {
  if (!(m_style & kEditPassword)) return m_text;
  std::string out;
  for (int i = 0; i < Length(); i = NextBoundary(i)) out += m_pwdChar;
  return out;
}

int EditBuffer::HitTest(int x, const std::function<int(int bytes)>& prefixWidth) const {
  for (int i = 0; i < Length(); i = NextBoundary(i)) {
    if (prefixWidth(NextBoundary(i)) - m_scroll > x) return i;
  }
  return Length();
}

void EditBuffer::ScrollToCaret(int caretX, int innerWidth, int textWidth) {
  if (textWidth + m_leftMargin <= innerWidth) {
    m_scroll = 0;
    return;
  }
  if (caretX - m_scroll > innerWidth) m_scroll = caretX - innerWidth;
  if (caretX - m_scroll < m_leftMargin) m_scroll = std::max(0, caretX - m_leftMargin);
}

namespace {
std::string Trimmed(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// A decimal number with an optional sign; false for anything else or beyond six digits.
bool SmallNumber(const std::string& s, int* value) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size() || s.size() - i > 6) return false;
  int v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  *value = negative ? -v : v;
  return true;
}
}  // namespace

bool ParseEditFont(const std::string& text, EditFontSpec* spec) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (int guard = 0; guard < 8; ++guard) {
    const size_t comma = text.find(',', start);
    fields.push_back(Trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (fields.size() < 2 || fields[0].empty()) return false;
  EditFontSpec out;
  // Cut the face to 31 bytes without splitting a two-byte character.
  size_t cut = 0;
  while (cut < fields[0].size()) {
    const size_t step = (static_cast<unsigned char>(fields[0][cut]) >= 0x80 && cut + 1 < fields[0].size()) ? 2 : 1;
    if (cut + step > 31) break;
    cut += step;
  }
  out.face = fields[0].substr(0, cut);
  int height = 0;
  if (!SmallNumber(fields[1], &height) || height == 0) return false;
  out.height = std::min(std::abs(height), 96);
  int weight = 0;
  if (fields.size() > 2 && SmallNumber(fields[2], &weight)) out.weight = std::max(100, std::min(weight, 900));
  int italic = 0;
  if (fields.size() > 3 && SmallNumber(fields[3], &italic)) out.italic = italic != 0;
  *spec = out;
  return true;
}

}  // namespace odctrls
}  // namespace vesk
