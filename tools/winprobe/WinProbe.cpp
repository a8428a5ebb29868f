#include "WinProbe.h"

#include <commctrl.h>
#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace winprobe {
namespace {

WindowInfo Describe(HWND h) {
  WindowInfo w;
  w.hwnd = h;
  GetWindowThreadProcessId(h, &w.pid);
  w.id = GetDlgCtrlID(h);
  w.visible = IsWindowVisible(h) != FALSE;
  char buf[512];
  int n = GetClassNameA(h, buf, sizeof buf);
  w.className.assign(buf, n > 0 ? n : 0);
  // WM_GETTEXT works across processes for every window kind we read; a window whose
  // thread does not answer within a second is read as having no text.
  DWORD_PTR len = 0;
  if (SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &len) && len > 0) {
    std::string text(static_cast<size_t>(len) + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 1000, &got);
    text.resize(got > 0 && got < text.size() ? static_cast<size_t>(got) : 0);
    w.text = text;
  }
  return w;
}

struct EnumState {
  DWORD pid;
  bool visibleOnly;
  std::vector<WindowInfo>* out;
};

BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<EnumState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (s->pid && pid != s->pid) return TRUE;
  if (s->visibleOnly && !IsWindowVisible(h)) return TRUE;
  s->out->push_back(Describe(h));
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<WindowInfo>*>(lp)->push_back(Describe(h));
  return TRUE;
}

std::string StripAmpersands(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
  return s;
}

int PngEncoderClsid(CLSID* clsid) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  if (size == 0) return -1;
  std::vector<BYTE> buf(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
      *clsid = codecs[i].Clsid;
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

std::vector<WindowInfo> TopLevelWindows(DWORD pid, bool visibleOnly) {
  std::vector<WindowInfo> out;
  EnumState s{pid, visibleOnly, &out};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return out;
}

std::vector<WindowInfo> ChildWindows(HWND parent) {
  std::vector<WindowInfo> out;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND WaitForWindow(const std::string& part, DWORD pid, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    for (const auto& w : TopLevelWindows(pid, true))
      if (w.text.find(part) != std::string::npos) return w.hwnd;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    // Keep this thread's own windows alive while waiting.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(50);
  }
}

bool ActOnModalWindow(const std::function<HWND()>& find, const std::function<void()>& call,
                      const std::function<void(HWND)>& act) {
  std::atomic<bool> returned{false};
  bool found = false;
  std::thread person([&] {
    for (; !returned; Sleep(50)) {
      if (HWND w = find()) {
        found = true;
        act(w);
        return;
      }
    }
  });
  call();
  returned = true;
  person.join();
  return found;
}

bool ActOnModalWindow(const std::string& part, const std::function<void()>& call,
                      const std::function<void(HWND)>& act) {
  const DWORD self = GetCurrentProcessId();
  return ActOnModalWindow(
      [&]() -> HWND {
        for (const auto& w : TopLevelWindows(self, true))
          if (w.text.find(part) != std::string::npos) return w.hwnd;
        return nullptr;
      },
      call, act);
}

HWND WaitForDialogText(const std::string& needle, DWORD timeoutMs, std::string& texts) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    for (const auto& w : TopLevelWindows(0, true)) {
      if (w.className != "#32770") continue;
      std::string all = w.text;
      for (const auto& c : ChildWindows(w.hwnd)) all += "\n" + c.text;
      if (all.find(needle) != std::string::npos) {
        texts = all;
        return w.hwnd;
      }
    }
    Sleep(200);
  }
  return nullptr;
}

HWND WaitForDialogWithControl(int id, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    for (const auto& w : TopLevelWindows(0, true)) {
      if (w.className != "#32770") continue;
      for (const auto& c : ChildWindows(w.hwnd))
        if (c.id == id) return w.hwnd;
    }
    Sleep(200);
  }
  return nullptr;
}

HWND FindButton(HWND parent, const std::string& text) {
  char* end = nullptr;
  long id = std::strtol(text.c_str(), &end, 10);
  bool byId = !text.empty() && end && *end == '\0';
  for (const auto& w : ChildWindows(parent)) {
    if (byId) {
      if (w.id == id) return w.hwnd;
    } else if (StripAmpersands(w.text) == StripAmpersands(text)) {
      return w.hwnd;
    }
  }
  return nullptr;
}

bool ClickButton(HWND parent, const std::string& text) {
  HWND b = FindButton(parent, text);
  if (!b) return false;
  // Posted so that a modal loop started by the click does not block the prober.
  PostMessageA(b, BM_CLICK, 0, 0);
  return true;
}

bool PressButton(HWND parent, const std::string& text) {
  HWND b = FindButton(parent, text);
  if (!b || !IsWindowVisible(b)) return false;
  RECT r;
  GetWindowRect(b, &r);
  // Real input: the pointer moves there and the button goes down and up, as a person does it.
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[3] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = ((r.left + r.right) / 2 * 65535 + w / 2) / (w - 1);
  in[0].mi.dy = ((r.top + r.bottom) / 2 * 65535 + h / 2) / (h - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return SendInput(3, in, sizeof(INPUT)) == 3;
}

void SendText(HWND target, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsDBCSLeadByte(c) && i + 1 < text.size()) {
      WPARAM w = (static_cast<WPARAM>(c) << 8) | static_cast<unsigned char>(text[i + 1]);
      PostMessageA(target, WM_IME_CHAR, w, 0);
      ++i;
    } else {
      PostMessageA(target, WM_CHAR, c, 0);
    }
  }
}

void SendKey(HWND target, UINT vk) {
  PostMessageA(target, WM_KEYDOWN, vk, 1);
  PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

void ClickAt(HWND target, int x, int y, bool right) {
  LPARAM pos = MAKELPARAM(x, y);
  PostMessageA(target, WM_MOUSEMOVE, 0, pos);
  PostMessageA(target, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, pos);
  PostMessageA(target, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, pos);
}

void ClickAtWithKeys(HWND target, int x, int y, WPARAM keys) {
  LPARAM pos = MAKELPARAM(x, y);
  PostMessageA(target, WM_MOUSEMOVE, keys, pos);
  PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON | keys, pos);
  PostMessageA(target, WM_LBUTTONUP, keys, pos);
}

bool SaveBitmapPng(HBITMAP bmp, const std::wstring& path) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  bool ok = false;
  {
    Gdiplus::Bitmap image(bmp, nullptr);
    CLSID png;
    if (PngEncoderClsid(&png) >= 0) ok = image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  }
  Gdiplus::GdiplusShutdown(token);
  return ok;
}

bool SaveWindowPng(HWND hwnd, const std::wstring& path) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  // A visible window is copied from the screen: PrintWindow of another process's
  // window comes back black under Wine. Hidden windows can only be printed.
  if (!IsWindowVisible(hwnd) || !BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY)) PrintWindow(hwnd, mem, 0);
  SelectObject(mem, old);
  bool ok = SaveBitmapPng(bmp, path);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

namespace {

void PumpOwnMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

BOOL CALLBACK FindPendingPaint(HWND child, LPARAM pending) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(pending) = true;
    return FALSE;
  }
  return TRUE;
}

bool PaintPending(HWND hwnd) {
  if (GetUpdateRect(hwnd, nullptr, FALSE)) return true;
  bool pending = false;
  EnumChildWindows(hwnd, FindPendingPaint, reinterpret_cast<LPARAM>(&pending));
  return pending;
}

// The screen's pixels in `r` (what the display shows, from every process's windows).
std::vector<DWORD> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<DWORD> px(size_t(w > 0 ? w : 0) * size_t(h > 0 ? h : 0));
  if (px.empty()) return px;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    memcpy(px.data(), bits, px.size() * sizeof(DWORD));
    SelectObject(mem, old);
  } else {
    px.clear();
  }
  if (dib) DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return px;
}

// The screen where the window stands, as 32-bit pixels.
std::vector<DWORD> ScreenPixels(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return {};
  return ScreenPixels(r);
}

}  // namespace

namespace {
std::atomic<HANDLE> g_markerSeen{nullptr};

UINT MarkerMessage() {
  static const UINT m = RegisterWindowMessageA("VeskProbePostedMarker");
  return m;
}

LRESULT CALLBACK WatchForMarker(int code, WPARAM removed, LPARAM l) {
  const MSG* msg = reinterpret_cast<const MSG*>(l);
  if (code == HC_ACTION && removed == PM_REMOVE && msg->message == MarkerMessage())
    if (HANDLE seen = g_markerSeen.load()) SetEvent(seen);
  return CallNextHookEx(nullptr, code, removed, l);
}

// Waits for `event` while this thread's own windows keep running.
bool PumpUntilSignalled(HANDLE event, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpOwnMessages();
    DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
    if (MsgWaitForMultipleObjects(1, &event, FALSE, timeoutMs - spent, QS_ALLINPUT) == WAIT_OBJECT_0) return true;
  }
}
}  // namespace

bool WaitPostedHandled(HWND hwnd, DWORD timeoutMs) {
  DWORD pid = 0;
  DWORD thread = GetWindowThreadProcessId(hwnd, &pid);
  if (!thread || pid != GetCurrentProcessId()) return false;
  HANDLE seen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  g_markerSeen = seen;
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, WatchForMarker, nullptr, thread);
  bool ok = hook && PostMessageA(hwnd, MarkerMessage(), 0, 0) && PumpUntilSignalled(seen, timeoutMs);
  if (hook) UnhookWindowsHookEx(hook);
  g_markerSeen = nullptr;
  CloseHandle(seen);
  return ok;
}

bool WaitPaintedAndStill(HWND hwnd, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  std::vector<DWORD> last;
  for (;;) {
    PumpOwnMessages();
    if (!IsWindow(hwnd)) return false;
    if (!PaintPending(hwnd)) {
      std::vector<DWORD> now = ScreenPixels(hwnd);
      if (!now.empty() && now == last) return true;
      last = std::move(now);
    } else {
      last.clear();
    }
    if (GetTickCount() - start >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 60, QS_ALLINPUT);
  }
}

bool SaveScreenArea(HWND hwnd, const std::wstring& path, DWORD timeoutMs) {
  SetForegroundWindow(hwnd);
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Saved even when it never settles: a picture of a moving window still shows what went wrong.
  WaitPaintedAndStill(hwnd, timeoutMs);
  return SaveWindowPng(hwnd, path);
}

}  // namespace winprobe

namespace winprobe {

namespace {
HWND FindListIn(HWND hwnd) {
  char cls[64] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpiA(cls, "ODListCtrl") == 0 || lstrcmpiA(cls, "SysListView32") == 0) return hwnd;
  for (const auto& w : ChildWindows(hwnd))
    if (w.className == "ODListCtrl" || w.className == "SysListView32") return w.hwnd;
  return nullptr;
}
// A record whose text buffer lives in another process: the record and a buffer behind it are
// written there, the message asks the window to fill the buffer, and the text is read back.
class CRemoteText {
 public:
  CRemoteText(HWND target, size_t recordSize) : m_target(target), m_recordSize(recordSize) {
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process) m_remote = (BYTE*)VirtualAllocEx(m_process, nullptr, recordSize + kText, MEM_COMMIT, PAGE_READWRITE);
  }
  ~CRemoteText() {
    if (m_remote) VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    if (m_process) CloseHandle(m_process);
  }
  bool Ok() const { return m_remote != nullptr; }
  LPSTR Buffer() const { return (LPSTR)(m_remote + m_recordSize); }
  static constexpr int kText = 260;
  std::string Ask(const void* record, UINT msg, WPARAM wp) {
    char text[kText] = "";
    SIZE_T done = 0;
    WriteProcessMemory(m_process, m_remote, record, m_recordSize, &done);
    WriteProcessMemory(m_process, m_remote + m_recordSize, text, 1, &done);
    SendMessageA(m_target, msg, wp, (LPARAM)m_remote);
    ReadProcessMemory(m_process, m_remote + m_recordSize, text, sizeof text - 1, &done);
    text[sizeof text - 1] = '\0';
    return text;
  }

 private:
  HWND m_target;
  size_t m_recordSize;
  HANDLE m_process = nullptr;
  BYTE* m_remote = nullptr;
};

}  // namespace

std::vector<std::string> ReadListHeader(HWND hwnd) {
  std::vector<std::string> titles;
  HWND list = FindListIn(hwnd);
  HWND header = list ? FindWindowExA(list, nullptr, "SysHeader32", nullptr) : nullptr;
  if (!header) return titles;
  const int columns = (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
  CRemoteText remote(header, sizeof(HDITEMA));
  for (int i = 0; remote.Ok() && i < columns && i < 64; ++i) {
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.cchTextMax = CRemoteText::kText;
    item.pszText = remote.Buffer();
    titles.push_back(remote.Ask(&item, HDM_GETITEMA, (WPARAM)i));
  }
  return titles;
}

std::vector<std::vector<std::string>> ReadListRows(HWND hwnd) {
  std::vector<std::vector<std::string>> rows;
  HWND list = FindListIn(hwnd);
  if (!list) return rows;
  HWND header = FindWindowExA(list, nullptr, "SysHeader32", nullptr);
  const int columns = header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 1;
  const int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
  CRemoteText remote(list, sizeof(LVITEMA));
  for (int r = 0; remote.Ok() && r < count && r < 10000; ++r) {
    std::vector<std::string> cells;
    for (int col = 0; col < columns && col < 64; ++col) {
      LVITEMA item{};
      item.iSubItem = col;
      item.cchTextMax = CRemoteText::kText;
      item.pszText = remote.Buffer();
      cells.push_back(remote.Ask(&item, LVM_GETITEMTEXTA, (WPARAM)r));
    }
    rows.push_back(cells);
  }
  return rows;
}

}  // namespace winprobe

namespace winprobe {

bool SaveSettledWindowPng(HWND hwnd, const std::wstring& path, DWORD timeoutMs) {
  if (IsWindowVisible(hwnd)) WaitPaintedAndStill(hwnd, timeoutMs);
  return SaveWindowPng(hwnd, path);
}

void CopyProgramFiles(const std::string& from, const std::string& to) {
  for (const char* pattern : {"\\*.exe", "\\*.dll"}) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((from + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      std::string name = fd.cFileName;
      if (name.rfind("Vesk_Res", 0) == 0) continue;
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
}

namespace {
double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

}  // namespace

bool MeasureClose(HWND box, int buttonId, HWND main, CloseTiming* out, DWORD timeoutMs) {
  HWND button = FindButton(box, std::to_string(buttonId));
  if (!button || !out) return false;
  *out = CloseTiming();
  RECT r;
  GetWindowRect(box, &r);
  // A band across the box's middle, inside the screen: enough to tell the box from the table.
  const int cy = (r.top + r.bottom) / 2;
  RECT band = {std::max<LONG>(r.left + 4, 0), std::max(cy - 8, 0),
               std::min<LONG>(r.right - 4, GetSystemMetrics(SM_CXSCREEN)),
               std::min(cy + 8, GetSystemMetrics(SM_CYSCREEN))};
  const std::vector<DWORD> before = ScreenPixels(band);
  const double start = NowMs();
  // The click as the box receives it (a skinned button answers the mouse, not BM_CLICK).
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  while (NowMs() - start < timeoutMs) {
    const double now = NowMs() - start;
    if (out->hidden < 0 && (!IsWindow(box) || !IsWindowVisible(box))) out->hidden = now;
    if (out->hidden >= 0 && out->answered < 0) {
      DWORD_PTR result = 0;
      if (SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) out->answered = NowMs() - start;
    }
    if (out->screen < 0) {
      const std::vector<DWORD> px = ScreenPixels(band);
      size_t changed = 0;
      for (size_t i = 0; i < px.size() && i < before.size(); ++i)
        changed += (px[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF);
      // Most of the band shows something else: the box is off the screen.
      if (!px.empty() && changed * 2 > px.size()) out->screen = NowMs() - start;
    }
    if (out->hidden >= 0 && out->answered >= 0 && out->screen >= 0) return true;
    Sleep(1);
  }
  return false;
}

}  // namespace winprobe
