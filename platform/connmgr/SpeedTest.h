// The speed test's portable part: the probe request 272 and its echoed reply, the result
// arithmetic, the probe record of the speed-test window's message, and the order in which
// the worker is stopped.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace connmgr {

// The request the server echoes: body {u32 value, u32 tick count}.
constexpr uint32_t kSpeedProbeId = 272;
constexpr size_t kSpeedProbeBody = 8;
// The speed-test window's message: wParam a SpeedProbeRecord*, lParam a SpeedProbePath.
constexpr unsigned kSpeedTestMessage = 0x4D4;  // 1236
// Results are tenths of the round trip in milliseconds, kept within these bounds.
constexpr int32_t kSpeedMin = 1;
constexpr int32_t kSpeedMax = 9999;
// How long a stop waits for the worker before it is ended by force.
constexpr unsigned kSpeedStopWaitMs = 3000;

enum SpeedProbePath : int { kSpeedDirect = 0, kSpeedInterconnect = 1 };

// In: the value sent in the request. Out: the result, -1 when the probe failed.
struct SpeedProbeRecord {
  uint32_t value = 0;
  int32_t result = -1;
};

std::array<uint8_t, kSpeedProbeBody> EncodeSpeedProbe(uint32_t value, uint32_t tick);

// The tick echoed at body offset 4 of a reply frame (header plus body, n bytes in all).
// nullopt for another id, a length beyond the n bytes, or a body shorter than a request.
std::optional<uint32_t> DecodeSpeedEcho(const uint8_t* frame, size_t n);

// |now - echoed| / 10 within kSpeedMin..kSpeedMax; the tick count wraps after 49.7 days,
// so the distance is taken over 32 bits.
int32_t SpeedResult(uint32_t now, uint32_t echoed);

// What stopping the worker needs from the window that runs it.
class SpeedWorkerStop {
 public:
  virtual ~SpeedWorkerStop() = default;
  virtual bool Running() = 0;
  virtual void Signal() = 0;                // set the stop event; end the probe's waits
  virtual bool WaitEnded(unsigned ms) = 0;  // true when the worker ended in time
  virtual bool Terminate() = 0;             // true when the worker was ended by force
  virtual void Log(const char* line) = 0;
  virtual void Release() = 0;  // the thread handle and the window go
};

enum class SpeedStopOutcome { kNotRunning, kEnded, kForced, kTerminateFailed };

// Signal, wait up to kSpeedStopWaitMs, else end it by force with its log lines; then release.
SpeedStopOutcome StopSpeedWorker(SpeedWorkerStop& w);

}  // namespace connmgr
