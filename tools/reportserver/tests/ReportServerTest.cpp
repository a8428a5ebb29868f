#include "ReportServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

void SendReport(uint16_t port, const std::string& bytes) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  close(fd);
}

std::vector<std::string> WaitForLines(const reportserver::ReportServer& s, size_t count) {
  for (int i = 0; i < 500 && s.Lines().size() < count; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return s.Lines();
}

}  // namespace

TEST(ReportServer, KeepsAndWritesEveryLine) {
  std::string out = ::testing::TempDir() + "reportserver_test.txt";
  std::remove(out.c_str());
  reportserver::ReportServer server(0, out);
  ASSERT_TRUE(server.Start());
  SendReport(server.port(), "O_Trebbin\t2.21.6.4\tbob\t0\tgame start\tcan not enter channel,Vesk 581\tx\n");
  SendReport(server.port(), "a\nb\n\n");
  auto lines = WaitForLines(server, 3);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "O_Trebbin\t2.21.6.4\tbob\t0\tgame start\tcan not enter channel,Vesk 581\tx");
  server.Stop();
  std::ifstream in(out);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), lines[0] + "\na\nb\n");
  std::remove(out.c_str());
}

TEST(ReportServer, OversizedReportIsCut) {
  reportserver::ReportServer server(0, "");
  ASSERT_TRUE(server.Start());
  SendReport(server.port(), std::string(200 * 1024, 'x'));
  auto lines = WaitForLines(server, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), reportserver::kMaxBytesPerConnection);
}
