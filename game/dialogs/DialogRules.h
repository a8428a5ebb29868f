// Rules of the game's small dialogs that need no window: which exit choices are offered,
// the wait box's geometry, the about box's size and texts, the settings' values and the
// file-type filters of the settings' pickers.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "AboutRules.h"

namespace dialogs {

// ---- exit dialog ------------------------------------------------------------------------
enum ExitChoiceId { kExitForce = 1003, kExitAsk = 1004, kExitTrust = 1028, kExitCancel = 1152 };

struct ExitChoices {
  bool ask = false, force = false, trust = false, cancel = true;
  bool trustText = false;  // the warning becomes the trusteeship-exit text
};
ExitChoices ExitButtons(int askAllowed, int trustExit);
// The result a command leaves: the id of one of the four choices, else cancel.
int ExitResultFor(int controlId);
bool IsExitChoice(int controlId);

// ---- wait box ---------------------------------------------------------------------------
struct WaitGeometry {
  int clientW = 0, clientH = 0;
  int iconX = 8, iconY = 14;
  int textX = 48, textY = 0;
  int buttonX = 0, buttonY = 48;
  bool button = false;
};
// Client-area layout for a text of textW x textH pixels (in the box's font).
WaitGeometry LayOutWait(int textW, int textH, bool showButton, int buttonW, int buttonH);

// ---- game about box --------------------------------------------------------------------------
struct Rect4 {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};
struct AboutPlaces {
  Rect4 icon, text1, text2, ok;
};
// Places of the game box's controls inside the skinned client area (its own coordinates
// 0..clientW x 0..clientH): the icon 15 pixels lower than the template put it, the texts
// after it and the OK button centred with its bottom 5 pixels above the area's bottom.
AboutPlaces LayOutGameAbout(const Rect4& iconTemplate, const Rect4& okTemplate, int text1H, int text2H, int clientW,
                            int clientH);

// ---- settings dialog --------------------------------------------------------------------
struct SetupValues {
  int allowWatch = 0;
  int bkMode = -1;  // -1 none chosen, 0 default, 1 colour, 2 picture
  int musicOn = 0, soundOn = 0, tile = 0, smallCards = 0;
  int seatDir = 0;  // 0 counter-clockwise, 1 clockwise
  int voice = 0, animation = 0, tradSound = 0, floatText = 0;
  std::string captureDir;
  unsigned bkColor = 0;
  std::string bkPicture, musicFile;
};
// Brings values from a stored profile into the dialog's range: flags become 0 or 1, the
// background mode -1..2, the seating direction 0 or 1. Returns true when any changed.
bool NormalizeSetup(SetupValues& v);

enum class FolderCheck { Ok, Empty, TooLong, BadChar, NotAbsolute };
// A screenshot folder typed by the player: trailing blanks and a trailing backslash
// (except a drive root) go; the rest must be a drive or UNC path of at most 259
// characters without the characters that no Windows name may hold. GBK double-byte
// characters are kept whole (their trail byte may be a backslash).
FolderCheck CheckFolder(const std::string& text, std::string* cleaned);

// "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||" into (label, pattern) pairs; an
// unpaired label or empty pattern ends the list.
std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter);
// The same as the double-NUL-terminated block that the open-file dialog takes.
std::string FilterBlock(const std::string& filter);

}  // namespace dialogs
