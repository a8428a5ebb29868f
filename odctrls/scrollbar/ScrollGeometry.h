// The skinned scroll bar's numbers without a window: range, page and position, the thumb's
// place along the track, hit codes, dragging and auto-repeat. ScrollBarEx paints and
// reacts from these.
#pragma once

#include <cstdint>

namespace odscroll {

enum Hit {
  HIT_NONE = -1,
  HIT_ARROW1 = 0,
  HIT_ARROW2 = 1,
  HIT_TRACK1 = 2,
  HIT_TRACK2 = 3,
  HIT_THUMB = 10,
  VERT_OFFSET = 30,  // vertical arrows and track halves are the horizontal codes + 30
};

struct Span {
  int start = 0, end = 0;  // [start, end) along the bar
  bool Empty() const { return end <= start; }
};

struct Layout {
  Span arrow1, arrow2, track, thumb, before, after;
};

class ScrollState {
 public:
  // Range and page as a scroll bar takes them. A range with min >= max collapses the bar
  // (page 0) and answers false: the bar is then hidden and disabled.
  bool SetRange(int min, int max);
  void SetPage(int page);
  int SetPos(int pos);  // returns the old position
  int SetTrackPos(int pos);
  int Min() const { return m_min; }
  int MaxPos() const { return m_maxPos; }
  int ReportedMax() const {
    const long long v = static_cast<long long>(m_maxPos) + m_page - 1;
    return v > INT32_MAX ? INT32_MAX : static_cast<int>(v);
  }
  int Page() const { return m_page; }
  int Pos() const { return m_pos < m_min ? m_min : m_pos; }
  int TrackPos() const { return m_trackPos; }

  // Thumb length: fixed (>= 0) or -1 for proportional to the page.
  void SetFixedThumb(int length);
  void SetMinThumb(int length) { m_minThumb = length < 0 ? 0 : length; }
  int ThumbMode() const { return m_thumbMode; }
  int ThumbValue() const { return m_thumbValue; }

  // Where everything lies on a bar `length` pixels long with arrows of `arrow` pixels;
  // `usePos` is the position the thumb shows (the track position while dragging).
  Layout Place(int length, int arrow, int usePos, int systemThumb) const;
  int HitTest(const Layout& layout, int along, bool vertical) const;
  // The position for the mouse at `along` while the thumb is dragged `offset` pixels from
  // its start; always within [Min, MaxPos].
  int DragPos(const Layout& layout, int along, int offset, int arrow) const;

 private:
  void UpdateThumbMode();
  int Clamp(int v) const;

  int m_min = 0, m_maxPos = 101, m_page = 10, m_pos = 0, m_trackPos = 0;
  int m_fixedThumb = -1, m_minThumb = 8;
  int m_thumbMode = 0, m_thumbValue = 0;
};

// Auto-repeat of a held arrow or track: one step at once, the next after 430 ms, then one
// every 50 ms, on whatever clock the caller passes.
class Repeater {
 public:
  enum { FIRST_DELAY = 430, INTERVAL = 50 };
  void Press(uint32_t now) { m_active = true, m_next = now + FIRST_DELAY; }
  void Release() { m_active = false; }
  bool Active() const { return m_active; }
  // Steps due at `now` (0 or more), advancing the schedule.
  int Due(uint32_t now);

 private:
  bool m_active = false;
  uint32_t m_next = 0;
};

}  // namespace odscroll
