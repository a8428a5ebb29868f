#include "ConnectionPlan.h"

#include <gtest/gtest.h>

#include <map>

#include "ConnLogTexts.h"

using namespace connmgr;

namespace {

// Settings and attempt results of one scenario; records what the choice did.
struct FakeHost : ConnectHost {
  bool otherProxy = false, use80 = false;
  std::optional<std::string> firewallHost;
  int useInterconnect = 1;
  std::optional<std::string> entryHost;
  bool marked = false;
  bool directOk = true, proxyOk = true, cancelled = false;

  std::vector<std::string> log, calls;
  std::string interconnectHost;

  void Log(const std::string& line) override { log.push_back(line); }
  bool OtherProxy() override { return otherProxy; }
  bool Use80PortSvr() override { return use80; }
  std::optional<std::string> FirewallProxyHost() override { return firewallHost; }
  int UseInterconnect() override { return useInterconnect; }
  std::optional<std::string> InterconnectHostForPort(int) override { return entryHost; }
  bool ServerMarkedForInterconnect(const std::string&, int) override { return marked; }
  bool ConnectDirect(const std::string&, int, bool interactive) override {
    calls.push_back(interactive ? "direct" : "direct-quiet");
    return directOk;
  }
  bool ConnectViaProxy(const std::string&, int, bool, bool p80) override {
    calls.push_back(p80 ? "proxy+p80" : "proxy");
    return proxyOk;
  }
  bool Cancelled() override { return cancelled; }
  void ClearOutsideCancel() override { calls.push_back("clear-cancel"); }
  void SetInterconnectHost(const std::string& h) override { interconnectHost = h; }
};

std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += (s.empty() ? "" : ",") + x;
  return s;
}

}  // namespace

TEST(ConnectPath, ChoiceTable) {
  struct Case {
    const char* name;
    void (*setup)(FakeHost&);
    int port;
    bool result;
    const char* calls;
    const char* lastLog;
  } cases[] = {
      {"other proxy", [](FakeHost& h) { h.otherProxy = true; }, 7100, true, "direct", kLogOtherProxy},
      {"firewall, port 80",
       [](FakeHost& h) {
         h.use80 = true;
         h.firewallHost = "10.0.0.1";
       },
       80, true, "proxy", kLogFirewallPort80},
      {"firewall, other port",
       [](FakeHost& h) {
         h.use80 = true;
         h.firewallHost = "10.0.0.1";
       },
       7100, true, "proxy+p80", nullptr},
      {"firewall without host", [](FakeHost& h) { h.use80 = true; }, 7100, true, "direct", kLogFirewallNoIp},
      {"switched off", [](FakeHost& h) { h.useInterconnect = 0; }, 7100, true, "direct", kLogManualOff},
      {"game not configured", [](FakeHost&) {}, 7100, true, "direct", nullptr},
      {"server marked",
       [](FakeHost& h) {
         h.entryHost = "10.0.0.2";
         h.marked = true;
       },
       7100, true, "proxy+p80", kLogServerUsesProxy},
      {"unmarked, direct works", [](FakeHost& h) { h.entryHost = "10.0.0.2"; }, 7100, true, "direct-quiet", nullptr},
      {"unmarked, direct fails",
       [](FakeHost& h) {
         h.entryHost = "10.0.0.2";
         h.directOk = false;
       },
       7100, true, "direct-quiet,clear-cancel,proxy+p80", nullptr},
      {"unmarked, direct cancelled",
       [](FakeHost& h) {
         h.entryHost = "10.0.0.2";
         h.directOk = false;
         h.cancelled = true;
       },
       7100, false, "direct-quiet", nullptr},
  };
  for (const auto& c : cases) {
    FakeHost h;
    c.setup(h);
    EXPECT_EQ(ChooseConnectPath(h, "1.2.3.4", c.port, true), c.result) << c.name;
    EXPECT_EQ(Joined(h.calls), c.calls) << c.name;
    ASSERT_FALSE(h.log.empty());
    EXPECT_EQ(h.log.front(), LogText(kLogClientConnect, "1.2.3.4", c.port)) << c.name;
    if (c.lastLog) {
      EXPECT_EQ(h.log.back(), c.lastLog) << c.name;
    }
  }
}

TEST(ConnectPath, LogLinesNameTheServer) {
  FakeHost h;
  h.entryHost = "10.0.0.2";
  h.directOk = false;
  ChooseConnectPath(h, "1.2.3.4", 7100, true);
  EXPECT_EQ(h.interconnectHost, "10.0.0.2");
  EXPECT_EQ(h.log.back(), LogText(kLogDirectFailedRetry, "1.2.3.4", 7100));
  EXPECT_EQ(FormatLogLine("26/12/10 13:00:00", 42, "hello"), "26/12/10 13:00:00    42 hello\n");
}

TEST(ConnectSettings, ScrambledNamesRoundTrip) {
  EXPECT_EQ(ScrambleName("", true), "");
  EXPECT_EQ(ScrambleName("Setting", false), "Setting");
  std::string s = ScrambleName("UseZuzeZed", true);
  EXPECT_EQ(s.size(), 20u);
  for (char c : s) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << s;
  EXPECT_EQ(UnscrambleName(s), "UseZuzeZed");
  EXPECT_EQ(ScrambleName("A", true), "1B");  // 0x41 ^ 0x5A
  EXPECT_FALSE(UnscrambleName("ABC"));
  EXPECT_FALSE(UnscrambleName("ZZ"));
}

TEST(ConnectSettings, NumberedEntriesEndAtTheFirstGap) {
  std::map<std::string, std::string> keys = {
      {"1", "10.0.0.1;7000;7001"}, {"2", "10.0.0.2;7100"}, {"4", "10.0.0.4;7200"}};
  auto lookup = [&](const std::string& k) -> std::optional<std::string> {
    auto it = keys.find(k);
    if (it == keys.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(FindInterconnectHost(lookup, 7001), "10.0.0.1");
  EXPECT_EQ(FindInterconnectHost(lookup, 7100), "10.0.0.2");
  EXPECT_FALSE(FindInterconnectHost(lookup, 7200));  // "3" is missing
  EXPECT_FALSE(EntryHostForPort(";7100", 7100));
  EXPECT_FALSE(EntryHostForPort("h;71000x", 71000));
}

TEST(SpeedTable, KeepsTheNewestRecords) {
  std::vector<SpeedRecord> t;
  AddSpeedRecord(t, 0, 5);  // no maximum: nothing stored
  EXPECT_TRUE(t.empty());
  AddSpeedRecord(t, 2, -1);
  EXPECT_TRUE(t.empty());
  AddSpeedRecord(t, 2, 10);
  AddSpeedRecord(t, 2, 20);
  AddSpeedRecord(t, 2, 30);  // overwrites the record of sequence 0
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].value, 30u);
  EXPECT_EQ(t[0].sequence, 2u);
  EXPECT_EQ(t[1].value, 20u);
}
