// The program's game-server socket: CVeskSocket with the start-up boxes as its box hooks and
// the crash-report line of a closing connection.
// The socket headers first: they bring winsock2.h before windows.h.
#include "VeskSocket.h"

#include "AppLinks.h"
#include "NetFrame.h"
#include "VeskApp.h"
#include "VeskDoc.h"

namespace {

int TextBox(LPCSTR text, UINT style, int countdown) { return ShowStartupBoxText(text, style, countdown); }
int IdBox(UINT id, UINT style, int countdown) { return ShowStartupBoxId(id, style, countdown); }

CVeskSocket& Socket() {
  static CVeskSocket socket;
  static bool hooked = false;
  if (!hooked) {
    socket.SetBoxHooks(TextBox, IdBox);
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

void GameSocketRegisterDocument(CGameDocCore* pDoc) { Socket().RegisterDocument(pDoc); }
CMessageHandlerTable<CGameDocCore>& GameSocketHandlers() { return Socket().Handlers(); }
BOOL GameSocketInitSockets() { return CGameSocket::InitSockets(); }
