// Seeded hostile frames for the hostile relay: noise that a sound client must survive
// (random bodies on the known ids, real game frames replayed out of order or with fields
// pushed to extremes) and blows after which the client must close the connection
// (oversized length, bad compressed body, zlib bomb, malformed wire code, fatal, kicked).
#pragma once
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace hostile {

using Bytes = std::vector<uint8_t>;

enum class Blow { kNone, kOversize, kBadZip, kZipBomb, kWireCode, kFatal, kKicked, kTruncated };

// "oversize", "badzip", "zipbomb", "wirecode", "fatal", "kicked", "truncated"; kNone otherwise.
Blow BlowFromName(const std::string& name);
const char* BlowName(Blow b);
// True when the client is expected to close the connection by itself after the blow.
bool BlowClosesConnection(Blow b);

// The ids the client knows (system and game messages, requests and replies).
const std::vector<uint32_t>& KnownIds();

class CNoise {
 public:
  explicit CNoise(uint32_t seed) : m_rng(seed) {}
  // Remembers a real frame of the game so that it can be replayed or mutated later.
  void Remember(const Bytes& frame);
  // The next noise frame (whole, header included); *kind names what it is.
  Bytes Next(std::string* kind);
  // The blow frame bytes. A truncated blow is a header that announces more than follows.
  Bytes MakeBlow(Blow b);

 private:
  Bytes RandomBody(size_t maxLen);
  Bytes Mutated(const Bytes& frame);
  uint32_t Pick(uint32_t n) { return n ? uint32_t(m_rng() % n) : 0; }

  std::mt19937 m_rng;
  std::vector<Bytes> m_seen;  // a bounded sample of real frames
};

// The frames of the "inject" lines of a relay log, in order; false when the file cannot be read.
bool ReadInjectedFrames(const std::string& path, std::deque<Bytes>* out);

// Lower-case hex of the bytes, for logging frames so that a run can be replayed.
std::string Hex(const Bytes& b, size_t max = 1u << 16);

}  // namespace hostile
