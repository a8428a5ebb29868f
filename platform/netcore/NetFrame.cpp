#include "NetFrame.h"

#include <cstring>

namespace netcore {

bool DecodeHeader(const uint8_t* p, size_t n, NET_MSG_HEADER* out) {
  if (n < NET_SHORT_HEADER) return false;
  NET_MSG_HEADER h;
  h.id = ReadU32(p);
  h.length = ReadU32(p + 4);
  if (h.id & NET_REPLY_BIT) {
    if (n < NET_LONG_HEADER) return false;
    h.status = ReadU32(p + 8);
  }
  *out = h;
  return true;
}

std::vector<uint8_t> BuildFrame(uint32_t id, const void* body, size_t length, uint32_t status) {
  size_t hs = HeaderSizeForId(id);
  std::vector<uint8_t> f(hs + length);
  WriteU32(f.data(), id);
  WriteU32(f.data() + 4, uint32_t(length));
  if (hs == NET_LONG_HEADER) WriteU32(f.data() + 8, status);
  if (length) std::memcpy(f.data() + hs, body, length);
  return f;
}

size_t FrameTotalSize(const uint8_t* frame, size_t n) {
  NET_MSG_HEADER h;
  if (!DecodeHeader(frame, n, &h)) return 0;
  return HeaderSizeForId(h.id) + size_t(h.length);
}

InflateResult InflateFrame(const std::vector<uint8_t>& frame, InflateFn inflate, std::vector<uint8_t>* out,
                           uint32_t maxBody) {
  if (!inflate) return InflateResult::kNoInflater;
  NET_MSG_HEADER h;
  if (!DecodeHeader(frame.data(), frame.size(), &h)) return InflateResult::kTooShort;
  size_t hs = HeaderSizeForId(h.id);
  if (frame.size() - hs < h.length || h.length < 4) return InflateResult::kTooShort;
  uint32_t plain = ReadU32(frame.data() + hs);
  if (plain > maxBody) return InflateResult::kTooLarge;
  std::vector<uint8_t> res(hs + plain);
  unsigned long produced = plain;
  // zlib wants a non-null destination even for an empty result.
  unsigned char dummy = 0;
  unsigned char* dst = plain ? res.data() + hs : &dummy;
  if (inflate(dst, &produced, frame.data() + hs + 4, h.length - 4) != 0 || produced > plain)
    return InflateResult::kFailed;
  res.resize(hs + produced);
  std::memcpy(res.data(), frame.data(), hs);
  WriteU32(res.data(), h.id & ~NET_COMPRESSED_BIT);
  WriteU32(res.data() + 4, uint32_t(produced));
  *out = std::move(res);
  return InflateResult::kOk;
}

bool CompressFrame(const std::vector<uint8_t>& frame, DeflateFn deflate, std::vector<uint8_t>* out) {
  NET_MSG_HEADER h;
  if (!deflate || !DecodeHeader(frame.data(), frame.size(), &h)) return false;
  size_t hs = HeaderSizeForId(h.id);
  if (frame.size() - hs < h.length) return false;
  // zlib's bound for compress: n + n/1000 + 12, rounded up generously.
  unsigned long cap = h.length + h.length / 100 + 64;
  std::vector<uint8_t> res(hs + 4 + cap);
  if (deflate(res.data() + hs + 4, &cap, frame.data() + hs, h.length) != 0) return false;
  res.resize(hs + 4 + cap);
  std::memcpy(res.data(), frame.data(), hs);
  WriteU32(res.data(), h.id | NET_COMPRESSED_BIT);
  WriteU32(res.data() + 4, uint32_t(4 + cap));
  WriteU32(res.data() + hs, h.length);
  *out = std::move(res);
  return true;
}

int ErrorStringId(int code) {
  switch (code) {
    case 0:
    case 10054:
      return 29900;
    case 10061:
      return 29901;
    case 10052:
      return 29902;
    case 10053:
      return 29903;
    case NETERR_PROXY_CONNECT:
      return 29904;
    case NETERR_PROXY_HANDSHAKE:
      return 29905;
    case NETERR_TIMEDOUT:
      return 29907;
    case 11001:
      return 29909;
    case NETERR_CANCELLED:
    case NETERR_SELF_CLOSED:
      return 0;
    default:
      return 29906;
  }
}

std::vector<uint8_t> BuildP80Header(uint32_t requestedPort, uint32_t extra) {
  uint8_t body[8];
  WriteU32(body, requestedPort);
  WriteU32(body + 4, extra);
  return BuildFrame(MSG_P80_HEADER, body, sizeof body);
}

}  // namespace netcore
