#include "TxtMovLines.h"

#include <algorithm>

namespace vesk {
namespace odctrls {

size_t SafeCut(const char* text, size_t len, size_t maxBytes) {
  size_t i = 0;
  const size_t limit = std::min(len, maxBytes);
  while (i < limit) {
    size_t step = (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < len) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

static std::string Bounded(const std::string& s) {
  return s.substr(0, SafeCut(s.data(), s.size(), TxtMovLines::kMaxTextBytes));
}

static int KindOf(const std::string& link) { return link.empty() ? kTxtItemPlain : kTxtItemLink; }

void TxtMovLines::SetText(const std::string& text) {
  DestroyLines();
  static const int32_t kPlain[5] = {0, -1, -1, -1, 0};
  size_t start = 0;
  for (;;) {
    size_t nl = text.find('\n', start);
    std::string piece = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    int line = AddLine(m_lineDefault0, 0, 0, m_lineDefault3);
    if (line < 0) break;
    AddItem(line, piece.empty() ? std::string(" ") : piece, std::string(), std::string(), kPlain);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
}

int TxtMovLines::AddLine(int32_t v0, int32_t v1, int32_t v2, int32_t v3) {
  if (m_lines.size() >= kMaxLines) return -1;
  TxtLine line;
  line.values[0] = v0;
  line.values[1] = v1;
  line.values[2] = v2;
  line.values[3] = v3;
  m_lines.push_back(line);
  m_lineWidth.push_back(0);
  m_lineHeight.push_back(0);
  m_lineTop.push_back(0);
  return static_cast<int>(m_lines.size()) - 1;
}

bool TxtMovLines::AddItem(int line, const std::string& text, const std::string& link, const std::string& tip,
                          const int32_t values[5]) {
  if (line < 0 || static_cast<size_t>(line) >= m_lines.size()) return false;
  std::vector<TxtItem>& items = m_lines[line].items;
  if (items.size() >= kMaxItemsPerLine) return false;
  TxtItem item;
  item.text = Bounded(text);
  item.link = Bounded(link);
  item.tip = Bounded(tip);
  std::copy(values, values + 5, item.values);
  item.kind = KindOf(item.link);
  items.push_back(item);
  return true;
}

bool TxtMovLines::SetItem(int line, int item, const TxtItem& src) {
  if (line < 0 || static_cast<size_t>(line) >= m_lines.size()) return false;
  std::vector<TxtItem>& items = m_lines[line].items;
  if (item < 0 || static_cast<size_t>(item) >= items.size()) return false;
  TxtItem& dst = items[item];
  dst.text = Bounded(src.text);
  dst.link = Bounded(src.link);
  dst.tip = Bounded(src.tip);
  std::copy(src.values, src.values + 5, dst.values);
  dst.kind = KindOf(dst.link);
  return true;
}

bool TxtMovLines::GetItem(int line, int item, TxtItem* dst) const {
  if (line < 0 || static_cast<size_t>(line) >= m_lines.size()) return false;
  const std::vector<TxtItem>& items = m_lines[line].items;
  if (item < 0 || static_cast<size_t>(item) >= items.size()) return false;
  *dst = items[item];
  return true;
}

void TxtMovLines::SetHover(bool tracking, int x, int y) {
  m_hoverRow = m_hoverItem = -1;
  m_tracking = tracking;
  m_ptX = x;
  m_ptY = y;
  HitTest(x, y, &m_hoverRow, &m_hoverItem);
}

const TxtItem* TxtMovLines::HoverItem() const {
  if (!m_tracking || m_hoverRow < 0 || static_cast<size_t>(m_hoverRow) >= m_lines.size()) return nullptr;
  const std::vector<TxtItem>& items = m_lines[m_hoverRow].items;
  if (m_hoverItem < 0 || static_cast<size_t>(m_hoverItem) >= items.size()) return nullptr;
  return &items[m_hoverItem];
}

bool TxtMovLines::GetHoverString(int kind, std::string* out) const {
  const TxtItem* item = HoverItem();
  if (!item || kind < 0 || kind > 2) return false;
  *out = kind == 0 ? item->text : kind == 1 ? item->link : item->tip;
  return true;
}

void TxtMovLines::MarkVisited() {
  const TxtItem* item = HoverItem();
  if (item && (item->kind & kTxtItemLink)) m_lines[m_hoverRow].items[m_hoverItem].kind = kTxtItemVisited;
}

void TxtMovLines::DestroyLines() {
  m_lines.clear();
  m_lineWidth.clear();
  m_lineHeight.clear();
  m_lineTop.clear();
  m_rects.clear();
  m_hoverRow = m_hoverItem = -1;
}

void TxtMovLines::Layout(int left, int top, const std::function<TxtSize(const std::string&)>& measure) {
  m_rects.assign(m_lines.size(), {});
  m_extent = TxtSize();
  int y = top;
  for (size_t r = 0; r < m_lines.size(); ++r) {
    int x = left, height = 0;
    for (const TxtItem& item : m_lines[r].items) {
      TxtSize size = measure(item.text);
      m_rects[r].push_back(TxtRect{x, y, x + size.cx, y + size.cy});
      x += size.cx;
      height = std::max(height, size.cy);
    }
    for (TxtRect& rc : m_rects[r]) rc.bottom = y + height;
    m_lineTop[r] = static_cast<uint32_t>(y - top);
    m_lineWidth[r] = static_cast<uint32_t>(x - left);
    m_lineHeight[r] = static_cast<uint32_t>(height);
    m_extent.cx = std::max(m_extent.cx, x - left);
    y += height;
  }
  m_extent.cy = y - top;
}

bool TxtMovLines::HitTest(int x, int y, int* row, int* item) const {
  for (size_t r = 0; r < m_rects.size(); ++r)
    for (size_t i = 0; i < m_rects[r].size(); ++i)
      if (m_rects[r][i].Contains(x, y)) {
        *row = static_cast<int>(r);
        *item = static_cast<int>(i);
        return true;
      }
  return false;
}

}  // namespace odctrls
}  // namespace vesk
