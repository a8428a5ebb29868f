#include <gtest/gtest.h>

#include <deque>

#include "FrameAssembler.h"
#include "WireTransform.h"

using namespace netcore;

namespace {

// A stream that hands out its bytes in scripted chunk sizes, with would-block and error turns,
// and records every request so a test can see no read crossed a frame.
class ScriptSource : public IByteSource {
 public:
  explicit ScriptSource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
  std::deque<long> script;  // >0 chunk limit, -1 would block, -2 error 10054; empty: all asked
  std::vector<size_t> asked;
  CWireTransform* transform = nullptr;  // applied to each chunk, as the socket's Receive does

  long Read(uint8_t* buf, size_t max, int* error) override {
    asked.push_back(max);
    long turn = script.empty() ? long(max) : script.front();
    if (!script.empty()) script.pop_front();
    if (turn == -1) {
      *error = NETERR_WOULDBLOCK;
      return -1;
    }
    if (turn == -2) {
      *error = 10054;
      return -1;
    }
    size_t n = std::min({size_t(turn), max, m_bytes.size() - m_pos});
    if (n == 0) return 0;
    std::copy(m_bytes.begin() + long(m_pos), m_bytes.begin() + long(m_pos + n), buf);
    if (transform) transform->Apply(buf, n);
    m_pos += n;
    return long(n);
  }
  size_t Position() const { return m_pos; }

 private:
  std::vector<uint8_t> m_bytes;
  size_t m_pos = 0;
};

std::vector<uint8_t> Cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(FrameAssembler, NeverReadsPastAFrame) {
  auto f1 = BuildFrame(0x210, "abcdef", 6);
  auto f2 = BuildFrame(0x80000211, "xy", 2, 5);
  auto f3 = BuildFrame(0x212, nullptr, 0);
  ScriptSource src(Cat(Cat(f1, f2), f3));
  CFrameAssembler as;
  int err = 0;
  // First read is limited to the 8 header bytes, the second to the rest of the frame.
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kIncomplete);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kFrame);
  EXPECT_EQ(src.Position(), f1.size());
  EXPECT_EQ(as.TakeFrame(), f1);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kIncomplete);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kFrame) << "reply header plus body in one read";
  EXPECT_EQ(as.TakeFrame(), f2);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kFrame) << "an empty body completes with the header";
  EXPECT_EQ(as.TakeFrame(), f3);
  EXPECT_EQ(src.asked, (std::vector<size_t>{8, 6, 8, 6, 8}));
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kClosed);
}

TEST(FrameAssembler, ChunkSizesDoNotMatter) {
  auto f1 = BuildFrame(0x210, "0123456789", 10);
  auto f2 = BuildFrame(0x80000213, "ABCDEFGHIJ", 10, 1);
  auto stream = Cat(f1, f2);
  for (long chunk : {1L, 3L, 5L, 7L, 13L}) {
    ScriptSource src(stream);
    for (int i = 0; i < 100; ++i) src.script.push_back(chunk);
    CFrameAssembler as;
    std::vector<std::vector<uint8_t>> got;
    int err = 0;
    for (int i = 0; i < 100 && got.size() < 2; ++i)
      if (as.ReadOnce(src, &err) == CFrameAssembler::kFrame) got.push_back(as.TakeFrame());
    ASSERT_EQ(got.size(), 2u) << chunk;
    EXPECT_EQ(got[0], f1);
    EXPECT_EQ(got[1], f2);
    for (size_t a : src.asked) EXPECT_LE(a, 14u) << "at most the rest of a frame";
  }
}

TEST(FrameAssembler, WouldBlockAndErrorsLeaveCountUnchanged) {
  auto f = BuildFrame(0x210, "abcdef", 6);
  ScriptSource src(f);
  src.script = {5, -1, 3, -2};
  CFrameAssembler as;
  int err = 0;
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kIncomplete);
  EXPECT_EQ(as.Held(), 5u);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kWouldBlock);
  EXPECT_EQ(err, NETERR_WOULDBLOCK);
  EXPECT_EQ(as.Held(), 5u);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kIncomplete);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kError);
  EXPECT_EQ(err, 10054);
  EXPECT_EQ(as.Held(), 8u);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kFrame);
  EXPECT_EQ(as.TakeFrame(), f);
}

TEST(FrameAssembler, LengthBeyondBoundStopsReading) {
  uint8_t hdr[8];
  WriteU32(hdr, 0x210);
  WriteU32(hdr + 4, NET_MAX_BODY + 1);
  ScriptSource src(std::vector<uint8_t>(hdr, hdr + 8));
  CFrameAssembler as;
  int err = 0;
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kTooLong);
  EXPECT_EQ(as.NextReadSize(), 0u);
  EXPECT_EQ(as.ReadOnce(src, &err), CFrameAssembler::kTooLong);
  EXPECT_EQ(src.asked.size(), 1u) << "nothing more is read from a stream that lied";

  // Exactly at the bound is fine.
  CFrameAssembler small(16);
  CFrameAssembler::Status st;
  WriteU32(hdr + 4, 16);
  EXPECT_EQ(small.Append(hdr, 8, &st), 8u);
  EXPECT_EQ(st, CFrameAssembler::kIncomplete);
  EXPECT_EQ(small.NextReadSize(), 16u);
}

TEST(FrameAssembler, AppendTakesOnlyTheCurrentFrame) {
  auto f1 = BuildFrame(0x210, "abc", 3);
  auto f2 = BuildFrame(0x211, "de", 2);
  auto all = Cat(f1, f2);
  CFrameAssembler as;
  CFrameAssembler::Status st;
  size_t used = as.Append(all.data(), all.size(), &st);
  EXPECT_EQ(used, 8u);
  used += as.Append(all.data() + used, all.size() - used, &st);
  EXPECT_EQ(used, f1.size());
  EXPECT_EQ(st, CFrameAssembler::kFrame);
  EXPECT_EQ(as.Append(all.data() + used, 1, &st), 0u) << "a held frame takes no more bytes";
  EXPECT_EQ(as.TakeFrame(), f1);
}

// The receive transform is installed after the MSG_WIRE_CODE frame; because no read crosses
// that frame's end, the very next byte is the first one transformed.
TEST(FrameAssembler, TransformSwitchesExactlyBetweenFrames) {
  WireCode code;
  code.recvState = 0x1234;
  code.recv = CWireProgram({{WIRE_ADD, 0xCAFE}, {WIRE_XOR, 0x77}});
  auto body = BuildWireCodeBody(code);
  auto wire = BuildFrame(MSG_WIRE_CODE, body.data(), body.size());
  auto next = BuildFrame(0x80000200, "after", 5, 1);
  auto sealed = next;
  uint32_t st = code.recvState;
  code.recv.Inverse().Apply(sealed.data(), sealed.size(), &st);  // what the server sends

  ScriptSource src(Cat(wire, sealed));
  CWireTransform recv;
  src.transform = &recv;
  CFrameAssembler as;
  int err = 0;
  std::vector<uint8_t> f;
  for (int i = 0; i < 10 && !as.HasFrame(); ++i) as.ReadOnce(src, &err);
  f = as.TakeFrame();
  ASSERT_EQ(f, wire);
  WireCode got;
  ASSERT_TRUE(ParseWireCode(FrameBody(f), f.size() - 8, &got));
  recv.Install(got.recv, got.recvState);
  for (int i = 0; i < 10 && !as.HasFrame(); ++i) as.ReadOnce(src, &err);
  EXPECT_EQ(as.TakeFrame(), next);
}
