// NET_MSG_HEADER framing shared by the client socket and the table-server peer.
// Wire format, little-endian, no padding:
//   +0 u32 id      bit 31: a reply (request id | 0x80000000) or the fatal message 0xFFFFFFFF,
//                  the header then carries the status word; bit 30: the body is compressed
//   +4 u32 length  body bytes behind the header
//   +8 u32 status  only when bit 31 of id is set
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace netcore {

constexpr uint32_t NET_REPLY_BIT = 0x80000000u;
constexpr uint32_t NET_COMPRESSED_BIT = 0x40000000u;
constexpr uint32_t MSG_FATAL = 0xFFFFFFFFu;
constexpr uint32_t MSG_LOGIN_ALT = 256;
constexpr uint32_t MSG_LOGIN = 512;
constexpr uint32_t MSG_WIRE_CODE = 352;
constexpr uint32_t MSG_P80_HEADER = 1635;
constexpr size_t NET_SHORT_HEADER = 8;
constexpr size_t NET_LONG_HEADER = 12;
// A frame we send (header plus body) may not exceed this.
constexpr size_t NET_SEND_LIMIT = 0x10000;
// Largest body accepted from the server, on the wire and after inflating. The protocol's
// biggest frames (login reply with table data, result lists) stay far below 64 KB; 1 MiB keeps
// ample headroom while a hostile length cannot make the client allocate without bound.
constexpr uint32_t NET_MAX_BODY = 1u << 20;

// Error codes of the socket layer (Windows Sockets codes pass through unchanged).
constexpr int NETERR_SELF_CLOSED = -1;
constexpr int NETERR_WOULDBLOCK = 10035;
constexpr int NETERR_INPROGRESS = 10036;
constexpr int NETERR_TIMEDOUT = 10060;
constexpr int NETERR_CANCELLED = 10200;
constexpr int NETERR_PROXY_CONNECT = 10201;
constexpr int NETERR_PROXY_HANDSHAKE = 10202;
constexpr int NETERR_REPLY_WAIT = 10203;
// A frame from the server broke the protocol (length beyond the bound, bad compressed body,
// malformed transform block). Shown with the generic connection-lost text.
constexpr int NETERR_BAD_FRAME = 10204;
constexpr int NETERR_NONE = 10300;

struct NET_MSG_HEADER {
  uint32_t id = 0;
  uint32_t length = 0;
  uint32_t status = 0;
};

inline uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void WriteU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
inline size_t HeaderSizeForId(uint32_t id) { return (id & NET_REPLY_BIT) ? NET_LONG_HEADER : NET_SHORT_HEADER; }
// The fatal message shares bit 30 by accident of its value: it is never inflated.
inline bool IsCompressedId(uint32_t id) { return id != MSG_FATAL && (id & NET_COMPRESSED_BIT); }

// Reads a header from n bytes; false when fewer bytes than the header needs are given.
bool DecodeHeader(const uint8_t* p, size_t n, NET_MSG_HEADER* out);
// Header plus body in one buffer; the status word is written only for ids with bit 31.
std::vector<uint8_t> BuildFrame(uint32_t id, const void* body, size_t length, uint32_t status = 0);
// Header plus length of a frame buffer, 0 when the buffer cannot hold a header.
size_t FrameTotalSize(const uint8_t* frame, size_t n);
inline const uint8_t* FrameBody(const std::vector<uint8_t>& f) { return f.data() + HeaderSizeForId(ReadU32(f.data())); }

// zlib's uncompress calling convention (QKZip's export has the same shape).
using InflateFn = int (*)(unsigned char* dst, unsigned long* dstLen, const unsigned char* src, unsigned long srcLen);
enum class InflateResult { kOk, kNoInflater, kTooShort, kTooLarge, kFailed };
// Inflates a complete compressed frame: the body is u32 uncompressed length then a zlib stream.
// The result keeps the header with bit 30 cleared and length set to the produced size.
InflateResult InflateFrame(const std::vector<uint8_t>& frame, InflateFn inflate, std::vector<uint8_t>* out,
                           uint32_t maxBody = NET_MAX_BODY);
// The reverse, for the server peer: body becomes u32 length + zlib stream, bit 30 set.
using DeflateFn = int (*)(unsigned char* dst, unsigned long* dstLen, const unsigned char* src, unsigned long srcLen);
bool CompressFrame(const std::vector<uint8_t>& frame, DeflateFn deflate, std::vector<uint8_t>* out);

// String id of the text shown for a connection error, 0 for none.
int ErrorStringId(int code);

// The first frame after a connect on a remapped port: the port asked for and the extra word.
std::vector<uint8_t> BuildP80Header(uint32_t requestedPort, uint32_t extra);

}  // namespace netcore
