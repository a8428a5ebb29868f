#include "ScrollGeometry.h"

#include <cmath>

namespace odscroll {

int ScrollState::Clamp(int v) const {
  if (v > m_maxPos) v = m_maxPos;
  if (v < m_min) v = m_min;
  return v;
}

bool ScrollState::SetRange(int min, int max) {
  m_min = min;
  const long long maxPos = static_cast<long long>(max) - m_page + 1;
  m_maxPos = static_cast<int>(maxPos < min ? min : maxPos > INT32_MAX ? INT32_MAX : maxPos);
  m_pos = Clamp(m_pos);
  m_trackPos = Clamp(m_trackPos);
  if (min >= max) {
    m_page = 0;
    m_maxPos = min;
    return false;
  }
  UpdateThumbMode();
  return true;
}

void ScrollState::SetPage(int page) {
  if (page < 0) page = 0;
  long long maxPos = static_cast<long long>(m_maxPos) + m_page - page;
  if (maxPos < m_min) maxPos = m_min;
  if (maxPos > INT32_MAX) maxPos = INT32_MAX;
  m_maxPos = static_cast<int>(maxPos);
  m_page = page;
  m_pos = Clamp(m_pos);
  m_trackPos = Clamp(m_trackPos);
  UpdateThumbMode();
}

int ScrollState::SetPos(int pos) {
  const int old = Pos();
  m_pos = Clamp(pos);
  return old;
}

int ScrollState::SetTrackPos(int pos) {
  const int old = m_trackPos;
  m_trackPos = Clamp(pos);
  return old;
}

void ScrollState::SetFixedThumb(int length) {
  m_fixedThumb = length;
  UpdateThumbMode();
}

void ScrollState::UpdateThumbMode() {
  const long long span = static_cast<long long>(m_maxPos) + m_page - 1 - m_min;
  if (span > 0x7FFFFFFE) return;
  if (m_fixedThumb != -1) {
    m_thumbMode = 1, m_thumbValue = m_fixedThumb < 0 ? 0 : m_fixedThumb;
    return;
  }
  long long percent = span + 1 > 0 ? static_cast<long long>(m_page) * 100 / (span + 1) : 100;
  if (percent > 100) percent = 100;
  if (percent < 0) percent = 0;
  m_thumbMode = 2, m_thumbValue = static_cast<int>(percent);
}

Layout ScrollState::Place(int length, int arrow, int usePos, int systemThumb) const {
  Layout l;
  if (length < 0) length = 0;
  if (arrow < 0) arrow = 0;
  // Arrows share a bar too short for both.
  if (2 * arrow > length) arrow = length / 2;
  l.arrow1 = {0, arrow};
  l.arrow2 = {length - arrow, length};
  l.track = {arrow, length - arrow};
  const int trackLen = l.track.end - l.track.start;
  int thumb = m_thumbMode == 1   ? m_thumbValue
              : m_thumbMode == 2 ? static_cast<int>(trackLen * m_thumbValue * 0.01)
                                 : systemThumb;
  if (thumb < m_minThumb) thumb = m_minThumb;
  if (thumb > trackLen) thumb = trackLen;
  float f = 0.0f;
  if (m_maxPos != m_min)
    f = static_cast<float>(static_cast<double>(Clamp(usePos) - m_min) / (static_cast<double>(m_maxPos) - m_min));
  const int start = l.track.start + static_cast<int>(f * static_cast<float>(trackLen - thumb));
  l.thumb = {start, start + thumb};
  l.before = {l.track.start, start};
  l.after = {start + thumb, l.track.end};
  return l;
}

int ScrollState::HitTest(const Layout& l, int along, bool vertical) const {
  const int v = vertical ? VERT_OFFSET : 0;
  auto in = [along](const Span& s) { return along >= s.start && along < s.end; };
  if (in(l.arrow1)) return HIT_ARROW1 + v;
  if (in(l.arrow2)) return HIT_ARROW2 + v;
  if (in(l.thumb)) return HIT_THUMB;
  if (in(l.before)) return HIT_TRACK1 + v;
  if (in(l.after)) return HIT_TRACK2 + v;
  return HIT_NONE;
}

int ScrollState::DragPos(const Layout& l, int along, int offset, int arrow) const {
  const int room = (l.track.end - l.track.start) - (l.thumb.end - l.thumb.start);
  if (room <= 0) return m_min;  // the thumb fills the track: nowhere to go
  const double f = static_cast<double>(along - offset - arrow) / room;
  const double pos = m_min + std::trunc(f * (static_cast<double>(m_maxPos) - m_min));
  if (pos <= m_min) return m_min;
  if (pos >= m_maxPos) return m_maxPos;
  return static_cast<int>(pos);
}

int Repeater::Due(uint32_t now) {
  if (!m_active) return 0;
  int steps = 0;
  while (static_cast<int32_t>(now - m_next) >= 0 && steps < 1000) {
    ++steps;
    m_next += INTERVAL;
  }
  return steps;
}

}  // namespace odscroll
