// The session's receive path fed arbitrary server bytes: reply slots, inflation, wire-code
// installation, suspended notifications and closing. Byte 0 configures the run (bits 0-2 chunk
// size, bit 3 a reply wait for id 0x80000300, bit 4 suspend/resume in the middle), the rest is the stream.

#include <cstdlib>

#include "NetSession.h"
#include "ZlibAdapter.h"

using namespace netcore;

namespace {

class Transport : public INetTransport {
 public:
  const uint8_t* data = nullptr;
  size_t size = 0, pos = 0, chunk = 1;
  bool open = true;
  bool IsOpen() const override { return open; }
  long Send(const uint8_t*, size_t n, int*) override { return long(n); }
  long Receive(uint8_t* buf, size_t n, int* error) override {
    size_t k = std::min(std::min(n, chunk), size - pos);
    if (k == 0) return pos >= size ? 0 : (*error = NETERR_WOULDBLOCK, -1);
    std::copy(data + pos, data + pos + k, buf);
    pos += k;
    return long(k);
  }
  long Available(int*) override { return long(size - pos); }
  void SelectEvents(bool) override {}
  bool WaitWritable(int) override { return true; }
  void Close() override { open = false; }
};

class Host : public INetHost {
 public:
  CNetSession* s = nullptr;
  Transport* t = nullptr;
  uint32_t tick = 0;
  int steps = 0;
  uint32_t TickMs() override { return tick; }
  bool AskKeepWaiting() override { return false; }
  void ShowStringBox(int, unsigned) override {}
  bool WaitStep(bool) override {
    tick += 50;
    ++steps;
    s->OnReceive(0);
    return true;
  }
  void OnMessage(std::vector<uint8_t>& f) override {
    if (f.size() < 8 || FrameTotalSize(f.data(), f.size()) != f.size()) abort();
    if (ReadU32(f.data()) == MSG_WIRE_CODE) s->ApplyWireCode(f.data() + 8, f.size() - 8);
  }
  void OnConnectionClosed(int) override {}
  void OnHandlerException(const char*) override { abort(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  Transport t;
  t.data = data + 1;
  t.size = size - 1;
  t.chunk = 1 + (data[0] & 7) * 3;
  Host h;
  CNetSession s(t, h, ZlibUncompress);
  h.s = &s;
  h.t = &t;
  s.SetReplyTimeout(2);
  s.SetInteractive(false);
  if (data[0] & 8) {
    auto req = BuildFrame(0x300, nullptr, 0);
    std::vector<uint8_t> reply;
    if (s.SendMsg(&req, ReplyMode::kTake, &reply) == 1 && ReadU32(reply.data()) != 0x80000300u) abort();
  }
  for (int i = 0; i < 4 * int(size) + 8 && t.open && t.pos < t.size; ++i) {
    if ((data[0] & 16) && i == 3) s.SuspendNotifications();
    if ((data[0] & 16) && i == 6) s.ResumeNotifications();
    s.OnReceive(0);
  }
  if (s.WaitDepth() != 0 || s.OnMessageDepth() != 0) abort();
  return 0;
}
