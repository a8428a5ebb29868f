// Text, caret and selection of the single-line CODEdit, with code page 936 rules: a byte of
// 0x80 or more starts a two-byte character and the caret never stops inside one. Portable;
// the window maps messages to these operations and supplies the clipboard and widths.
#pragma once

#include <functional>
#include <string>

namespace vesk {
namespace odctrls {

enum { kEditPassword = 0x20, kEditReadOnly = 0x800, kEditNumber = 0x2000 };

// What a key asks the window to do with the clipboard.
enum EditRequest { kEditNone = 0, kEditCopy, kEditCut, kEditPaste };

class EditBuffer {
 public:
  // Stores the text without the carriage returns and newlines at either end; caret to the end.
  void SetText(const std::string& text);
  const std::string& Text() const { return m_text; }
  int Length() const { return static_cast<int>(m_text.size()); }

  // start -1 clears; end -1 means to the end; end is inclusive.
  void SetSel(int start, int end);
  void SelectAll() { SetSel(0, -1); }
  void ClearSel() {
    m_selStart = -1;
    m_selLength = 0;
  }
  bool HasSel() const { return m_selStart >= 0 && m_selLength != 0; }
  // Start and end (exclusive) of the selected bytes, start <= end.
  void SelRange(int* start, int* end) const;
  std::string SelText() const;
  void DeleteSel();
  // Inserts clipboard text at the caret within the maximum (whole characters only);
  // false when refused (password or read-only).
  bool Paste(const std::string& text);

  // One byte of WM_CHAR; true when a whole character was added.
  bool Char(unsigned char byte);
  // One key; returns what the window must do with the clipboard; *changed when the text changed.
  EditRequest Key(int vk, bool shift, bool ctrl, bool* changed);

  // Start of the character before / after a position (whole pairs).
  int PrevBoundary(int pos) const;
  int NextBoundary(int pos) const;
  bool IsBoundary(int pos) const;

  // The displayed text: the buffer or, in the password style, the password character.
  std::string Display() const;
  // Caret position for a point x (in inner coordinates) with widths of display prefixes.
  int HitTest(int x, const std::function<int(int bytes)>& prefixWidth) const;
  // Scroll offset that keeps the caret visible in an inner width.
  void ScrollToCaret(int caretX, int innerWidth, int textWidth);

  int m_style = 0;
  int m_maxLength = -1;
  int m_caret = 0;
  int m_selStart = -1, m_selAnchor = -1, m_selLength = 0;
  int m_leftMargin = 1;
  int m_scroll = 0;
  std::string m_pwdChar = "*";

 private:
  void Insert(const std::string& bytes);
  void ExtendTo(int pos);
  bool Room(int bytes) const;

  std::string m_text;
  bool m_leadPending = false, m_leadRefused = false;
  unsigned char m_lead = 0;
};

// The edit's theme font ("TextFont"): "face,height[,weight[,italic]]", height in pixels.
struct EditFontSpec {
  std::string face;
  int height = 12;
  int weight = 400;
  bool italic = false;
};
// False (the default font stays) without a face or a height; the face is cut to 31 bytes at
// a character boundary, the height (its size, either sign) to 1..96, the weight to 100..900;
// italic is any number but 0. Blanks around the fields are ignored.
bool ParseEditFont(const std::string& text, EditFontSpec* spec);

}  // namespace odctrls
}  // namespace vesk
