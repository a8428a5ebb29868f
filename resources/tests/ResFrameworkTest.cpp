// The library as the program's framework reads it: installed as the resource module,
// dialogs come up with their init data and strings load through CString.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "ResTestUtil.h"
#include "resource.h"

using namespace restest;

namespace {

TEST(ResFramework, RuleDialogGetsItsChatModesFromTheInitData) {
  HMODULE lib = LoadResLibrary();
  ASSERT_NE(lib, nullptr);
  HINSTANCE before = AfxGetResourceHandle();
  AfxSetResourceHandle(lib);
  for (UINT id : {IDD_SETRULE, IDD_DEFAULTRULE}) {
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(id, nullptr)) << id;
    HWND combo = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_CHATMODE);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 4) << id;
    char item[128] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, 3, (LPARAM)item);
    EXPECT_STREQ(item, Utf8ToAnsi("游戏者和旁观者都能说话，但游戏者看不到旁观者的话").c_str());
    dlg.DestroyWindow();
  }
  CString text;
  ASSERT_TRUE(text.LoadString(IDS_CODEPAGE));
  EXPECT_STREQ((LPCSTR)text, "936");
  ASSERT_TRUE(text.LoadString(IDS_ABOUTCAPTION));
  EXPECT_STREQ((LPCSTR)text, "\xB9\xD8\xD3\xDA%s");
  AfxSetResourceHandle(before);
  FreeLibrary(lib);
}

}  // namespace
