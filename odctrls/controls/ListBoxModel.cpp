#include "ListBoxModel.h"

#include <algorithm>

namespace vesk {
namespace odctrls {

int ListBoxModel::Add(const std::string& text) {
  if (Count() >= kMaxItems) return -1;
  ListBoxItem item;
  item.text = text;
  item.height = m_itemHeight;
  m_items.push_back(item);
  return Count() - 1;
}

int ListBoxModel::ItemHeight(int index) const {
  if ((m_style & kLbsOwnerDrawVariable) && index >= 0 && index < Count()) return std::max(1, m_items[index].height);
  return std::max(1, m_itemHeight);
}

int ListBoxModel::ItemTop(int index) const {
  if (!(m_style & kLbsOwnerDrawVariable)) return index * std::max(1, m_itemHeight);
  int top = 0;
  for (int i = 0; i < index && i < Count(); ++i) top += ItemHeight(i);
  return top;
}

int ListBoxModel::HitTest(int y, int scroll) const {
  const int target = y + scroll;
  if (target < 0 || Count() == 0) return -1;
  if (Count() <= 2) {
    for (int i = 0; i < Count(); ++i)
      if (target >= ItemTop(i) && target < ItemTop(i) + ItemHeight(i)) return i;
    return -1;
  }
  int lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    int mid = lo + (hi - lo) / 2;
    int top = ItemTop(mid);
    if (target < top)
      hi = mid - 1;
    else if (target >= top + ItemHeight(mid))
      lo = mid + 1;
    else
      return mid;
  }
  return -1;
}

void ListBoxModel::SelectOnly(int index) {
  for (int i = 0; i < Count(); ++i) m_items[i].selected = i == index;
}

int ListBoxModel::CurSel() const {
  for (int i = 0; i < Count(); ++i)
    if (m_items[i].selected) return i;
  return -1;
}

bool ListBoxModel::Click(int index, bool ctrl, bool shift) {
  if (index < 0 || index >= Count()) return false;
  std::vector<bool> before;
  for (const auto& it : m_items) before.push_back(it.selected);
  if (m_style & kLbsMultipleSel) {
    m_items[index].selected = !m_items[index].selected;
  } else if (m_style & kLbsExtendedSel) {
    if (ctrl) {
      m_items[index].selected = !m_items[index].selected;
      m_anchor = index;
    } else if (shift) {
      int from = m_anchor < 0 ? 0 : std::min(m_anchor, Count() - 1);
      SelectOnly(-1);
      for (int i = std::min(from, index); i <= std::max(from, index); ++i) m_items[i].selected = true;
    } else {
      SelectOnly(index);
      m_anchor = index;
    }
  } else {
    SelectOnly(index);
  }
  for (int i = 0; i < Count(); ++i)
    if (before[i] != m_items[i].selected) return true;
  return false;
}

int ListBoxModel::Move(int dir) {
  if (Count() == 0) return -1;
  int cur = CurSel();
  int next = cur < 0 ? 0 : (cur + (dir < 0 ? -1 : 1) + Count()) % Count();
  SelectOnly(next);
  return next;
}

bool ListBoxModel::SetCurSel(int index) {
  if (m_style & (kLbsMultipleSel | kLbsExtendedSel)) return false;
  SelectOnly(index >= 0 && index < Count() ? index : -1);
  return true;
}

int ListBoxModel::ScrollFor(int index, int scroll, int view) const {
  if (index < 0 || index >= Count()) return scroll;
  int top = ItemTop(index), bottom = top + ItemHeight(index);
  if (top < scroll) return top;
  if (bottom > scroll + view) return std::max(0, bottom - view);
  return scroll;
}

bool UpDownDelta(int* pos, int delta, int lo, int hi, int* limit) {
  long long want = static_cast<long long>(*pos) + delta;
  int next = static_cast<int>(std::max<long long>(lo, std::min<long long>(hi, want)));
  if (next == *pos) return true;
  *limit = lo == hi ? 3 : next == hi ? 1 : next == lo ? 2 : 0;
  *pos = next;
  return false;
}

int CaptionPartY(int y, int captionTop, int captionHeight, int partHeight) {
  if (y == 65535) return captionTop + (captionHeight - partHeight) / 2;
  if (y < 0) return captionTop + captionHeight + y - partHeight;
  return captionTop + y;
}

unsigned GradientBand(unsigned from, unsigned to, int i) {
  i = std::max(0, std::min(i, 63));
  unsigned out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    out |= ((a * (64 - i) + b * i) / 64) << shift;
  }
  return out;
}

void GradientSpan(int start, int size, int i, int* a, int* b) {
  *a = start + static_cast<int>(static_cast<long long>(size) * i / 64);
  *b = start + static_cast<int>(static_cast<long long>(size) * (i + 1) / 64);
}

int EffectValue(int effect, int x, int row, int w, int h, int g) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  g = std::max(0, std::min(g, 127));
  const int r = 255 - 2 * g;
  auto bump = [&](int t) { return (t * t * t / 16384) * (128 - g) / 128; };
  // The soft bump of 14 has half the height; at g above 64 it turns over (64 - g < 0).
  auto bump14 = [&](int t) { return (t * t * t / 16384) * (64 - g) * 2 / 128; };
  switch (effect) {
    case 7:
      return 128;
    case 8:
      return g + (row * (r / 2)) / h + ((w - x) * (r / 2)) / w;
    case 9:
      return g + row * r / h;
    case 10:
      return g + (w - x) * r / w;
    case 11:
      return 128 + bump(row * 255 / h - 127);
    case 12:
      return 128 + bump((w - x) * 255 / w - 127);
    case 13: {
      int tr = row * 255 / h - 127, tc = (w - x) * 255 / w - 127;
      int v = (tr * tr * tr / 16384 + tc * tc * tc / 16384) * (128 - g) / 128 + 128;
      return std::min(std::max(v, g), 255 - g);
    }
    case 14:
      return 128 + bump14(row * 255 / h - 127);
    default:
      return 128;
  }
}

namespace {

// rand() / (32767 / s) - g with s = 2g (1 for g 0): a value in -g..g.
int Noise(int g, const std::function<int()>& rnd) {
  const int s = g ? 2 * g : 1;
  const int d = 32767 / s > 0 ? 32767 / s : 1;
  return (rnd() & 0x7FFF) / d - g;
}

// Effect 14's split: a line through the middle that leans by N = min(w / 6, 16) columns
// from the bottom row to the top row. N columns left of it ramp up from g; N columns right
// of it hold 255 - g.
void DiagonalSplit(std::vector<unsigned char>& px, int w, int h, int g, const std::function<int()>& rnd) {
  const int n = std::min(w / 6, 16);
  if (n < 1) return;
  for (int row = 0; row < h; ++row) {
    const int mid = w / 2 - n + (h > 1 ? 2 * n * row / (h - 1) : 0);
    for (int k = 1; k <= n; ++k) {
      const int left = mid - k, right = mid + k - 1;
      if (left >= 0 && left < w)
        px[size_t(row) * w + left] = (unsigned char)(g + (n - k) * (128 - g) / n + Noise(g, rnd));
      if (right >= 0 && right < w) px[size_t(row) * w + right] = (unsigned char)(255 - g + Noise(g, rnd));
    }
  }
}

// Effect 15's strokes: 200 short diagonals from random points, each drawn again mirrored
// about the middle column; a stroke's value is rand() / 819 (at most 40).
void Strokes(std::vector<unsigned char>& px, int w, int h, const std::function<int()>& rnd) {
  const int longest = std::max(1, std::min(w, h) / 2);
  for (int i = 0; i < 200; ++i) {
    const int x0 = (rnd() & 0x7FFF) % w, row0 = (rnd() & 0x7FFF) % h;
    const int len = 1 + (rnd() & 0x7FFF) % longest;
    const int value = std::min((rnd() & 0x7FFF) / 819, 40);
    for (int k = 0; k < len; ++k) {
      const int x = x0 + k, row = row0 - k;
      if (x >= w || row < 0) break;
      px[size_t(row) * w + x] = (unsigned char)value;
      px[size_t(row) * w + (w - 1 - x)] = (unsigned char)value;
    }
  }
}

}  // namespace

std::vector<unsigned char> EffectImage(int effect, int w, int h, int g, const std::function<int()>& rnd) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  g = std::max(0, std::min(g, 127));
  std::vector<unsigned char> px;
  if (w > 4096 || h > 4096) return px;
  px.assign(size_t(w) * h, 0);
  if (effect == 15) {
    Strokes(px, w, h, rnd);
    const int half = std::max(0, (255 - 2 * g - 40) / 2);
    for (int row = 0; row < h; ++row)
      for (int x = 0; x < w; ++x) {
        unsigned char& p = px[size_t(row) * w + x];
        p = (unsigned char)(p + g + (row * half) / h + ((w - x) * half) / w + Noise(g, rnd));
      }
    return px;
  }
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x)
      px[size_t(row) * w + x] = (unsigned char)(EffectValue(effect, x, row, w, h, g) + Noise(g, rnd));
  if (effect == 14) DiagonalSplit(px, w, h, g, rnd);
  return px;
}

}  // namespace odctrls
}  // namespace vesk
