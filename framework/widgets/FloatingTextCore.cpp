#include "FloatingTextCore.h"

#include <algorithm>
#include <cmath>

namespace widgets {

FloatRect FloatRect::Union(const FloatRect& o) const {
  if (IsEmpty()) return o;
  if (o.IsEmpty()) return *this;
  return FloatRect{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
}

int FloatItem::Opacity() const {
  const int o = FLOAT_OPACITY - (int)std::floor(counter * opacityStep);
  return std::max(0, std::min<int>(FLOAT_OPACITY, o));
}

namespace {

// At most `max` bytes of a GBK text, never ending on a lead byte.
std::string CutGbk(const std::string& s, size_t max) {
  size_t i = 0;
  while (i < s.size()) {
    const size_t n = (static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size()) ? 2 : 1;
    if (i + n > max) break;
    i += n;
  }
  return s.substr(0, i);
}

}  // namespace

bool FloatingTextQueue::AddText(const std::string& text) {
  if (text.empty() || !m_slots[m_nWrite].empty()) return false;
  m_slots[m_nWrite] = CutGbk(text.substr(0, text.find('\0')), FLOAT_TEXT_MAX);
  if (m_slots[m_nWrite].empty()) return false;
  m_nWrite = (m_nWrite + 1) % FLOAT_SLOTS;
  return true;
}

const std::string* FloatingTextQueue::NextText() const {
  return m_slots[m_nRead].empty() ? nullptr : &m_slots[m_nRead];
}

int FloatingTextQueue::StartableItem() const {
  if (!NextText()) return -1;
  const FloatItem& last = m_items[(m_nNext + FLOAT_SLOTS - 1) % FLOAT_SLOTS];
  if (!last.idle) {
    const int h = last.start.Height();
    if (last.start.top - last.current.top <= (h + 5) / 5 + h) return -1;
  }
  return m_items[m_nNext].idle ? m_nNext : -1;
}

void FloatingTextQueue::StartItem(int item, int w, int h, int clientW, int clientH, const FloatParams& p) {
  FloatItem& it = m_items[item % FLOAT_SLOTS];
  const int startPct = p.startPercent ? p.startPercent : 70;
  const int endPct = p.endPercent ? p.endPercent : 20;
  const int centre = p.centreX ? p.centreX : clientW / 2;
  const int duration = p.durationMs ? p.durationMs : 3000;
  it.text = m_slots[m_nRead];
  m_slots[m_nRead].clear();
  m_nRead = (m_nRead + 1) % FLOAT_SLOTS;
  const int left = centre - w / 2, top = clientH * startPct / 100;
  it.start = it.current = it.previous = FloatRect{left, top, left + w, top + h};
  it.frames = (duration + FLOAT_FRAME_MS) / FLOAT_FRAME_MS;
  it.counter = 0;
  it.risePerFrame = clientH * (startPct - endPct) * 0.01 / it.frames;
  it.opacityStep = (double)FLOAT_OPACITY / it.frames;
  it.idle = false;
  m_nNext = (item % FLOAT_SLOTS + 1) % FLOAT_SLOTS;
}

void FloatingTextQueue::DropWaiting() {
  if (m_slots[m_nRead].empty()) return;
  m_slots[m_nRead].clear();
  m_nRead = (m_nRead + 1) % FLOAT_SLOTS;
}

FloatRect FloatingTextQueue::Advance() {
  FloatRect dirty;
  for (int k = 0; k < FLOAT_SLOTS; ++k) {
    FloatItem& it = m_items[(m_nNext + k) % FLOAT_SLOTS];
    if (it.idle) continue;
    if (++it.counter > it.frames) {
      it.idle = true;
      dirty = dirty.Union(it.current);
      continue;
    }
    // A hair over the product, so that 31 frames of 250/31 rise the whole 250.
    const int rise = (int)std::floor(it.counter * it.risePerFrame + 1e-9);
    it.current = FloatRect{it.start.left, it.start.top - rise, it.start.right, it.start.bottom - rise};
    dirty = dirty.Union(it.current.Union(it.previous));
    it.previous = it.current;
  }
  return dirty;
}

bool FloatingTextQueue::IsAnimating() const {
  for (const FloatItem& it : m_items)
    if (!it.idle) return true;
  return false;
}

}  // namespace widgets
