#include "SpeedTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConnLogTexts.h"
#include "NetFrame.h"

using namespace connmgr;

namespace {

std::vector<uint8_t> Frame(uint32_t id, std::vector<uint8_t> body) {
  return netcore::BuildFrame(id, body.data(), body.size());
}

TEST(SpeedTestTest, RequestCarriesValueThenTick) {
  auto body = EncodeSpeedProbe(0x01020304u, 0xA0B0C0D0u);
  EXPECT_EQ(std::vector<uint8_t>(body.begin(), body.end()), (std::vector<uint8_t>{4, 3, 2, 1, 0xD0, 0xC0, 0xB0, 0xA0}));
}

TEST(SpeedTestTest, EchoIsReadOnlyFromAWholeReply) {
  auto body = EncodeSpeedProbe(7, 123456);
  std::vector<uint8_t> echo(body.begin(), body.end());
  std::vector<uint8_t> longer = echo;
  longer.push_back(0xEE);  // more than a request: the tick is still at offset 4
  struct Case {
    const char* what;
    std::vector<uint8_t> frame;
    size_t cut;  // bytes taken off the end
    std::optional<uint32_t> tick;
  } cases[] = {
      {"the echo", Frame(kSpeedProbeId, echo), 0, 123456u},
      {"a longer body", Frame(kSpeedProbeId, longer), 0, 123456u},
      {"a body of 7 bytes", Frame(kSpeedProbeId, std::vector<uint8_t>(echo.begin(), echo.end() - 1)), 0, {}},
      {"an empty body", Frame(kSpeedProbeId, {}), 0, {}},
      {"a length beyond the bytes", Frame(kSpeedProbeId, echo), 1, {}},
      {"half a header", Frame(kSpeedProbeId, echo), 12, {}},
      {"another id", Frame(273, echo), 0, {}},
      {"the reply id", Frame(kSpeedProbeId | netcore::NET_REPLY_BIT, echo), 0, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeSpeedEcho(c.frame.data(), c.frame.size() - c.cut), c.tick) << c.what;
  // A length word near 4 GiB does not wrap the bound.
  std::vector<uint8_t> huge = Frame(kSpeedProbeId, echo);
  netcore::WriteU32(huge.data() + 4, 0xFFFFFFFCu);
  EXPECT_FALSE(DecodeSpeedEcho(huge.data(), huge.size()));
  EXPECT_FALSE(DecodeSpeedEcho(nullptr, 16));
}

TEST(SpeedTestTest, ResultIsTenthsOfTheDistanceWithinBounds) {
  struct Case {
    uint32_t now, echoed;
    int32_t result;
  } cases[] = {
      {1000, 1000, 1},         // no time: the lower bound
      {1009, 1000, 1},         // under 10 ms
      {1250, 1000, 25},        //
      {1000, 1250, 25},        // a tick from the future counts by its distance
      {100000, 0, 9999},       // the upper bound
      {99990, 0, 9999},        //
      {99989, 0, 9998},        //
      {5, 0xFFFFFF00u, 26},    // across the wrap of the tick count (261 ms)
      {0x80000000u, 0, 9999},  // the farthest distance
      {0, 0x80000000u, 9999},  //
  };
  for (const auto& c : cases) EXPECT_EQ(SpeedResult(c.now, c.echoed), c.result) << c.now << " " << c.echoed;
}

// Records what stopping did, in order.
struct FakeWorker : SpeedWorkerStop {
  bool running = true, endsInTime = true, terminates = true;
  std::vector<std::string> calls;
  unsigned waited = 0;
  bool Running() override { return running; }
  void Signal() override { calls.push_back("signal"); }
  bool WaitEnded(unsigned ms) override {
    waited = ms;
    calls.push_back("wait");
    return endsInTime;
  }
  bool Terminate() override {
    calls.push_back("terminate");
    return terminates;
  }
  void Log(const char* line) override { calls.push_back(line); }
  void Release() override {
    calls.push_back("release");
    running = false;
  }
};

TEST(SpeedTestTest, StopWaitsThenEndsTheWorkerByForce) {
  using V = std::vector<std::string>;
  FakeWorker idle;
  idle.running = false;
  EXPECT_EQ(StopSpeedWorker(idle), SpeedStopOutcome::kNotRunning);
  EXPECT_TRUE(idle.calls.empty());

  FakeWorker quick;
  EXPECT_EQ(StopSpeedWorker(quick), SpeedStopOutcome::kEnded);
  EXPECT_EQ(quick.calls, (V{"signal", "wait", "release"}));
  EXPECT_EQ(quick.waited, 3000u);
  EXPECT_EQ(StopSpeedWorker(quick), SpeedStopOutcome::kNotRunning);  // a second stop does nothing

  FakeWorker stuck;
  stuck.endsInTime = false;
  EXPECT_EQ(StopSpeedWorker(stuck), SpeedStopOutcome::kForced);
  EXPECT_EQ(stuck.calls, (V{"signal", "wait", kLogSpeedStopWorker, "terminate", kLogSpeedForced, "release"}));

  FakeWorker unkillable;
  unkillable.endsInTime = false;
  unkillable.terminates = false;
  EXPECT_EQ(StopSpeedWorker(unkillable), SpeedStopOutcome::kTerminateFailed);
  EXPECT_EQ(unkillable.calls, (V{"signal", "wait", kLogSpeedStopWorker, "terminate", "release"}));
}

}  // namespace
