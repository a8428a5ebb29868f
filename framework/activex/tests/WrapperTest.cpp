// The control wrappers against the stand-in controls: the VARIANT types each call carries,
// the version gates on the shared folder's files, and failures returned instead of thrown.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <string>

#include "AvatarPanel.h"
#include "EmotionWnd.h"
#include "WinProbe.h"
#include "QKCtrls.h"

namespace {

std::string g_versions;  // folder of the version-only files (first argument)
const char kShareKey[] = "Software\\Orvane\\Game\\Share";
const DISPID DISPID_CALLLOG = 0x7001;

// The stand-in library from the program folder, its classes registered for this process.
void RegisterStandIns() {
  HMODULE h = ::LoadLibraryA("QKChatEx.dll");
  ASSERT_NE(h, nullptr);
  auto get = (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))::GetProcAddress(h, "DllGetClassObject");
  ASSERT_NE(get, nullptr);
  for (const CLSID* c : {&CQKChatEx::clsid, &CQKAvatar::clsid, &CQKAdCtrl::clsid}) {
    IClassFactory* f = nullptr;
    ASSERT_EQ(get(*c, IID_IClassFactory, (void**)&f), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(::CoRegisterClassObject(*c, f, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  }
}

// Points the shared folder at DIR for one test, restoring the old value after.
class ShareFolder {
 public:
  explicit ShareFolder(const std::string& dir) {
    HKEY k;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kShareKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
    char buf[MAX_PATH] = "";
    DWORD size = sizeof buf - 1, type = 0;
    m_bHad = ::RegQueryValueExA(k, "Path", nullptr, &type, (BYTE*)buf, &size) == ERROR_SUCCESS;
    m_strOld = buf;
    ::RegSetValueExA(k, "Path", 0, REG_SZ, (const BYTE*)dir.c_str(), (DWORD)dir.size() + 1);
    ::RegCloseKey(k);
  }
  ~ShareFolder() {
    HKEY k;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShareKey, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
    if (m_bHad)
      ::RegSetValueExA(k, "Path", 0, REG_SZ, (const BYTE*)m_strOld.c_str(), (DWORD)m_strOld.size() + 1);
    else
      ::RegDeleteValueA(k, "Path");
    ::RegCloseKey(k);
  }

 private:
  bool m_bHad = false;
  std::string m_strOld;
};

std::string Folder(const char* name) {
  char win[MAX_PATH];
  std::string unix = g_versions + "/" + name;
  // The argument is a Unix path; Wine maps it under the Z: drive.
  std::snprintf(win, sizeof win, "Z:%s", unix.c_str());
  for (char* p = win; *p; ++p)
    if (*p == '/') *p = '\\';
  return win;
}

CString CallLog(CWnd* w) {
  CString log;
  w->InvokeHelper(DISPID_CALLLOG, DISPATCH_METHOD, VT_BSTR, &log, (const BYTE*)VTS_NONE);
  return log;
}

class WrapperTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxOleInit());
    AfxEnableControlContainer();
    RegisterStandIns();
  }
  void SetUp() override {
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr));
  }
  void TearDown() override {
    if (host.m_hWnd) host.DestroyWindow();
  }
  CWnd host;
};

TEST_F(WrapperTest, ChatCallsCarryTheirTypes) {
  ShareFolder share(Folder("chat_new"));
  CQKChatEx chat;
  ASSERT_TRUE(chat.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &host, 5));
  chat.SetServerHost("127.0.0.1");
  chat.SetServerPort(4321);
  EXPECT_TRUE(chat.Invoke35());
  uint8_t block[56] = {56, 0, 0, 0, 2, 0, 0, 0, 20, 0, 0, 0, 20, 0, 0, 0, 'a', 0};
  EXPECT_TRUE(chat.Invoke49((LONG_PTR)block, sizeof block));
  EXPECT_TRUE(chat.Invoke72(200));
  EXPECT_EQ(chat.Invoke73(), 200);
  chat.Invoke76((LONG_PTR)host.m_hWnd, 1135, 1136);
  EXPECT_TRUE(::IsWindow((HWND)chat.Invoke44()));
  EXPECT_TRUE(chat.Invoke56());
  EXPECT_EQ(chat.Invoke66("a", 1500), 0);  // no such row yet
  CString log = CallLog(&chat);
  // VT_BSTR 8, VT_I2 2, VT_I4 3, VT_I8 20 (pointers and handles), VT_BOOL 11.
  for (const char* line : {"18:8:put\n", "19:2:put\n", "35:\n", "49:20,3\n", "72:2\n", "73:\n", "76:20,3,3\n", "44:\n",
                           "56:\n", "66:8,3\n"})
    EXPECT_NE(log.Find(line), -1) << line << " in " << (LPCSTR)log;
  chat.DestroyWindow();
}

TEST_F(WrapperTest, Method81FollowsTheChatLibraryVersion) {
  struct Case {
    const char* folder;
    bool called;
  } cases[] = {{"chat_old", false}, {"chat_new", true}, {"missing", false}};
  for (const auto& c : cases) {
    ShareFolder share(Folder(c.folder));
    CQKChatEx chat;
    ASSERT_TRUE(chat.Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &host, 6));
    EXPECT_EQ(chat.Invoke81(0) != FALSE, c.called) << c.folder;
    EXPECT_EQ(CallLog(&chat).Find("81:3\n") != -1, c.called) << c.folder;
    chat.DestroyWindow();
  }
}

TEST_F(WrapperTest, AdVersionFlagAndTests) {
  struct Case {
    const char* folder;
    int ok;
  } cases[] = {{"ad_old", 0}, {"ad_new", 1}, {"missing", 0}};
  for (const auto& c : cases) {
    ShareFolder share(Folder(c.folder));
    CQKAdCtrl ad;
    EXPECT_EQ(ad.m_bVersionOk, c.ok) << c.folder;
    EXPECT_EQ(ad.m_nSecond, 0);
    EXPECT_EQ(ad.IsUsable(), 1);  // the second flag is clear
    EXPECT_EQ(ad.IsVersionChecked(), 0);
    ad.m_nSecond = 1;
    EXPECT_EQ(ad.IsUsable(), c.ok);
    EXPECT_EQ(ad.IsVersionChecked(), c.ok);
  }
}

TEST_F(WrapperTest, AdAndAvatarCalls) {
  CQKAdCtrl ad;
  ASSERT_TRUE(ad.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 120), &host, 7));
  EXPECT_EQ(ad.GetPositionId(), 1003);
  EXPECT_TRUE(ad.ShowBanner(5, "a.htm", nullptr, "text", 1, 2));
  EXPECT_TRUE(ad.ShowPage(5, "http://x/", 0, 20, 3000));
  EXPECT_TRUE(ad.ShowPageSized(5, "p", 4, 0, 100, 80, 3000, TRUE));
  EXPECT_TRUE(ad.ShowSizedPage(5, "p", 100, 80, 20, 3000, FALSE));
  CString adLog = CallLog(&ad);
  for (const char* line : {"2:\n", "9:3,8,8,8,3,3\n", "10:3,8,3,3,3\n", "11:3,8,3,3,3,3,3,11\n", "12:3,8,3,3,3,3,11\n"})
    EXPECT_NE(adLog.Find(line), -1) << line;

  CQKAvatar avatar;
  ASSERT_TRUE(avatar.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 190), &host, 8));
  char record[116] = "alice";
  EXPECT_EQ(avatar.Invoke8((LONG_PTR)record, sizeof record), 1);
  EXPECT_EQ(avatar.Invoke10(0, 0, 14, 14, nullptr), 1);  // clears the mark
  // Drawing into a memory DC: the picture arrives there.
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 71, 96);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  RECT all = {0, 0, 71, 96};
  ::FillRect(mem, &all, (HBRUSH)::GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(avatar.Invoke23((LONG_PTR)mem, 0, 0, 39, 27, 71, 96, 0, 0), 1);
  EXPECT_NE(::GetPixel(mem, 35, 40), RGB(0, 0, 0));
  ::SelectObject(mem, old);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  CString avLog = CallLog(&avatar);
  for (const char* line : {"8:20,3\n", "10:2,2,2,2,20\n", "23:20,3,3,3,3,3,3,3,3\n"})
    EXPECT_NE(avLog.Find(line), -1) << line;
}

TEST_F(WrapperTest, FailuresAreReturnedNotThrown) {
  CQKChatEx none;  // never created
  EXPECT_FALSE(none.Invoke35());
  EXPECT_EQ(none.Invoke73(), 0);
  EXPECT_TRUE(none.Invoke56());  // a missing control does not hold the window open
  CWebBrowser2 web;              // not created: no call is made
  EXPECT_FALSE(web.Navigate("about:blank", nullptr, nullptr, nullptr, nullptr));
  // A member the control does not have: the control's failure comes back as FALSE.
  CQKAvatar avatar;
  ASSERT_TRUE(avatar.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &host, 10));
  long r = 1;
  EXPECT_FALSE(
      QKTryDispatch(&avatar, [&] { avatar.InvokeHelper(999, DISPATCH_METHOD, VT_I4, &r, (const BYTE*)VTS_NONE); }));
}

TEST_F(WrapperTest, EmotionWindowModesAndNotice) {
  CEmotionWnd before;
  before.ShowEmotion("vesk", 0, 0, nullptr, 0);  // no control yet: nothing happens
  CEmotionWnd wrong;
  EXPECT_EQ(wrong.Create(3, &host), nullptr);
  CEmotionWnd w;
  CQKChatEx* chat = w.Create(1, &host);
  ASSERT_NE(chat, nullptr);
  EXPECT_NE(CallLog(chat).Find("54:\n"), -1);
  w.MoveWindow(0, 0, 120, 90);
  CRect rc;
  chat->GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 120);
  EXPECT_EQ(rc.Height(), 90);
  // The control's list-changed command reaches the parent through the queue.
  w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_EMOTION_NOTIFY, 0), (LPARAM)chat->m_hWnd);
  MSG msg;
  bool seen = false;
  DWORD start = ::GetTickCount();
  while (!seen && ::GetTickCount() - start < 5000) {
    if (::PeekMessageA(&msg, host.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      seen = LOWORD(msg.wParam) == ID_EMOTION_NOTIFY && msg.lParam == 0;
  }
  EXPECT_TRUE(seen);
}

TEST_F(WrapperTest, AvatarPanelSizesMarksAndPicture) {
  CAvatarPanel panel;
  EXPECT_EQ(panel.Create("alice", 3, nullptr, 100, 2), 0);  // no parent window
  ASSERT_EQ(panel.Create("alice", 3, &host, 100, 2), 1);
  CRect rc;
  panel.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 64);  // type 3 with border 2
  EXPECT_EQ(rc.Height(), 88);
  EXPECT_EQ(panel.GetDlgCtrlID(), 27100);
  panel.SetSizeType(10, 10, 1, 0, 0);
  panel.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 54);
  EXPECT_EQ(rc.Height(), 72);
  panel.SetSizeType(10, 10, 0, 104, 104);  // inner height 100: the control at y -10
  CRect ctrl;
  panel.GetAvatar()->GetWindowRect(&ctrl);
  CRect inner;
  panel.GetAvatar()->GetParent()->GetWindowRect(&inner);
  EXPECT_EQ(ctrl.top - inner.top, -10);
  // No mark bitmap for the flags here: the mark area is cleared with exactly (0, 0, 14, 14).
  panel.SetStatusMark(0);
  EXPECT_NE(CallLog(panel.GetAvatar()).Find("10:2,2,2,2,20\n"), -1);
  CString name;
  panel.GetAvatar()->InvokeHelper(0x7004, DISPATCH_METHOD, VT_BSTR, &name, (const BYTE*)VTS_NONE);
  EXPECT_EQ(name, "alice");
  // The picture drawn into a memory DC at the view's size, saved for a look.
  CDC mem;
  HDC screen = ::GetDC(nullptr);
  mem.Attach(::CreateCompatibleDC(screen));
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 71, 96);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), bmp);
  EXPECT_EQ(panel.ShowAvatar(&mem, 0, 0, 0, 0), 1);
  ::SelectObject(mem.GetSafeHdc(), old);
  EXPECT_TRUE(winprobe::SaveBitmapPng(bmp, L"avatar_panel.png"));
  ::DeleteObject(bmp);
  ::DeleteDC(mem.Detach());
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_versions = argv[1];
  return RUN_ALL_TESTS();
}
