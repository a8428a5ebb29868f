#include "ScrollModel.h"

#include <algorithm>
#include <cstdlib>

namespace vesk {
namespace odctrls {

int ScrollAxis::MaxPos() const { return std::max(0, total - std::max(client, 0)); }

void NormaliseSizes(ScrollAxis* a) {
  a->total = std::abs(a->total);
  a->page = std::abs(a->page);
  a->line = std::abs(a->line);
  if (a->page == 0) a->page = a->total / 10;
  if (a->line == 0) a->line = a->page / 10;
  if (a->line == 0) a->line = 1;
}

void UpdateBars(ScrollAxis* h, ScrollAxis* v, int cx, int cy, int barW, int barH) {
  bool needH = h->total > cx, needV = v->total > cy;
  if (needH && !needV) needV = v->total > cy - barH;
  if (needV && !needH) needH = h->total > cx - barW;
  h->client = std::max(0, needV ? cx - barW : cx);
  v->client = std::max(0, needH ? cy - barH : cy);
  h->bar = needH;
  v->bar = needV;
  h->pos = needH ? std::max(0, std::min(h->pos, h->MaxPos())) : 0;
  v->pos = needV ? std::max(0, std::min(v->pos, v->MaxPos())) : 0;
}

int PositionForCode(const ScrollAxis& a, int code, int thumb) {
  switch (code) {
    case 0:
      return a.pos - a.line;  // SB_LINEUP
    case 1:
      return a.pos + a.line;  // SB_LINEDOWN
    case 2:
      return a.pos - a.page;  // SB_PAGEUP
    case 3:
      return a.pos + a.page;  // SB_PAGEDOWN
    case 5:
      return thumb;  // SB_THUMBTRACK
    case 6:
      return 0;  // SB_TOP
    case 7:
      return a.MaxPos();  // SB_BOTTOM
    default:
      return a.pos;
  }
}

static bool Move(ScrollAxis* a, int d) {
  if (!a->bar || d == 0) return false;
  long long want = static_cast<long long>(a->pos) + d;
  int pos = static_cast<int>(std::max<long long>(0, std::min<long long>(want, a->MaxPos())));
  if (pos == a->pos) return false;
  a->pos = pos;
  return true;
}

bool ScrollBy(ScrollAxis* h, ScrollAxis* v, int dx, int dy) {
  bool mh = Move(h, dx);
  bool mv = Move(v, dy);
  return mh || mv;
}

int WheelAmount(int delta, int lines, const ScrollAxis& a) {
  if (lines == -1) return delta > 0 ? -a.page : delta < 0 ? a.page : 0;
  long long amount = -static_cast<long long>(delta) * lines / 120 * a.line;
  // One notch never moves more than a page, in either direction.
  return static_cast<int>(std::max<long long>(-a.page, std::min<long long>(amount, a.page)));
}

}  // namespace odctrls
}  // namespace vesk
