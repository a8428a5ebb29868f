// Voice choice: list format, the play phase's share, repeats avoided.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "VoiceChoice.h"

using vesk::SplitVoiceList;
using vesk::VoiceChooser;

TEST(VoiceList, Splitting) {
  const struct {
    const char* text;
    std::vector<std::string> want;
  } cases[] = {
      {"", {}},
      {"a.wav", {"a.wav"}},
      {"a.wav,b.wav", {"a.wav", "b.wav"}},
      {"a.wav,b.wav,", {"a.wav", "b.wav"}},  // empty remainder: no entry
      {" a.wav , b.wav ", {"a.wav", "b.wav"}},
      {"a.wav,,b.wav", {"a.wav", "", "b.wav"}},
      {",", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitVoiceList(c.text), c.want) << c.text;
}

namespace {

struct ChoiceFixture : ::testing::Test {
  std::deque<unsigned> draws;
  std::set<std::string> files{"G\\sound\\a.wav", "G\\sound\\b.wav", "G\\sound\\c.wav"};
  VoiceChooser chooser;
  VoiceChooser::Random random = [this]() {
    unsigned v = draws.empty() ? 0 : draws.front();
    if (!draws.empty()) draws.pop_front();
    return v;
  };
  VoiceChooser::Exists exists = [this](const std::string& p) { return files.count(p) != 0; };
  std::string Choose(const std::vector<std::string>& list, int phase, std::initializer_list<unsigned> r,
                     int range = 30) {
    draws.assign(r.begin(), r.end());
    std::string path;
    bool ok = chooser.Choose(list, phase, range, "G\\sound", random, exists, path);
    EXPECT_EQ(ok, !path.empty());
    return path;
  }
};

}  // namespace

TEST_F(ChoiceFixture, PicksAtRandomAndAvoidsTheLastVoice) {
  std::vector<std::string> abc{"a.wav", "b.wav", "c.wav"};
  EXPECT_EQ(Choose(abc, 3, {4}), "G\\sound\\b.wav");  // 4 % 3 = entry 2
  EXPECT_EQ(Choose(abc, 3, {1}), "G\\sound\\c.wav");  // b again: the next one
  EXPECT_EQ(Choose(abc, 3, {2}), "G\\sound\\a.wav");  // c again: wraps to the first
  EXPECT_EQ(chooser.LastVoice(), "G\\sound\\a.wav");
  // The next entry is missing: nothing.
  files.erase("G\\sound\\b.wav");
  EXPECT_EQ(Choose(abc, 3, {0}), "");
  EXPECT_EQ(Choose(abc, 3, {1}), "");  // chosen file missing
  // A one-entry list never repeats itself, but may speak after another voice.
  EXPECT_EQ(Choose({"c.wav"}, 3, {0}), "G\\sound\\c.wav");
  EXPECT_EQ(Choose({"c.wav"}, 3, {0}), "");
  EXPECT_EQ(Choose({}, 3, {0}), "");
  EXPECT_EQ(Choose({"", "a.wav"}, 3, {0}), "");
}

TEST_F(ChoiceFixture, BiddingRepeatsWithoutRemembering) {
  EXPECT_EQ(Choose({"a.wav"}, 5, {0}), "G\\sound\\a.wav");
  EXPECT_EQ(Choose({"a.wav"}, 5, {0}), "G\\sound\\a.wav");
  EXPECT_EQ(chooser.LastVoice(), "");
}

TEST_F(ChoiceFixture, PlayPhaseSpeaksOnlyWithinTheRange) {
  std::vector<std::string> abc{"a.wav", "b.wav", "c.wav"};
  EXPECT_EQ(Choose(abc, 7, {31, 0}), "");                  // 31 > 30
  EXPECT_EQ(Choose(abc, 7, {130, 0}), "G\\sound\\a.wav");  // 130 % 100 = 30
  EXPECT_EQ(Choose(abc, 7, {99, 1}, 100), "G\\sound\\b.wav");
  EXPECT_EQ(Choose(abc, 7, {0, 2}, -1), "");
}
