// The chat control stand-in: a user list (a real list view), the chat lines with their
// colour markup, an input line, and a connection to the chat peer that carries the lines
// between the players of one table.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ChatCore.h"
#include "Controls.h"
#include "CtrlBase.h"

namespace {

const UINT WM_CHATSOCKET = WM_APP + 10;
const UINT WM_CHATENTER = WM_APP + 11;
const WORD ID_EMOTION_NOTIFY = 0xFF9C;  // the user list changed
const int kInputHeight = 22;
const int kEmotionShowMs = 60000;
const char kColon[] = "\xA3\xBA";  // full-width colon: sender and message are split at it

const char* const kLinesClass = "QKChatLines";

class CChatControl : public CCtrlBase {
 public:
  CChatControl() : CCtrlBase(CLSID_QKChatEx) {}
  ~CChatControl() override {
    CloseSocket();
    if (m_hEmotion) ::DeleteObject(m_hEmotion);
  }

 protected:
  const char* ClassName() const override { return "QKChatExCtrl"; }
  void OnCreated() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HRESULT Call(DISPID id, WORD wFlags, const CArgs& a, VARIANT* r) override;

 private:
  // Window pieces.
  void Layout();
  void SetColumns(const std::vector<std::string>& titles);
  int FindRow(const std::string& user) const;
  void PutRow(const std::vector<std::string>& cells);
  void RemoveRow(const std::string& user);
  void NotifyListChanged();
  // Window texts that mirror the list and the last lines, so another process can read them.
  void MirrorRows();
  void MirrorLines();
  void AppendMarkup(const std::string& text);
  void OnInputEnter();
  bool ShowEmotion(const std::string& file);
  static LRESULT CALLBACK LinesProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK InputProc(HWND, UINT, WPARAM, LPARAM);
  void PaintLines(HDC hdc, const RECT& rc);
  // The chat peer.
  bool Connect();
  void CloseSocket();
  void OnSocket(WPARAM wParam, LPARAM lParam);
  void SendLine(const std::vector<std::string>& fields);
  void Flush();
  void OnPeerLine(const std::string& line);

  HWND m_hList = nullptr, m_hLines = nullptr, m_hInput = nullptr;
  WNDPROC m_pfnInput = nullptr;
  std::vector<std::string> m_titles, m_ownRow;
  std::vector<qkchat::Line> m_lines;
  std::string m_host;
  int m_nPort = 0;
  SOCKET m_sock = INVALID_SOCKET;
  bool m_bConnected = false;
  std::string m_outQueue;
  qkchat::LineBuffer m_in;
  HWND m_hEcho = nullptr;
  UINT m_nEchoMsg = 0, m_nEchoMsg2 = 0;
  int m_nChatHeight = -1;  // the chat lines' height; -1 lets the control choose
  int m_nListPos = 1, m_nMode = 0;
  BOOL m_bEnabled = FALSE, m_bFlag70 = TRUE;
  long m_nOption81 = -1;
  HBITMAP m_hEmotion = nullptr;
  DWORD m_dwEmotionUntil = 0;
};

void CChatControl::OnCreated() {
  static bool ready = false;
  if (!ready) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LinesProc;
    wc.hInstance = g_hCtrlModule;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kLinesClass;
    ::RegisterClassA(&wc);
    WSADATA wsa;
    ::WSAStartup(MAKEWORD(2, 2), &wsa);
    ready = true;
  }
  m_hList = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0,
                              0, 10, 10, m_hWnd, (HMENU)1, g_hCtrlModule, nullptr);
  ListView_SetExtendedListViewStyle(m_hList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  m_hLines = ::CreateWindowExA(WS_EX_CLIENTEDGE, kLinesClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWnd, (HMENU)2,
                               g_hCtrlModule, this);
  m_hInput = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 10, 10,
                               m_hWnd, (HMENU)3, g_hCtrlModule, nullptr);
  ::SendMessageA(m_hInput, EM_LIMITTEXT, 200, 0);
  HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
  for (HWND h : {m_hList, m_hInput}) ::SendMessageA(h, WM_SETFONT, (WPARAM)font, 0);
  ::SetWindowLongPtrA(m_hInput, GWLP_USERDATA, (LONG_PTR)this);
  m_pfnInput = (WNDPROC)::SetWindowLongPtrA(m_hInput, GWLP_WNDPROC, (LONG_PTR)InputProc);
  Layout();
}

void CChatControl::Layout() {
  if (!m_hWnd || !m_hList) return;
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  int w = rc.right, h = rc.bottom;
  int rest = h - kInputHeight;
  if (rest < 0) rest = 0;
  int lines = m_nChatHeight > 0 ? m_nChatHeight : rest * 2 / 3;
  if (lines > rest) lines = rest;
  int list = rest - lines;
  // Position 0 puts the user list above the lines, any other below.
  int listTop = m_nListPos == 0 ? 0 : lines;
  int linesTop = m_nListPos == 0 ? list : 0;
  ::MoveWindow(m_hList, 0, listTop, w, list, TRUE);
  ::MoveWindow(m_hLines, 0, linesTop, w, lines, TRUE);
  ::MoveWindow(m_hInput, 0, rest, w, kInputHeight, TRUE);
}

void CChatControl::SetColumns(const std::vector<std::string>& titles) {
  m_titles = titles;
  while (ListView_DeleteColumn(m_hList, 0)) {
  }
  for (size_t i = 0; i < titles.size(); ++i) {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.cx = i < 2 ? 70 : 50;
    col.pszText = const_cast<char*>(titles[i].c_str());
    col.iSubItem = (int)i;
    ::SendMessageA(m_hList, LVM_INSERTCOLUMNA, i, (LPARAM)&col);
  }
}

int CChatControl::FindRow(const std::string& user) const {
  char buf[64];
  int n = ListView_GetItemCount(m_hList);
  for (int i = 0; i < n; ++i) {
    LVITEMA it = {};
    it.iSubItem = 0;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    buf[0] = 0;
    ::SendMessageA(m_hList, LVM_GETITEMTEXTA, i, (LPARAM)&it);
    if (user == buf) return i;
  }
  return -1;
}

void CChatControl::PutRow(const std::vector<std::string>& cells) {
  if (cells.empty() || cells[0].empty()) return;
  int row = FindRow(cells[0]);
  if (row < 0) {
    LVITEMA it = {};
    it.mask = LVIF_TEXT;
    it.iItem = ListView_GetItemCount(m_hList);
    it.pszText = const_cast<char*>(cells[0].c_str());
    row = (int)::SendMessageA(m_hList, LVM_INSERTITEMA, 0, (LPARAM)&it);
    if (row < 0) return;
  }
  for (size_t c = 1; c < cells.size() && c < qkchat::kMaxColumns; ++c) {
    LVITEMA it = {};
    it.iSubItem = (int)c;
    it.pszText = const_cast<char*>(cells[c].c_str());
    ::SendMessageA(m_hList, LVM_SETITEMTEXTA, row, (LPARAM)&it);
  }
  NotifyListChanged();
}

void CChatControl::RemoveRow(const std::string& user) {
  int row = FindRow(user);
  if (row < 0) return;
  ListView_DeleteItem(m_hList, row);
  NotifyListChanged();
}

void CChatControl::MirrorRows() {
  std::string all;
  char buf[64];
  int n = ListView_GetItemCount(m_hList);
  for (int i = 0; i < n; ++i) {
    if (i) all += "; ";
    for (size_t c = 0; c < m_titles.size() || c == 0; ++c) {
      LVITEMA it = {};
      it.iSubItem = (int)c;
      it.pszText = buf;
      it.cchTextMax = sizeof buf;
      buf[0] = 0;
      ::SendMessageA(m_hList, LVM_GETITEMTEXTA, i, (LPARAM)&it);
      if (c) all += ",";
      for (char* p = buf; *p; ++p)
        if ((unsigned char)*p >= 0x80) *p = '?';
      all += buf;
    }
  }
  ::SetWindowTextA(m_hWnd, all.c_str());
}

void CChatControl::MirrorLines() {
  std::string all;
  size_t first = m_lines.size() > 12 ? m_lines.size() - 12 : 0;
  for (size_t i = first; i < m_lines.size(); ++i) {
    if (i > first) all += " | ";
    for (const auto& run : m_lines[i]) all += run.text;
  }
  // Other processes read it as plain ASCII: the prober lists no window whose text it
  // cannot pass on, so wide characters show as '?'.
  for (char& c : all)
    if ((unsigned char)c >= 0x80) c = '?';
  ::SetWindowTextA(m_hLines, all.c_str());
}

void CChatControl::NotifyListChanged() {
  MirrorRows();
  HWND parent = ::GetParent(m_hWnd);
  if (parent) ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(ID_EMOTION_NOTIFY, 0), (LPARAM)m_hWnd);
}

void CChatControl::AppendMarkup(const std::string& text) {
  for (auto& l : qkchat::ParseMarkup(text)) m_lines.push_back(l);
  // A long session keeps the last lines only.
  if (m_lines.size() > 500) m_lines.erase(m_lines.begin(), m_lines.begin() + 100);
  if (m_hLines) {
    MirrorLines();
    ::InvalidateRect(m_hLines, nullptr, TRUE);
  }
}

bool CChatControl::ShowEmotion(const std::string& file) {
  HBITMAP bmp = (HBITMAP)::LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!bmp) return false;
  if (m_hEmotion) ::DeleteObject(m_hEmotion);
  m_hEmotion = bmp;
  m_dwEmotionUntil = ::GetTickCount() + kEmotionShowMs;
  ::SetTimer(m_hWnd, 1, kEmotionShowMs, nullptr);
  if (m_hLines) ::InvalidateRect(m_hLines, nullptr, TRUE);
  return true;
}

void CChatControl::PaintLines(HDC hdc, const RECT& rc) {
  ::FillRect(hdc, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  ::SetBkMode(hdc, TRANSPARENT);
  // Lay every line out in rows that fit the width, then draw the last rows that fit.
  struct Piece {
    int x;
    HFONT font;
    COLORREF color;
    std::string text;
  };
  std::vector<std::vector<Piece>> rows;
  std::vector<HFONT> fonts;
  auto fontFor = [&](const qkchat::Run& r) {
    int h = r.size > 0 && r.size < 40 ? r.size + 3 : 12;
    HFONT f = ::CreateFontA(-h, 0, 0, 0, r.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "SimSun");
    fonts.push_back(f);
    return f;
  };
  int width = rc.right - rc.left - 4;
  int lineH = 16;
  for (const auto& line : m_lines) {
    rows.emplace_back();
    int x = 2;
    for (const auto& run : line) {
      HFONT f = fontFor(run);
      HGDIOBJ old = ::SelectObject(hdc, f);
      COLORREF color = RGB(run.rgb >> 16 & 0xFF, run.rgb >> 8 & 0xFF, run.rgb & 0xFF);
      std::string piece;
      for (size_t i = 0; i < run.text.size();) {
        size_t n = ::IsDBCSLeadByte((BYTE)run.text[i]) && i + 1 < run.text.size() ? 2 : 1;
        std::string next = piece + run.text.substr(i, n);
        SIZE sz;
        ::GetTextExtentPoint32A(hdc, next.c_str(), (int)next.size(), &sz);
        if (x + sz.cx > width && (x > 2 || !piece.empty())) {
          if (!piece.empty()) rows.back().push_back({x, f, color, piece});
          rows.emplace_back();
          x = 2;
          piece.clear();
          continue;
        }
        piece = next;
        i += n;
      }
      if (!piece.empty()) {
        SIZE sz;
        ::GetTextExtentPoint32A(hdc, piece.c_str(), (int)piece.size(), &sz);
        rows.back().push_back({x, f, color, piece});
        x += sz.cx;
      }
      ::SelectObject(hdc, old);
    }
  }
  int bottom = rc.bottom;
  if (m_hEmotion && ::GetTickCount() < m_dwEmotionUntil) {
    BITMAP bm;
    ::GetObject(m_hEmotion, sizeof bm, &bm);
    HDC mem = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(mem, m_hEmotion);
    bottom -= bm.bmHeight + 2;
    ::BitBlt(hdc, 2, bottom, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
  }
  int y = bottom - lineH;
  for (size_t r = rows.size(); r-- > 0 && y + lineH > rc.top; y -= lineH) {
    for (const auto& p : rows[r]) {
      HGDIOBJ old = ::SelectObject(hdc, p.font);
      ::SetTextColor(hdc, p.color);
      ::TextOutA(hdc, p.x, y, p.text.c_str(), (int)p.text.size());
      ::SelectObject(hdc, old);
    }
  }
  for (HFONT f : fonts) ::DeleteObject(f);
}

LRESULT CALLBACK CChatControl::LinesProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    ::SetWindowLongPtrA(h, GWLP_USERDATA, (LONG_PTR) reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
  auto* self = reinterpret_cast<CChatControl*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT && self) {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(h, &ps);
    RECT rc;
    ::GetClientRect(h, &rc);
    // Off-screen, so the lines do not flicker as they scroll.
    HDC mem = ::CreateCompatibleDC(hdc);
    HBITMAP bmp = ::CreateCompatibleBitmap(hdc, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    self->PaintLines(mem, rc);
    ::BitBlt(hdc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::EndPaint(h, &ps);
    return 0;
  }
  return ::DefWindowProcA(h, msg, wParam, lParam);
}

LRESULT CALLBACK CChatControl::InputProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CChatControl*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
  // The form view's dialog manager would take Enter for its default button.
  if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS | ::CallWindowProcA(self->m_pfnInput, h, msg, wParam, lParam);
  if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
    ::PostMessageA(self->m_hWnd, WM_CHATENTER, 0, 0);
    return 0;
  }
  if (msg == WM_CHAR && (wParam == '\r' || wParam == '\n')) return 0;
  return ::CallWindowProcA(self->m_pfnInput, h, msg, wParam, lParam);
}

void CChatControl::OnInputEnter() {
  char buf[256];
  int n = ::GetWindowTextA(m_hInput, buf, sizeof buf);
  if (n <= 0) return;
  ::SetWindowTextA(m_hInput, "");
  SendLine({"SAY", std::string(buf, n)});
}

bool CChatControl::Connect() {
  if (m_sock != INVALID_SOCKET || m_host.empty() || m_nPort <= 0) return false;
  addrinfo hints = {}, *res = nullptr;
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  char port[16];
  std::snprintf(port, sizeof port, "%d", m_nPort);
  if (::getaddrinfo(m_host.c_str(), port, &hints, &res) != 0 || !res) return false;
  m_sock = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  bool ok = m_sock != INVALID_SOCKET &&
            ::WSAAsyncSelect(m_sock, m_hWnd, WM_CHATSOCKET, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) == 0;
  if (ok) {
    int r = ::connect(m_sock, res->ai_addr, (int)res->ai_addrlen);
    ok = r == 0 || ::WSAGetLastError() == WSAEWOULDBLOCK;
  }
  ::freeaddrinfo(res);
  if (!ok) CloseSocket();
  return ok;
}

void CChatControl::CloseSocket() {
  if (m_sock != INVALID_SOCKET) ::closesocket(m_sock);
  m_sock = INVALID_SOCKET;
  m_bConnected = false;
}

void CChatControl::SendLine(const std::vector<std::string>& fields) {
  m_outQueue += qkchat::JoinFields(fields) + "\n";
  Flush();
}

void CChatControl::Flush() {
  if (!m_bConnected) return;
  while (!m_outQueue.empty()) {
    int n = ::send(m_sock, m_outQueue.data(), (int)m_outQueue.size(), 0);
    if (n <= 0) break;  // the rest goes on FD_WRITE
    m_outQueue.erase(0, n);
  }
}

void CChatControl::OnSocket(WPARAM, LPARAM lParam) {
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_CONNECT:
      if (WSAGETSELECTERROR(lParam)) {
        CloseSocket();
        return;
      }
      m_bConnected = true;
      Flush();  // the greeting first, then what was typed meanwhile
      break;
    case FD_WRITE:
      Flush();
      break;
    case FD_READ: {
      char buf[2048];
      int n = ::recv(m_sock, buf, sizeof buf, 0);
      if (n > 0) m_in.Append(buf, n);
      std::string line;
      while (m_in.Next(&line)) OnPeerLine(line);
      break;
    }
    case FD_CLOSE:
      CloseSocket();
      break;
  }
}

void CChatControl::OnPeerLine(const std::string& line) {
  std::vector<std::string> f = qkchat::SplitFields(line);
  if (f[0] == "JOIN" && f.size() >= 2) {
    PutRow(std::vector<std::string>(f.begin() + 1, f.end()));
  } else if (f[0] == "LEAVE" && f.size() >= 2) {
    RemoveRow(f[1]);
  } else if (f[0] == "SAY" && f.size() >= 3) {
    std::string text =
        "\r\n" + qkchat::StyleTag(9, 0x0000A0, true) + f[1] + qkchat::StyleTag(9, 0x000000, false) + kColon + f[2];
    AppendMarkup(text);
    // The table view shows the host's lines in its ticker; it reads the line while handling.
    if (m_hEcho && ::IsWindow(m_hEcho)) ::SendMessageA(m_hEcho, m_nEchoMsg2, 0, (LPARAM)(text.c_str() + 2));
  }
}

LRESULT CChatControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CHATSOCKET:
      OnSocket(wParam, lParam);
      return 0;
    case WM_CHATENTER:
      OnInputEnter();
      return 0;
    case WM_TIMER:
      ::KillTimer(m_hWnd, wParam);
      if (m_hLines) ::InvalidateRect(m_hLines, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return CCtrlBase::WndProc(msg, wParam, lParam);
}

HRESULT CChatControl::Call(DISPID id, WORD wFlags, const CArgs& a, VARIANT* r) {
  switch (id) {
    case 18:  // chat server host (property)
      if (wFlags & DISPATCH_PROPERTYPUT)
        m_host = a.Str(0);
      else
        SetStr(r, m_host);
      return S_OK;
    case 19:  // chat server port (property)
      if (wFlags & DISPATCH_PROPERTYPUT)
        m_nPort = (unsigned short)a.Long(0);
      else
        SetLong(r, m_nPort);
      return S_OK;
    case 35:  // ready for a table
      m_lines.clear();
      SetBool(r, m_hWnd != nullptr);
      return S_OK;
    case 44:
      SetPtr(r, (LONG_PTR)m_hList);
      return S_OK;
    case 47: {  // the own row: block, size, login key, two texts, login value, 0
      std::vector<std::string> cells;
      LONG_PTR p = a.Ptr(0);
      long size = a.Long(1);
      bool ok = p && size > 0 && qkchat::ParseUserTable((const uint8_t*)p, (size_t)size, &cells);
      if (ok) {
        m_ownRow = cells;
        PutRow(cells);
        std::vector<std::string> hello = {"HELLO"};
        hello.insert(hello.end(), cells.begin(), cells.end());
        m_outQueue.clear();
        // The login value names the table's room: only players of one room hear each other.
        SendLine({"ROOM", std::to_string(a.Long(5))});
        SendLine(hello);
        Connect();
      }
      SetBool(r, ok);
      return S_OK;
    }
    case 49: {  // the column titles
      std::vector<std::string> cells;
      LONG_PTR p = a.Ptr(0);
      long size = a.Long(1);
      bool ok = p && size > 0 && qkchat::ParseUserTable((const uint8_t*)p, (size_t)size, &cells);
      if (ok) SetColumns(cells);
      SetBool(r, ok);
      return S_OK;
    }
    case 51:
      SetBool(r, ShowEmotion(a.Str(0)));
      return S_OK;
    case 53:
      m_nListPos = 0;
      Layout();
      return S_OK;
    case 54:
      m_nMode = 1;
      return S_OK;
    case 56:  // may the window close: nothing is left half-sent
      SetBool(r, m_outQueue.empty());
      return S_OK;
    case 57:
      m_bEnabled = a.Long(0) != 0;
      return S_OK;
    case 64: {  // a wealth result: a line for the player
      std::string text = "\r\n" + qkchat::StyleTag(9, 0x008000, false) + a.Str(0) + " " + std::to_string(a.Long(1));
      AppendMarkup(text);
      SetLong(r, 1);
      return S_OK;
    }
    case 66: {  // the score column of a user
      int row = FindRow(a.Str(0));
      if (row >= 0) {
        std::string v = std::to_string(a.Long(1));
        LVITEMA it = {};
        it.iSubItem = 2;
        it.pszText = const_cast<char*>(v.c_str());
        ::SendMessageA(m_hList, LVM_SETITEMTEXTA, row, (LPARAM)&it);
        MirrorRows();
      }
      SetLong(r, row >= 0);
      return S_OK;
    }
    case 70:
      m_bFlag70 = a.Long(0) != 0;
      return S_OK;
    case 72:
      m_nChatHeight = (short)a.Long(0);
      Layout();
      SetBool(r, true);
      return S_OK;
    case 73:
      SetLong(r, m_nChatHeight);
      return S_OK;
    case 75:
      AppendMarkup(a.Str(0));
      return S_OK;
    case 76:
      m_hEcho = (HWND)a.Ptr(0);
      m_nEchoMsg = (UINT)a.Long(1);
      m_nEchoMsg2 = (UINT)a.Long(2);
      return S_OK;
    case 81:
      m_nOption81 = a.Long(0);
      return S_OK;
    case DISPID_CHATTEXT: {  // every line's text without markup, for tests
      std::string all;
      for (const auto& l : m_lines) {
        for (const auto& run : l) all += run.text;
        all += "\n";
      }
      SetStr(r, all);
      return S_OK;
    }
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace

IUnknown* NewChatControl() { return static_cast<IOleObject*>(new CChatControl); }
