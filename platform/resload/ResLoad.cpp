#include <afxwin.h>

#include "ResLoad.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

ConfigPaths g_ConfigPaths;

namespace {

const char kGameKey[] = "Software\\Orvane\\Game";
HINSTANCE g_hResourceModule = nullptr;
ResVersionInfo g_VersionInfo;

void CopyText(char* dst, size_t size, const char* src) {
  if (!size) return;
  size_t n = src ? strnlen(src, size - 1) : 0;
  if (n) std::memcpy(dst, src, n);
  dst[n] = 0;
}

void DefaultSetResourceHandle(HINSTANCE module) {
  g_hResourceModule = module;
  AfxSetResourceHandle(module);
}

int DefaultMessageBox(const char* text, UINT type) { return AfxMessageBox(text, type); }

// The top section of a profile: the application's own profile machinery when it runs
// (the profile name switched for the read and restored), else the same registry key.
std::string DefaultReadProfileString(const char* profileName, const char* entry) {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pszRegistryKey) {
    LPCSTR saved = app->m_pszProfileName;
    app->m_pszProfileName = profileName;
    CString value = app->GetProfileString("", entry, "");
    app->m_pszProfileName = saved;
    return std::string((LPCSTR)value);
  }
  std::string key = std::string(kGameKey) + "\\" + (profileName ? profileName : "");
  return ReadRegistryString(key.c_str(), entry, "");
}

ResLoadServices g_Services = {DefaultSetResourceHandle, DefaultMessageBox, DefaultReadProfileString, nullptr};

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return std::string(path, n);
}

// A version block read whole; empty when the file has none.
std::vector<BYTE> ReadVersionBlock(const std::string& path, bool* outOfMemory) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  std::vector<BYTE> block;
  if (!size) return block;
  try {
    block.resize(size);
  } catch (const std::bad_alloc&) {
    *outOfMemory = true;
    return std::vector<BYTE>();
  }
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) block.clear();
  return block;
}

bool FixedInfo(const std::vector<BYTE>& block, VS_FIXEDFILEINFO* out) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (block.empty() || !VerQueryValueA(block.data(), "\\", (void**)&fixed, &len) || !fixed ||
      len < sizeof(VS_FIXEDFILEINFO))
    return false;
  *out = *fixed;
  return true;
}

DWORD FirstTranslation(const std::vector<BYTE>& block) {
  WORD* tr = nullptr;
  UINT len = 0;
  if (block.empty() || !VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&tr, &len) || !tr || len < 4)
    return 0;
  return MAKELONG(tr[0], tr[1]);
}

void QueryText(const std::vector<BYTE>& block, DWORD translation, const char* key, char* out, size_t size) {
  out[0] = 0;
  if (block.empty()) return;
  char query[128];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", LOWORD(translation), HIWORD(translation), key);
  char* value = nullptr;
  UINT len = 0;
  if (VerQueryValueA(block.data(), query, (void**)&value, &len) && value) {
    // The value may not be terminated within its length: copy at most that much.
    size_t n = strnlen(value, len ? len : 0);
    CopyText(out, size < n + 1 ? size : n + 1, value);
  }
}

void ShowFailure(ResLibCheck result, const char* programName) {
  std::string text = ResLibFailureText(result, programName ? programName : "");
  if (g_Services.messageBox) g_Services.messageBox(text.c_str(), MB_ICONHAND);
}

}  // namespace

// ---- services ------------------------------------------------------------------

void SetResLoadServices(const ResLoadServices& services) {
  g_Services = services;
  if (!g_Services.setResourceHandle) g_Services.setResourceHandle = DefaultSetResourceHandle;
  if (!g_Services.messageBox) g_Services.messageBox = DefaultMessageBox;
  if (!g_Services.readProfileString) g_Services.readProfileString = DefaultReadProfileString;
}

const ResLoadServices& GetResLoadServices() { return g_Services; }
HINSTANCE GetResourceModule() { return g_hResourceModule; }
const ResVersionInfo& GetResVersionInfo() { return g_VersionInfo; }

// ---- resource library ---------------------------------------------------------

HMODULE LoadResourceLibrary(const char* programName) {
  if (!programName || !*programName) return nullptr;
  char folder[MAX_PATH];
  CopyText(folder, sizeof folder, ModulePath(nullptr).c_str());
  CutAtLastSeparator(folder);
  char path[MAX_PATH * 2];
  std::snprintf(path, sizeof path, "%s\\%s_Res.dll", folder, programName);
  HMODULE module = LoadLibraryA(path);
  if (module) return module;
  std::string other = g_Services.readProfileString(programName, "Path");
  if (other.empty()) return nullptr;
  std::snprintf(path, sizeof path, "%s\\%s_Res.dll", other.c_str(), programName);
  return LoadLibraryA(path);
}

ResLibCheck CheckResourceVersions(const char* programPath, HMODULE library, ResVersionInfo* info) {
  bool outOfMemory = false;
  std::vector<BYTE> program = ReadVersionBlock(programPath ? programPath : "", &outOfMemory);
  std::vector<BYTE> lib = ReadVersionBlock(ModulePath(library), &outOfMemory);
  if (outOfMemory) return RESLIB_OUT_OF_MEMORY;
  VS_FIXEDFILEINFO progFixed = {}, libFixed = {};
  if (!FixedInfo(program, &progFixed) || !FixedInfo(lib, &libFixed)) return RESLIB_NOT_VALID;

  ResVersionInfo v;
  v.programVersionMS = progFixed.dwFileVersionMS;
  v.programVersionLS = progFixed.dwFileVersionLS;
  v.libraryVersionMS = libFixed.dwFileVersionMS;
  v.libraryVersionLS = libFixed.dwFileVersionLS;
  v.programTranslation = FirstTranslation(program);
  v.libraryTranslation = FirstTranslation(lib);
  QueryText(program, v.programTranslation, "InternalName", v.programInternalName, sizeof v.programInternalName);
  QueryText(lib, v.libraryTranslation, "InternalName", v.libraryInternalName, sizeof v.libraryInternalName);

  ModuleVersionFacts progFacts{progFixed.dwFileType, progFixed.dwFileVersionMS, progFixed.dwFileVersionLS,
                               v.programInternalName};
  ModuleVersionFacts libFacts{libFixed.dwFileType, libFixed.dwFileVersionMS, libFixed.dwFileVersionLS,
                              v.libraryInternalName};
  ResLibCheck result = CheckResourceLibrary(progFacts, libFacts);
  if (result != RESLIB_OK) return result;

  CopyText(v.programVersionText, sizeof v.programVersionText,
           FormatVersionText(v.programVersionMS, v.programVersionLS).c_str());
  CopyText(v.libraryVersionText, sizeof v.libraryVersionText,
           FormatVersionText(v.libraryVersionMS, v.libraryVersionLS).c_str());
  CopyText(v.shortVersionText, sizeof v.shortVersionText,
           FormatShortVersion(v.programVersionMS, v.programVersionLS).c_str());
  QueryText(lib, v.libraryTranslation, "FileDescription", v.fileDescription, sizeof v.fileDescription);
  QueryText(lib, v.libraryTranslation, "ProductName", v.productName, sizeof v.productName);
  QueryText(lib, v.libraryTranslation, "CompanyName", v.companyName, sizeof v.companyName);
  QueryText(lib, v.libraryTranslation, "LegalCopyright", v.legalCopyright, sizeof v.legalCopyright);
  QueryText(lib, v.libraryTranslation, "Comments", v.comments, sizeof v.comments);
  QueryText(program, v.programTranslation, "SpecialBuild", v.specialBuild, sizeof v.specialBuild);
  if (info) *info = v;
  return RESLIB_OK;
}

int InitResourceLibrary(const char* programName) {
  HMODULE library = LoadResourceLibrary(programName);
  if (!library) {
    ShowFailure(RESLIB_NOT_FOUND, programName);
    return 0;
  }
  // Installed before the check and kept for the life of the process, even after a failed check.
  g_Services.setResourceHandle(library);

  // The program's own file comes from the module, not from the command line.
  ResVersionInfo info;
  ResLibCheck result = CheckResourceVersions(ModulePath(nullptr).c_str(), library, &info);
  if (result != RESLIB_OK) {
    ShowFailure(result, programName);
    return 0;
  }
  char codePage[16] = "";
  LoadStringA(library, 29936, codePage, sizeof codePage);
  info.codePage = SafeAtoi(codePage);
  info.osVersion.dwOSVersionInfoSize = sizeof info.osVersion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&info.osVersion);
#pragma GCC diagnostic pop
  g_VersionInfo = info;
  if (g_Services.bindCodePageLibrary) g_Services.bindCodePageLibrary();  // its result does not matter here
  return 1;
}

// ---- language resources -------------------------------------------------------------

std::string ReadRegistryString(const char* subKey, const char* valueName, const char* defaultValue) {
  std::string result = defaultValue ? defaultValue : "";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey ? subKey : "", 0, KEY_READ, &key) != ERROR_SUCCESS) return result;
  char buf[1024];
  DWORD size = sizeof buf - 1, type = 0;
  LONG rc = RegQueryValueExA(key, valueName, nullptr, &type, (BYTE*)buf, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return result;
  // Stored strings need not be terminated: terminate inside the buffer.
  buf[size < sizeof buf ? size : sizeof buf - 1] = 0;
  return std::string(buf, strnlen(buf, size));
}

BOOL ReadRegistryDword(const char* subKey, const char* valueName, void* buffer, DWORD size) {
  HKEY key = nullptr;
  if (!buffer || RegOpenKeyExA(HKEY_CURRENT_USER, subKey ? subKey : "", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return FALSE;
  DWORD len = size;
  LONG rc = RegQueryValueExA(key, valueName, nullptr, nullptr, (BYTE*)buffer, &len);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

std::string GetLangRscUrl(const char* key) {
  std::string folder = g_Services.readProfileString("Share", "Path");
  if (folder.empty() || !key) return std::string();
  std::string file = folder + "\\LangRsc.ini";
  char buf[256] = "";
  GetPrivateProfileStringA("URL", key, "", buf, sizeof buf, file.c_str());
  return buf;
}

std::string GetLangRscString(int number) {
  std::string folder = ReadRegistryString("Software\\Orvane\\Game\\share", "Path", "");
  if (folder.empty()) return std::string();
  std::string file = folder + "\\LangRsc.ini";
  char key[16];
  std::snprintf(key, sizeof key, "%d", number);
  char buf[1024] = "";
  GetPrivateProfileStringA("String", key, "", buf, sizeof buf, file.c_str());
  return buf;
}

// ---- module versions ------------------------------------------------------------------

CModuleVersion::~CModuleVersion() { Clear(); }

void CModuleVersion::Clear() {
  delete[] m_pVersionInfo;
  m_pVersionInfo = nullptr;
  m_szPath[0] = 0;
  m_szVersion[0] = 0;
  for (WORD& w : m_wVersion) w = 0;
}

BOOL CModuleVersion::Load(const char* path) {
  Clear();
  if (path && *path)
    CopyText(m_szPath, sizeof m_szPath, path);
  else
    CopyText(m_szPath, sizeof m_szPath, ModulePath(nullptr).c_str());
  DWORD handle = 0, size = GetFileVersionInfoSizeA(m_szPath, &handle);
  if (!size) return FALSE;
  m_pVersionInfo = new (std::nothrow) BYTE[size];
  if (!m_pVersionInfo || !GetFileVersionInfoA(m_szPath, 0, size, m_pVersionInfo)) return FALSE;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(m_pVersionInfo, "\\", (void**)&fixed, &len) || !fixed || len < sizeof *fixed) return FALSE;
  uint16_t w[4];
  SplitFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, w);
  for (int i = 0; i < 4; ++i) m_wVersion[i] = w[i];
  CopyText(m_szVersion, sizeof m_szVersion, FormatDottedVersion(w).c_str());
  return TRUE;
}

BOOL CModuleVersion::LoadFromShareDir(const char* file, const char* folderKey) {
  char key[300];
  std::snprintf(key, sizeof key, "Software\\Orvane\\Game\\%s", folderKey ? folderKey : "Share");
  std::string folder = ReadRegistryString(key, "path", "").substr(0, 259);
  char path[MAX_PATH * 2];
  std::snprintf(path, sizeof path, "%s\\%s", folder.c_str(), file ? file : "");
  if (std::strlen(path) >= MAX_PATH) {
    Clear();
    return FALSE;
  }
  return Load(path);
}

int CModuleVersion::Compare(const char* text) const {
  uint16_t want[4], have[4];
  ParseVersion(text, want);
  for (int i = 0; i < 4; ++i) have[i] = m_wVersion[i];
  return CompareVersionWords(have, want) >= 0 ? 1 : 0;
}

// ---- paths -----------------------------------------------------------------------------

BOOL GetModuleFolder(char* buffer, size_t size, HMODULE module) {
  if (!buffer || !size) return FALSE;
  std::string path = ModulePath(module);
  size_t cut = path.find_last_of('\\');
  if (path.empty() || cut == std::string::npos || cut + 2 > size) {
    buffer[0] = 0;
    return FALSE;
  }
  CopyText(buffer, cut + 2, path.c_str());
  return TRUE;
}

BOOL FileExists(const char* path) { return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

BOOL IsDirectory(const char* path) {
  if (!path) return FALSE;
  DWORD a = GetFileAttributesA(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL MakeDirectories(const char* path) {
  if (!path || !*path) return FALSE;
  std::string p = path;
  for (size_t i = 0; i <= p.size(); ++i) {
    if (i < p.size() && p[i] != '\\') continue;
    std::string part = p.substr(0, i);
    if (part.empty() || (part.size() == 2 && part[1] == ':')) continue;  // root or drive
    if (IsDirectory(part.c_str())) continue;
    if (!CreateDirectoryA(part.c_str(), nullptr) && !IsDirectory(part.c_str())) return FALSE;
  }
  return TRUE;
}

void BuildConfigPaths(const char* programName, BOOL platformLayout, const ConfigSettings* settings) {
  ConfigPaths& c = g_ConfigPaths;
  const char* name = programName ? programName : "";
  CopyText(c.programName, sizeof c.programName, name);
  char folder[MAX_PATH] = "";
  GetModuleFolder(folder, sizeof folder, nullptr);
  size_t n = std::strlen(folder);
  if (n && folder[n - 1] == '\\') folder[n - 1] = 0;  // kept without its trailing backslash
  CopyText(c.programFolder, sizeof c.programFolder, folder);
  std::snprintf(c.programIni, sizeof c.programIni, "%s\\%s.ini", c.programFolder, name);

  std::string share;
  if (platformLayout) {
    // Only a program registered by the platform lives in its layout.
    std::string key = std::string(kGameKey) + "\\" + name;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
      RegCloseKey(h);
      share = PlatformShareFolder(std::string(c.programFolder) + "\\", name);
    }
  }
  if (!share.empty()) {
    CopyText(c.shareFolder, sizeof c.shareFolder, share.c_str());
    std::snprintf(c.themeFolder, sizeof c.themeFolder, "%sTheme\\share\\", share.c_str());
    std::snprintf(c.themeFile, sizeof c.themeFile, "%sTheme\\%s.thm", share.c_str(), name);
  } else {
    const char* base = settings && settings->alternativeFolder && *settings->alternativeFolder
                           ? settings->alternativeFolder
                           : c.programFolder;
    c.shareFolder[0] = 0;
    std::snprintf(c.themeFolder, sizeof c.themeFolder, "%s\\Theme\\", base);
    std::snprintf(c.themeFile, sizeof c.themeFile, "%s%s.thm", c.themeFolder, name);
  }
  c.pathsSet = TRUE;
}

// ---- INI values and display text --------------------------------------------------------

COLORREF ReadIniColor(const char* section, const char* key, COLORREF defaultColor, const char* file) {
  char value[64] = "";
  GetPrivateProfileStringA(section, key, "", value, sizeof value, file);
  return ParseIniColorText(value, defaultColor);
}

void ReadIniPair(const char* section, const char* key, int* first, int* second, const char* file) {
  char value[64] = "";
  GetPrivateProfileStringA(section, key, "", value, sizeof value, file);
  ParseIniPairText(value, first, second);
}

std::string EllipsizeText(HDC dc, const char* text, int width, int margin) {
  if (!text) return std::string();
  auto extent = [dc](const char* s, size_t n) {
    SIZE size = {0, 0};
    if (n) GetTextExtentPoint32A(dc, s, (int)n, &size);
    return (int)size.cx;
  };
  return EllipsizeBytes(text, width, margin, extent);
}
