// The gallery driven as a person would: each page opened by its tab, each control clicked,
// typed into, scrolled, hovered or opened, with what the gallery's status line reports and
// what the screen shows checked, and a PNG saved of every page and popup.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

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
  IDC_GROW = 108,
  IDC_STEP = 110,
  IDC_LINKS = 201,
  IDC_EDIT = 203,
  IDC_PASSWORD = 204,
  IDC_TIPHOST = 205,
  IDC_TIPFX14 = 206,
  IDC_TIPFX15 = 207,
  IDC_ANIMSTATIC = 208,
  IDC_LISTBOX = 301,
  IDC_COMBOLIST = 302,
  IDC_SCROLLVIEW = 305,
  IDC_COMBOCTRL = 306,
  IDC_OPENMENU = 401,
  IDC_SMALLTABS = 402,
  IDC_OPENPARTSMENU = 403,
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
  // The theme's push face gives the step button its size (120 x 28) and rounded shape.
  {
    HWND step = Control(IDC_STEP);
    RECT sr;
    GetWindowRect(step, &sr);
    EXPECT_EQ(sr.right - sr.left, 120);
    EXPECT_EQ(sr.bottom - sr.top, 28);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(step, shape), COMPLEXREGION) << "no rounded shape";
    EXPECT_FALSE(PtInRegion(shape, 0, 0)) << "the corner is cut away";
    EXPECT_TRUE(PtInRegion(shape, 60, 14));
    DeleteObject(shape);
  }
  HWND progress = Control(IDC_PROGRESS);
  RECT pr;
  GetClientRect(progress, &pr);
  EXPECT_NE(ScreenPixel(progress, pr.right * 80 / 100, pr.bottom / 2), RGB(240, 246, 252)) << "the bar is filled";
  // The theme lays its tile behind the bar and its blinking diamonds into the grow block.
  const COLORREF rest = ScreenPixel(progress, pr.right * 96 / 100, pr.bottom - 3);
  EXPECT_TRUE(rest == RGB(214, 222, 226) || rest == RGB(222, 230, 234)) << std::hex << rest;
  HWND grow = Control(IDC_GROW);
  ASSERT_NE(grow, nullptr);
  RECT gr;
  GetClientRect(grow, &gr);
  int diamonds = 0;
  for (int y = 2; y < gr.bottom - 2; y += 2)
    for (int x = 2; x < gr.right - 2; x += 2) {
      const COLORREF c = ScreenPixel(grow, x, y);
      diamonds += c == RGB(20, 48, 87) || c == RGB(60, 110, 180);
    }
  EXPECT_GT(diamonds, 12) << "no grow image";
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
  // The theme draws each password character as a diamond of the password image (two
  // blinking frames) instead of the replacement character.
  {
    RECT pc;
    GetClientRect(pwd, &pc);
    const int midY = pc.bottom / 2;
    auto diamonds = [&] {
      int n = 0;
      for (int x = 0; x < 80; ++x) {
        COLORREF c = ScreenPixel(pwd, x, midY);
        if (c == RGB(20, 48, 87) || c == RGB(60, 110, 180)) ++n;
      }
      return n;
    };
    EXPECT_TRUE(WaitUntil([&] { return diamonds() >= 6 * 5; })) << "no password images on screen: " << diamonds();
    Shot("text_password");
  }
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
  // The two last effect fills: each balloon body shows many shades between the tool's
  // begin (white) and end colours, not the flat fill of an unknown effect.
  for (int id : {IDC_TIPFX14, IDC_TIPFX15}) {
    Hover(Control(IDC_EDIT), 5, 5);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(balloon); })) << "the first balloon stayed";
    HWND fxHost = Control(id);
    ASSERT_NE(fxHost, nullptr) << id;
    RECT fr = {};
    bool shown = WaitUntil([&] {
      Hover(fxHost, 30, 10);
      if (!IsWindowVisible(balloon)) return false;
      GetWindowRect(balloon, &fr);
      return true;
    });
    ASSERT_TRUE(shown) << "no balloon over effect host " << id;
    WaitPainted(balloon);
    // Shades along the middle row of the balloon.
    std::vector<COLORREF> seen;
    for (int x = 8; x < fr.right - fr.left - 12; x += 2) {
      COLORREF c = ScreenPixel(balloon, x, (fr.bottom - fr.top) / 2);
      if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
    }
    EXPECT_GT(seen.size(), 8u) << "effect " << (id == IDC_TIPFX14 ? 14 : 15) << " looks flat";
    Shot(id == IDC_TIPFX14 ? "text_tooltip_effect14" : "text_tooltip_effect15", true);
  }
  // The static's own background image turns its frames on its second timer.
  {
    HWND anim = Control(IDC_ANIMSTATIC);
    ASSERT_NE(anim, nullptr);
    RECT ar;
    GetWindowRect(anim, &ar);
    const unsigned long long first = ScreenSum(ar);
    EXPECT_TRUE(WaitUntil([&] { return ScreenSum(ar) != first; })) << "the background image does not turn";
  }
  Hover(Control(IDC_EDIT), 5, 5);
  Shot("text");
}

// Every owner-drawn window says what it is through two window properties.
TEST_F(GalleryTest, ControlsCarryTheirKindProperties) {
  struct Case {
    int id;
    const char* kind;
    int value;
  } cases[] = {
      {IDC_PUSH, "ODButton", 0x1008},       {IDC_PROGRESS, "ODProgress", 0x1002}, {IDC_LINKS, "ODStatic", 0x1003},
      {IDC_ANIMSTATIC, "ODStatic", 0x1003}, {IDC_EDIT, "ODEdit", 0x1001},         {IDC_PASSWORD, "ODEdit", 0x1001},
      {IDC_TABS, "ODTabCtrl", 0x100F},      {IDC_SMALLTABS, "ODTabCtrl", 0x100F}, {IDC_LISTBOX, "ODListBox", 0x1006},
  };
  for (const Case& c : cases) {
    HWND h = Control(c.id);
    ASSERT_NE(h, nullptr) << c.id;
    EXPECT_EQ((INT_PTR)GetPropA(h, "ODCtrl"), 0x1000) << c.kind << " " << c.id;
    EXPECT_EQ((INT_PTR)GetPropA(h, c.kind), c.value) << c.kind << " " << c.id;
  }
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
  // The drop-list combo drops its list and takes the chosen item; its drop button is the
  // theme's picture, light while closed and dark while dropped.
  HWND combo = Control(IDC_COMBOLIST);
  RECT cr;
  GetClientRect(combo, &cr);
  EXPECT_TRUE(WaitPixel(combo, cr.right - 8, 3, RGB(214, 228, 242))) << std::hex << ScreenPixel(combo, cr.right - 8, 3);
  Click(IDC_COMBOLIST, 20, 10);
  EXPECT_TRUE(WaitStatus("combo 302 dropped")) << Status();
  EXPECT_TRUE(WaitPixel(combo, cr.right - 8, 3, RGB(20, 48, 87))) << std::hex << ScreenPixel(combo, cr.right - 8, 3);
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
  // The hot "More" shows its sub-menu mark in the hot state's white.
  RECT mc;
  GetClientRect(menu, &mc);
  auto whiteOnRow = [&](int y) {
    int n = 0;
    for (int x = 0; x < mc.right; ++x) n += ScreenPixel(menu, x, y) == RGB(255, 255, 255);
    return n;
  };
  EXPECT_TRUE(WaitUntil([&] { return whiteOnRow(moreY) >= 2; })) << "no sub-menu mark";
  Shot("menus_popup", true);
  // The second item's diamonds turn while it is hot.
  const int secondY = 1 + 22 + 12;
  pt = {40, secondY};
  ClientToScreen(menu, &pt);
  SetCursorPos(pt.x, pt.y);
  PostMessageA(menu, WM_MOUSEMOVE, 0, MAKELPARAM(40, secondY));
  ASSERT_TRUE(WaitPixel(menu, 100, secondY - 8, RGB(181, 209, 226))) << "the second item is not hot";
  RECT wr;
  GetWindowRect(menu, &wr);
  RECT icon = {wr.left + 1, wr.top + 1 + 22 + 2, wr.left + 1 + 4 + 16 + 2, wr.top + 1 + 22 + 2 + 20};
  const unsigned long long before = ScreenSum(icon);
  EXPECT_TRUE(WaitUntil([&] { return ScreenSum(icon) != before; })) << "the hot item's image does not turn";
  // A click on an item runs its command and closes the whole cascade.
  winprobe::ClickAt(menu, 40, secondY);
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
  // Its halves are the theme's flip pictures (their face colour, not the tab fill).
  EXPECT_TRUE(WaitPixel(upDown, 2, 2, RGB(220, 243, 255))) << std::hex << ScreenPixel(upDown, 2, 2);
  Shot("menus");
}

TEST_F(GalleryTest, PopupMenuWithExtraParts) {
  // The page may be open already (its tab then reports nothing): wait for its button.
  winprobe::ClickAt(Control(IDC_TABS), 190, 12);
  ASSERT_TRUE(WaitUntil([] { return IsWindowVisible(Control(IDC_OPENPARTSMENU)) != FALSE; }));
  SetCursorPos(1300, 700);
  Click(IDC_OPENPARTSMENU, 20, 10);
  HWND menu = WaitPopup("ODMenu");
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(menu) != FALSE; }));
  EXPECT_EQ((INT_PTR)GetPropA(menu, "ODMenu"), 0x1005);
  // The parts sit inside the one-pixel frame: a title strip of 20 over the columns, a left
  // strip of round buttons 16 wide, a right strip of 6 and a bottom strip of 8.
  RECT rc;
  GetClientRect(menu, &rc);
  EXPECT_EQ(ScreenPixel(menu, rc.right - 1 - 3, rc.bottom / 2), RGB(181, 209, 226)) << "right part";
  EXPECT_EQ(ScreenPixel(menu, rc.right / 2, rc.bottom - 1 - 4), RGB(20, 48, 87)) << "bottom part";
  // The title text moves and the buttons turn: the strips change while nothing is touched.
  RECT wr;
  GetWindowRect(menu, &wr);
  RECT top = {wr.left + 1, wr.top + 1, wr.right - 1, wr.top + 21};
  RECT left = {wr.left + 1, wr.top + 21, wr.left + 17, wr.bottom - 9};
  const unsigned long long topSum = ScreenSum(top), leftSum = ScreenSum(left);
  EXPECT_TRUE(WaitUntil([&] { return ScreenSum(top) != topSum; })) << "the title text does not move";
  EXPECT_TRUE(WaitUntil([&] { return ScreenSum(left) != leftSum; })) << "the left part's image does not turn";
  Shot("menus_parts", true);
  // Items start below the title and right of the left strip: the second item (20 high,
  // 2 apart) is hit there.
  winprobe::ClickAt(menu, 1 + 16 + 30, 1 + 20 + 22 + 2 + 10);
  EXPECT_TRUE(WaitStatus("menu 32")) << Status();
  EXPECT_TRUE(WaitUntil([] { return !MenuOpen(); })) << "the menu did not close";
}

TEST_F(GalleryTest, DialogWaitAndMessageDialogs) {
  OpenPage(4);
  Click(IDC_OPENDIALOG, 20, 10);
  HWND dlg = WaitPopup("Dialog");
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ((INT_PTR)GetPropA(dlg, "ODDialog"), 0x1004);
  // The system-menu image turns its frames on its own timer.
  {
    RECT dr;
    GetWindowRect(dlg, &dr);
    RECT sysMenu = {dr.left, dr.top, dr.left + 30, dr.top + 20};
    const unsigned long long first = ScreenSum(sysMenu);
    EXPECT_TRUE(WaitUntil([&] { return ScreenSum(sysMenu) != first; })) << "the caption image does not turn";
  }
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
  ASSERT_TRUE(WaitStatus("wait 9", 8000)) << Status();
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
  // On a busy machine the shot can take longer than the last second of the count: the
  // status may already tell that the dialog closed.
  EXPECT_TRUE(WaitStatus("message 1") || Status() == "message closed -1") << Status();
  EXPECT_TRUE(WaitStatus("message closed -1", 8000)) << Status();
  Shot("dialogs");
}

}  // namespace
