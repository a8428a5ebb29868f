// Loading and checking the resource library, language resources, module versions,
// configuration paths, INI value readers and display-text helpers (Windows side).
#pragma once
#include <windows.h>

#include <string>

#include "ResCore.h"

// ---- services the application layer provides ---------------------------------
// How the loader reaches the application framework. The defaults are the framework's
// calls (AfxSetResourceHandle, AfxMessageBox, the application's profile; without a
// running application the profile is read from HKCU\Software\Orvane\Game\<profile>);
// tests install their own to watch what the loader does.
struct ResLoadServices {
  // Makes a module the resource module for every later look-up (AfxSetResourceHandle).
  void (*setResourceHandle)(HINSTANCE module);
  // Shows a failure text (AfxMessageBox); returns the button pressed.
  int (*messageBox)(const char* text, UINT type);
  // Reads a value of the top section of an application profile.
  std::string (*readProfileString)(const char* profileName, const char* entry);
  // Binds the code-page converter (Part of the outside-library binders); may be null.
  int (*bindCodePageLibrary)();
};
void SetResLoadServices(const ResLoadServices& services);
const ResLoadServices& GetResLoadServices();
// The module installed by the default setResourceHandle (null before).
HINSTANCE GetResourceModule();

// ---- version information kept for the whole run ----------------------------------
struct ResVersionInfo {
  DWORD programVersionMS = 0, programVersionLS = 0;
  DWORD libraryVersionMS = 0, libraryVersionLS = 0;
  char programVersionText[32] = "";  // "%d.%02d.%d.%d"
  char libraryVersionText[32] = "";
  char shortVersionText[32] = "";  // "%d.%02d%s"
  DWORD programTranslation = 0;    // language in the low word, code page in the high word
  DWORD libraryTranslation = 0;
  char programInternalName[60] = "";
  char libraryInternalName[60] = "";
  char fileDescription[60] = "";  // the library's
  char productName[60] = "";
  char companyName[60] = "";
  char legalCopyright[60] = "";
  char comments[60] = "";
  char specialBuild[60] = "";  // the program's
  OSVERSIONINFOA osVersion = {};
  int codePage = 0;  // atoi of IDS_CODEPAGE
};
const ResVersionInfo& GetResVersionInfo();

// ---- resource library ---------------------------------------------------------
// "<program folder>\<name>_Res.dll", else the same name in the folder of the
// application profile's value "Path".
HMODULE LoadResourceLibrary(const char* programName);
// Loads, installs and checks the library; 1 on success, 0 after showing the failure.
int InitResourceLibrary(const char* programName);
// The check alone, on a loaded library and a program file (for start-up and tests).
ResLibCheck CheckResourceVersions(const char* programPath, HMODULE library, ResVersionInfo* info);

// ---- language resources -------------------------------------------------------------
std::string GetLangRscUrl(const char* key);  // section URL, up to 255 characters
std::string GetLangRscString(int number);    // section String, up to 1023 characters
// HKCU sub key value read into 1024 bytes; the default when the key or value is missing.
std::string ReadRegistryString(const char* subKey, const char* valueName, const char* defaultValue);
// RegQueryValueEx of a HKCU sub key's value into the buffer; TRUE on success.
BOOL ReadRegistryDword(const char* subKey, const char* valueName, void* buffer, DWORD size);

// ---- module versions ------------------------------------------------------------------
class CModuleVersion {
 public:
  CModuleVersion() = default;
  ~CModuleVersion();
  CModuleVersion(const CModuleVersion&) = delete;
  CModuleVersion& operator=(const CModuleVersion&) = delete;

  // An empty or null path means this program's own module file.
  BOOL Load(const char* path);
  // Loads "<HKCU\Software\Orvane\Game\<folderKey> value path>\<file>".
  BOOL LoadFromShareDir(const char* file, const char* folderKey = "Share");
  // Low bit 1 when the loaded version is at least the text's version.
  int Compare(const char* text) const;

  char m_szPath[MAX_PATH] = "";
  BYTE* m_pVersionInfo = nullptr;
  WORD m_wVersion[4] = {0, 0, 0, 0};
  char m_szVersion[64] = "";

 private:
  void Clear();
};

// ---- paths -----------------------------------------------------------------------------
// The module's file path cut behind its last backslash (the backslash stays).
BOOL GetModuleFolder(char* buffer, size_t size, HMODULE module);
BOOL FileExists(const char* path);
BOOL IsDirectory(const char* path);
BOOL MakeDirectories(const char* path);

struct ConfigSettings {
  const char* alternativeFolder = nullptr;  // theme folder base outside the platform layout
};
struct ConfigPaths {
  char programFolder[MAX_PATH] = "";
  char programIni[MAX_PATH] = "";
  char programName[64] = "";
  char shareFolder[MAX_PATH] = "";
  char themeFolder[MAX_PATH] = "";
  char themeFile[MAX_PATH] = "";
  BOOL pathsSet = FALSE;
};
// Fills the configuration paths (kept in g_ConfigPaths). With the platform layout the
// theme lives under the platform's Share folder; when the platform's game key is
// missing, or the program does not sit in that layout, the layout beside the program is used.
void BuildConfigPaths(const char* programName, BOOL platformLayout, const ConfigSettings* settings);
extern ConfigPaths g_ConfigPaths;

// ---- INI values and display text --------------------------------------------------------
COLORREF ReadIniColor(const char* section, const char* key, COLORREF defaultColor, const char* file);
void ReadIniPair(const char* section, const char* key, int* first, int* second, const char* file);
// Returns its own string: the text, or its longest whole-character head plus "...".
std::string EllipsizeText(HDC dc, const char* text, int width, int margin);
