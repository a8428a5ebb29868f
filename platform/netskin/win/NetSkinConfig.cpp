#include "NetSkinConfig.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "IniCache.h"
#include "LobbyLinks.h"
#include "NetSkinFolder.h"
#include "PeriodList.h"

namespace {

netskin::DateTime Now() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return netskin::DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

void Copy(char* dst, size_t size, const std::string& src) { std::snprintf(dst, size, "%s", src.c_str()); }

// The values of a section's keys, in the order of the keys. The file goes through a plain
// INI cache, as the theme's does: an enciphered file is read as well, a key given twice
// keeps its last value and a value is cut at its comment.
std::vector<std::string> SectionValues(const char* section, const char* ini) {
  std::vector<std::string> values;
  CIniCache cache;
  if (!cache.LoadFromFile(ini, FALSE, nullptr, FALSE)) return values;
  std::vector<char> names(32768, '\0');
  const DWORD n = cache.GetKeyNames(section, names.data(), (DWORD)names.size());
  std::vector<char> value(1024, '\0');
  for (DWORD p = 0; p < n && names[p];) {
    const char* key = &names[p];
    p += (DWORD)std::strlen(key) + 1;
    cache.GetString(section, key, "", value.data(), (DWORD)value.size());
    values.push_back(value.data());
  }
  return values;
}

}  // namespace

CNetSkinConfig& NetSkinConfig() {
  static CNetSkinConfig s_config;
  return s_config;
}

CNetSkinConfig::CNetSkinConfig() : m_bInit(FALSE) {
  m_szGame[0] = m_szSkin[0] = m_szSkinFolder[0] = m_szIni[0] = '\0';
  for (auto& f : m_szFolders) f[0] = '\0';
}

std::string CNetSkinConfig::ReadPlatformPath(const char* subKey) {
  char path[MAX_PATH] = "";
  DWORD size = sizeof path - 1, type = 0;
  HKEY key;
  const std::string name = std::string("Software\\Orvane\\Game\\") + subKey;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::string();
  const LONG rc = ::RegQueryValueExA(key, "Path", nullptr, &type, (BYTE*)path, &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return std::string();
  path[size < sizeof path ? size : sizeof path - 1] = '\0';
  return path;
}

int CNetSkinConfig::Init(const char* gameName, const char* skinName) {
  if (m_bInit || !gameName || !*gameName || !skinName || !*skinName) return 0;
  Copy(m_szGame, sizeof m_szGame, std::string(gameName).substr(0, 31));
  Copy(m_szSkin, sizeof m_szSkin, std::string(skinName).substr(0, 31));
  const std::string share = ReadPlatformPath("share");
  std::snprintf(m_szSkinFolder, sizeof m_szSkinFolder, "%s\\skin", share.c_str());
  std::snprintf(m_szIni, sizeof m_szIni, "%s\\GameClientSkin.ini", m_szSkinFolder);
  m_bInit = TRUE;
  return 1;
}

bool CNetSkinConfig::InstalledVersionIs(const std::string& folder, const std::string& version) const {
  char path[MAX_PATH], installed[32] = "";
  std::snprintf(path, sizeof path, "%s\\%s\\%s\\version.ini", m_szSkinFolder, m_szGame, folder.c_str());
  if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return false;
  ::GetPrivateProfileStringA("Version", "Version", "", installed, 31, path);
  return lstrcmpiA(installed, version.c_str()) == 0;
}

int CNetSkinConfig::Load() {
  if (!m_bInit) return 0;
  const std::string own = ReadPlatformPath(m_szGame);
  for (auto& f : m_szFolders) Copy(f, sizeof f, own);
  int found = 0;
  bool pictures = false;  // an entry of flag bit 1 names the pictures' folder
  const netskin::DateTime now = Now();
  for (const std::string& line : SectionValues(m_szGame, m_szIni)) {
    netskin::SkinEntry e;
    if (!netskin::ParseSkinEntry(line, &e) || e.id == 0 || lstrcmpiA(e.skinName.c_str(), m_szSkin) != 0) continue;
    netskin::CPeriodList periods("-", "&");
    if (!periods.Add(e.period, e.id, true, now) || !periods.Find(now, nullptr)) continue;
    if (!InstalledVersionIs(e.folder, e.version)) continue;
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "%s\\%s\\%s", m_szSkinFolder, m_szGame, e.folder.c_str());
    const bool use[4] = {(e.flags & 1) != 0, (e.flags & 3) != 0, (e.flags & 8) != 0, (e.flags & 2) != 0};
    for (int i = 0; i < 4; ++i)
      if (use[i]) Copy(m_szFolders[i], sizeof m_szFolders[i], folder), found = 1;
    pictures = pictures || use[0];
  }
  SetCurrentNetSkinFolder(pictures ? m_szFolders[0] : "");
  return found;
}

int CNetSkinConfig::HandleNetSkinData(const std::string& sectionText) {
  if (!m_bInit) return 0;
  // The section as the profile call wants it: "key=value" lines, each ended by a zero.
  std::string section;
  for (char c : sectionText.substr(0, 16384)) {
    if (c == '\r') continue;
    section += c == '\n' ? '\0' : c;
  }
  section += std::string(2, '\0');
  ::CreateDirectoryA(m_szSkinFolder, nullptr);
  if (!::WritePrivateProfileSectionA(m_szGame, section.c_str(), m_szIni)) return 0;
  const netskin::DateTime now = Now();
  for (const std::string& line : SectionValues(m_szGame, m_szIni)) {
    netskin::SkinEntry e;
    if (!netskin::ParseSkinEntry(line, &e) || e.id == 0 || lstrcmpiA(e.skinName.c_str(), m_szSkin) != 0) continue;
    netskin::CPeriodList periods("-", "&");
    if (!periods.Add(e.period, e.id, false, now) || periods.AllOver(now)) continue;
    if (InstalledVersionIs(e.folder, e.version)) continue;
    SendLobbyCopyData(e.package.c_str(), (int)netskin::PackVersion(e.version), 0);
  }
  Load();
  return 1;
}
