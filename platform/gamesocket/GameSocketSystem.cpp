// The system half of CGameSocket: the login, the messages the client sends, and the system
// messages OnMessage handles itself. Every body is read through the bounded parsers of sysmsg.

#include <cstring>

#include "GameSocket.h"
#include "LaunchRecord.h"
#include "LobbyLinks.h"
#include "OutsideLibrary.h"
#include "SystemMessages.h"
#include "SystemTexts.h"
#include "OpenWebAddress.h"
#include "WebUrl.h"

namespace {
const char kShareKey[] = "Software\\Orvane\\Game\\Share";

struct BodyView {
  uint32_t id, status;
  const BYTE* body;
  size_t length;
};
BodyView View(const BYTE* frame) {
  netcore::NET_MSG_HEADER h;
  netcore::DecodeHeader(frame, netcore::NET_LONG_HEADER, &h);
  return {h.id, h.status, frame + netcore::HeaderSizeForId(h.id), h.length};
}

// A style from the server whose button set is none of the defined ones is shown with OK.
UINT SafeStyle(uint32_t style) {
  UINT s = UINT(style & 0x7FFFFFFF);
  if ((s & MB_TYPEMASK) > MB_CANCELTRYCONTINUE) s &= ~UINT(MB_TYPEMASK);
  return s;
}

// Notifications off while a box runs its loop, so that no handler runs inside it.
struct Suspended {
  CGameSocket& s;
  explicit Suspended(CGameSocket& sock) : s(sock) { s.SuspendNotifications(); }
  ~Suspended() { s.ResumeNotifications(); }
};
}  // namespace

std::string CGameSocket::LoadText(UINT nStringId) {
  char text[1024] = "";
  HINSTANCE res = AfxGetResourceHandle();
  if (!::LoadStringA(res ? res : ::GetModuleHandleA(nullptr), nStringId, text, sizeof text)) return std::string();
  return text;
}

std::string CGameSocket::FormatText(UINT nStringId, const char* name) const {
  std::string fmt = LoadText(nStringId);
  std::string out;
  // Only the first "%s" takes the name: the resource texts carry no other conversion.
  size_t at = fmt.find("%s");
  if (at == std::string::npos) return fmt;
  out = fmt.substr(0, at) + (name ? name : "") + fmt.substr(at + 2);
  return out;
}

HWND CGameSocket::MainWindow() const {
  CWnd* w = AfxGetMainWnd();
  return w ? w->GetSafeHwnd() : nullptr;
}

void CGameSocket::CancelChildModes() {
  HWND main = MainWindow();
  if (!main) return;
  for (HWND c = ::GetWindow(main, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ::PostMessageA(c, WM_CANCELMODE, 0, 0);
}

int CGameSocket::ShowIdBoxModal(UINT nStringId, UINT nStyle, int nCountdown) {
  CancelChildModes();
  return ShowIdBox(nStringId, nStyle, nCountdown);
}

namespace {
// Notes the first dialog window a box call creates: the box itself, created before its loop
// runs anything else. Boxes nest in call order, so one saved target per level is enough.
HWND* g_pBoxWindow = nullptr;
HHOOK g_hBoxHook = nullptr;

LRESULT CALLBACK NoteBoxWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && g_pBoxWindow && !*g_pBoxWindow) {
    HWND h = reinterpret_cast<HWND>(wParam);
    const CBT_CREATEWNDA* cw = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (cw && cw->lpcs && !(cw->lpcs->style & WS_CHILD) && strcmp(cls, "#32770") == 0) *g_pBoxWindow = h;
  }
  return ::CallNextHookEx(g_hBoxHook, code, wParam, lParam);
}

struct BoxWindowNote {
  HWND* savedTarget;
  HHOOK savedHook;
  HHOOK hook;
  explicit BoxWindowNote(HWND* into) : savedTarget(g_pBoxWindow), savedHook(g_hBoxHook) {
    hook = ::SetWindowsHookExA(WH_CBT, NoteBoxWindow, nullptr, ::GetCurrentThreadId());
    if (hook) {
      g_hBoxHook = hook;
      g_pBoxWindow = into;
    }
  }
  ~BoxWindowNote() {
    if (!hook) return;
    ::UnhookWindowsHookEx(hook);
    g_hBoxHook = savedHook;
    g_pBoxWindow = savedTarget;
  }
};

// Ends a box as its countdown would: with its default button (OK without one).
void CloseBoxAsTimedOut(HWND box) {
  if (!::IsWindow(box)) return;
  LRESULT def = ::SendMessageA(box, DM_GETDEFID, 0, 0);
  WORD button = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : WORD(IDOK);
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}
}  // namespace

int CGameSocket::ShowReplacingTextBox(BoxKind kind, LPCSTR lpszText, UINT nStyle, int nCountdown) {
  BoxSlot& slot = m_boxSlots[kind];
  slot.text = lpszText ? lpszText : "";
  slot.style = nStyle;
  slot.countdown = nCountdown;
  slot.pending = true;
  if (slot.open) {
    // Arrived inside the open box's loop: never open a second one here.
    if (slot.hwnd && !slot.closing) {
      slot.closing = true;
      CloseBoxAsTimedOut(slot.hwnd);
    }
    return 0;
  }
  slot.open = true;
  int result = 0;
  while (slot.pending) {
    slot.pending = false;
    slot.closing = false;
    slot.hwnd = nullptr;
    const std::string text = slot.text;
    BoxWindowNote note(&slot.hwnd);
    result = ShowTextBox(text.c_str(), slot.style, slot.countdown);
  }
  slot.open = false;
  slot.hwnd = nullptr;
  return result;
}

void CGameSocket::AddSystemText(LPCSTR lpszText) {
  if (m_pfnSysText && lpszText) m_pfnSysText(lpszText, m_pSysTextContext);
}

void CGameSocket::RegisterMPID() { ::RegisterMPID(m_nMPIDRegistered); }

void CGameSocket::SetOwnName(LPCSTR lpszName) {
  m_strOwnName = lpszName ? std::string(lpszName).substr(0, 19) : std::string();
}

BOOL CGameSocket::OpenUrl(const std::string& url) {
  if (m_pfnOpenUrl) return weburl::IsWebUrl(url) && m_pfnOpenUrl(url.c_str());
  return weburl::OpenWebAddress(url);
}

// ---- sent by the client ----

BOOL CGameSocket::Login(const GAME_LAUNCH_REC& rec, LOGIN_RESULT* pResult) {
  if (m_strOwnName.empty()) SetOwnName(rec.szUserName);
  HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  auto progress = [this](UINT id) {
    if (m_bShowProgressBoxes && m_pfnProgress) m_pfnProgress(id);
  };
  progress(29908);
  char host[41] = "";
  memcpy(host, rec.szServerHost, sizeof rec.szServerHost);
  if (!Connect(host, rec.wServerPort, TRUE)) {
    progress(0);
    ::SetCursor(old);
    return FALSE;
  }
  progress(29913);
  progress(0);
  auto field = [](const char* p, size_t cap) { return std::string(p, strnlen(p, cap)); };
  sysmsg::Bytes body = sysmsg::BuildLoginBody(field(rec.szUserName, 20), field(rec.szLoginKey, 40),
                                              field(rec.szRoomTitle, 40), rec.wLoginWord, uint16_t(rec.nSeat));
  BYTE* reply = nullptr;
  int sent = SendMsg(sysmsg::MSG_LOGIN, body.data(), body.size(), &reply);
  SuspendNotifications();  // the caller resumes once the table is set up
  ::SetCursor(old);
  if (!sent || !reply) return FALSE;
  BodyView v = View(reply);
  sysmsg::LoginReply r = sysmsg::ParseLoginReply(v.status, v.body, v.length);
  m_nLoginStatus = r.status;
  m_bLoginNegative = r.negative;
  BOOL ok = FALSE;
  if (r.outcome == sysmsg::LoginReply::Accepted && r.complete) {
    if (pResult) {
      pResult->nPlayerCount = r.playerCount;
      pResult->wChatValue = r.chatValue;
      pResult->players.assign(v.body + 4, v.body + 4 + 48 * r.players.size());
      int clientCp = GetClientCodePage();
      for (size_t i = 0; i < r.players.size(); ++i) {
        uint8_t* entry = pResult->players.data() + 48 * i;
        uint16_t cp = r.players[i].codePage;
        if (IsCodePageConverterBound() && cp != 0 && cp != clientCp) {
          // Written back bounded to its field and cut on a character boundary.
          char nick[21] = "";
          memcpy(nick, entry + 24, 20);
          ConvertCodePageToField(nick, reinterpret_cast<char*>(entry + 24), 20, cp, clientCp);
        }
        // The first word keeps the seat alone.
        entry[2] = 0;
        entry[3] = 0;
      }
      pResult->options = r.options;
      pResult->watch = r.watch;
    }
    ok = TRUE;
  } else {
    BOOL interactive = IsInteractive();
    Close();
    // A reply that breaks its own counts is no usable table: the same as unavailable.
    if (interactive) ShowIdBox(r.outcome == sysmsg::LoginReply::IllegalUser ? 29915 : 29914, MB_ICONHAND, 0);
  }
  FreeFrame(reply);
  return ok;
}

int CGameSocket::SendKeepAlive() {
  if (!IsConnected()) return -1;
  return SendMsg(sysmsg::MSG_KEEPALIVE, nullptr, 0);
}

void CGameSocket::QuitAndClose() {
  if (IsConnected()) {
    SendMsg(sysmsg::MSG_QUIT, nullptr, 0);
    CloseHandleNow();
  }
  Close();
}

void CGameSocket::QuitForcedAndClose() {
  if (IsConnected()) {
    SendMsg(sysmsg::MSG_QUIT_FORCED, nullptr, 0);
    CloseHandleNow();
  }
  Close();
}

BOOL CGameSocket::SendClientStart() { return SendMsg(sysmsg::MSG_CLIENT_START, nullptr, 0); }

void CGameSocket::RequestTrustExit() {
  if (!IsConnected()) return;
  sysmsg::Bytes body = sysmsg::BuildTrustExitBody(m_strOwnName);
  BYTE* reply = nullptr;
  if (SendMsg(sysmsg::MSG_TRUST_EXIT, body.data(), body.size(), &reply) && reply) {
    BodyView v = View(reply);
    OnTrustExitResult(reply, v.status, v.body, v.length);
    FreeFrame(reply);
    return;
  }
  // No answer: the refusal is made up here, so the player still learns the outcome.
  std::vector<uint8_t> made = netcore::BuildFrame(sysmsg::MSG_TRUST_EXIT_RESULT, body.data(), body.size(), 0);
  BodyView v = View(made.data());
  OnTrustExitResult(made.data(), 0, v.body, v.length);
}

BOOL CGameSocket::SendOptionFlags(int nType, DWORD dwValue) {
  sysmsg::Bytes body = sysmsg::BuildOptionFlagsBody(nType, dwValue);
  std::vector<uint8_t> f = netcore::BuildFrame(sysmsg::MSG_OPTION_FLAGS, body.data(), body.size());
  return Send(f.data(), int(f.size())) == int(f.size());
}

void CGameSocket::CloseHandleNow() {
  if (s_wHighVersion < 0x0200 || m_bTunnelInUse) {
    ::Sleep(2000);
    return;
  }
  AsyncSelect(0);
  SOCKET s = Detach();
  if (s == INVALID_SOCKET) return;
  u_long blocking = 0;
  ::ioctlsocket(s, FIONBIO, &blocking);
  ::closesocket(s);  // the linger option lets the queued bytes go out
}

DWORD CGameSocket::ReadIdleSecond() {
  HKEY key;
  DWORD v = 120;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShareKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 120;
  DWORD type = 0, read = 0, size = sizeof read;
  if (::RegQueryValueExA(key, "IdleSecond", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof read)
    v = read;
  ::RegCloseKey(key);
  return v;
}

// ---- handled here ----

int CGameSocket::OnMessage(BYTE* pFrame) {
  BodyView v = View(pFrame);
  switch (v.id) {
    case sysmsg::MSG_WIRE_CODE:
      // The receive transform applies from the next byte: assembly never read past this frame.
      m_session.ApplyWireCode(v.body, v.length);
      return 1;
    case sysmsg::MSG_REGISTER_MPID:
      RegisterMPID();
      return 1;
    case sysmsg::MSG_NOTICE_BOX:
      OnNoticeBox(v.body, v.length);
      return 1;
    case sysmsg::MSG_USER_CUT:
    case sysmsg::MSG_USER_BACK: {
      auto name = sysmsg::ParseName(v.body, v.length);
      if (!name) return 1;
      char line[256];
      snprintf(line, sizeof line, v.id == sysmsg::MSG_USER_CUT ? sysmsg::kLineUserCut : sysmsg::kLineUserBack,
               name->c_str());
      AddSystemText(line);
      if (v.id == sysmsg::MSG_USER_CUT)
        OnUserCut(pFrame);
      else
        OnUserBack(pFrame);
      return 1;
    }
    case sysmsg::MSG_SET_STATE557:
      if (v.length >= 4) m_nStateEnded = int(netcore::ReadU32(v.body));
      return 1;
    case sysmsg::MSG_SERVER_DIALOG:
      OnServerDialog(v.body, v.length);
      return 1;
    case sysmsg::MSG_GET_LOCAL_PORT:
      OnLocalPortAsked();
      return 1;
    case sysmsg::MSG_TEXT_BOX:
      OnTextBox(v.body, v.length);
      return 1;
    case sysmsg::MSG_OWN_INFO: {
      auto name = sysmsg::OwnInfoName(v.body, v.length);
      if (name && sysmsg::SameName(*name, m_strOwnName)) memcpy(m_ownInfo, v.body, sizeof m_ownInfo);
      return 1;
    }
    case sysmsg::MSG_TIP_WINDOW: {
      if (!m_bTipsEnabled) return 0;
      auto tip = sysmsg::ParseTipWindow(v.body, v.length);
      if (tip && !tip->url.empty()) {
        Suspended s(*this);
        ShowTipWindow(pFrame);
      }
      return 1;
    }
    case sysmsg::MSG_QUIT_NOTICE:
      OnQuitNotice(v.body, v.length);
      return 0;
    case sysmsg::MSG_KICKED:
      OnKicked();
      return 1;
    case sysmsg::MSG_TRUST_EXIT_RESULT:
      OnTrustExitResult(pFrame, v.status, v.body, v.length);
      return 1;
    case sysmsg::MSG_TRUSTEESHIP_RESULT:
      OnTrusteeshipResult(pFrame, v.status, v.body, v.length);
      return 1;
    case sysmsg::MSG_STATE540:
      m_dwOptionFlags = v.status;
      return 1;
    case sysmsg::MSG_WEALTH_RESULT:
      OnWealthResult(v.status, v.body, v.length);
      return 1;
    case sysmsg::MSG_FATAL:
      OnFatal(v.status, v.body, v.length);
      return 0;
    default:
      return 0;
  }
}

void CGameSocket::OnNoticeBox(const BYTE* pBody, size_t nLength) {
  auto n = sysmsg::ParseNoticeBox(pBody, nLength);
  if (!n) return;
  bool shown = false;
  int result = 0;
  if (n->textId != -1) {
    std::string text = n->text;
    if (n->textId > 0) {
      char path[MAX_PATH] = "", key[16];
      DWORD len = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
      std::string ini = (len > 0 && len < MAX_PATH) ? netcore::LangRscCandidate(path) : std::string();
      snprintf(key, sizeof key, "%d", int(n->textId));
      char value[1024] = "";
      if (!ini.empty()) ::GetPrivateProfileStringA("Text", key, "", value, sizeof value, ini.c_str());
      text = value;
    } else if (IsCodePageConverterBound() && int(n->codePage) != GetClientCodePage() && !text.empty()) {
      std::vector<char> out(text.size() * 4 + 4, 0);
      ConvertCodePageToField(text.c_str(), out.data(), out.size(), int(n->codePage), GetClientCodePage());
      text = out.data();
    }
    Suspended s(*this);
    result = ShowTextBox(text.c_str(), SafeStyle(n->style), 0);
    shown = true;
  }
  if (sysmsg::NoticeOpensUrl(*n, shown, result)) OpenUrl(n->url);
  if (n->closeFlag) Close();
  if (n->endFlag) {
    m_nStateEnded = 1;
    m_nStateEndedByServer = 1;
    OnServerEnd(0);
  }
}

void CGameSocket::OnServerDialog(const BYTE* pBody, size_t nLength) {
  auto d = sysmsg::ParseServerDialog(pBody, nLength);
  if (!d) return;  // no text: nothing shown, nothing answered
  std::string answer;
  bool asked = d->inputFlag != 0;
  int button;
  {
    Suspended s(*this);
    CancelChildModes();
    if (m_pfnInputBox) {
      button = m_pfnInputBox(d->text.c_str(), SafeStyle(d->style), int(d->countdown), asked ? &answer : nullptr);
    } else {
      button = ShowTextBox(d->text.c_str(), SafeStyle(d->style), int(d->countdown));
      asked = false;  // the plain box has no entry field
    }
  }
  sysmsg::Bytes body = sysmsg::BuildServerDialogReply(d->echo, uint32_t(button),
                                                      asked ? std::optional<std::string>(answer) : std::nullopt);
  std::vector<uint8_t> f = netcore::BuildFrame(sysmsg::MSG_SERVER_DIALOG_REPLY, body.data(), body.size(), 0);
  SendMsg(f.data());
}

void CGameSocket::OnLocalPortAsked() {
  sockaddr_in a = {};
  int len = sizeof a;
  if (m_hSocket == INVALID_SOCKET || ::getsockname(m_hSocket, reinterpret_cast<sockaddr*>(&a), &len) != 0) return;
  uint8_t addr[4];
  memcpy(addr, &a.sin_addr, 4);
  sysmsg::Bytes body = sysmsg::BuildLocalPortReply(addr, ntohs(a.sin_port));
  std::vector<uint8_t> f = netcore::BuildFrame(sysmsg::MSG_LOCAL_PORT_REPLY, body.data(), body.size(), 0);
  SendMsg(f.data());
}

void CGameSocket::OnTextBox(const BYTE* pBody, size_t nLength) {
  auto t = sysmsg::ParseTextBox(pBody, nLength);
  if (!t) return;
  Suspended s(*this);
  if (t->stringId != 0) {
    ShowIdBoxModal(UINT(t->stringId), SafeStyle(t->style), int(t->countdown));
  } else {
    ShowTextBox(t->text.c_str(), SafeStyle(t->style), int(t->countdown));
  }
}

int CGameSocket::OnUserCut(BYTE* pFrame) {
  BodyView v = View(pFrame);
  auto name = sysmsg::ParseName(v.body, v.length);
  if (!name) return 0;
  Suspended s(*this);
  ShowTextBox(FormatText(29929, name->c_str()).c_str(), 0, 5);
  return 1;
}

int CGameSocket::OnUserBack(BYTE* pFrame) {
  BodyView v = View(pFrame);
  auto name = sysmsg::ParseName(v.body, v.length);
  if (!name) return 0;
  Suspended s(*this);
  ShowTextBox(FormatText(29930, name->c_str()).c_str(), 0, 5);
  return 1;
}

void CGameSocket::OnQuitNotice(const BYTE* pBody, size_t nLength) {
  std::string name = sysmsg::ParseName(pBody, nLength).value_or(std::string());
  BOOL interactive = IsInteractive();
  Close();
  m_nCloseReason = 5;
  if (interactive) ShowTextBox(FormatText(29919, name.c_str()).c_str(), MB_ICONHAND, 0);
  OnClose(netcore::NETERR_SELF_CLOSED);
}

void CGameSocket::OnFatal(uint32_t nCode, const BYTE* pBody, size_t nLength) {
  std::string name = sysmsg::ParseName(pBody, nLength).value_or(std::string());
  sysmsg::FatalOutcome o = sysmsg::MapFatal(nCode, name, m_strOwnName);
  m_nCloseReason = o.closeReason;
  BOOL interactive = IsInteractive();
  Close();
  if (interactive) {
    if (o.withName)
      ShowTextBox(FormatText(UINT(o.stringId), name.c_str()).c_str(), MB_ICONHAND, 0);
    else
      ShowIdBox(UINT(o.stringId), MB_ICONHAND, 0);
  }
  OnClose(netcore::NETERR_SELF_CLOSED);
}

void CGameSocket::OnKicked() {
  m_nStateEnded = 1;
  m_nStateEndedByServer = 1;
  if (IsInteractive()) ShowIdBox(29934, MB_ICONINFORMATION, 0);
  if (HWND main = MainWindow()) ::SendMessageA(main, WM_CLOSE, 0, 0);
}

void CGameSocket::OnServerEnd(int) {
  if (!IsConnected()) return;
  m_nCloseReason = 6;
  OnClose(netcore::NETERR_SELF_CLOSED);
}

void CGameSocket::OnTrusteeshipResult(BYTE* pFrame, uint32_t nStatus, const BYTE* pBody, size_t nLength) {
  auto r = sysmsg::ParseTrusteeshipResult(pBody, nLength);
  if (!r) return;
  bool own = sysmsg::SameName(r->name, m_strOwnName);
  sysmsg::Notice n = sysmsg::TrusteeshipNotice(nStatus, *r, own);
  {
    Suspended s(*this);
    if (nStatus != 1) {
      if (n.kind == sysmsg::Notice::Box)
        ShowIdBox(UINT(n.stringId), n.style, n.countdown);
      else {
        char text[512];
        snprintf(text, sizeof text, LoadText(UINT(n.stringId)).c_str(), r->limit());
        ShowTextBox(text, n.style, n.countdown);
      }
    }
    OnTrusteeship(pFrame);
  }
  if (nStatus != 1) return;
  if (n.kind == sysmsg::Notice::SystemLine) {
    char line[256];
    snprintf(line, sizeof line, n.line, r->name.c_str());
    AddSystemText(line);
  } else if (n.kind == sysmsg::Notice::TextBox) {
    HWND main = MainWindow();
    if (n.onlyWhenVisible && !(main && ::IsWindowVisible(main))) return;
    char text[512];
    snprintf(text, sizeof text, LoadText(UINT(n.stringId)).c_str(), r->times(), r->limit());
    // Shown with notifications on: the server plays the seat meanwhile and the table must
    // follow it while the box waits for its OK. The next hand's notice takes its place.
    ShowReplacingTextBox(BOX_OWN_TRUSTEESHIP, text, n.style, n.countdown);
  }
}

void CGameSocket::OnTrustExitResult(BYTE* pFrame, uint32_t nStatus, const BYTE* pBody, size_t nLength) {
  std::string name = sysmsg::ParseName(pBody, nLength).value_or(std::string());
  Suspended s(*this);
  if (!sysmsg::SameName(name, m_strOwnName)) {
    char line[256];
    snprintf(line, sizeof line, sysmsg::kLineTrustExit, name.c_str());
    AddSystemText(line);
    OnUserTrustExit(pFrame);
  } else if (nStatus == 1) {
    m_bTrustExitDone = TRUE;
    Close();
    if (HWND main = MainWindow()) ::SendMessageA(main, WM_CLOSE, 0, 0);
  } else {
    ShowIdBox(29944, 0, 5);
  }
}

void CGameSocket::OnWealthResult(uint32_t nStatus, const BYTE* pBody, size_t nLength) {
  std::vector<sysmsg::WealthRow> rows = sysmsg::ParseWealthRows(pBody, nLength);
  HWND main = MainWindow();
  if (nStatus != 1 || !main || !::IsWindowVisible(main)) return;
  std::string text = LoadText(29945);
  for (const auto& r : rows) {
    char line[64];
    snprintf(line, sizeof line, sysmsg::kWealthLine, r.name.c_str(), int(r.shown));
    text += line;  // grows as the rows need
  }
  Suspended s(*this);
  ShowTextBox(text.c_str(), MB_ICONINFORMATION, 30);
}
