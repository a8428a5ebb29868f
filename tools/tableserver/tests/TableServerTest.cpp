#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "TableServer.h"

using namespace netcore;
using namespace peers;

namespace {

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TableServerOptions Script(const std::string& text) {
  TableServerOptions opt;
  std::string err;
  EXPECT_TRUE(ParseTableScript(text, &opt, &err)) << err;
  opt.maxSeconds = 20;
  return opt;
}

uint32_t Id(const std::vector<uint8_t>& f) { return ReadU32(f.data()); }
uint32_t Status(const std::vector<uint8_t>& f) { return ReadU32(f.data() + 8); }
std::string BodyText(const std::vector<uint8_t>& f) {
  size_t hs = HeaderSizeForId(Id(f));
  return std::string(f.begin() + long(hs), f.end());
}

}  // namespace

TEST(TableServer, RepliesGreetingsAndCompression) {
  CTableServer server(
      Script("compress 64\n"
             "greet 0x204 0 text:hello\n"
             "reply 0x300 7 0a0b0c\n"
             "reply 0x301 1 echo\n"
             "silent 0x302\n"));
  ASSERT_TRUE(server.Start());
  CLoopbackClient c;
  ASSERT_TRUE(c.Connect(server.Port()));
  std::vector<uint8_t> f;
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x204u);
  EXPECT_EQ(BodyText(f), std::string("hello\0", 6));

  ASSERT_TRUE(c.SendFrame(BuildFrame(0x300, nullptr, 0)));
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x80000300u);
  EXPECT_EQ(Status(f), 7u);
  EXPECT_EQ(BodyText(f), "\x0a\x0b\x0c");

  std::string big(5000, 'q');  // compressed on the way back, inflated by the client
  ASSERT_TRUE(c.SendFrame(BuildFrame(0x301, big.data(), big.size())));
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x80000301u);
  EXPECT_EQ(BodyText(f), big);
  EXPECT_TRUE(server.WaitForLog("out #1 id=0xC0000301", 2000)) << "sent with bit 30";

  ASSERT_TRUE(c.SendFrame(BuildFrame(0x302, nullptr, 0)));
  EXPECT_FALSE(c.ReadFrame(&f, 300)) << "a silent rule answers nothing";
  ASSERT_TRUE(c.SendFrame(BuildP80Header(8000, 0)));
  EXPECT_TRUE(server.WaitForLog("in #1 id=0x00000663 len=8", 2000));
}

// The transforms switch exactly between frames in both directions.
TEST(TableServer, WireCodeTransformsBothDirections) {
  CTableServer server(
      Script("echo\n"
             "wirecode 0x11111111 0xFFFFFFFE add:5,xor:0x99,rol:3 sub:7,ror:1\n"
             "reply 512 1 text:welcome wirecode\n"));
  ASSERT_TRUE(server.Start());
  CLoopbackClient c;
  ASSERT_TRUE(c.Connect(server.Port()));
  std::vector<uint8_t> f;
  ASSERT_TRUE(c.SendFrame(BuildFrame(MSG_LOGIN, "me", 2)));
  ASSERT_TRUE(c.ReadFrame(&f));
  ASSERT_EQ(Id(f), MSG_WIRE_CODE);
  ASSERT_TRUE(c.InstallWireCode(f));
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x80000200u);
  EXPECT_EQ(BodyText(f), std::string("welcome\0", 8));
  for (int i = 0; i < 3; ++i) {
    std::string msg = "round " + std::to_string(i);
    ASSERT_TRUE(c.SendFrame(BuildFrame(0x400 + i, msg.data(), msg.size())));
    ASSERT_TRUE(c.ReadFrame(&f));
    EXPECT_EQ(Id(f), 0x80000400u + i);
    EXPECT_EQ(BodyText(f), msg);
  }
  EXPECT_TRUE(server.WaitForLog("in #1 id=0x00000402", 2000));
}

TEST(TableServer, OversizedLengthDropsTheClient) {
  TableServerOptions opt;
  opt.maxBody = 1024;
  opt.maxSeconds = 20;
  CTableServer server(opt);
  ASSERT_TRUE(server.Start());
  CLoopbackClient c;
  ASSERT_TRUE(c.Connect(server.Port()));
  uint8_t hdr[8];
  WriteU32(hdr, 0x300);
  WriteU32(hdr + 4, 1025);
  ASSERT_TRUE(SendAll(c.Fd(), hdr, 8, 1000));
  EXPECT_TRUE(server.WaitForLog("drop #1", 2000));
  std::vector<uint8_t> f;
  EXPECT_FALSE(c.ReadFrame(&f, 1000));
}

TEST(TableServer, HandlersForGameLogic) {
  CTableServer server(Script(""));
  server.SetHandler(0x500, [](CTableConnection& conn, const std::vector<uint8_t>&) {
    conn.Send(0x501, Text("dealt"));
    conn.Reply(0x500, 1, {});
  });
  ASSERT_TRUE(server.Start());
  CLoopbackClient c;
  ASSERT_TRUE(c.Connect(server.Port()));
  ASSERT_TRUE(c.SendFrame(BuildFrame(0x500, nullptr, 0)));
  std::vector<uint8_t> f;
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x501u);
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x80000500u);
}

TEST(TableServer, AcceptAndCloseHooks) {
  CTableServer server(Script(""));
  std::atomic<int> accepted{0}, closed{0};
  server.SetAcceptHook([&](CTableConnection& c) {
    ++accepted;
    c.Send(0x600, Text("seat"));
  });
  server.SetCloseHook([&](CTableConnection&) { ++closed; });
  ASSERT_TRUE(server.Start());
  {
    CLoopbackClient c;
    ASSERT_TRUE(c.Connect(server.Port()));
    std::vector<uint8_t> f;
    ASSERT_TRUE(c.ReadFrame(&f));
    EXPECT_EQ(Id(f), 0x600u);
  }
  EXPECT_TRUE(server.WaitForLog("closed #1", 2000));
  CLoopbackClient second;
  ASSERT_TRUE(second.Connect(server.Port()));
  std::vector<uint8_t> f;
  ASSERT_TRUE(second.ReadFrame(&f));
  server.Stop();
  EXPECT_EQ(accepted, 2);
  EXPECT_EQ(closed, 2) << "connections still open at the stop are reported too";
}

// Scripted frames at moments of the game, and the client's answers in the log.
TEST(TableServer, ScriptedEventsAtMomentsOfTheGame) {
  CTableServer server(
      Script("reply 0x300 1 -\n"
             "on accept send 0x229 0 text:hi\n"
             "on in:0x301@2 delay=200 send 0x12013 0 05000000\n"  // the second 0x301, later
             "on out:0x80000300 send 0x230 0 0102\n"              // right behind the reply
             "on in:0x302 every send 0x231 0 -\n"
             "watch 0x303\n"));
  ASSERT_TRUE(server.Start());
  CLoopbackClient c;
  ASSERT_TRUE(c.Connect(server.Port()));
  std::vector<uint8_t> f;
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x229u);

  ASSERT_TRUE(c.SendFrame(BuildFrame(0x300, nullptr, 0)));
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x80000300u);
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x230u);
  EXPECT_EQ(BodyText(f), "\x01\x02");

  ASSERT_TRUE(c.SendFrame(BuildFrame(0x301, nullptr, 0)));
  EXPECT_FALSE(c.ReadFrame(&f, 300)) << "only the second 0x301 fires";
  auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(c.SendFrame(BuildFrame(0x301, nullptr, 0)));
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x12013u);
  EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(200));

  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(c.SendFrame(BuildFrame(0x302, nullptr, 0)));
    ASSERT_TRUE(c.ReadFrame(&f));
    EXPECT_EQ(Id(f), 0x231u) << "every time";
  }
  ASSERT_TRUE(c.SendFrame(BuildFrame(0x303, "\xab\xcd", 2)));
  uint8_t answer[4] = {7, 0, 0, 0};
  ASSERT_TRUE(c.SendFrame(BuildFrame(0x80000230, answer, 4, 1)));
  EXPECT_TRUE(server.WaitForLog("body #1 id=0x00000303 abcd", 2000));
  EXPECT_TRUE(server.WaitForLog("body #1 id=0x80000230 07000000", 2000)) << "answers are always logged";
  EXPECT_TRUE(server.WaitForLog("script #1 id=0x00012013", 2000));
}

TEST(TableServer, ScriptErrors) {
  const char* bad[] = {"on in:1 send 1 1",
                       "on sideways:1 send 1 0 -",
                       "on in:1@0 send 1 0 -",
                       "on in:1 delay=x send 1 0 -",
                       "on in:1 send 1 0 - extra",
                       "watch",
                       "reply 1 2",
                       "reply x 1 -",
                       "reply 1 1 abc",
                       "greet 1 1",
                       "wirecode 1 2 nop:1 -",
                       "wirecode 1 2 xor:1",
                       "seconds 0",
                       "port 70000",
                       "reply 1 1 - delay=x",
                       "frobnicate"};
  for (const char* s : bad) {
    TableServerOptions opt;
    std::string err;
    EXPECT_FALSE(ParseTableScript(s, &opt, &err)) << s;
    EXPECT_NE(err.find("line 1"), std::string::npos);
  }
}

#ifdef VESK_TABLESERVER_EXE
#include <cstdio>
#include <fstream>

// The program itself: script file, port report on stdout, stops by itself.
TEST(TableServerProgram, RunsAScript) {
  std::string script = ::testing::TempDir() + "/tableserver_script.txt";
  {
    std::ofstream out(script);
    out << "# answers the login\nreply 512 1 text:ok\n";
  }
  std::string cmd = std::string(VESK_TABLESERVER_EXE) + " --seconds 2 --script " + script;
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char line[128] = {0};
  ASSERT_NE(fgets(line, sizeof line, p), nullptr);
  unsigned port = 0;
  ASSERT_EQ(std::sscanf(line, "listening 127.0.0.1:%u", &port), 1) << line;
  CLoopbackClient c;
  ASSERT_TRUE(c.Connect(uint16_t(port)));
  ASSERT_TRUE(c.SendFrame(BuildFrame(MSG_LOGIN, "me", 2)));
  std::vector<uint8_t> f;
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(Id(f), 0x80000200u);
  c.Close();
  std::string log;
  while (fgets(line, sizeof line, p)) log += line;
  EXPECT_NE(log.find("in #1 id=0x00000200 len=2"), std::string::npos) << log;
  EXPECT_EQ(pclose(p), 0);

  FILE* bad = popen((std::string(VESK_TABLESERVER_EXE) + " --frobnicate 2>/dev/null").c_str(), "r");
  ASSERT_NE(bad, nullptr);
  EXPECT_NE(pclose(bad), 0);
}
#endif
