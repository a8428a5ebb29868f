#include "EditRules.h"

namespace odlist {

StartAction StartActionFor(unsigned key) {
  if (key == 1 || key == 13) return StartAction::CaretAtEnd;
  if (key == 8) return StartAction::CaretAtEndBackspace;
  if (key == 9 || (key >= 32 && key <= 40)) return StartAction::SelectAll;
  return StartAction::ReplaceWithKey;
}

bool DropButtonFits(int width, int height) { return height >= 0 && height + 10 < width; }

bool IsEndingKey(unsigned key) { return key == 9 || key == 13 || key == 27; }

bool ShouldCommit(int parentReply, unsigned endingKey) { return parentReply == 0 && endingKey != 27; }

int BoundedTextLength(const char* text, int length, int capacity) {
  if (!text || length <= 0 || capacity <= 1) return 0;
  const int limit = length < capacity - 1 ? length : capacity - 1;
  // Walk the characters so a double-byte character is kept whole or dropped whole.
  int n = 0;
  while (n < limit) {
    const unsigned char c = (unsigned char)text[n];
    const int size = (c >= 0x81 && c <= 0xFE && n + 1 < length) ? 2 : 1;
    if (n + size > limit) break;
    n += size;
  }
  return n;
}

TipAlphaStep NextTipAlpha(int alpha) {
  if (alpha > 254) return {0, true};
  const int next = alpha < 0 ? 10 : alpha + 10;
  return next >= 255 ? TipAlphaStep{255, true} : TipAlphaStep{next, false};
}

}  // namespace odlist
