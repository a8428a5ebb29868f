// The floating text's queue and motion: up to ten texts wait in a ring, each starts when
// the one before has risen out of its way, rises from a start height to an end height
// (percent of the parent's height) in frames of 100 ms and fades out. Portable; the
// window class measures, paints and blends.
#pragma once
#include <string>

namespace widgets {

enum { FLOAT_SLOTS = 10, FLOAT_TEXT_MAX = 255, FLOAT_FRAME_MS = 100, FLOAT_OPACITY = 128 };

struct FloatRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  FloatRect Union(const FloatRect& o) const;
};

// Where and how long a new item floats; zeros take the item defaults (start 70 %, end
// 20 %, centred, 3000 ms).
struct FloatParams {
  int startPercent = 0, endPercent = 0, centreX = 0, durationMs = 0;
};

struct FloatItem {
  bool idle = true;
  std::string text;
  FloatRect start, current, previous;
  int frames = 0, counter = 0;
  double risePerFrame = 0, opacityStep = 0;
  // The constant opacity of the blend: 128 at the start, down to 0.
  int Opacity() const;
};

class FloatingTextQueue {
 public:
  // Queues a text (cut to 255 bytes, never inside a double-byte character); false for an
  // empty text or a full ring.
  bool AddText(const std::string& text);
  // The text waiting to start, or null.
  const std::string* NextText() const;
  // The item the next text can start in now, or -1 (the last one has not risen far
  // enough yet, or the next item is still busy).
  int StartableItem() const;
  // Starts the waiting text in `item` with a measured box of w by h in a parent client
  // area of clientW by clientH; the text leaves the queue.
  void StartItem(int item, int w, int h, int clientW, int clientH, const FloatParams& p);
  // The waiting text leaves the queue without a start (nothing to show for it).
  void DropWaiting();
  // One frame of every active item, in ring order from the next index; the area to
  // repaint (empty when nothing moved).
  FloatRect Advance();
  bool IsAnimating() const;
  bool HasWaiting() const { return NextText() != nullptr; }
  const FloatItem& Item(int i) const { return m_items[i % FLOAT_SLOTS]; }

 private:
  FloatItem m_items[FLOAT_SLOTS];
  int m_nNext = 0;
  std::string m_slots[FLOAT_SLOTS];
  int m_nWrite = 0, m_nRead = 0;
};

}  // namespace widgets
