// The line store of CODTxtMov: lines of runs, each run a text with an optional link and tip,
// plus the hover and moving state the owning control drives. Portable so the store, its
// layout and hit test can be tested and fuzzed without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vesk {
namespace odctrls {

enum { kTxtItemPlain = 1, kTxtItemLink = 2, kTxtItemVisited = 32 };

struct TxtItem {
  std::string text, link, tip;
  int32_t values[5] = {0, -1, -1, -1, 0};
  int kind = kTxtItemPlain;
};

struct TxtLine {
  std::vector<TxtItem> items;
  int32_t values[4] = {0, 0, 0, 0};
};

struct TxtSize {
  int cx = 0, cy = 0;
};

struct TxtRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Length of the longest prefix of text[0, len) of at most maxBytes bytes that ends on a
// character boundary (a byte of 0x80 or more starts a two-byte character).
size_t SafeCut(const char* text, size_t len, size_t maxBytes);

class TxtMovLines {
 public:
  // Bounds on what a caller (a window text, a theme value) can make the store hold.
  static constexpr size_t kMaxLines = 256;
  static constexpr size_t kMaxItemsPerLine = 64;
  static constexpr size_t kMaxTextBytes = 2048;

  // Splits at newlines; an empty piece becomes " ". Lines beyond kMaxLines are dropped and
  // each piece is cut to kMaxTextBytes without splitting a two-byte character.
  void SetText(const std::string& text);
  // Index of the new line, -1 when the store is full.
  int AddLine(int32_t v0, int32_t v1, int32_t v2, int32_t v3);
  // False for a line outside the store or a full line.
  bool AddItem(int line, const std::string& text, const std::string& link, const std::string& tip,
               const int32_t values[5]);
  bool SetItem(int line, int item, const TxtItem& src);
  bool GetItem(int line, int item, TxtItem* dst) const;
  // Stores the point and tracking flag; the hover item is found by HitTest on the last layout.
  void SetHover(bool tracking, int x, int y);
  // kind 0 text, 1 link, 2 tip.
  bool GetHoverString(int kind, std::string* out) const;
  const TxtItem* HoverItem() const;
  void MarkVisited();
  void DestroyLines();

  // Lays the lines out top to bottom, runs left to right, from (left, top); each line is as
  // high as its tallest run.
  void Layout(int left, int top, const std::function<TxtSize(const std::string&)>& measure);
  bool HitTest(int x, int y, int* row, int* item) const;
  const TxtRect& ItemRect(int row, int item) const { return m_rects[row][item]; }
  TxtSize Extent() const { return m_extent; }

  int32_t m_lineDefault0 = 0, m_lineDefault3 = 0;
  int m_hoverRow = -1, m_hoverItem = -1;
  bool m_tracking = false;
  int m_ptX = 0, m_ptY = 0;
  int m_moving = 0;
  std::vector<uint32_t> m_lineWidth, m_lineHeight, m_lineTop;
  std::vector<TxtLine> m_lines;

 private:
  std::vector<std::vector<TxtRect>> m_rects;
  TxtSize m_extent;
};

}  // namespace odctrls
}  // namespace vesk
