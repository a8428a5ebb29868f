// WAVE checks: what reaches a sound buffer is PCM and lies inside the file.
#include <gtest/gtest.h>

#include "WaveCore.h"
#include "WaveTestUtil.h"

using namespace wavetest;
using vesk::ParseWave;
using vesk::WaveInfo;
using vesk::WaveResult;

TEST(WaveParse, FindsFormatAndSamples) {
  std::vector<uint8_t> c;
  Chunk(c, "LIST", {'I', 'N', 'F', 'O', 'x'});  // odd size: padded, skipped
  Chunk(c, "fmt ", Fmt(1, 2, 44100, 16, 0));    // 16-byte format block
  Chunk(c, "fact", {1, 2, 3, 4});
  Chunk(c, "data", std::vector<uint8_t>(400, 7));
  auto w = Riff(c);
  WaveInfo info;
  ASSERT_EQ(ParseWave(w.data(), w.size(), info), WaveResult::Ok);
  EXPECT_EQ(info.format.channels, 2);
  EXPECT_EQ(info.format.samplesPerSec, 44100u);
  EXPECT_EQ(info.format.blockAlign, 4);
  EXPECT_EQ(info.format.cbSize, 0);
  EXPECT_EQ(info.dataSize, 400u);
  EXPECT_EQ(w[info.dataOffset], 7);
  EXPECT_EQ(w.size(), info.dataOffset + info.dataSize);
}

TEST(WaveParse, RiffSizeLargerThanFileStillReadsWholeChunks) {
  auto w = SimpleWave();
  auto big = Riff(std::vector<uint8_t>(w.begin() + 12, w.end()), 0x7FFFFFF0);
  WaveInfo info;
  EXPECT_EQ(ParseWave(big.data(), big.size(), info), WaveResult::Ok);
}

TEST(WaveParse, RejectsBadFiles) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    WaveResult want;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}, WaveResult::NotRiff});
  {
    auto w = SimpleWave();
    w[8] = 'X';
    cases.push_back({"form not WAVE", w, WaveResult::NotRiff});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "data", std::vector<uint8_t>(8));
    cases.push_back({"no fmt", Riff(c), WaveResult::NoFormat});
  }
  {
    std::vector<uint8_t> c;
    auto f = Fmt();
    f.resize(14);
    Chunk(c, "fmt ", f);
    Chunk(c, "data", std::vector<uint8_t>(8));
    cases.push_back({"fmt too short", Riff(c), WaveResult::ShortFormat});
  }
  const struct {
    const char* what;
    std::vector<uint8_t> fmt;
    WaveResult want;
  } formats[] = {
      {"ADPCM", Fmt(2), WaveResult::NotPcm},           {"float", Fmt(3, 1, 22050, 32), WaveResult::NotPcm},
      {"extensible", Fmt(0xFFFE), WaveResult::NotPcm}, {"no channels", Fmt(1, 0), WaveResult::BadPcm},
      {"six channels", Fmt(1, 6), WaveResult::BadPcm}, {"24 bits", Fmt(1, 1, 22050, 24), WaveResult::BadPcm},
      {"rate 0", Fmt(1, 1, 0), WaveResult::BadPcm},
  };
  for (const auto& f : formats) {
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", f.fmt);
    Chunk(c, "data", std::vector<uint8_t>(8));
    cases.push_back({f.what, Riff(c), f.want});
  }
  {
    auto f = Fmt();
    f[12] = 3;  // block align that does not match channels * bytes
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", f);
    Chunk(c, "data", std::vector<uint8_t>(8));
    cases.push_back({"wrong block align", Riff(c), WaveResult::BadPcm});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", Fmt());
    cases.push_back({"no data", Riff(c), WaveResult::NoData});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "data", std::vector<uint8_t>(8));
    Chunk(c, "fmt ", Fmt());
    cases.push_back({"data before fmt", Riff(c), WaveResult::NoData});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", Fmt());
    Chunk(c, "data", {});
    cases.push_back({"empty data", Riff(c), WaveResult::EmptyData});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", Fmt());
    Chunk(c, "data", std::vector<uint8_t>(100), 0xFFFFFFF0);
    cases.push_back({"data size past the end", Riff(c), WaveResult::DataOutside});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", Fmt());
    Chunk(c, "data", std::vector<uint8_t>(100), 101);
    cases.push_back({"data one byte too long", Riff(c), WaveResult::DataOutside});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "fmt ", Fmt(), 0x10000);
    cases.push_back({"fmt size past the end", Riff(c), WaveResult::DataOutside});
  }
  {
    std::vector<uint8_t> c;
    Chunk(c, "junk", std::vector<uint8_t>(4), 0xFFFFFFFF);
    Chunk(c, "fmt ", Fmt());
    cases.push_back({"huge chunk before fmt", Riff(c), WaveResult::NoFormat});
  }
  {
    // The RIFF chunk says it ends before the data: its chunks are cut there.
    auto w = SimpleWave();
    auto cut = Riff(std::vector<uint8_t>(w.begin() + 12, w.end()), 4 + 8 + 18 + 8 + 10);
    cases.push_back({"data past the RIFF end", cut, WaveResult::DataOutside});
  }
  for (const Case& c : cases) {
    WaveInfo info;
    EXPECT_EQ(ParseWave(c.bytes.data(), c.bytes.size(), info), c.want) << c.what;
    EXPECT_EQ(info.dataSize, 0u) << c.what;
  }
  WaveInfo info;
  EXPECT_EQ(ParseWave(nullptr, 100, info), WaveResult::NotRiff);
}

TEST(WaveParse, EveryTruncationFailsCleanly) {
  auto w = SimpleWave(10);
  for (size_t n = 0; n < w.size(); ++n) {
    std::vector<uint8_t> cut(w.begin(), w.begin() + n);  // own buffer: ASan sees overreads
    WaveInfo info;
    EXPECT_NE(ParseWave(cut.data(), cut.size(), info), WaveResult::Ok) << n;
  }
}
