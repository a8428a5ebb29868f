// A playable table on the table server: login, the table's option flags, keep-alive and
// quitting, and the game itself (TableGame) with bots in the seats no client holds.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "TableGame.h"
#include "TableServer.h"

namespace tablegame {

struct SessionOptions {
  int players = 3;
  uint32_t seed = 1;
  bool bots = true;           // seats without a client are played by bots
  int turnSeconds = 30;       // the turn time in the login reply's table options
  uint32_t optionFlags = 1;   // MSG_STATE540: bit 0 allows trusteeship
  int series = 0;             // hands per series; 0 plays no series
  uint16_t chatRoom = 0;      // the login reply's value for the chat control (its chat room)
  bool tellTrustEnd = false;  // tell the seat (result, mode 0) when its trusteeship ends with the hand
};

class TableSession {
 public:
  TableSession(peers::CTableServer& server, const SessionOptions& opt);
  // Installs the handlers; call before the server starts.
  void Install();
  // A client connection went away: its seat goes back to a bot.
  void OnClosed(int connectionNumber);
  const TableGame& Game() const { return *game_; }

 private:
  void OnLogin(peers::CTableConnection& c, const std::vector<uint8_t>& frame);
  void OnGame(peers::CTableConnection& c, const std::vector<uint8_t>& frame);
  void OnQuit(peers::CTableConnection& c, const std::vector<uint8_t>& frame);
  void OnTrusteeship(peers::CTableConnection& c, const std::vector<uint8_t>& frame);
  void LogHandOver(const std::vector<uint8_t>& body);
  void Deliver(const std::vector<OutFrame>& out);
  int SeatOf(const peers::CTableConnection& c) const;
  std::string NameOf(int seat) const;

  peers::CTableServer& server_;
  SessionOptions opt_;
  std::unique_ptr<TableGame> game_;
  std::map<int, peers::CTableConnection*> seats_;  // seat -> client
  std::map<int, std::string> names_;               // seat -> user name of the client
  std::map<int, bool> trusted_;                    // seat -> the server plays for the client
};

}  // namespace tablegame
