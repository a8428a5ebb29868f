// A playable table on the table server: login of players and watchers, the table's option
// flags, keep-alive, leaving (by trusteeship, by the others' consent, by force), trusteeship
// with its counts, watchers, complaints, speed probes, and the game itself (TableGame) with
// bots in the seats no client holds.
#pragma once
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "TableGame.h"
#include "TableServer.h"

namespace tablegame {

struct SessionOptions {
  int players = 3;
  uint32_t seed = 1;
  bool bots = true;               // seats without a client are played by bots
  int turnSeconds = 30;           // the turn time in the login reply's table options
  uint32_t optionFlags = 1;       // MSG_STATE540: bit 0 allows trusteeship
  int series = 0;                 // hands per series; 0 plays no series
  uint16_t chatRoom = 0;          // the login reply's value for the chat control (its chat room)
  int trustLimit = 3;             // how often a seat may enter trusteeship in one hand
  bool refuseTrustExit = false;   // leave by trusteeship refused although trusteeship is allowed
  bool untoldTrustEnd = false;    // the end of trusteeship with the hand is not told (the client keeps 解托)
  bool complaints = false;        // offer the farmers a complaint after every hand
  uint32_t complaintOutcome = 0;  // the outcome code of a complaint (0: it succeeded)
  uint32_t complaintMs = 15000;   // the complaint dialogs' countdown
  int watchDelayMs = 0;           // a watcher waits this long for the table once its client is up
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
  using Frame = std::vector<uint8_t>;
  using Conn = peers::CTableConnection;
  struct Watcher {
    Conn* conn;
    int seat;
    std::string name;
    bool started;                               // the client is up: it gets the table from now on
    std::chrono::steady_clock::time_point due;  // when it may see the table (once up)
    bool waiting;
  };
  struct LeaveRequest {
    int seat = -1;
    uint32_t value = 0;
    std::set<int> waiting;  // seats whose answer is still out
  };

  // Login and leaving.
  void OnLogin(Conn& c, const Frame& frame);
  bool RefuseLogin(Conn& c, const std::string& user, int seat);
  void SeatPlayer(Conn& c, const std::string& user, int seat);
  void SeatWatcher(Conn& c, const std::string& user, int seat);
  Frame LoginReply(bool watcher) const;
  void OnClientStart(Conn& c);
  void LetWatchersIn();
  void OnQuit(Conn& c, const Frame& frame);
  void EndSeat(int seat, uint32_t how);
  void OnTrustExit(Conn& c, const Frame& frame);
  void OnLeaveRequest(Conn& c, const Frame& frame);
  void OnLeaveAnswer(Conn& c, const Frame& frame);
  void TakeLeaveAnswer(int seat, uint32_t value, bool agree);
  void OnLeaveConfirm(Conn& c, const Frame& frame);
  // The game.
  void OnGame(Conn& c, const Frame& frame);
  void OnTrusteeship(Conn& c, const Frame& frame);
  void SendTrusteeshipResult(int seat, uint32_t mode, uint32_t status, bool counts);
  void EndTrusteeshipWithHand();
  void OnWatchPermission(Conn& c, const Frame& frame);
  void OnComplaint(Conn& c, const Frame& frame);
  void OpenComplaint();
  void CloseComplaintIfDone();
  // Delivery.
  void Deliver(const std::vector<OutFrame>& out);
  void OnHandStart();
  void OnHandEnd(const Frame& handOver);
  void SendToPlayers(uint32_t id, const Frame& body, uint32_t status = 0, int except = -1);
  void SendToAll(uint32_t id, const Frame& body, uint32_t status = 0);
  void SendReplay(Watcher& w);
  void LogHandOver(const Frame& body);
  int SeatOf(const Conn& c) const;
  Watcher* WatcherOf(const Conn& c);
  bool NameAtTable(const std::string& user) const;
  std::string NameOf(int seat) const;
  // Leaving now costs the others their game: a hand runs, or a series has begun.
  bool AtStake() const;

  peers::CTableServer& server_;
  SessionOptions opt_;
  std::unique_ptr<TableGame> game_;
  std::map<int, Conn*> seats_;        // seat -> client
  std::map<int, std::string> names_;  // seat -> user name of the client
  std::map<int, Watcher> watchers_;   // connection number -> watcher
  std::vector<bool> trusted_;         // seat -> the server plays for the client
  std::vector<int> trustTimes_;       // seat -> trusteeship entered in this hand
  std::vector<uint32_t> leaveCount_;  // seat -> leave requests in this hand
  std::map<int, uint32_t> leaving_;   // seat -> how its client leaves (quit id) once it says so
  std::set<int> trustExited_;         // seats granted leave by trusteeship
  LeaveRequest leave_;
  std::map<int, uint32_t> agreed_;  // seat -> the request the others agreed to
  uint32_t leaveSerial_ = 0;
  // Watchers joining mid-hand see it from the deal on.
  std::vector<Frame> dealBodies_;
  std::vector<OutFrame> handFrames_;
  // The complaint after a hand: farmers (people) still to answer, and whether one complained.
  bool complaintOpen_ = false;
  std::set<int> complaintWaiting_;
  bool complained_ = false;
};

}  // namespace tablegame
