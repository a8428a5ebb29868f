// Reading the window skin (Vesk.thm and its picture folder), the shared cache of dialog
// shapes, and the sound hook of the skinned buttons.
#pragma once
#include <afxwin.h>

#include <string>

#define SKIN_DIALOG_MARK 10011
#define SKIN_FRAME_MARK 0xFECE
#define LOBBY_SHOWHIDE_COPYDATA 0xEBEBEB00u

extern const char* const kSkinDialogSection;  // "QKDLG"

// Values of the theme file; "" / the default when the paths are not set or the key is missing.
std::string SkinThemeString(const char* section, const char* key, const char* def = "");
int SkinThemeInt(const char* section, const char* key, int def);
COLORREF SkinThemeColor(const char* section, const char* key, COLORREF def);
// A dialog's value: its own section, with the QKDLG value as default.
std::string SkinDlgString(const char* section, const char* key, const char* def = "");
int SkinDlgInt(const char* section, const char* key, int def);
COLORREF SkinDlgColor(const char* section, const char* key, COLORREF def);
// A picture value as a path: a value holding a colon is already a full path; else the
// current net skin's "theme\<value>" when it has that file, else the theme's own.
std::string SkinImagePath(const std::string& value);
// The theme's 64 x 64 icon named by (section, key), or null.
HICON SkinLoadThemeIcon(const char* section, const char* key);
// Whether the configuration paths (and so the skin) are set up.
BOOL SkinPathsSet();

// The process-wide cache of shape regions, keyed by the whole picture file name
// (without regard to case). Each caller receives its own copy (delete it when done),
// so emptying the cache never takes a region from a live window. `build` makes the
// region when the name is not cached yet.
HRGN SkinRegionCacheCopy(const char* name, HBITMAP picture);
void SkinRegionCacheEmpty();
int SkinRegionCacheCount();

// Sounds of the skinned buttons go through the application's sound player.
typedef void (*SkinSoundPlayer)(UINT nSoundId);
void SetSkinSoundPlayer(SkinSoundPlayer player);
void SkinPlaySound(UINT nSoundId);

// Title font of the skinned windows: 12 x 6 pixels, weight 500, face from the resource
// string IDS_TITLEFONT (29931).
BOOL SkinCreateTitleFont(CFont& font, const char* face = nullptr);

// Turns off the minimize/restore animation while alive (and restores it after).
class CSkinAnimationOff {
 public:
  CSkinAnimationOff();
  ~CSkinAnimationOff();

 private:
  ANIMATIONINFO m_saved;
  BOOL m_bRead;
};
