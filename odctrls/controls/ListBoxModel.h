// Items, selection and hit test of CODListBox, and the geometry helpers of the tab control's
// flip buttons and the dialog caption. Portable.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vesk {
namespace odctrls {

enum {
  kLbsMultipleSel = 0x0008,
  kLbsOwnerDrawFixed = 0x0010,
  kLbsOwnerDrawVariable = 0x0020,
  kLbsExtendedSel = 0x0800
};

struct ListBoxItem {
  std::string text;
  unsigned long long data = 0;
  int height = 0;
  bool selected = false;
  int image = -1;     // frame of the list box's image list; -1 none
  int placement = 0;  // 0 image then text, 1 text over the image
};

class ListBoxModel {
 public:
  static constexpr int kMaxItems = 32767;
  int Count() const { return static_cast<int>(m_items.size()); }
  int Add(const std::string& text);  // -1 when full
  int ItemHeight(int index) const;
  int ItemTop(int index) const;  // relative to the top of the first item
  int TotalHeight() const { return ItemTop(Count()); }
  // The item under y (client coordinates, scroll position subtracted); -1 none.
  int HitTest(int y, int scroll) const;
  int FirstVisible(int scroll) const { return HitTest(0, scroll); }
  void SelectOnly(int index);
  // A click with the modifier state; returns true when the selection changed.
  bool Click(int index, bool ctrl, bool shift);
  // Up (-1) or Down (+1) from the selected item, wrapping; returns the new index.
  int Move(int dir);
  int CurSel() const;
  // Refused (false) with a multiple-selection style.
  bool SetCurSel(int index);
  // The scroll position that brings an item into a view of the given height.
  int ScrollFor(int index, int scroll, int view) const;

  int m_style = 0;
  int m_itemHeight = 12;
  int m_anchor = -1;
  std::vector<ListBoxItem> m_items;
};

// The up-down child's reflected UDN_DELTAPOS: true refuses; limit 1 at the maximum, 2 at
// the minimum, 3 when both are equal, 0 in between.
bool UpDownDelta(int* pos, int delta, int lo, int hi, int* limit);

// A caption part's y: 65535 centres it, a negative y measures from the bottom.
int CaptionPartY(int y, int captionTop, int captionHeight, int partHeight);

// The colour of band i (0..63) of a 64-band gradient between two COLORREFs.
unsigned GradientBand(unsigned from, unsigned to, int i);
// The band's span [start, end) along a size; empty bands have start == end.
void GradientSpan(int start, int size, int i, int* a, int* b);

// A pixel of the tooltip's effect images 7 to 13, and 14 before its split (row 0 is the bottom row); noise is added
// by the caller. Sizes below 1 count as 1 and the granularity is cut to 0..127.
int EffectValue(int effect, int x, int row, int w, int h, int g);

// The whole effect image 7 to 15, noise included: w x h bytes, row 0 (the bottom row)
// first. rnd stands for rand() (0..32767). Sizes below 1 count as 1; an image larger than
// 4096 x 4096 is refused (empty result).
std::vector<unsigned char> EffectImage(int effect, int w, int h, int g, const std::function<int()>& rnd);

}  // namespace odctrls
}  // namespace vesk
