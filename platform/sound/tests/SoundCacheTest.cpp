// The sound cache with a fake device: nine voices per sound at most, idle
// sounds dropped at each request, sound off and lost windows.
#include <gtest/gtest.h>

#include <map>

#include "SoundCacheCore.h"

using vesk::SoundCache;
using vesk::SoundPlayResult;
using vesk::SoundVoices;

namespace {

// A fake device: voices "play" until the test stops them.
struct FakeDevice {
  int loads = 0;
  bool failLoads = false;
  std::map<std::string, std::vector<bool>*> playing;  // by key, of the live entries
};

class FakeVoices : public SoundVoices {
 public:
  FakeVoices(FakeDevice& d, std::string key) : dev_(d), key_(std::move(key)), on_(1 + vesk::kSoundDuplicates) {
    dev_.playing[key_] = &on_;
  }
  ~FakeVoices() override { dev_.playing.erase(key_); }
  size_t VoiceCount() const override { return on_.size(); }
  bool IsVoicePlaying(size_t v) const override { return on_[v]; }
  bool PlayVoice(size_t v, uint32_t flags) override {
    on_[v] = true;
    lastFlags = flags;
    return true;
  }
  uint32_t lastFlags = 0;

 private:
  FakeDevice& dev_;
  std::string key_;
  std::vector<bool> on_;
};

struct CacheFixture : ::testing::Test {
  FakeDevice dev;
  SoundCache cache;
  SoundCache::Loader loader = [this](const std::string& key) -> std::unique_ptr<SoundVoices> {
    ++dev.loads;
    if (dev.failLoads) return nullptr;
    return std::make_unique<FakeVoices>(dev, key);
  };
  SoundPlayResult Play(const std::string& key, bool on = true, bool usable = true) {
    return cache.Play(key, 0, on, usable, loader);
  }
  void StopAll(const std::string& key) {
    for (size_t i = 0; i < dev.playing.at(key)->size(); ++i) (*dev.playing.at(key))[i] = false;
  }
};

}  // namespace

TEST_F(CacheFixture, NineOverlappingStartsThenTheTenthIsDropped) {
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Play("C:\\snd\\a.wav"), SoundPlayResult::Played) << i;
  EXPECT_EQ(dev.loads, 1);  // loaded once, played from nine buffers
  EXPECT_EQ(Play("c:\\SND\\A.WAV"), SoundPlayResult::AllBusy);
  EXPECT_EQ(dev.loads, 1);
  EXPECT_EQ(cache.Size(), 1u);
  // One voice ends: the next start takes it.
  (*dev.playing.at("C:\\snd\\a.wav"))[4] = false;
  EXPECT_EQ(Play("C:\\snd\\a.wav"), SoundPlayResult::Played);
  EXPECT_TRUE((*dev.playing.at("C:\\snd\\a.wav"))[4]);
}

TEST_F(CacheFixture, IdleEntriesAreDroppedAtTheNextRequest) {
  Play("a");
  Play("b");
  Play("c");
  EXPECT_EQ(cache.Size(), 3u);
  StopAll("a");
  StopAll("c");
  Play("b");  // a and c dropped; b still plays and is reused
  EXPECT_EQ(cache.Size(), 1u);
  EXPECT_EQ(dev.loads, 3);
  EXPECT_EQ(dev.playing.count("a"), 0u);
  // A dropped sound is loaded again when asked for.
  Play("a");
  EXPECT_EQ(dev.loads, 4);
}

TEST_F(CacheFixture, SoundOffOnlyDropsIdleEntries) {
  Play("a");
  Play("b");
  StopAll("a");
  EXPECT_EQ(Play("b", false), SoundPlayResult::SoundOff);
  EXPECT_EQ(cache.Size(), 1u);
  EXPECT_EQ(Play("new", false), SoundPlayResult::SoundOff);
  EXPECT_EQ(dev.loads, 2);
  EXPECT_EQ(cache.Find("new"), nullptr);
}

TEST_F(CacheFixture, EntryWithoutWindowIsRemovedAndFailedLoadsAreNotCached) {
  Play("a");
  EXPECT_EQ(Play("A", true, false), SoundPlayResult::NotUsable);
  EXPECT_EQ(cache.Size(), 0u);
  dev.failLoads = true;
  EXPECT_EQ(Play("b"), SoundPlayResult::LoadFailed);
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_EQ(cache.Play("c", 0, true, true, nullptr), SoundPlayResult::LoadFailed);
}

TEST(SoundKeys, CompareWithoutCaseButDoubleByteCharactersExactly) {
  using vesk::SoundKeysEqual;
  EXPECT_TRUE(SoundKeysEqual("C:\\Game\\Sound\\X.WAV", "c:\\game\\sound\\x.wav"));
  EXPECT_FALSE(SoundKeysEqual("a.wav", "a.wa"));
  // "\xB0\x41" and "\xB0\x61" are different characters, not different cases.
  EXPECT_FALSE(SoundKeysEqual("\xB0\x41.wav", "\xB0\x61.wav"));
  EXPECT_TRUE(SoundKeysEqual("\xB0\x41.WAV", "\xB0\x41.wav"));
  EXPECT_EQ(vesk::ResourceSoundKey(0x7FF600000000ull, 189), "140694538682368_189");
  EXPECT_NE(vesk::ResourceSoundKey(1, 11), vesk::ResourceSoundKey(11, 1));
}
