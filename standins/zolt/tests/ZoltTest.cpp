#include <winsock2.h>

#include "ZOLT.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

// A report server that accepts one connection and keeps what it received.
struct OneShotServer {
  SOCKET listener = INVALID_SOCKET;
  int port = 0;
  std::string received;
  std::thread thread;

  OneShotServer() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener, 1);
    int len = sizeof a;
    getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    thread = std::thread([this] {
      SOCKET c = accept(listener, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      char buf[512];
      int n;
      while ((n = recv(c, buf, sizeof buf, 0)) > 0) received.append(buf, n);
      closesocket(c);
    });
  }
  ~OneShotServer() {
    closesocket(listener);
    if (thread.joinable()) thread.join();
    WSACleanup();
  }
};

std::string ReadLog() {
  std::ifstream in("ZOLT.log", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(Zolt, LogsLocallyWithoutAServer) {
  DeleteFileA("ZOLT.log");
  ZOLT_HANDLE h = ZOLT_CreateA("O_Trebbin", "2.21.6.4", "HalvornTrebbin");
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(ZOLT_SetUserIDA(h, "alice"));
  EXPECT_TRUE(ZOLT_DeleteLocalDumpFile(h, 0));
  EXPECT_TRUE(ZOLT_SetAutoReport(h, TRUE));
  EXPECT_TRUE(ZOLT_SendLog_TCPA(h, 5, "game run", "line\none", "reason"));
  ZOLT_Destroy(h);
  std::string log = ReadLog();
  EXPECT_NE(log.find("O_Trebbin\t2.21.6.4\talice\t5\tgame run\tline one\treason\n"), std::string::npos) << log;
  DeleteFileA("ZOLT.log");
}

TEST(Zolt, SendsToTheReportServerAndFailsWhenItIsGone) {
  ZOLT_HANDLE h = ZOLT_CreateA("O_Trebbin", "2.21.6.4", "HalvornTrebbin");
  ASSERT_NE(h, nullptr);
  ZOLT_SetUserIDA(h, "bob");
  {
    OneShotServer server;
    ASSERT_TRUE(ZOLT_SetReportServerA(h, "127.0.0.1", server.port));
    EXPECT_TRUE(ZOLT_SendLog_TCPA(h, 0, "game start", "can not enter channel,Vesk 581", "can not enter channel"));
    server.thread.join();
    EXPECT_EQ(server.received,
              "O_Trebbin\t2.21.6.4\tbob\t0\tgame start\tcan not enter channel,Vesk 581\tcan not enter channel\n");
    // The port is closed once the server is gone: the line is not taken.
    ZOLT_SetReportServerA(h, "127.0.0.1", server.port);
  }
  EXPECT_FALSE(ZOLT_SendLog_TCPA(h, 0, "connection", "x", "y"));
  EXPECT_FALSE(ZOLT_SetReportServerA(h, "127.0.0.1", 0));
  ZOLT_Destroy(h);
  EXPECT_FALSE(ZOLT_SendLog_TCPA(nullptr, 0, "a", "b", "c"));
  DeleteFileA("ZOLT.log");
}

TEST(Zolt, CreationFailureAndCrashHandler) {
  SetEnvironmentVariableA("ZOLT_FAIL_CREATE", "17");
  EXPECT_EQ(ZOLT_CreateA("O_Trebbin", "2.21.6.4", "HalvornTrebbin"), nullptr);
  EXPECT_EQ(ZOLT_GetLastError(), 17);
  SetEnvironmentVariableA("ZOLT_FAIL_CREATE", nullptr);
  EXPECT_EQ(ZOLT_CreateA(nullptr, "v", "p"), nullptr);
  EXPECT_EQ(ZOLT_GetLastError(), ZOLT_ERR_BAD_ARGUMENT);

  ZOLT_HANDLE h = ZOLT_CreateA("O_Trebbin", "2.21.6.4", "HalvornTrebbin");
  ASSERT_NE(h, nullptr);
  LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(before);
  EXPECT_TRUE(ZOLT_StartCrashHandler(h));
  LPTOP_LEVEL_EXCEPTION_FILTER installed = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(installed);
  EXPECT_NE(installed, before);
  EXPECT_TRUE(ZOLT_StopCrashHandler(h));
  LPTOP_LEVEL_EXCEPTION_FILTER after = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(after);
  EXPECT_EQ(after, before);
  ZOLT_Destroy(h);
}
