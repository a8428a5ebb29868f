// The complaint dialogs' rules: records hold only what a frame holds, the countdown and the
// keep-alive period, and the outcome texts by dialog, code and whether one complained.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "IndictRules.h"

namespace {
std::vector<uint8_t> Frame(uint32_t id, std::vector<uint32_t> words, uint32_t status = 0) {
  const size_t head = (id & 0x80000000u) ? 12 : 8;
  std::vector<uint8_t> f(head + 4 * words.size());
  const uint32_t len = uint32_t(4 * words.size());
  std::memcpy(&f[0], &id, 4);
  std::memcpy(&f[4], &len, 4);
  if (head == 12) std::memcpy(&f[8], &status, 4);
  for (size_t i = 0; i < words.size(); ++i) std::memcpy(&f[head + 4 * i], &words[i], 4);
  return f;
}
}  // namespace

TEST(GameDialogsIndict, RecordsTakeOnlyTheFramesBytes) {
  struct Case {
    std::vector<uint8_t> frame;
    size_t want;
    std::vector<uint32_t> wordsAfterHeader;  // expected words at the record's body
    size_t head;
  } cases[] = {
      {Frame(0x80012047, {15000, 3000}), indict::PROMPT_RECORD, {15000, 3000}, 12},
      // A short prompt leaves the keep-alive word zero instead of reading past the frame.
      {Frame(0x80012047, {15000}), indict::PROMPT_RECORD, {15000, 0}, 12},
      {Frame(0x245, {200, 300, 1, 2}), indict::FEE_RECORD, {200, 300, 1, 2}, 8},
      {Frame(0x245, {200}), indict::FEE_RECORD, {200, 0, 0, 0}, 8},
  };
  for (const Case& c : cases) {
    uint8_t out[32];
    std::memset(out, 0xAB, sizeof out);
    ASSERT_TRUE(indict::CopyFrameHead(c.frame.data(), out, c.want));
    for (size_t i = 0; i < c.wordsAfterHeader.size(); ++i)
      EXPECT_EQ(indict::ReadWord(out, c.head + 4 * i), c.wordsAfterHeader[i]) << i;
    EXPECT_EQ(out[c.want], 0xAB) << "wrote past the record";
  }
  uint8_t out[20];
  EXPECT_FALSE(indict::CopyFrameHead(nullptr, out, sizeof out));
}

TEST(GameDialogsIndict, CountdownAndKeepAlive) {
  auto f = Frame(0x80012047, {15000, 200});
  indict::Prompt p = indict::ReadPrompt(f.data());
  EXPECT_EQ(p.seconds, 15);
  EXPECT_EQ(p.keepAliveMs, 1000u) << "a period below a second floods the server";
  f = Frame(0x80012047, {999, 30000});
  p = indict::ReadPrompt(f.data());
  EXPECT_EQ(p.seconds, 0);
  EXPECT_EQ(p.keepAliveMs, 30000u);
  // "本窗口&15秒后将自动关闭"
  EXPECT_EQ(indict::CountdownText(15),
            "\xB1\xBE\xB4\xB0\xBF\xDA&15\xC3\xEB\xBA\xF3\xBD\xAB\xD7\xD4\xB6\xAF\xB9\xD8\xB1\xD5");
}

TEST(GameDialogsIndict, OutcomeTexts) {
  // "由于达到投诉次数的上限，投诉失败，" and "由于有人投诉但次数达到上限，投诉失败，"
  const std::string ownLimit = "\xD3\xC9\xD3\xDA\xB4\xEF\xB5\xBD";
  const std::string otherLimit = "\xD3\xC9\xD3\xDA\xD3\xD0\xC8\xCB\xCD\xB6\xCB\xDF\xB5\xAB\xB4\xCE\xCA\xFD";
  EXPECT_NE(indict::ResultText(false, 7, true).find(ownLimit), std::string::npos);
  EXPECT_NE(indict::ResultText(false, 7, false).find(otherLimit), std::string::npos);
  // Every farmer's failure ends with "游戏将退出。", every success and the declarer's texts
  // with the thanks.
  const std::string quit = "\xD3\xCE\xCF\xB7\xBD\xAB\xCD\xCB\xB3\xF6\xA1\xA3";
  for (uint32_t code : {3u, 7u, 9u})
    for (bool complained : {true, false}) {
      std::string t = indict::ResultText(false, code, complained);
      EXPECT_EQ(t.substr(t.size() - quit.size()), quit) << code << complained;
    }
  for (bool wait : {true, false}) EXPECT_NE(indict::ResultText(wait, 0, false).find("Halvorn"), std::string::npos);
  EXPECT_NE(indict::ResultText(true, 1, false), indict::ResultText(true, 0, false));
  // The fees are printed "%6d 财富值".
  EXPECT_NE(indict::PromptText(200, 300).find("   200 \xB2\xC6\xB8\xBB\xD6\xB5"), std::string::npos);
}
