#include "SkinTheme.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "NetSkinFolder.h"
#include "QKBitmap.h"
#include "ResLoad.h"
#include "resource.h"

const char* const kSkinDialogSection = "QKDLG";

std::string SkinThemeString(const char* section, const char* key, const char* def) {
  if (!g_ConfigPaths.pathsSet || !section || !key) return def ? def : "";
  char value[512] = "";
  ::GetPrivateProfileStringA(section, key, def ? def : "", value, sizeof value, g_ConfigPaths.themeFile);
  return value;
}

int SkinThemeInt(const char* section, const char* key, int def) {
  if (!g_ConfigPaths.pathsSet || !section || !key) return def;
  return (int)::GetPrivateProfileIntA(section, key, def, g_ConfigPaths.themeFile);
}

COLORREF SkinThemeColor(const char* section, const char* key, COLORREF def) {
  if (!g_ConfigPaths.pathsSet || !section || !key) return def;
  return ReadIniColor(section, key, def, g_ConfigPaths.themeFile);
}

std::string SkinDlgString(const char* section, const char* key, const char* def) {
  std::string base = SkinThemeString(kSkinDialogSection, key, def);
  return SkinThemeString(section, key, base.c_str());
}

int SkinDlgInt(const char* section, const char* key, int def) {
  return SkinThemeInt(section, key, SkinThemeInt(kSkinDialogSection, key, def));
}

COLORREF SkinDlgColor(const char* section, const char* key, COLORREF def) {
  return SkinThemeColor(section, key, SkinThemeColor(kSkinDialogSection, key, def));
}

std::string SkinImagePath(const std::string& value) {
  if (value.empty()) return value;
  if (value.find(':') != std::string::npos) return value;
  // A net skin in force brings its own pictures in its theme folder.
  return NetSkinPicture("\\theme\\" + value, std::string(g_ConfigPaths.themeFolder) + value);
}

HICON SkinLoadThemeIcon(const char* section, const char* key) {
  std::string name = SkinThemeString(section, key, "");
  if (name.empty()) return nullptr;
  return (HICON)::LoadImageA(nullptr, SkinImagePath(name).c_str(), IMAGE_ICON, 64, 64, LR_LOADFROMFILE);
}

BOOL SkinPathsSet() { return g_ConfigPaths.pathsSet; }

// ---- region cache ----------------------------------------------------------------------

namespace {
struct CachedRegion {
  std::string name;
  HRGN region;
};
std::vector<CachedRegion>& Cache() {
  static std::vector<CachedRegion> cache;  // newest first
  return cache;
}
bool SameName(const std::string& a, const char* b) { return ::lstrcmpiA(a.c_str(), b) == 0; }

HRGN CopyRegion(HRGN from) {
  HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
  if (copy && ::CombineRgn(copy, from, nullptr, RGN_COPY) == ERROR) {
    ::DeleteObject(copy);
    copy = nullptr;
  }
  return copy;
}
}  // namespace

HRGN SkinRegionCacheCopy(const char* name, HBITMAP picture) {
  if (!name || !*name) return nullptr;
  auto& cache = Cache();
  for (const CachedRegion& e : cache)
    if (SameName(e.name, name)) return CopyRegion(e.region);
  HRGN made = BitmapToRegionKeyed(picture, 0, 0);
  if (!made) return nullptr;
  cache.insert(cache.begin(), CachedRegion{name, made});
  return CopyRegion(made);
}

void SkinRegionCacheEmpty() {
  for (const CachedRegion& e : Cache()) ::DeleteObject(e.region);
  Cache().clear();
}

int SkinRegionCacheCount() { return (int)Cache().size(); }

// ---- sounds, fonts, animation ------------------------------------------------------------

namespace {
SkinSoundPlayer g_soundPlayer = nullptr;
}
void SetSkinSoundPlayer(SkinSoundPlayer player) { g_soundPlayer = player; }
void SkinPlaySound(UINT nSoundId) {
  if (nSoundId && g_soundPlayer) g_soundPlayer(nSoundId);
}

BOOL SkinCreateTitleFont(CFont& font, const char* face) {
  CString name;
  if (face && *face)
    name = face;
  else if (!name.LoadString(IDS_TITLEFONT) || name.IsEmpty())
    name = VESK_FACE_SONG;
  font.DeleteObject();
  return font.CreateFont(12, 6, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name);
}

CSkinAnimationOff::CSkinAnimationOff() {
  m_saved.cbSize = sizeof m_saved;
  m_bRead = ::SystemParametersInfoA(SPI_GETANIMATION, sizeof m_saved, &m_saved, 0);
  if (m_bRead) {
    ANIMATIONINFO off = m_saved;
    off.iMinAnimate = 0;
    ::SystemParametersInfoA(SPI_SETANIMATION, sizeof off, &off, 0);
  }
}

CSkinAnimationOff::~CSkinAnimationOff() {
  if (m_bRead) ::SystemParametersInfoA(SPI_SETANIMATION, sizeof m_saved, &m_saved, 0);
}
