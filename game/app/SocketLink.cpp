// The program's game-server socket links until the socket (login, notifications, sends)
// joins the program: no table can be reached, so entering the table takes its failure path.
#include "AppLinks.h"

BOOL GameSocketLogin(const GAME_LAUNCH_REC&, TABLE_LOGIN&) { return FALSE; }
void GameSocketClose() {}
void GameSocketSuspend() {}
void GameSocketResume() {}
BOOL GameSocketSendClientStart() { return FALSE; }
BOOL GameSocketSendFrame(const std::vector<uint8_t>&) { return FALSE; }

CMessageHandlerTable<CGameDocCore>& GameSocketHandlers() {
  static CMessageHandlerTable<CGameDocCore> table;
  return table;
}
