#include "SocketCloseLog.h"

#include <cstdio>

SocketCloseLog MakeSocketCloseLog(int error, int closeReason, int schedule) {
  char text[256];
  if (error == 10053 || error == 10054) {
    std::snprintf(text, sizeof text,
                  "software caused connection abort or connection reset by peer,ErrorCode=%d,Schedule=%d", error,
                  schedule);
    return {0, text, "connection abort"};
  }
  if (error == 10060) {
    std::snprintf(text, sizeof text, "connection timed out,ErrorCode=%d,Schedule=%d", error, schedule);
    return {0, text, "connection timeout"};
  }
  static const struct {
    const char* fmt;
    const char* reason;
  } kByReason[] = {
      {nullptr, nullptr},
      {"player escape,game over,Schedule=%d", "player escape"},
      {"room kickout,connection close,Schedule=%d", "room kickout"},
      {"room break,game over,Schedule=%d", "room break"},
      {"player timeout,game over,Schedule=%d", "player timeout"},
      {"exit channel,Schedule=%d", "exit channel"},
      {"server command close,Schedule=%d", "svrcmdclose"},
  };
  if (closeReason >= 1 && closeReason <= 6) {
    std::snprintf(text, sizeof text, kByReason[closeReason].fmt, schedule);
    return {5, text, kByReason[closeReason].reason};
  }
  std::snprintf(text, sizeof text, "server command close,Schedule=%d,nErrorCode=%d,CloseReason=%d", schedule, error,
                closeReason);
  return {5, text, "svrcmdclose"};
}
