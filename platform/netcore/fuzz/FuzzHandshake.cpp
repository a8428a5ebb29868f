// The proxy handshakes fed arbitrary proxy replies. Byte 0 picks the handshake and the chunk
// size, the rest is what the proxy answers.
#include <cstdlib>

#include "ProxyHandshake.h"

using namespace netcore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  uint8_t sel = data[0];
  const uint8_t* reply = data + 1;
  size_t n = size - 1;
  CSocks4Handshake s4a("127.0.0.1", 7000, "user");
  CSocks4Handshake s4b("game.local", 7000, "");
  CSocks5Handshake s5a("127.0.0.1", 7000, "", "");
  CSocks5Handshake s5b("game.local", 7000, "user", "secret");
  CHttpConnectHandshake http("127.0.0.1", 7000, "user", "secret");
  CProxyHandshake* all[] = {&s4a, &s4b, &s5a, &s5b, &http};
  CProxyHandshake& h = *all[sel % 5];
  size_t chunk = 1 + (sel >> 3) % 9;
  size_t pos = 0;
  h.TakeOutput();
  while (pos < n && h.GetStatus() == CProxyHandshake::kNeedMore) {
    size_t want = h.Wanted();
    if (want == 0) abort();  // a running handshake always wants bytes
    size_t used = h.Feed(reply + pos, std::min(chunk, n - pos));
    if (used == 0 || used > want) abort();
    pos += used;
    h.TakeOutput();
  }
  if (h.GetStatus() != CProxyHandshake::kNeedMore && h.Wanted() != 0) abort();
  return 0;
}
