#include "SpeedTest.h"

#include "ConnLogTexts.h"
#include "NetFrame.h"

namespace connmgr {

std::array<uint8_t, kSpeedProbeBody> EncodeSpeedProbe(uint32_t value, uint32_t tick) {
  std::array<uint8_t, kSpeedProbeBody> body{};
  netcore::WriteU32(body.data(), value);
  netcore::WriteU32(body.data() + 4, tick);
  return body;
}

std::optional<uint32_t> DecodeSpeedEcho(const uint8_t* frame, size_t n) {
  netcore::NET_MSG_HEADER h;
  if (!frame || !netcore::DecodeHeader(frame, n, &h) || h.id != kSpeedProbeId) return std::nullopt;
  size_t head = netcore::HeaderSizeForId(h.id);
  if (h.length > n - head || h.length < kSpeedProbeBody) return std::nullopt;
  return netcore::ReadU32(frame + head + 4);
}

int32_t SpeedResult(uint32_t now, uint32_t echoed) {
  int64_t d = static_cast<int32_t>(now - echoed);
  if (d < 0) d = -d;
  d /= 10;
  return d < kSpeedMin ? kSpeedMin : d > kSpeedMax ? kSpeedMax : static_cast<int32_t>(d);
}

SpeedStopOutcome StopSpeedWorker(SpeedWorkerStop& w) {
  if (!w.Running()) return SpeedStopOutcome::kNotRunning;
  w.Signal();
  SpeedStopOutcome outcome = SpeedStopOutcome::kEnded;
  if (!w.WaitEnded(kSpeedStopWaitMs)) {
    // A probe stuck where the stop event cannot reach it (a name look-up, a blocking call).
    w.Log(kLogSpeedStopWorker);
    if (w.Terminate()) {
      w.Log(kLogSpeedForced);
      outcome = SpeedStopOutcome::kForced;
    } else {
      outcome = SpeedStopOutcome::kTerminateFailed;
    }
  }
  w.Release();
  return outcome;
}

}  // namespace connmgr
