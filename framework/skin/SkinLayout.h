// Layout arithmetic of the skinned windows: sizing zones and hit codes, caption-button
// rows, title placement, message-box and wait-box geometry, line breaking and link
// markup. Portable (no window system), so it is tested natively; the window classes
// call it with what they measured.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skin {

// Hit codes as the window system numbers them.
enum HitCode {
  kHitNowhere = 0,
  kHitClient = 1,
  kHitCaption = 2,
  kHitSysMenu = 3,
  kHitMinButton = 8,
  kHitMaxButton = 9,
  kHitLeft = 10,
  kHitRight = 11,
  kHitTop = 12,
  kHitTopLeft = 13,
  kHitTopRight = 14,
  kHitBottom = 15,
  kHitBottomLeft = 16,
  kHitBottomRight = 17,
  kHitClose = 20,
  kHitHelp = 21,
  kHitNone = -2  // no caption button under the point
};

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// ---- skinned dialog --------------------------------------------------------------------
// Sizing and caption zones of a dialog of w x h with border b and caption height t
// (window coordinates).
struct DialogZones {
  Box topLeft[2], bottomLeft[2], topRight[2], bottomRight[2];
  Box left, right, top, bottom, caption, sysMenu;
};
DialogZones MakeDialogZones(int w, int h, int border, int caption);
// The sizing code under (x, y), or kHitNone when sizing does not apply there (resizing
// off, maximized, or no zone); caption buttons and the caption are tested after this.
int DialogSizingHit(const DialogZones& z, int x, int y, bool resizable, bool maximized);

// The four corners of the shape region, as offsets: corner i of a 3 x 3-cell picture
// (cell cw x ch) is clipped to its cell and moved by (dx, dy) for a window of w x h.
struct CornerMove {
  Box cell;
  int dx, dy;
};
void DialogCornerMoves(int w, int h, int cw, int ch, CornerMove out[4]);

// ---- game frame ------------------------------------------------------------------------
// l, r = left and right piece widths, bw/bh = bottom piece width/height.
struct FrameZones {
  Box topLeftH, topLeftV, bottomLeftH, bottomLeftV, topRightH, topRightV, bottomRightH, bottomRightV;
  Box left, right, top, bottom;
};
FrameZones MakeFrameZones(int w, int h, int l, int r, int bw, int bh);
// Sizing code by width-lock mode (1 height only, 2 width only, else both), or kHitNone.
int FrameSizingHit(const FrameZones& z, int mode, int x, int y);

// Where the title goes: icon at iconX, text at textX, cut to cutWidth when cut is set.
struct TitlePlace {
  int iconX = 0;
  int textX = 0;
  bool cut = false;
  int cutWidth = 0;
};
TitlePlace PlaceFrameTitle(int w, int leftPieceW, int rightPieceW, int rowWidth, int textWidth);

// SysmenuStyle "kind,left,top,right,bottom": kind 0 rectangle, 1 ellipse; anything else
// (or fewer than five numbers) the default ellipse {10,5,39,34}.
struct SysMenuShape {
  bool ellipse = true;
  Box box{10, 5, 39, 34};
};
SysMenuShape ParseSysMenuStyle(const char* value);

// An image value that carries a comma names its file after the first comma, without
// leading blanks; fiveCells tells the caller the value had a comma.
std::string ImageNameOf(const std::string& value, bool* hadComma = nullptr);

// ---- caption-button row ------------------------------------------------------------------
struct CaptionButtonModel {
  unsigned command = 0;
  Box rect;
  bool visible = false;
  int state = 0;  // 0 normal, 1 hover, 2 pressed
  int hitCode = kHitNone;
};

class CaptionRow {
 public:
  static const int kMaxButtons = 15;
  int spacing = 1;
  bool pressed = false;
  std::vector<CaptionButtonModel> buttons;

  bool Add(unsigned command, int width, int height, int hitCode);
  void LayOut(int x, int y);
  int TotalWidth() const;  // widths plus spacing, laid out or not
  Box Bounds() const;
  int HitTest(int x, int y) const;
  int IndexAt(int x, int y) const;  // first visible button there, or -1
  // Each returns true when a button took the event; `changed` receives the indices
  // whose state changed; MouseUp sets `command` to the released button's command.
  bool MouseMove(int x, int y, std::vector<int>* changed);
  bool MouseDown(int x, int y, std::vector<int>* changed);
  bool MouseUp(int x, int y, std::vector<int>* changed, unsigned* command);
};

// ---- message boxes ------------------------------------------------------------------------
struct MsgBoxButtons {
  int count = 0;
  int result[3] = {0, 0, 0};  // IDOK 1 ... IDNO 7
  unsigned caption[3] = {0, 0, 0};
  const char* key[3] = {nullptr, nullptr, nullptr};
};
// Button sets above 5 show the single OK button.
MsgBoxButtons ButtonsForStyle(uint32_t style);
struct MsgBoxIcon {
  unsigned systemIcon;  // IDI_ value
  const char* key;
};
MsgBoxIcon IconForStyle(uint32_t style);
// Index of the default button (0..2), and whether it becomes the dialog's default push
// button (an unknown default bit pattern only focuses the first button).
int DefaultButtonIndex(uint32_t style, int count, bool* makeDefault);

// Lines of a message: breaks at CR LF, LF CR, CR CR, LF LF (a pair counts once), a single
// CR or LF, and the two characters '\' 'n'. Two-byte characters are never split.
std::vector<std::string> SplitMessageLines(const std::string& text);

struct MsgBoxMetrics {
  int textW = 0, textH = 0;  // measured block (width, sum of line height + 2)
  int iconW = 0, iconH = 0;  // 0 x 0 without an icon
  int buttonW = 0, buttonH = 0, buttons = 1;
  bool input = false;
  // Inner rectangle origin (skinned boxes) and icon limit; 0 for the plain box.
  int innerLeft = 0, innerTop = 0;
  bool skinned = false;
};
struct MsgBoxPlace {
  Box icon, text, entry;
  Box button[3];
  int clientW = 0, clientH = 0;  // content size (skinned: inner size)
  int rowTop = 0;                // button row
};
MsgBoxPlace LayOutMessageBox(const MsgBoxMetrics& m);

// Seconds a countdown box still shows after ELAPSEDMS of its SECONDS: whole seconds,
// rounded, never 0 before the time is up (within a quarter second); 0 ends the box. The
// window system merges timer ticks that a busy thread could not take, so the box counts
// the time that passed, not the ticks that reached it.
int CountdownSecondsLeft(int seconds, uint32_t elapsedMs);

// Wait box: content width W + 56 (at least 200); height 48, or with the button
// button height + 56 + extra.
struct WaitBoxSize {
  int contentW, contentH;
};
WaitBoxSize WaitBoxContent(int textW, bool cancel, bool secondLayout, int buttonH, int extraH);

// ---- link markup --------------------------------------------------------------------------
struct TextPiece {
  enum Kind { kText, kNewLine, kLink } kind = kText;
  std::string text;     // bytes shown
  std::string address;  // links only
};
// Cuts a hyperlink static's text into pieces (anchors, bare addresses, line breaks,
// one- and two-byte characters). Bounded by the text; never reads past its end.
std::vector<TextPiece> ParseLinkText(const std::string& text);
// The address a link may open: http:// and https:// as they are, "www." gets "http://";
// anything else (other schemes, files, commands) gives "".
std::string SafeLinkAddress(const std::string& address);

// Copies at most size - 1 bytes and terminates, never ending on half a two-byte character.
void CopyTextBounded(char* dst, size_t size, const char* src);

// The box a maximised frame takes: the work area, at most one pixel shorter than the screen.
Box MaximisedBox(const Box& workArea, int screenH);

// The access key of a menu text: the lower-cased letter after its first single "&" ("&&" is
// a plain ampersand), or 0 when it has none. Two-byte characters are skipped whole.
char MenuAccessKey(const std::string& text);

}  // namespace skin
