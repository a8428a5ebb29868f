// The hostile frames are what the relay says they are: noise is always whole, well-formed
// frames (so the game's stream stays in step), each blow is refused by the client's own
// framing code for the reason it is meant to exercise, and a seed replays byte for byte.
#include <gtest/gtest.h>

#include <map>

#include "FrameAssembler.h"
#include "HostileFrames.h"
#include "ZlibAdapter.h"
#include "NetFrame.h"
#include "SystemMessages.h"
#include "ZlibAdapter.h"
#include "WireTransform.h"

using namespace hostile;

namespace {

netcore::CFrameAssembler::Status Assemble(const Bytes& b, Bytes* frame) {
  netcore::CFrameAssembler as;
  size_t off = 0;
  netcore::CFrameAssembler::Status st = netcore::CFrameAssembler::kIncomplete;
  while (off < b.size()) {
    off += as.Append(b.data() + off, b.size() - off, &st);
    if (st == netcore::CFrameAssembler::kFrame) {
      *frame = as.TakeFrame();
      return off == b.size() ? st : netcore::CFrameAssembler::kError;
    }
    if (st == netcore::CFrameAssembler::kTooLong) return st;
  }
  return st;
}

}  // namespace

TEST(HostileFrames, NoiseFramesAreWholeAndSeedsRepeat) {
  CNoise a(7), b(7);
  Bytes real = netcore::BuildFrame(0x12010, "\x01\x00\x00\x00\x05\x00\x00\x00", 8);
  a.Remember(real);
  b.Remember(real);
  std::map<std::string, int> kinds;
  for (int i = 0; i < 500; ++i) {
    std::string ka, kb;
    Bytes fa = a.Next(&ka), fb = b.Next(&kb);
    ASSERT_EQ(fa, fb);
    ASSERT_EQ(ka, kb);
    ++kinds[ka];
    Bytes frame;
    ASSERT_EQ(Assemble(fa, &frame), netcore::CFrameAssembler::kFrame) << i;
    uint32_t id = netcore::ReadU32(fa.data());
    EXPECT_NE(id, sysmsg::MSG_FATAL);
    EXPECT_NE(id, sysmsg::MSG_WIRE_CODE);
    EXPECT_NE(id, sysmsg::MSG_KICKED);
  }
  EXPECT_GT(kinds["random"], 0);
  EXPECT_GT(kinds["replay"], 0);
  EXPECT_GT(kinds["mutated"], 0);
}

TEST(HostileFrames, EachBlowIsRefusedForItsReason) {
  CNoise n(3);
  Bytes frame;
  EXPECT_EQ(Assemble(n.MakeBlow(Blow::kOversize), &frame), netcore::CFrameAssembler::kTooLong);

  for (Blow b : {Blow::kBadZip, Blow::kZipBomb}) {
    ASSERT_EQ(Assemble(n.MakeBlow(b), &frame), netcore::CFrameAssembler::kFrame) << BlowName(b);
    Bytes out;
    auto r = netcore::InflateFrame(frame, netcore::ZlibUncompress, &out);
    EXPECT_EQ(r, b == Blow::kZipBomb ? netcore::InflateResult::kTooLarge : netcore::InflateResult::kFailed)
        << BlowName(b);
  }

  ASSERT_EQ(Assemble(n.MakeBlow(Blow::kWireCode), &frame), netcore::CFrameAssembler::kFrame);
  netcore::WireCode code;
  EXPECT_FALSE(netcore::ParseWireCode(frame.data() + 8, frame.size() - 8, &code));

  EXPECT_EQ(Assemble(n.MakeBlow(Blow::kTruncated), &frame), netcore::CFrameAssembler::kIncomplete);
  EXPECT_EQ(netcore::ReadU32(n.MakeBlow(Blow::kFatal).data()), sysmsg::MSG_FATAL);
}

TEST(HostileFrames, BlowNamesRoundTrip) {
  for (const char* name : {"oversize", "badzip", "zipbomb", "wirecode", "fatal", "kicked", "truncated"})
    EXPECT_STREQ(BlowName(BlowFromName(name)), name);
  EXPECT_EQ(BlowFromName("nonsense"), Blow::kNone);
  EXPECT_TRUE(BlowClosesConnection(Blow::kZipBomb));
  EXPECT_FALSE(BlowClosesConnection(Blow::kFatal));
}
