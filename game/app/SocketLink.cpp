// The program's game-server socket: CVeskSocket with every hook of the program (boxes, the
// input box, the system-text sink, web addresses, the progress box, tips) and the
// crash-report line of a closing connection.
// The socket headers first: they bring winsock2.h before windows.h.
#include "VeskSocket.h"

#include <algorithm>

#include "AppLinks.h"
#include "NetFrame.h"
#include "SystemMessages.h"
#include "TipWnd.h"
#include "OpenWebAddress.h"
#include "WebUrl.h"
#include "VeskApp.h"
#include "VeskDoc.h"

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
    theApp.m_GameLog.Write("tip window refused: %s", tip->url.c_str());
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

CVeskSocket& Socket() {
  static CVeskSocket socket;
  static bool hooked = false;
  if (!hooked) {
    socket.SetBoxHooks(TextBox, IdBox);
    socket.SetInputBoxHook(InputBox);
    socket.SetSystemTextSink(SystemText, nullptr);
    socket.SetOpenUrlHook(OpenUrl);
    socket.SetProgressHook(Progress);
    socket.SetTipHook(Tip);
    hooked = true;
  }
  return socket;
}

}  // namespace

void GameSocketSetCloseLog(BOOL crashReportOn) {
  Socket().SetCloseLog(
      crashReportOn,
      [](int* pSchedule) {
        CVeskDoc* pDoc = theApp.GetVeskDoc();
        if (!pDoc || pDoc->m_bQuietClose) return false;
        *pSchedule = pDoc->GetSchedule();
        return true;
      },
      [](const SocketCloseLog& line) {
        if (!theApp.SendRemoteLog(line.level, "connection", line.text.c_str(), line.reason.c_str()))
          theApp.QueueRemoteLog(line.level, "connection", line.text.c_str(), line.reason.c_str());
      });
}

BOOL GameSocketLogin(const GAME_LAUNCH_REC& rec, TABLE_LOGIN& login) {
  CGameSocket::LOGIN_RESULT result;
  if (!Socket().Login(rec, &result)) return FALSE;
  login.nPlayerCount = result.nPlayerCount;
  login.wChatValue = result.wChatValue;
  login.players = result.players;
  login.options = result.options;
  login.watch = result.watch;
  return TRUE;
}

void GameSocketClose() { Socket().Close(); }

void GameSocketQuitAndClose(bool forced) {
  if (forced)
    Socket().QuitForcedAndClose();
  else
    Socket().QuitAndClose();
}
void GameSocketSuspend() { Socket().SuspendNotifications(); }
void GameSocketResume() { Socket().ResumeNotifications(); }
BOOL GameSocketSendClientStart() { return Socket().SendClientStart(); }
uint32_t GameSocketOptionFlags() { return Socket().GetOptionFlags(); }
int GameSocketIdleSeconds() { return static_cast<int>(CGameSocket::ReadIdleSecond()); }
void GameSocketSendKeepAlive() { Socket().SendKeepAlive(); }

BOOL GameSocketSendFrame(const std::vector<uint8_t>& frame) {
  if (frame.size() < netcore::NET_SHORT_HEADER || netcore::FrameTotalSize(frame.data(), frame.size()) > frame.size())
    return FALSE;
  return Socket().SendMsg(frame.data()) != 0;
}

GAME_SOCKET_CLOSE_STATE GameSocketCloseState() {
  GAME_SOCKET_CLOSE_STATE st;
  st.bConnected = Socket().IsConnected();
  st.bTrustExitDone = Socket().IsTrustExitDone();
  st.nEnded = Socket().m_nStateEnded;
  st.nEndedByServer = Socket().m_nStateEndedByServer;
  return st;
}

void GameSocketRequestTrustExit() { Socket().RequestTrustExit(); }
BOOL GameSocketSendOptionFlags(int nType, DWORD dwValue) { return Socket().SendOptionFlags(nType, dwValue); }

void GameSocketRegisterDocument(CGameDocCore* pDoc) { Socket().RegisterDocument(pDoc); }
CMessageHandlerTable<CGameDocCore>& GameSocketHandlers() { return Socket().Handlers(); }
BOOL GameSocketInitSockets() { return CGameSocket::InitSockets(); }
const char* GameSocketMissingHook() { return Socket().MissingHook(); }
