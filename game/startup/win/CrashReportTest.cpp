#include "CrashReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string TempFolder() {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string f = std::string(tmp) + "vesk_crashreport_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(f.c_str(), nullptr);
  return f;
}

void SetSharePath(const std::string* folder) {
  HKEY key;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  if (folder)
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder->c_str()),
                   static_cast<DWORD>(folder->size() + 1));
  else
    RegDeleteValueA(key, "Path");
  RegCloseKey(key);
}

// Restores the shared Path value the prefix had before the test.
struct SharePathGuard {
  std::string saved;
  bool had = false;
  SharePathGuard() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share", 0, KEY_READ, &key) == ERROR_SUCCESS) {
      char buf[MAX_PATH + 1] = {};
      DWORD size = MAX_PATH;
      had = RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS;
      saved = buf;
      RegCloseKey(key);
    }
  }
  ~SharePathGuard() { SetSharePath(had ? &saved : nullptr); }
};

}  // namespace

TEST(CrashReport, SwitchComesFromTheSharedLanguageFile) {
  SharePathGuard guard;
  std::string folder = TempFolder();
  std::string ini = folder + "\\LangRsc.ini";
  SetSharePath(&folder);
  struct Case {
    const char* value;
    int on, autoReport;
  } cases[] = {{"1,0", 1, 0}, {"1", 1, 1}, {"0,0", 0, 1}, {nullptr, 0, 1}};
  for (const auto& c : cases) {
    WritePrivateProfileStringA("ZOLT", "20010", c.value, ini.c_str());
    int on = -1, autoReport = -1;
    CCrashReport::ReadSwitch(on, autoReport);
    EXPECT_EQ(on, c.on) << (c.value ? c.value : "(missing)");
    EXPECT_EQ(autoReport, c.autoReport) << (c.value ? c.value : "(missing)");
  }
  WritePrivateProfileStringA("ZOLT", "20010", "1", ini.c_str());
  WritePrivateProfileStringA("ZOLT", "ReportServer", "reports.local", ini.c_str());
  EXPECT_EQ(CCrashReport::ReadReportHost(), "reports.local");
  SetSharePath(nullptr);
  int on = -1, autoReport = -1;
  CCrashReport::ReadSwitch(on, autoReport);
  EXPECT_EQ(on, 0);
  EXPECT_EQ(CCrashReport::ReadReportHost(), "127.0.0.1");
  DeleteFileA(ini.c_str());
}

TEST(CrashReport, CreationFailureWritesTheStandardErrorLine) {
  SetEnvironmentVariableA("ZOLT_FAIL_CREATE", "42");
  FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  CCrashReport report;
  EXPECT_FALSE(report.Start("127.0.0.1", "alice", 1, err));
  SetEnvironmentVariableA("ZOLT_FAIL_CREATE", nullptr);
  std::rewind(err);
  char line[128] = {};
  ASSERT_NE(std::fgets(line, sizeof line, err), nullptr);
  std::fclose(err);
  EXPECT_STREQ(line, "ZOLT_Init() fail. ZOLT_GetLastError()=42\n");
  EXPECT_FALSE(report.SendLog(0, "game start", "x", "y"));  // nothing runs, nothing is sent
}

TEST(CrashReport, LinesNotTakenAreQueuedAndReplayedLater) {
  std::string folder = TempFolder();
  DeleteFileA((folder + "\\bob_zolt.txt").c_str());  // left by an earlier run with the same process id
  {
    CCrashReport report;
    // Nothing listens on 127.0.0.2 (a local report server binds 127.0.0.1 only): the line is
    // not taken and is queued.
    ASSERT_TRUE(report.Start("127.0.0.2", "bob", 1));
    CRunLogStore store(folder, "bob", "20261210130000", true, report.Sender());
    EXPECT_FALSE(store.SendOrQueue({0, "game start", "can not enter channel,Vesk 581", "can not enter channel"}));
    report.Stop();
  }
  std::ifstream in(folder + "\\bob_zolt.txt", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), "0:game start:can not enter channel,Vesk 581:can not enter channel\n");
  in.close();

  CCrashReport local;
  ASSERT_TRUE(local.Start("", "bob", 1));  // no report server: lines are taken by the local log
  CRunLogStore store(folder, "bob", "20261210140000", true, local.Sender());
  EXPECT_TRUE(store.CheckPreviousRun());
  EXPECT_EQ(GetFileAttributesA((folder + "\\bob_zolt.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}
