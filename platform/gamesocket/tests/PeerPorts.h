// Ports of the native peers that run_with_peers.sh started (given as --name=port).
#pragma once
#include <winsock2.h>

#include <map>
#include <string>

extern std::map<std::string, int> g_peerPorts;
// Other --name=text arguments (paths of the peers' logs, as Unix paths).
extern std::map<std::string, std::string> g_peerArgs;

inline int PeerPort(const char* name) {
  auto it = g_peerPorts.find(name);
  return it == g_peerPorts.end() ? 0 : it->second;
}

#define NEED_PEERS()                                                          \
  do {                                                                        \
    if (!PeerPort("table")) GTEST_FAIL() << "the native peers did not start"; \
  } while (0)

// A loopback port with nothing listening on it.
int DeadPort();
// The child process of the handler-exception test.
int RunThrowingChild(int port);
