#include "HostileFrames.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>

#include "NetFrame.h"
#include "SystemMessages.h"
#include "WireTransform.h"

namespace hostile {

using netcore::BuildFrame;
using netcore::HeaderSizeForId;
using netcore::ReadU32;
using netcore::WriteU32;

Blow BlowFromName(const std::string& n) {
  if (n == "oversize") return Blow::kOversize;
  if (n == "badzip") return Blow::kBadZip;
  if (n == "zipbomb") return Blow::kZipBomb;
  if (n == "wirecode") return Blow::kWireCode;
  if (n == "fatal") return Blow::kFatal;
  if (n == "kicked") return Blow::kKicked;
  if (n == "truncated") return Blow::kTruncated;
  return Blow::kNone;
}

const char* BlowName(Blow b) {
  switch (b) {
    case Blow::kOversize:
      return "oversize";
    case Blow::kBadZip:
      return "badzip";
    case Blow::kZipBomb:
      return "zipbomb";
    case Blow::kWireCode:
      return "wirecode";
    case Blow::kFatal:
      return "fatal";
    case Blow::kKicked:
      return "kicked";
    case Blow::kTruncated:
      return "truncated";
    default:
      return "none";
  }
}

bool BlowClosesConnection(Blow b) {
  return b == Blow::kOversize || b == Blow::kBadZip || b == Blow::kZipBomb || b == Blow::kWireCode;
}

const std::vector<uint32_t>& KnownIds() {
  static const std::vector<uint32_t> ids = {
      // system messages
      352, 417, 549, 553, 554, 557, 560, 561, 564, 580, 585, 0x80000200, 0x80000202, 0x80000219, 0x8000021A, 0x8000021B,
      0x8000021C, 0x80000233,
      // game messages
      0x8000020A, 0x20C, 0x12008, 0x12009, 0x12010, 0x12011, 0x80012011, 0x80012012, 0x12013, 0x80012002, 0x214, 0x217,
      0x206, 0x205, 0x80000212, 0x215, 0x20E, 0x20F, 0x211, 0x216, 0x21B, 0x8000022B, 0x80012047, 0x80012049, 0x245,
      0x3301, 0x12048, 0x248, 0x1201F, 0x12050, 0x12051, 0x80012052, 0x80012053, 0x65B,
      // unknown to the client: must be ignored
      0x7777, 0x80007777};
  return ids;
}

void CNoise::Remember(const Bytes& frame) {
  if (frame.size() < netcore::NET_SHORT_HEADER || frame.size() > 65536) return;
  if (m_seen.size() < 64)
    m_seen.push_back(frame);
  else
    m_seen[Pick(uint32_t(m_seen.size()))] = frame;
}

Bytes CNoise::RandomBody(size_t maxLen) {
  // Mostly short bodies (they reach the handlers' size checks), sometimes long ones.
  size_t n = Pick(4) == 0 ? Pick(uint32_t(maxLen + 1)) : Pick(64);
  Bytes b(n);
  for (auto& c : b) c = uint8_t(m_rng());
  // Plant extreme values where counts and seats usually lie.
  static const uint32_t extremes[] = {0, 1, 9, 33, 34, 1000, 0x7FFFFFFF, 0xFFFFFFFF, 0x80000000u, 65535};
  for (size_t off = 0; off + 4 <= b.size() && off < 64; off += 4)
    if (Pick(3) == 0) WriteU32(&b[off], extremes[Pick(10)]);
  return b;
}

Bytes CNoise::Mutated(const Bytes& frame) {
  Bytes f = frame;
  size_t hs = HeaderSizeForId(ReadU32(f.data()));
  if (f.size() <= hs) return f;
  static const uint32_t extremes[] = {9, 1000, 33, 0xFFFFFFFF, 0x7FFFFFFF, 0, 4, 54};
  int edits = 1 + int(Pick(3));
  for (int i = 0; i < edits; ++i) {
    size_t span = f.size() - hs;
    if (span >= 4) {
      size_t off = hs + (Pick(uint32_t(span - 3)) & ~size_t(3));
      if (off + 4 <= f.size()) WriteU32(&f[off], extremes[Pick(8)]);
    } else {
      f[hs + Pick(uint32_t(span))] ^= uint8_t(m_rng());
    }
  }
  return f;
}

Bytes CNoise::Next(std::string* kind) {
  uint32_t r = Pick(10);
  if (r < 3 && !m_seen.empty()) {
    // A real frame again, out of its place in the game (a deal twice, a hand over mid-bidding).
    *kind = "replay";
    return m_seen[Pick(uint32_t(m_seen.size()))];
  }
  if (r < 6 && !m_seen.empty()) {
    *kind = "mutated";
    return Mutated(m_seen[Pick(uint32_t(m_seen.size()))]);
  }
  const auto& ids = KnownIds();
  uint32_t id = ids[Pick(uint32_t(ids.size()))];
  // Fatal, kicked, quit and wire code end the session: they are blows, never noise.
  if (id == sysmsg::MSG_WIRE_CODE || id == sysmsg::MSG_KICKED || id == sysmsg::MSG_QUIT_NOTICE) id = 0x7777;
  Bytes body = RandomBody(4096);
  // A notice may ask to close the connection or end the program (a server's right, not a
  // fault): noise keeps both flags clear so the round goes on to its blow.
  if (id == sysmsg::MSG_NOTICE_BOX && body.size() >= 24) std::fill(body.begin() + 16, body.begin() + 24, 0);
  *kind = "random";
  return BuildFrame(id, body.data(), body.size(), uint32_t(m_rng()));
}

namespace {

Bytes CompressedFrame(uint32_t id, uint32_t announced, const Bytes& stream) {
  Bytes body(4);
  WriteU32(body.data(), announced);
  body.insert(body.end(), stream.begin(), stream.end());
  return BuildFrame(id | netcore::NET_COMPRESSED_BIT, body.data(), body.size());
}

}  // namespace

Bytes CNoise::MakeBlow(Blow b) {
  switch (b) {
    case Blow::kOversize: {
      // A header announcing far more than any frame may carry; a few bytes follow.
      Bytes f(8 + 16, 0xAB);
      WriteU32(&f[0], 0x12010);
      WriteU32(&f[4], 0x7FFFFFF0u);
      return f;
    }
    case Blow::kBadZip: {
      Bytes junk(200);
      for (auto& c : junk) c = uint8_t(m_rng());
      junk[0] = 0x78;  // looks like a zlib header, then garbage
      junk[1] = 0x9C;
      return CompressedFrame(0x12010, 4096, junk);
    }
    case Blow::kZipBomb: {
      // 64 MiB of zeros in about 64 KB; the announced size is the true one.
      const size_t full = 64u << 20;
      Bytes zeros(1 << 20, 0);
      z_stream z{};
      deflateInit(&z, 9);
      Bytes out;
      Bytes chunk(1 << 16);
      for (size_t done = 0; done < full; done += zeros.size()) {
        z.next_in = zeros.data();
        z.avail_in = uInt(zeros.size());
        int flush = done + zeros.size() >= full ? Z_FINISH : Z_NO_FLUSH;
        do {
          z.next_out = chunk.data();
          z.avail_out = uInt(chunk.size());
          deflate(&z, flush);
          out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
        } while (z.avail_out == 0);
      }
      deflateEnd(&z);
      return CompressedFrame(0x12010, uint32_t(full), out);
    }
    case Blow::kWireCode: {
      // Lengths that do not add up to the body, and a block with a bad magic.
      Bytes body(16 + 12, 0);
      WriteU32(&body[8], 12);
      WriteU32(&body[12], 7);
      body[16] = 'X';
      body[17] = 'Y';
      return BuildFrame(sysmsg::MSG_WIRE_CODE, body.data(), body.size());
    }
    case Blow::kFatal: {
      const char text[] = "hostile: fatal";
      return BuildFrame(sysmsg::MSG_FATAL, text, sizeof text, 5);
    }
    case Blow::kKicked:
      return BuildFrame(sysmsg::MSG_KICKED, nullptr, 0, 0);
    case Blow::kTruncated: {
      Bytes f(8 + 10, 0x55);
      WriteU32(&f[0], 0x12010);
      WriteU32(&f[4], 64);
      return f;
    }
    default:
      return {};
  }
}

bool ReadInjectedFrames(const std::string& path, std::deque<Bytes>* out) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    size_t at = line.find(" hex=");
    if (line.find(" inject ") == std::string::npos || at == std::string::npos) continue;
    std::string hex = line.substr(at + 5);
    if (hex.size() % 2 != 0 || hex.size() < 16) continue;  // cut in the log: not replayable
    auto nibble = [](char c) {
      return c >= '0' && c <= '9'   ? c - '0'
             : c >= 'a' && c <= 'f' ? c - 'a' + 10
             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                    : -1;
    };
    Bytes f;
    bool ok = true;
    for (size_t i = 0; i < hex.size() && ok; i += 2) {
      int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
      ok = hi >= 0 && lo >= 0;
      f.push_back(uint8_t(hi << 4 | lo));
    }
    if (ok) out->push_back(std::move(f));
  }
  return true;
}

std::string Hex(const Bytes& b, size_t max) {
  static const char d[] = "0123456789abcdef";
  std::string s;
  size_t n = std::min(b.size(), max);
  s.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    s += d[b[i] >> 4];
    s += d[b[i] & 15];
  }
  if (n < b.size()) s += "...";
  return s;
}

}  // namespace hostile
