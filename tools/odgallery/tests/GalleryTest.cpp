// The gallery driven as a person would: each page opened by its tab, each control clicked,
// typed into, scrolled, hovered or opened, with what the gallery's status line reports and
// what the screen shows checked, and a PNG saved of every page and popup.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "WinProbe.h"

namespace {

// Ids of the gallery's controls.
enum {
  IDC_STATUS = 1000,
  IDC_TABS = 1001,
  IDC_PUSH = 101,
  IDC_CHECK = 102,
  IDC_RADIO2 = 104,
  IDC_DROPBTN = 105,
  IDC_HOVER = 106,
  IDC_PROGRESS = 107,
  IDC_STEP = 110,
  IDC_LINKS = 201,
  IDC_EDIT = 203,
  IDC_PASSWORD = 204,
  IDC_TIPHOST = 205,
  IDC_LISTBOX = 301,
  IDC_COMBOLIST = 302,
  IDC_SCROLLVIEW = 305,
  IDC_COMBOCTRL = 306,
  IDC_OPENMENU = 401,
  IDC_SMALLTABS = 402,
  IDC_OPENDIALOG = 501,
  IDC_OPENWAIT = 502,
  IDC_OPENMSG = 503
};

std::string ExeFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\'));
}

// Lets posted input reach the gallery before the next step, without a fixed sleep.
void Settle(DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
}

class GalleryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Without a window manager on the display Wine would leave the captions to one; the
    // gallery's windows draw their own non-client parts, so Wine is told not to expect one.
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "Decorated", 0, REG_SZ, (const BYTE*)"N", 2);
      RegCloseKey(key);
    }
    std::string folder = ExeFolder();
    CreateDirectoryA((folder + "\\screens").c_str(), nullptr);
    std::string cmd = "\"" + folder + "\\odgallery.exe\" 0";
    STARTUPINFOA si = {sizeof(si)};
    ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &s_pi));
    s_main = winprobe::WaitForWindow("ODGallery", s_pi.dwProcessId, 20000);
    ASSERT_NE(s_main, nullptr) << "the gallery window did not appear";
  }
  static void TearDownTestSuite() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, "Decorated");
      RegCloseKey(key);
    }
    if (s_main) PostMessageA(s_main, WM_CLOSE, 0, 0);
    if (s_pi.hProcess) {
      if (WaitForSingleObject(s_pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(s_pi.hProcess, 1);
      CloseHandle(s_pi.hProcess);
      CloseHandle(s_pi.hThread);
    }
  }
  void SetUp() override { ASSERT_NE(s_main, nullptr); }

  static HWND Control(int id) {
    for (const auto& w : winprobe::ChildWindows(s_main))
      if (w.id == id) return w.hwnd;
    return nullptr;
  }
  static std::string Status() {
    char text[512] = {};
    GetWindowTextA(Control(IDC_STATUS), text, sizeof(text));
    return text;
  }
  // Waits (bounded) until the status line holds the text.
  static bool WaitStatus(const std::string& part, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
      if (Status().find(part) != std::string::npos) return true;
      Settle(30);
    }
    return false;
  }
  static void OpenPage(int page) {
    // Tab centres from the left of the tab row.
    static const int kTabX[5] = {29, 84, 137, 190, 245};
    winprobe::ClickAt(Control(IDC_TABS), kTabX[page], 12);
    ASSERT_TRUE(WaitStatus("page " + std::to_string(page))) << Status();
  }
  static void Click(int id, int x = 10, int y = 8) {
    HWND h = Control(id);
    ASSERT_NE(h, nullptr) << id;
    winprobe::ClickAt(h, x, y);
  }
  static void Hover(HWND h, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(h, &pt);
    SetCursorPos(pt.x, pt.y);
    PostMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  // The colour on screen at a point of a window's client area.
  static COLORREF ScreenPixel(HWND h, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(h, &pt);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, pt.x, pt.y);
    ReleaseDC(nullptr, dc);
    return c;
  }
  static bool WaitPixel(HWND h, int x, int y, COLORREF want, DWORD timeoutMs = 3000) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
      if (ScreenPixel(h, x, y) == want) return true;
      Settle(30);
    }
    return false;
  }
  static bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Settle(30))
      if (done()) return true;
    return done();
  }
  // A checksum of what the screen shows in a rectangle.
  static unsigned long long ScreenSum(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return 0;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    unsigned long long sum = 0;
    if (dib) {
      HGDIOBJ old = SelectObject(mem, dib);
      BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
      GdiFlush();
      const DWORD* p = static_cast<const DWORD*>(bits);
      for (int i = 0; i < w * h; ++i) sum = sum * 1099511628211ull + p[i];
      SelectObject(mem, old);
      DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return sum;
  }
  // Waits (bounded) until two looks at the window, a little apart, show the same picture:
  // the painting that the last action caused is done. Moving text never settles; the
  // shot is then taken when the time is up.
  static void WaitPainted(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    unsigned long long last = ScreenSum(r);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
      Settle(60);
      unsigned long long now = ScreenSum(r);
      if (now == last) return;
      last = now;
    }
  }
  static bool MenuOpen() {
    for (const auto& w : winprobe::TopLevelWindows(s_pi.dwProcessId, true))
      if (w.text == "ODMenu") return true;
    return false;
  }
  static void Shot(const char* name, bool wholeScreen = false) {
    WaitPainted(wholeScreen ? GetDesktopWindow() : s_main);
    std::string path = ExeFolder() + "\\screens\\odgallery_" + name + ".png";
    std::wstring wpath(path.begin(), path.end());
    EXPECT_TRUE(winprobe::SaveWindowPng(wholeScreen ? GetDesktopWindow() : s_main, wpath)) << path;
  }
  // The list inside the open drop-down of a combo (its container in between).
  static HWND DropList() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Settle(50))
      for (const auto& w : winprobe::TopLevelWindows(s_pi.dwProcessId, true))
        if (w.hwnd != s_main)
          for (const auto& c : winprobe::ChildWindows(w.hwnd))
            if (c.id == 4318) return c.hwnd;
    return nullptr;
  }
  // A visible top-level window of the gallery other than the main one, by title part.
  static HWND WaitPopup(const std::string& title, DWORD timeoutMs = 5000) {
    return winprobe::WaitForWindow(title, s_pi.dwProcessId, timeoutMs);
  }

  static PROCESS_INFORMATION s_pi;
  static HWND s_main;
};

PROCESS_INFORMATION GalleryTest::s_pi = {};
HWND GalleryTest::s_main = nullptr;

TEST_F(GalleryTest, ButtonsCheckRadioHoverProgressAndDropMenu) {
  OpenPage(0);
  Click(IDC_PUSH);
  EXPECT_TRUE(WaitStatus("button 101")) << Status();
  Click(IDC_CHECK);
  EXPECT_TRUE(WaitStatus("check 1")) << Status();
  Click(IDC_CHECK);
  EXPECT_TRUE(WaitStatus("check 0")) << Status();
  // Radio two unchecks radio one of its group; the other group keeps its check.
  Click(IDC_RADIO2);
  EXPECT_TRUE(WaitStatus("radio 0 1 1")) << Status();
  Click(IDC_STEP);
  EXPECT_TRUE(WaitStatus("progress 40 grow 20")) << Status();
  for (int i = 0; i < 5; ++i) Click(IDC_STEP);
  // Stepping past the end of the grow bar turns it round rather than stopping.
  EXPECT_TRUE(WaitStatus("progress 90 grow")) << Status();
  HWND progress = Control(IDC_PROGRESS);
  RECT pr;
  GetClientRect(progress, &pr);
  EXPECT_NE(ScreenPixel(progress, pr.right * 80 / 100, pr.bottom / 2), RGB(240, 246, 252)) << "the bar is filled";
  // Hovering the hover button shows its hover frame (the strip's second colour).
  HWND hover = Control(IDC_HOVER);
  Hover(hover, 20, 10);
  EXPECT_TRUE(WaitPixel(hover, 60, 4, RGB(220, 243, 255))) << std::hex << ScreenPixel(hover, 60, 4);
  // Its icon sits at the left over the frame, its teal corner see-through.
  EXPECT_TRUE(WaitPixel(hover, 12, 8, RGB(255, 0, 0))) << std::hex << ScreenPixel(hover, 12, 8);
  EXPECT_EQ(ScreenPixel(hover, 5, 1), RGB(220, 243, 255)) << std::hex << ScreenPixel(hover, 5, 1);
  Shot("buttons_hover");
  Click(IDC_HOVER, 20, 10);
  EXPECT_TRUE(WaitStatus("hover clicked")) << Status();
  Hover(Control(IDC_PUSH), 5, 5);
  // The drop-down menu: its owner-drawn items answer their mnemonics.
  Click(IDC_DROPBTN, 20, 10);
  HWND menu = nullptr;
  for (DWORD start = GetTickCount(); !menu && GetTickCount() - start < 5000; Settle(50))
    for (const auto& w : winprobe::TopLevelWindows(0, true))
      if (w.className == "#32768") menu = w.hwnd;
  ASSERT_NE(menu, nullptr) << "the drop-down menu did not open";
  Shot("buttons_menu", true);
  PostMessageA(menu, WM_CHAR, 's', 0);
  EXPECT_TRUE(WaitStatus("menu 2")) << Status();
  Shot("buttons");
}

TEST_F(GalleryTest, TextEditPasswordLinksAndTooltip) {
  OpenPage(1);
  HWND edit = Control(IDC_EDIT);
  Click(IDC_EDIT, 200, 10);  // the caret goes to the end
  winprobe::SendText(edit, "xyz");
  EXPECT_TRUE(WaitStatus("edit Edit mexyz")) << Status();
  // Another process reads an owner-drawn window's text by asking it.
  char text[64] = {};
  SendMessageA(edit, WM_GETTEXT, sizeof(text), (LPARAM)text);
  EXPECT_STREQ(text, "Edit mexyz");
  // Cut and paste through the context menu of the popup menu window.
  PostMessageA(edit, WM_CONTEXTMENU, (WPARAM)edit, MAKELPARAM(120, 300));
  HWND menu = WaitPopup("ODMenu");
  ASSERT_NE(menu, nullptr) << "the context menu did not open";
  Shot("text_contextmenu", true);
  // Items from the top: cut, copy, paste, delete, separator, select all (20 high, 2 apart).
  auto itemY = [](int row) { return 1 + 2 + row * 22 + (row >= 5 ? 7 - 22 : 0) + 10; };
  winprobe::ClickAt(menu, 40, itemY(5));  // select all
  ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); })) << "the menu did not close";
  PostMessageA(edit, WM_CONTEXTMENU, (WPARAM)edit, MAKELPARAM(120, 300));
  menu = WaitPopup("ODMenu");
  ASSERT_NE(menu, nullptr);
  winprobe::ClickAt(menu, 40, itemY(0));  // cut
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) == 0; })) << "cut left text";
  ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); })) << "the menu did not close";
  PostMessageA(edit, WM_CONTEXTMENU, (WPARAM)edit, MAKELPARAM(120, 300));
  menu = WaitPopup("ODMenu");
  ASSERT_NE(menu, nullptr);
  winprobe::ClickAt(menu, 40, itemY(2));  // paste
  EXPECT_TRUE(WaitStatus("edit Edit mexyz")) << Status();
  // The password field counts what was typed but gives nothing away through its text.
  HWND pwd = Control(IDC_PASSWORD);
  Click(IDC_PASSWORD);
  winprobe::SendText(pwd, "secret");
  EXPECT_TRUE(WaitStatus("password 6")) << Status();
  EXPECT_EQ(SendMessageA(pwd, WM_GETTEXTLENGTH, 0, 0), 0);
  char secret[32] = "unchanged";
  EXPECT_EQ(SendMessageA(pwd, WM_GETTEXT, sizeof(secret), (LPARAM)secret), 0);
  // Hovering the link shows the hover colour; a link that cannot be opened says so.
  HWND links = Control(IDC_LINKS);
  Hover(links, 150, 10);
  Shot("text_linkhover");
  winprobe::ClickAt(links, 150, 10);
  std::string boxText;
  HWND box = winprobe::WaitForDialogText("Unable to execute file", 8000, boxText);
  ASSERT_NE(box, nullptr) << "no box for the link that cannot be opened";
  EXPECT_NE(boxText.find("no-such-file.gallerylink"), std::string::npos) << boxText;
  winprobe::ClickButton(box, "1");  // IDOK, whatever the language of its caption
  EXPECT_TRUE(WaitStatus("links clicked")) << Status();
  // The balloon tip appears after the cursor rests over its tool.
  HWND host = Control(IDC_TIPHOST);
  Hover(host, 40, 10);
  HWND balloon = nullptr;
  for (DWORD start = GetTickCount(); !balloon && GetTickCount() - start < 5000; Settle(50)) {
    Hover(host, 40, 10);
    for (const auto& w : winprobe::TopLevelWindows(s_pi.dwProcessId, true))
      if (w.hwnd != s_main && w.text.empty() && w.className.rfind("Afx", 0) == 0) balloon = w.hwnd;
  }
  ASSERT_NE(balloon, nullptr) << "the balloon tip did not show";
  RECT br;
  GetWindowRect(balloon, &br);
  EXPECT_GT(br.right - br.left, 60);
  EXPECT_GT(br.bottom - br.top, 40) << "three lines of text";
  Shot("text_tooltip", true);
  Hover(Control(IDC_EDIT), 5, 5);
  Shot("text");
}

TEST_F(GalleryTest, ListBoxComboListViewAndScrollView) {
  OpenPage(2);
  HWND list = Control(IDC_LISTBOX);
  // The items' images: a red dot on item 0, a blue one on item 1, none on item 3.
  EXPECT_TRUE(WaitPixel(list, 10, 9, RGB(255, 0, 0))) << std::hex << ScreenPixel(list, 10, 9);
  EXPECT_EQ(ScreenPixel(list, 10, 18 + 9), RGB(0, 0, 255)) << std::hex << ScreenPixel(list, 10, 18 + 9);
  Shot("lists_images");
  winprobe::ClickAt(list, 30, 18 * 3 + 5);
  EXPECT_TRUE(WaitStatus("list 3 Item 03")) << Status();
  winprobe::SendKey(list, VK_DOWN);
  EXPECT_TRUE(WaitStatus("list 4 Item 04")) << Status();
  winprobe::SendKey(list, VK_UP);
  winprobe::SendKey(list, VK_UP);
  EXPECT_TRUE(WaitStatus("list 2 Item 02")) << Status();
  // The wheel scrolls the list: the first row shown is no longer item 0.
  RECT lr;
  GetWindowRect(list, &lr);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
  PostMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), MAKELPARAM(lr.left + 20, lr.top + 20));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETTOPINDEX, 0, 0) > 0; })) << "the wheel did not scroll";
  // The drop-list combo drops its list and takes the chosen item.
  Click(IDC_COMBOLIST, 20, 10);
  EXPECT_TRUE(WaitStatus("combo 302 dropped")) << Status();
  Shot("lists_combo", true);
  HWND dropList = DropList();
  ASSERT_NE(dropList, nullptr);
  winprobe::ClickAt(dropList, 30, 18 * 2 + 5);
  EXPECT_TRUE(WaitStatus("combo 302 Autumn")) << Status();
  char text[64] = {};
  SendMessageA(Control(IDC_COMBOLIST), WM_GETTEXT, sizeof(text), (LPARAM)text);
  EXPECT_STREQ(text, "Autumn");
  // The combo over the list control: an index below the range chose the first row; by keys
  // Down moves the selection and Enter chooses it.
  SendMessageA(Control(IDC_COMBOCTRL), WM_GETTEXT, sizeof(text), (LPARAM)text);
  EXPECT_STREQ(text, "North");
  Click(IDC_COMBOCTRL, 20, 10);
  EXPECT_TRUE(WaitStatus("combo 306 dropped")) << Status();
  HWND rows = DropList();
  ASSERT_NE(rows, nullptr);
  Shot("lists_combolist", true);
  winprobe::SendKey(rows, VK_DOWN);
  winprobe::SendKey(rows, VK_DOWN);
  winprobe::SendKey(rows, VK_RETURN);
  EXPECT_TRUE(WaitStatus("combo 306 South")) << Status();
  // The scroll view moves its surface with the wheel.
  HWND view = Control(IDC_SCROLLVIEW);
  HWND pane = nullptr;
  for (const auto& w : winprobe::ChildWindows(view))
    if (w.className == "ODScrollCtrl") pane = w.hwnd;
  ASSERT_NE(pane, nullptr);
  COLORREF topLeft = ScreenPixel(pane, 55, 2);
  RECT vr;
  GetWindowRect(pane, &vr);
  for (int i = 0; i < 2; ++i)
    PostMessageA(pane, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), MAKELPARAM(vr.left + 20, vr.top + 20));
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(pane, 55, 2) != topLeft; })) << "the surface did not move";
  // The middle button opens the pan window; the view follows the cursor away from it, and
  // a click closes it.
  POINT centre = {(vr.left + vr.right) / 2, (vr.top + vr.bottom) / 2};
  SetCursorPos(centre.x, centre.y);
  PostMessageA(pane, WM_MBUTTONDOWN, 0, MAKELPARAM(centre.x - vr.left, centre.y - vr.top));
  HWND pan = nullptr;
  WaitUntil([&] {
    for (const auto& w : winprobe::TopLevelWindows(s_pi.dwProcessId, true)) {
      RECT r;
      GetWindowRect(w.hwnd, &r);
      if (r.right - r.left == 28 && r.bottom - r.top == 28) pan = w.hwnd;
    }
    return pan != nullptr;
  });
  ASSERT_NE(pan, nullptr) << "the pan window did not open";
  Shot("lists_pan", true);
  const COLORREF beforePan = ScreenPixel(pane, 55, 2);
  SetCursorPos(centre.x + 150, centre.y + 150);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(pane, 55, 2) != beforePan; })) << "panning did not scroll";
  PostMessageA(pan, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(pan); })) << "the pan window stayed";
  Shot("lists");
}

TEST_F(GalleryTest, PopupMenuWithSubMenuAndKeys) {
  OpenPage(3);
  Click(IDC_OPENMENU, 20, 10);
  HWND menu = WaitPopup("ODMenu");
  ASSERT_NE(menu, nullptr);
  // Hovering "More" (row 3, after a separator) opens its sub-menu after the delay.
  const int moreY = 1 + 2 * 22 + 7 + 2 + 10;
  POINT pt = {40, moreY};
  ClientToScreen(menu, &pt);
  SetCursorPos(pt.x, pt.y);
  PostMessageA(menu, WM_MOUSEMOVE, 0, MAKELPARAM(40, moreY));
  HWND sub = nullptr;
  for (DWORD start = GetTickCount(); !sub && GetTickCount() - start < 5000; Settle(50))
    for (const auto& w : winprobe::TopLevelWindows(s_pi.dwProcessId, true))
      if (w.text == "ODMenu" && w.hwnd != menu) sub = w.hwnd;
  ASSERT_NE(sub, nullptr) << "the sub-menu did not open";
  Shot("menus_popup", true);
  // A click on an item runs its command and closes the whole cascade.
  winprobe::ClickAt(menu, 40, 1 + 22 + 12);
  EXPECT_TRUE(WaitStatus("menu 12")) << Status();
  EXPECT_FALSE(IsWindowVisible(menu));
  // By keys: Down makes the first item hot, Return runs it (the mouse out of the way).
  SetCursorPos(1300, 700);
  Click(IDC_OPENMENU, 20, 10);
  menu = WaitPopup("ODMenu");
  ASSERT_NE(menu, nullptr);
  winprobe::SendKey(menu, VK_DOWN);
  winprobe::SendKey(menu, VK_RETURN);
  EXPECT_TRUE(WaitStatus("menu 11")) << Status();
  // Ten tabs in a small tab control bring up its flip buttons.
  HWND tabs = Control(IDC_SMALLTABS);
  HWND upDown = nullptr;
  for (const auto& w : winprobe::ChildWindows(tabs))
    if (w.className == "msctls_updown32") upDown = w.hwnd;
  ASSERT_NE(upDown, nullptr);
  Shot("menus");
}

TEST_F(GalleryTest, DialogWaitAndMessageDialogs) {
  OpenPage(4);
  Click(IDC_OPENDIALOG, 20, 10);
  HWND dlg = WaitPopup("Dialog");
  ASSERT_NE(dlg, nullptr);
  Shot("dialogs_dialog", true);
  // The caption's close button closes it.
  RECT wr;
  GetWindowRect(dlg, &wr);
  POINT close = {wr.right - 4 - 8, wr.top + 12};
  PostMessageA(dlg, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(close.x, close.y));
  POINT client = close;
  ScreenToClient(dlg, &client);
  PostMessageA(dlg, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  for (DWORD start = GetTickCount(); IsWindowVisible(dlg) && GetTickCount() - start < 3000;) Settle(50);
  EXPECT_FALSE(IsWindowVisible(dlg)) << "the close button did not close the dialog";
  // The wait dialog's bar runs back and forth.
  Click(IDC_OPENWAIT, 20, 10);
  ASSERT_TRUE(WaitStatus("wait 10", 8000)) << Status();
  ASSERT_TRUE(WaitStatus("wait 9", 3000)) << Status();
  Shot("dialogs_wait", true);
  HWND wait = WaitPopup("\xC7\xEB\xC9\xD4\xBA\xF2");
  ASSERT_NE(wait, nullptr);
  PostMessageA(wait, WM_CLOSE, 0, 0);
  // The message dialog counts down in front of its text and closes itself.
  Click(IDC_OPENMSG, 20, 10);
  HWND msg = WaitPopup("\xCC\xE1\xCA\xBE");
  ASSERT_NE(msg, nullptr);
  EXPECT_TRUE(WaitStatus("message 3")) << Status();
  EXPECT_TRUE(WaitStatus("message 2")) << Status();
  Shot("dialogs_message", true);
  EXPECT_TRUE(WaitStatus("message 1")) << Status();
  EXPECT_TRUE(WaitStatus("message closed -1", 8000)) << Status();
  Shot("dialogs");
}

}  // namespace
