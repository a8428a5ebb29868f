#include "ChatView.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "HttpClient.h"
#include "LobbyLinks.h"
#include "MutexGuard.h"
#include "NetSkinFolder.h"
#include "PanelUrl.h"
#include "ResLoad.h"
#include "WebUrl.h"
#include "resource.h"
#include "Ticket.h"

IMPLEMENT_DYNCREATE(CChatView, CFormView)

BEGIN_MESSAGE_MAP(CChatView, CFormView)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_DESTROY()
  ON_MESSAGE(CChatView::WM_PANEL_URL, &CChatView::OnPanelUrl)
END_MESSAGE_MAP()

namespace {
const char kSettings[] = "Settings";
const char kShareKey[] = "Software\\Orvane\\Game\\Share";
const UINT kChatEchoMsg1 = 1135, kChatEchoMsg2 = 1136;
const COLORREF kBackground = RGB(236, 233, 216);
const COLORREF kFrame = RGB(128, 128, 128);

// 1 when the screen is smaller than 1024 by 768 (either side), else 2.
int SizeClass() { return ::GetSystemMetrics(SM_CXSCREEN) < 1024 || ::GetSystemMetrics(SM_CYSCREEN) < 768 ? 1 : 2; }

std::string ToUtf8(const std::string& ansi) { return AnsiToUtf8(ansi); }

// The room text from the lobby's shared block, read only while its mutex is held.
std::string ReadLobbyRoomText() {
  CMutexGuard guard(ROOM_REC_MUTEX, 2000);
  if (!guard.IsAcquired()) return std::string();
  HANDLE h = ::OpenFileMappingA(FILE_MAP_READ, FALSE, ROOM_REC_NAME);
  if (!h) return std::string();
  std::string text;
  if (const void* view = ::MapViewOfFile(h, FILE_MAP_READ, 0, 0, 0)) {
    // The whole mapping is mapped; its real size decides whether the field is there.
    MEMORY_BASIC_INFORMATION mbi = {};
    size_t size = ::VirtualQuery(view, &mbi, sizeof mbi) ? mbi.RegionSize : 0;
    text = panelurl::RoomText(static_cast<const uint8_t*>(view), size);
    ::UnmapViewOfFile(view);
  }
  ::CloseHandle(h);
  return text;
}

// A picture of the theme: under the current net skin when it has the file, else under the
// profile's "Path" (the platform's shared folder when the profile names none).
std::string ThemePicture(const char* relative) {
  std::string base = (LPCSTR)AfxGetApp()->GetProfileString("", "Path", "");
  if (base.empty()) base = ReadRegistryString(kShareKey, "Path", "");
  return NetSkinPicture(relative, base + relative);
}

std::string LangRscPathFromShare() {
  std::string path = ReadRegistryString(kShareKey, "Path", "");
  return path.empty() ? std::string() : path + "\\LangRsc.ini";
}

}  // namespace

// The live panel's address for the template: the user name and a fresh ticket filled in.
std::string BuildPanelUrl(const std::string& tmpl) {
  if (tmpl.empty()) return std::string();
  std::string user(g_LaunchRec.szUserName, strnlen(g_LaunchRec.szUserName, sizeof g_LaunchRec.szUserName));
  std::string room = ReadLobbyRoomText();
  std::string langRsc = LangRscPathFromShare();
  char value[1025] = "";
  if (!langRsc.empty())
    ::GetPrivateProfileStringA("RegisterIP", "RegisterHost", "", value, sizeof value, langRsc.c_str());
  std::string server = panelurl::RegisterServer(value);
  TICKET_RESULT ticket;
  if (server.empty() || !GetTicketOk(server.c_str(), 2000, user.c_str(), room.c_str(), &ticket))
    ticket.strTicket.clear();
  return panelurl::Substitute(tmpl, panelurl::UrlEncode(ToUtf8(user)), panelurl::UrlEncode(ticket.strTicket));
}

CChatView::CChatView() : CFormView(IDD) {
  m_nChatHeight = panelurl::CapChatHeight((int)AfxGetApp()->GetProfileInt(kSettings, "ChatHeight", -1));
  m_nChatviewPos = (int)AfxGetApp()->GetProfileInt(kSettings, "ChatviewPos", 0);
}

CChatView::~CChatView() {
  if (m_nChatHeight != 0) AfxGetApp()->WriteProfileInt(kSettings, "ChatHeight", panelurl::CapChatHeight(m_nChatHeight));
  delete m_pPanel;
}

void CChatView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  CQKChatEx* pChat = m_wndChat.Create(1, this);
  if (!pChat) return;
  pChat->Invoke81(0);
  // The advertisement control, behind the panel (put on top) in the corner they share.
  // Siblings clip each other there, so the order decides what shows, not which painted
  // last; the control makes its own window, so the style is set once it is there.
  if (m_AdCtrl.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_CHAT_AD))
    m_AdCtrl.ModifyStyle(0, WS_CLIPSIBLINGS);
  CreatePanel();
  ChatViewSite().RegisterChatView(this);
  StartChat();
  StartMessageService();
}

void CChatView::CreatePanel() {
  if (m_pPanel) return;
  m_pPanel = new BrowserHostDlg;
  if (!m_pPanel->Create(BrowserHostDlg::IDD, this)) return;
  m_pPanel->ModifyStyle(0, WS_CLIPSIBLINGS);
  m_pPanel->SetWindowPos(&wndTop, 0, 0, 238, 350, SWP_NOMOVE | SWP_NOSIZE);
  m_pPanel->MoveWindow(0, 0, 238, 350);
}

void CChatView::StartPanel() {
  if (!m_pPanel || !m_pPanel->GetSafeHwnd() || m_bPanelStarted) return;
  m_bPanelStarted = TRUE;
  // Shown once the browser has a page: an empty host (no browser library, no address)
  // would only cover the advertisement control beneath it.
  if (m_pPanel->LoadBrowser()) StartPanelUrl(TRUE);
}

void CChatView::StartChat() {
  CQKChatEx* pChat = m_wndChat.GetChat();
  if (m_nChatviewPos == 0) pChat->Invoke53();
  std::string watched = ChatViewSite().IsWatching() ? ChatViewSite().GetWatchedName() : std::string();
  // The score column: the launch record's number column, kept up to date from the series.
  m_wndChat.ShowEmotion("vesk", 0, IDS_COL_SCORE, watched.c_str(), ChatViewSite().GetChatLoginValue());
  CRect rc;
  GetClientRect(&rc);
  Layout(rc.Width(), rc.Height());
  pChat->Invoke70(FALSE);
  // Talk_win, theme picture 173.
  m_bmpTalk.LoadFile(ThemePicture("\\theme\\respic\\Talk_win.bmp").c_str());
  pChat->Invoke72((short)m_nChatHeight);
  // The table view is the splitter's left pane.
  HWND hTable = nullptr;
  if (CSplitterWnd* pSplitter = dynamic_cast<CSplitterWnd*>(GetParent()))
    if (CWnd* pLeft = pSplitter->GetPane(0, 0)) hTable = pLeft->GetSafeHwnd();
  if (hTable) pChat->Invoke76((LONG_PTR)hTable, kChatEchoMsg1, kChatEchoMsg2);
  LoadPictures();
}

void CChatView::LoadPictures() {
  const char* const caption[2] = {"\\theme\\pi_caption160.bmp", "\\theme\\pi_caption240.bmp"};
  const char* const news[2] = {"\\theme\\News160.bmp", "\\theme\\News240.bmp"};
  for (int i = 0; i < 2; ++i) {
    m_bmpCaption[i].LoadFile(ThemePicture(caption[i]).c_str());
    m_bmpNews[i].LoadFile(ThemePicture(news[i]).c_str());
  }
}

void CChatView::Layout(int cx, int cy) {
  if (cx <= 0 || cy <= 0) return;
  m_rcAd = SizeClass() == 1 ? CRect(0, 0, 160, 120) : CRect(0, 0, 240, 250);
  m_rcAd.DeflateRect(1, 1);
  if (m_AdCtrl.GetSafeHwnd()) {
    m_AdCtrl.MoveWindow(&m_rcAd);
    HRGN rgn = ::CreateRoundRectRgn(0, 0, m_rcAd.Width() + 1, m_rcAd.Height() + 1, 3, 3);
    m_AdCtrl.SetWindowRgn(rgn, TRUE);
  }
  if (m_wndChat.GetSafeHwnd()) {
    CRect rc(0, 360, cx, cy);
    rc.DeflateRect(1, 1);
    m_wndChat.MoveWindow(&rc);
  }
}

void CChatView::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  Layout(cx, cy);
}

BOOL CChatView::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  if (m_wndChat.GetSafeHwnd()) {
    CRect chat;
    m_wndChat.GetWindowRect(&chat);
    ScreenToClient(&chat);
    chat.DeflateRect(1, 0);
    pDC->ExcludeClipRect(&chat);
  }
  int tw = 0, th = 0;
  if (m_bmpTalk.GetSafeHandle() && m_bmpTalk.GetSize(tw, th) && tw > 0 && th > 0 && !rc.IsRectEmpty()) {
    // Tiled off screen and copied in one piece, so the pane does not flicker.
    CDC mem;
    CBitmap off;
    if (mem.CreateCompatibleDC(pDC) && off.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height())) {
      CBitmap* old = mem.SelectObject(&off);
      m_bmpTalk.Draw(&mem, 0, 0, rc.Width(), rc.Height(), QKBMP_TILE);
      pDC->BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
      mem.SelectObject(old);
    } else {
      pDC->FillSolidRect(&rc, kBackground);
    }
  } else {
    pDC->FillSolidRect(&rc, kBackground);
  }
  // The panel reloads when the server said so, not on every erase.
  if (m_bPanelReload && m_pPanel) {
    m_bPanelReload = FALSE;
    StartPanelUrl(FALSE);
  }
  return TRUE;
}

// A form view leaves its painting to the dialog procedure: the pictures are drawn here.
void CChatView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

void CChatView::OnDraw(CDC* pDC) {
  if (!m_wndChat.GetSafeHwnd()) return;
  CRect chat;
  m_wndChat.GetWindowRect(&chat);
  ScreenToClient(&chat);
  CQKBitmap& caption = m_bmpCaption[SizeClass() == 1 ? 0 : 1];
  if (caption.GetSafeHandle()) caption.Draw(pDC, chat.left - 1, chat.top - 22, chat.right - chat.left + 1, 22);
  CRect frame = chat;
  frame.InflateRect(1, 1, 0, 0);
  CBrush br(kFrame);
  pDC->FrameRect(&frame, &br);
  m_wndChat.Invalidate();
}

void CChatView::OnDestroy() {
  ChatViewSite().RegisterChatView(nullptr);
  if (CQKChatEx* pChat = m_wndChat.GetChat()) {
    if (pChat->GetSafeHwnd()) m_nChatHeight = pChat->Invoke73();
  }
  CFormView::OnDestroy();
}

BOOL CChatView::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == ID_EMOTION_NOTIFY) {
    ReadUserScores();
    return TRUE;
  }
  return CFormView::OnCommand(wParam, lParam);
}

void CChatView::AppendLine(LPCSTR text, COLORREF color, int size) {
  CQKChatEx* pChat = m_wndChat.GetChat();
  if (!pChat || !text) return;
  char head[64];
  std::snprintf(head, sizeof head, "\r\n<s=%d,c=#%02X#%02X#%02X,b>", size, GetRValue(color), GetGValue(color),
                GetBValue(color));
  pChat->Invoke75((std::string(head) + text).c_str());
}

void CChatView::RequestPanelReload() {
  if (!m_bPanelReload) m_bPanelReload = TRUE;
  Invalidate();
}

void CChatView::ReadUserScores() {
  CQKChatEx* pChat = m_wndChat.GetChat();
  if (!pChat) return;
  HWND hList = (HWND)pChat->Invoke44();
  if (!hList || !::IsWindow(hList)) return;
  int count = (int)::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);
  std::string name;
  int change = 0;
  for (int seat = 0; seat < 4 && ChatViewSite().GetSeat(seat, &name, &change); ++seat) {
    if (m_bRead[seat] || name.empty()) continue;
    char text[64];
    for (int i = 0; i < count; ++i) {
      LVITEMA item = {};
      item.iSubItem = 0;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      text[0] = 0;
      ::SendMessageA(hList, LVM_GETITEMTEXTA, i, (LPARAM)&item);
      if (name != text) continue;
      item.iSubItem = 2;
      text[0] = 0;
      ::SendMessageA(hList, LVM_GETITEMTEXTA, i, (LPARAM)&item);
      m_nBaseScore[seat] = atoi(text);
      m_bRead[seat] = TRUE;
      break;
    }
  }
  UpdateUserScores();
}

void CChatView::UpdateUserScores() {
  CQKChatEx* pChat = m_wndChat.GetChat();
  if (!pChat) return;
  std::string name;
  int change = 0;
  for (int seat = 0; seat < 4 && ChatViewSite().GetSeat(seat, &name, &change); ++seat)
    if (m_bRead[seat] && !name.empty()) {
      pChat->Invoke66(name.c_str(), m_nBaseScore[seat] + change);
      char line[96];
      std::snprintf(line, sizeof line, "chat score %.20s %d%+d", name.c_str(), m_nBaseScore[seat], change);
      ChatViewSite().WriteConnectionLog(line);
    }
}

// ---- the live panel ----------------------------------------------------------------------

namespace {
struct PanelJob {
  HWND hView;
  BOOL bCreate;
  std::string tmpl;
};
}  // namespace

void CChatView::StartPanelUrl(BOOL bCreate) {
  if (!m_pPanel || !m_pPanel->IsLoaded()) return;
  auto* job = new PanelJob{m_hWnd, bCreate, ChatViewSite().GetPanelTemplate()};
  HANDLE h = ::CreateThread(nullptr, 0, PanelUrlThread, job, 0, nullptr);
  if (h)
    ::CloseHandle(h);
  else
    delete job;
}

DWORD WINAPI CChatView::PanelUrlThread(LPVOID p) {
  std::unique_ptr<PanelJob> job(static_cast<PanelJob*>(p));
  auto* url = new std::string(BuildPanelUrl(job->tmpl));
  if (!::IsWindow(job->hView) || !::PostMessageA(job->hView, WM_PANEL_URL, job->bCreate, (LPARAM)url)) delete url;
  return 0;
}

LRESULT CChatView::OnPanelUrl(WPARAM wParam, LPARAM lParam) {
  std::unique_ptr<std::string> url(reinterpret_cast<std::string*>(lParam));
  if (!url || !m_pPanel || url->empty()) return 0;
  // Only web addresses go to the browser.
  if (!weburl::IsWebUrl(*url)) return 0;
  char line[2200];
  std::snprintf(line, sizeof line,
                wParam ? "CreateBrowser \xBC\xD3\xD4\xD8\xCD\xF8\xD2\xB3\xC1\xB4\xBD\xD3\xB5\xD8\xD6\xB7\xCE\xAA %s"
                       : "LoadURL \xBC\xD3\xD4\xD8\xCD\xF8\xD2\xB3\xC1\xB4\xBD\xD3\xB5\xD8\xD6\xB7\xCE\xAA %s",
                url->substr(0, 2048).c_str());
  if (wParam) {
    m_pPanel->CreateBrowser(url->c_str());
    m_pPanel->ShowWindow(SW_SHOW);
  } else {
    m_pPanel->LoadURL(url->c_str());
  }
  ChatViewSite().WriteConnectionLog(line);
  return 0;
}

// ---- the message service -------------------------------------------------------------------

void CChatView::StartMessageService() {
  std::string langRsc = LangRscPathFromShare();
  if (langRsc.empty()) return;
  m_strLangRsc = langRsc;
  auto* job = new PanelJob{m_hWnd, FALSE, langRsc};
  HANDLE h = ::CreateThread(nullptr, 0, MessageThread, job, 0, nullptr);
  if (h)
    ::CloseHandle(h);
  else
    delete job;
}

DWORD WINAPI CChatView::MessageThread(LPVOID p) {
  std::unique_ptr<PanelJob> job(static_cast<PanelJob*>(p));
  char url[1025] = "";
  ::GetPrivateProfileStringA("DSTrebbinMsg", "URL", "", url, sizeof url, job->tmpl.c_str());
  if (url[0] && weburl::IsWebUrl(url)) {
    CHttpClient client;
    std::string reply;
    client.Request(url, TRUE, nullptr, "", &reply);
  }
  if (::IsWindow(job->hView)) ::InvalidateRect(job->hView, nullptr, FALSE);
  return 0;
}
