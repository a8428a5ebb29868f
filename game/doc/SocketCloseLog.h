// The remote-log line CVeskSocket sends when the game-server connection ends.
#pragma once
#include <string>

struct SocketCloseLog {
  int level;
  std::string text;
  std::string reason;
};

// error: the socket error of the close; closeReason: what the server's last close
// notice said; schedule: the document's phase.
SocketCloseLog MakeSocketCloseLog(int error, int closeReason, int schedule);
