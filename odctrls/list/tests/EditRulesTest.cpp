// The in-place editor's rules: the opening key, the drop button, the end of an edit.
#include "EditRules.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace odlist;

namespace {

TEST(EditRules, OpeningKeyDecidesTheStartingText) {
  struct Case {
    unsigned key;
    StartAction expected;
  } cases[] = {
      {1, StartAction::CaretAtEnd},        {13, StartAction::CaretAtEnd},     {8, StartAction::CaretAtEndBackspace},
      {9, StartAction::SelectAll},         {32, StartAction::SelectAll},      {33, StartAction::SelectAll},
      {40, StartAction::SelectAll},        {41, StartAction::ReplaceWithKey}, {'a', StartAction::ReplaceWithKey},
      {0xB0, StartAction::ReplaceWithKey}, {0, StartAction::ReplaceWithKey},
  };
  for (const Case& c : cases) EXPECT_EQ(StartActionFor(c.key), c.expected) << "key " << c.key;
}

TEST(EditRules, DropButtonNeedsMoreThanTenPixelsOverTheHeight) {
  struct Case {
    int width, height;
    bool fits;
  } cases[] = {{30, 20, false}, {31, 20, true}, {10, 0, false}, {11, 0, true}, {100, -1, false}};
  for (const Case& c : cases) EXPECT_EQ(DropButtonFits(c.width, c.height), c.fits) << c.width << "x" << c.height;
}

TEST(EditRules, EscapeAndAVetoDiscardTheText) {
  EXPECT_TRUE(ShouldCommit(0, 13));
  EXPECT_TRUE(ShouldCommit(0, 9));
  EXPECT_FALSE(ShouldCommit(0, 27));
  EXPECT_FALSE(ShouldCommit(1, 13));
  for (unsigned key : {9u, 13u, 27u}) EXPECT_TRUE(IsEndingKey(key));
  EXPECT_FALSE(IsEndingKey('a'));
}

TEST(EditRules, ReplyTextKeepsDoubleByteCharactersWhole) {
  std::string text(300, 'x');
  EXPECT_EQ(BoundedTextLength(text.c_str(), (int)text.size(), 256), 255);
  std::string gbk(254, 'x');
  gbk += "\xB5\xDA";  // a two-byte character across the 255th byte
  EXPECT_EQ(BoundedTextLength(gbk.c_str(), (int)gbk.size(), 256), 254);
  EXPECT_EQ(BoundedTextLength("ab", 2, 256), 2);
  EXPECT_EQ(BoundedTextLength(nullptr, 2, 256), 0);
  EXPECT_EQ(BoundedTextLength("ab", 2, 1), 0);
}

TEST(EditRules, TitleTipFadeSteps) {
  struct Case {
    int alpha, next;
    bool stop;
  } cases[] = {{255, 0, true}, {0, 10, false}, {240, 250, false}, {250, 255, true}, {245, 255, true}, {-3, 10, false}};
  for (const Case& c : cases) {
    const TipAlphaStep s = NextTipAlpha(c.alpha);
    EXPECT_EQ(s.alpha, c.next) << c.alpha;
    EXPECT_EQ(s.stop, c.stop) << c.alpha;
  }
}

}  // namespace
