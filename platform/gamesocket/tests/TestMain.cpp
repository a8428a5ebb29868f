#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "GTestSkip.h"
#include "GameSocket.h"
#include "PeerPorts.h"

std::map<std::string, int> g_peerPorts;
std::map<std::string, std::string> g_peerArgs;

int DeadPort() {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int len = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  ::closesocket(s);
  return ntohs(a.sin_port);
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    const char* eq = strchr(a, '=');
    if (a[0] == '-' && a[1] == '-' && eq) {
      g_peerPorts[std::string(a + 2, eq)] = atoi(eq + 1);
      g_peerArgs[std::string(a + 2, eq)] = eq + 1;
    }
  }
  if (!CGameSocket::InitSockets()) return 2;
  // The boxes' texts, as the program loads them.
  if (HINSTANCE res = ::LoadLibraryExA("Vesk_Res_936.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE))
    AfxSetResourceHandle(res);
  if (g_peerPorts.count("throw-child")) return RunThrowingChild(g_peerPorts["throw-child"]);
  return VeskTestsResult(RUN_ALL_TESTS());
}
