// CNetSkinConfig: the platform's time-limited net skin for this game. Load picks the
// entries of GameClientSkin.ini whose period is current and whose installed version
// matches, and gives the folders to take pictures from; HandleNetSkinData stores what the
// server sends and tells the lobby about skins to fetch.
#pragma once
#include <windows.h>

#include <string>

class CNetSkinConfig {
 public:
  CNetSkinConfig();

  int Init(const char* gameName, const char* skinName);
  int Load();
  int HandleNetSkinData(const std::string& sectionText);

  // Result folders for flag bits 1, 1 or 2, 8 and 2; the game's own folder when no entry
  // names them.
  const char* GetFolder(int index) const { return index >= 0 && index < 4 ? m_szFolders[index] : ""; }
  const char* GetIniPath() const { return m_szIni; }
  const char* GetSkinFolder() const { return m_szSkinFolder; }

  // The folders come from these registry paths (tests point them elsewhere).
  static std::string ReadPlatformPath(const char* subKey);

  char m_szGame[32];
  char m_szSkin[32];
  char m_szSkinFolder[MAX_PATH];
  char m_szIni[MAX_PATH];
  char m_szFolders[4][MAX_PATH];

 private:
  bool InstalledVersionIs(const std::string& folder, const std::string& version) const;
  BOOL m_bInit;
};

CNetSkinConfig& NetSkinConfig();
