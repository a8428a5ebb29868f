// Start-up's links to the game-server socket, over the program's one CVeskSocket. This file
// takes the place of the links that answer "no table" while the socket was not in the program.
#include <cstring>

// The socket headers first: they bring winsock2.h before windows.h.
#include "VeskSocket.h"
#include "AppLinks.h"

CVeskSocket& TheGameSocket() {
  static CVeskSocket* s = [] {
    CGameSocket::InitSockets();
    return new CVeskSocket();  // lives as long as the program
  }();
  return *s;
}

BOOL GameSocketLogin(const GAME_LAUNCH_REC& rec, TABLE_LOGIN& login) {
  CGameSocket::LOGIN_RESULT r;
  if (!TheGameSocket().Login(rec, &r)) return FALSE;
  login.nPlayerCount = r.nPlayerCount;
  login.players = std::move(r.players);
  login.options = std::move(r.options);
  login.watch = std::move(r.watch);
  return TRUE;
}

void GameSocketClose() { TheGameSocket().Close(); }
void GameSocketSuspend() { TheGameSocket().SuspendNotifications(); }
void GameSocketResume() { TheGameSocket().ResumeNotifications(); }
BOOL GameSocketSendClientStart() { return TheGameSocket().SendClientStart(); }

BOOL GameSocketSendFrame(const std::vector<uint8_t>& frame) {
  if (frame.size() < netcore::NET_SHORT_HEADER || netcore::FrameTotalSize(frame.data(), frame.size()) > frame.size())
    return FALSE;
  return TheGameSocket().SendMsg(frame.data());
}

CMessageHandlerTable<CGameDocCore>& GameSocketHandlers() { return TheGameSocket().Handlers(); }

uint32_t GameSocketOptionFlags() { return TheGameSocket().GetOptionFlags(); }
int GameSocketIdleSeconds() { return int(CGameSocket::ReadIdleSecond()); }
void GameSocketSendKeepAlive() { TheGameSocket().SendKeepAlive(); }
