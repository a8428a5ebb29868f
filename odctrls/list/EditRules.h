// The in-place editor's rules without windows: what the key that opened an edit does to
// the text, whether a drop button fits beside the edit, and whether an ended edit is kept.
#pragma once

namespace odlist {

// What the editor does with the key that opened it.
enum class StartAction {
  CaretAtEnd,           // 1 (programmatic) or Enter: caret after the last character
  CaretAtEndBackspace,  // Backspace: caret at the end, then the last character goes
  SelectAll,            // Tab, Space, navigation keys 33-40: the whole text selected
  ReplaceWithKey,       // any other character: it replaces the whole text
};
StartAction StartActionFor(unsigned key);

// A square drop button takes the edit's height from its width; it fits only when the cell
// is more than ten pixels wider than high.
bool DropButtonFits(int width, int height);

// Keys that end an edit from inside the editor.
bool IsEndingKey(unsigned key);

// An ended edit is stored unless the parent vetoed it (non-zero reply) or Escape ended it.
bool ShouldCommit(int parentReply, unsigned endingKey);

// Text written into a 256-byte reply buffer: at most 255 bytes, a GBK lead byte never
// left without its trail byte.
int BoundedTextLength(const char* text, int length, int capacity);

// The title tip's fade timer: an alpha above 254 falls to 0 and the timer stops; any other
// grows by 10 up to 255, where the timer stops too.
struct TipAlphaStep {
  int alpha;
  bool stop;
};
TipAlphaStep NextTipAlpha(int alpha);

}  // namespace odlist
