// The real client started by the lobby stand-in from a staged program folder. Without its
// resource library the client must stop at its first start-up step with the built-in English
// box; the test reads the box and presses its button as a person would. Skipped until the
// program is built.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinProbe.h"

namespace {

std::string ExeFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\'));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Program folder of the binaries built so far, without the resource library.
std::string StageWithoutResources(const std::string& bin) {
  std::string stage = ExeFolder() + "\\stage_client_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(stage.c_str(), nullptr);
  winprobe::CopyProgramFiles(bin, stage);
  return stage;
}

void RemoveStage(const std::string& stage) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((stage + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((stage + "\\" + fd.cFileName).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(stage.c_str());
}

// A visible dialog box whose texts hold `needle`, with all its texts.
HWND WaitForBox(const std::string& needle, DWORD timeoutMs, std::string& texts) {
  return winprobe::WaitForDialogText(needle, timeoutMs, texts);
}

}  // namespace

TEST(LobbyClient, MissingResourceLibraryShowsTheBuiltInBox) {
  std::string bin = ExeFolder() + "\\..\\..\\bin";
  ASSERT_TRUE(Exists(bin + "\\Vesk.exe")) << "Vesk.exe is not built";
  std::string stage = StageWithoutResources(bin);
  std::string cmd = "\"" + bin + "\\lobby.exe\" --program \"" + stage +
                    "\\Vesk.exe\" --mapping --seat 1 --user alice "
                    "--log lobby_client.log --timeout 60";
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  std::string texts;
  HWND box = WaitForBox("Vesk_Res.dll not found !", 30000, texts);
  if (box) {
    EXPECT_TRUE(winprobe::SaveScreenArea(box, L"lobby_client_no_res.png"));
    EXPECT_TRUE(winprobe::ClickButton(box, "1")) << texts;  // IDOK
  }
  EXPECT_NE(box, nullptr) << "no box from the client";
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  RemoveStage(stage);
}
