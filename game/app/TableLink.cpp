// The connection host over the program's game-server socket: CVeskSocket with every hook of
// the program (boxes, the input box, the system-text sink, web addresses, the progress box,
// tips) and the crash-report line of a closing connection.
// The socket headers first: they bring winsock2.h before windows.h.
#include "VeskSocket.h"

#include <algorithm>

#include "AppLinks.h"
#include "NetFrame.h"
#include "SystemMessages.h"
#include "TipWnd.h"
#include "OpenWebAddress.h"
#include "WebUrl.h"
#include "TableConnection.h"
#include "Program.h"
#include "LogFile.h"

namespace {

int TextBox(LPCSTR text, UINT style, int countdown) { return ShowStartupBoxText(text, style, countdown); }
int IdBox(UINT id, UINT style, int countdown) { return ShowStartupBoxId(id, style, countdown); }

int InputBox(LPCSTR text, UINT style, int countdown, std::string* answer) {
  return ShowStartupInputBox(text, style, countdown, answer);
}

// Until the chat view exists its system lines go to the game log.
void SystemText(LPCSTR line, void*) { SystemTextLine(line); }

BOOL OpenUrl(LPCSTR url) { return url && weburl::OpenWebAddress(url); }

void Progress(UINT id) { ShowStartupProgress(id); }

// The server's notice in the tip window: at most the work area's size, and only a web
// page or the blank page.
void Tip(const BYTE* frame) {
  if (!frame) return;
  const size_t head = netcore::HeaderSizeForId(netcore::ReadU32(frame));
  netcore::NET_MSG_HEADER h;
  if (!netcore::DecodeHeader(frame, head, &h)) return;
  auto tip = sysmsg::ParseTipWindow(frame + head, h.length);
  if (!tip || tip->url.empty()) return;
  if (!weburl::IsWebUrl(tip->url) && tip->url != "about:blank") {
    Program().GameLog().Write("tip window refused: %s", tip->url.c_str());
    return;
  }
  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int w = std::max(1, std::min<int>(tip->first, work.right - work.left));
  const int hgt = std::max(1, std::min<int>(tip->second, work.bottom - work.top));
  static CTipWnd* s_pTip = nullptr;
  if (!s_pTip) s_pTip = new CTipWnd(AfxGetMainWnd());
  if (!s_pTip->Open(w, hgt)) return;
  s_pTip->SetTitle(tip->title.c_str());
  s_pTip->Navigate(tip->url.c_str());
}

}  // namespace

class CTableConnection::CLink {
 public:
  CLink() {
    socket.SetBoxHooks(TextBox, IdBox);
    socket.SetInputBoxHook(InputBox);
    socket.SetSystemTextSink(SystemText, nullptr);
    socket.SetOpenUrlHook(OpenUrl);
    socket.SetProgressHook(Progress);
    socket.SetTipHook(Tip);
  }
  CVeskSocket socket;
};

CTableConnection::CTableConnection() = default;
CTableConnection::~CTableConnection() = default;

CTableConnection::CLink& CTableConnection::Link() {
  if (!m_pLink) m_pLink.reset(new CLink);
  return *m_pLink;
}

void CTableConnection::SetCloseLog(BOOL crashReportOn) {
  Link().socket.SetCloseLog(
      crashReportOn,
      [this](int* pSchedule) {
        if (!m_pDoc || m_pDoc->IsQuietClose()) return false;
        *pSchedule = m_pDoc->GetSchedule();
        return true;
      },
      [](const SocketCloseLog& line) {
        if (!Program().SendRemoteLog(line.level, "connection", line.text.c_str(), line.reason.c_str()))
          Program().QueueRemoteLog(line.level, "connection", line.text.c_str(), line.reason.c_str());
      });
}

BOOL CTableConnection::Login(const GAME_LAUNCH_REC& rec, TABLE_LOGIN& login) {
  CGameSocket::LOGIN_RESULT result;
  if (!Link().socket.Login(rec, &result)) return FALSE;
  login.nPlayerCount = result.nPlayerCount;
  login.wChatValue = result.wChatValue;
  login.players = result.players;
  login.options = result.options;
  login.watch = result.watch;
  return TRUE;
}

void CTableConnection::Close() { Link().socket.Close(); }
void CTableConnection::QuitAndClose() { Link().socket.QuitAndClose(); }
void CTableConnection::QuitForcedAndClose() { Link().socket.QuitForcedAndClose(); }
void CTableConnection::Suspend() { Link().socket.SuspendNotifications(); }
void CTableConnection::Resume() { Link().socket.ResumeNotifications(); }
BOOL CTableConnection::SendClientStart() { return Link().socket.SendClientStart(); }
uint32_t CTableConnection::OptionFlags() { return Link().socket.GetOptionFlags(); }
int CTableConnection::IdleSeconds() { return static_cast<int>(CGameSocket::ReadIdleSecond()); }
void CTableConnection::SendKeepAlive() { Link().socket.SendKeepAlive(); }
void CTableConnection::WriteConnectionLog(const char* text) {
  if (text) Link().socket.WriteLog("%s", text);
}

bool CTableConnection::SendFrame(const std::vector<uint8_t>& frame) {
  if (frame.size() < netcore::NET_SHORT_HEADER || netcore::FrameTotalSize(frame.data(), frame.size()) > frame.size())
    return false;
  return Link().socket.SendMsg(frame.data()) != 0;
}

BOOL CTableConnection::IsConnected() { return Link().socket.IsConnected(); }
BOOL CTableConnection::IsTrustExitDone() { return Link().socket.IsTrustExitDone(); }
BOOL CTableConnection::IsEnded() { return Link().socket.m_nStateEnded != 0; }
BOOL CTableConnection::IsEndedByServer() { return Link().socket.m_nStateEndedByServer != 0; }
void CTableConnection::RequestTrustExit() { Link().socket.RequestTrustExit(); }
BOOL CTableConnection::SendOptionFlags(int nType, DWORD dwValue) {
  return Link().socket.SendOptionFlags(nType, dwValue);
}

void CTableConnection::AttachDocument(CGameDocCore* pDoc) {
  m_pDoc = pDoc;
  Link().socket.RegisterDocument(pDoc);
}

BOOL CTableConnection::InitSockets() { return CGameSocket::InitSockets(); }
const char* CTableConnection::MissingHook() { return Link().socket.MissingHook(); }
