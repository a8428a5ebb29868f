// CNetSkinConfig over a real skin folder: the entry whose period is current and whose
// installed version matches gives the folders; one outside its period or with another
// version does not; data from the server is stored and takes effect.
#include "NetSkinConfig.h"
#include "IniCacheCore.h"
#include "NetSkinFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

BOOL SendLobbyCopyData(const char*, int, WPARAM) { return FALSE; }  // no lobby in this test

namespace {

// Points the platform's share and game paths at a folder of the test, restoring them after.
class NetSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    ::GetTempPathA(sizeof tmp, tmp);
    root = std::string(tmp) + "vesk_netskin_test";
    Save("share", &oldShare);
    Save("NetSkinGame", &oldGame);
    Set("share", root);
    Set("NetSkinGame", root + "\\own");
    ::CreateDirectoryA(root.c_str(), nullptr);
    ::CreateDirectoryA((root + "\\skin").c_str(), nullptr);
    ::CreateDirectoryA((root + "\\skin\\NetSkinGame").c_str(), nullptr);
    Installed("now", "1.0");
    Installed("old", "1.0");
    Installed("stale", "0.9");
    ::DeleteFileA((root + "\\skin\\GameClientSkin.ini").c_str());
  }
  void TearDown() override {
    Set("share", oldShare);
    Set("NetSkinGame", oldGame);
  }
  void Installed(const char* folder, const char* version) {
    const std::string dir = root + "\\skin\\NetSkinGame\\" + folder;
    ::CreateDirectoryA(dir.c_str(), nullptr);
    ::WritePrivateProfileStringA("Version", "Version", version, (dir + "\\version.ini").c_str());
  }
  static void Save(const char* sub, std::string* out) { *out = CNetSkinConfig::ReadPlatformPath(sub); }
  static void Set(const char* sub, const std::string& value) {
    HKEY key;
    const std::string name = std::string("Software\\Orvane\\Game\\") + sub;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != 0)
      return;
    ::RegSetValueExA(key, "Path", 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)value.size() + 1);
    ::RegCloseKey(key);
  }
  std::string root, oldShare, oldGame;
};

TEST_F(NetSkinTest, CurrentEntriesChooseTheFoldersAndServerDataTakesEffect) {
  CNetSkinConfig config;
  ASSERT_TRUE(config.Init("NetSkinGame", "Spring"));
  EXPECT_FALSE(config.Init("Other", "Spring")) << "only once";
  EXPECT_FALSE(config.Load()) << "no entries yet";
  EXPECT_EQ(std::string(config.GetFolder(0)), root + "\\own");
  // From the server: one entry in its period, one over, one with another version, one
  // whose folder would leave the skin folder.
  const std::string data =
      "1=1,Spring,old,2001/1/1-2001/12/31,pkg,1.0,1\r\n"
      "2=2,spring,now,2001/1/1-2099/12/31,pkg,1.0,1\r\n"
      "3=3,Spring,stale,2001/1/1-2099/12/31,pkg,1.0,8\r\n"
      "4=4,Spring,..,2001/1/1-2099/12/31,pkg,1.0,2\r\n";
  EXPECT_TRUE(config.HandleNetSkinData(data));
  EXPECT_TRUE(config.Load());
  EXPECT_EQ(std::string(config.GetFolder(0)), root + "\\skin\\NetSkinGame\\now");
  EXPECT_EQ(std::string(config.GetFolder(1)), root + "\\skin\\NetSkinGame\\now");
  EXPECT_EQ(std::string(config.GetFolder(2)), root + "\\own") << "the stale version is not used";
  EXPECT_EQ(std::string(config.GetFolder(3)), root + "\\own") << "the escaping folder is not used";
}

// The pictures' lookup follows the entry in force: its file when it has one, else the
// caller's own; nothing of the skin once no entry is current.
TEST_F(NetSkinTest, PicturesComeFromTheCurrentSkinElseTheTheme) {
  CNetSkinConfig config;
  ASSERT_TRUE(config.Init("NetSkinGame", "Spring"));
  const std::string now = root + "\\skin\\NetSkinGame\\now";
  ::CreateDirectoryA((now + "\\theme").c_str(), nullptr);
  FILE* f = std::fopen((now + "\\theme\\frame01.bmp").c_str(), "wb");
  ASSERT_TRUE(f);
  std::fclose(f);
  ASSERT_TRUE(config.HandleNetSkinData("1=1,Spring,now,2001/1/1-2099/12/31,pkg,1.0,1\n"));
  EXPECT_EQ(CurrentNetSkinFolder(), now) << "taking the server's data reloads the choice";
  EXPECT_EQ(NetSkinPicture("\\theme\\frame01.bmp", "C:\\own\\frame01.bmp"), now + "\\theme\\frame01.bmp");
  EXPECT_EQ(NetSkinPicture("\\theme\\frame00.bmp", "C:\\own\\frame00.bmp"), "C:\\own\\frame00.bmp");
  // Flag 8 alone names no picture folder.
  ASSERT_TRUE(config.HandleNetSkinData("1=1,Spring,now,2001/1/1-2099/12/31,pkg,1.0,8\n"));
  EXPECT_EQ(CurrentNetSkinFolder(), "");
  ASSERT_TRUE(config.HandleNetSkinData("1=1,Spring,now,2001/1/1-2001/12/31,pkg,1.0,1\n"));
  EXPECT_EQ(CurrentNetSkinFolder(), "") << "a period that is over";
  EXPECT_EQ(NetSkinPicture("\\theme\\frame01.bmp", "C:\\own\\frame01.bmp"), "C:\\own\\frame01.bmp");
}

// Writes GameClientSkin.ini, plain or enciphered as the platform may keep it.
void WriteSkinIni(const std::string& path, const std::string& text, bool enciphered) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  if (enciphered) {
    vesk::StdIniFileAccess files;
    vesk::IniCacheCore core(files);
    ASSERT_TRUE(core.LoadFromMemory(bytes.data(), bytes.size(), true, nullptr));
    bytes = core.BuildStoredFile();
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The file goes through the INI cache, in both its forms: a key given twice counts once
// (its last value), and a comment behind a value is not part of it.
TEST_F(NetSkinTest, TheFileIsReadThroughTheIniCache) {
  const std::string ini = root + "\\skin\\GameClientSkin.ini";
  for (bool enciphered : {false, true}) {
    SCOPED_TRACE(enciphered ? "enciphered" : "plain");
    // Key 1's second line replaces its first; cut at its comment it lacks the flags field.
    WriteSkinIni(ini,
                 "[NetSkinGame]\r\n"
                 "1=1,Spring,now,2001/1/1-2099/12/31,pkg,1.0,8\r\n"
                 "1=1,Spring,now,2001/1/1-2099/12/31,pkg;1.0,1\r\n",
                 enciphered);
    CNetSkinConfig config;
    ASSERT_TRUE(config.Init("NetSkinGame", "Spring"));
    EXPECT_FALSE(config.Load());
    EXPECT_EQ(std::string(config.GetFolder(2)), root + "\\own") << "the first line of key 1 is not used";
    WriteSkinIni(ini, "[NetSkinGame]\r\n1=1,Spring,now,2001/1/1-2099/12/31,pkg,1.0,1 ; pictures\r\n", enciphered);
    EXPECT_TRUE(config.Load());
    EXPECT_EQ(std::string(config.GetFolder(0)), root + "\\skin\\NetSkinGame\\now");
  }
}

}  // namespace
