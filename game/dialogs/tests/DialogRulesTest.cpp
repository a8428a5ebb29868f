#include <gtest/gtest.h>

#include "DialogRules.h"

using namespace dialogs;

TEST(ExitRules, ChoicesByFlags) {
  struct Case {
    int ask, trust;
    bool askV, forceV, trustV, trustText;
  } cases[] = {
      {1, 0, true, true, false, false},
      {0, 0, false, true, false, false},
      {1, 1, false, false, true, true},  // trusteeship hides ask and force whatever ask says
      {0, 1, false, false, true, true},
  };
  for (const Case& c : cases) {
    ExitChoices e = ExitButtons(c.ask, c.trust);
    EXPECT_EQ(e.ask, c.askV) << c.ask << c.trust;
    EXPECT_EQ(e.force, c.forceV) << c.ask << c.trust;
    EXPECT_EQ(e.trust, c.trustV) << c.ask << c.trust;
    EXPECT_EQ(e.trustText, c.trustText) << c.ask << c.trust;
    EXPECT_TRUE(e.cancel);
  }
}

TEST(ExitRules, ResultIsTheChoiceOrCancel) {
  for (int id : {1003, 1004, 1028, 1152}) EXPECT_EQ(ExitResultFor(id), id);
  for (int id : {0, 1, 2, 1017, -1}) EXPECT_EQ(ExitResultFor(id), 1152);
}

TEST(WaitRules, WidthHasAFloorOf200) {
  EXPECT_EQ(LayOutWait(6, 12, false, 80, 22).clientW, 200);  // one character
  EXPECT_EQ(LayOutWait(143, 12, false, 80, 22).clientW, 200);
  EXPECT_EQ(LayOutWait(144, 12, false, 80, 22).clientW, 200);  // 144 + 56
  EXPECT_EQ(LayOutWait(300, 12, false, 80, 22).clientW, 356);
}

TEST(WaitRules, PlacesWithAndWithoutButton) {
  WaitGeometry plain = LayOutWait(300, 12, false, 80, 22);
  EXPECT_EQ(plain.clientH, 48);
  EXPECT_EQ(plain.textY, 14 + 10);
  EXPECT_EQ(plain.iconX, 8);
  EXPECT_EQ(plain.iconY, 14);
  EXPECT_FALSE(plain.button);
  // Without the button the box is 48 high for any text height.
  for (int h : {0, 12, 32, 40, 200}) EXPECT_EQ(LayOutWait(300, h, false, 80, 22).clientH, 48) << h;
  WaitGeometry withButton = LayOutWait(300, 12, true, 80, 22);
  EXPECT_EQ(withButton.clientH, 22 + 56);
  EXPECT_EQ(withButton.buttonY, 48);
  EXPECT_EQ(withButton.buttonX, (356 - 80) / 2);
  // A text taller than the icon keeps clear of the button.
  WaitGeometry tall = LayOutWait(300, 40, true, 80, 22);
  EXPECT_GE(tall.buttonY, tall.textY + 40);
  EXPECT_EQ(tall.clientH, tall.buttonY + 22 + 8);
  // Nonsense sizes do not give negative areas.
  WaitGeometry bad = LayOutWait(-5, -5, true, -1, -1);
  EXPECT_EQ(bad.clientW, 200);
  EXPECT_GE(bad.clientH, 48);
}

TEST(AboutRules, GameLayoutKeepsEverythingInside) {
  Rect4 icon{18, 23, 50, 55}, ok{234, 120, 315, 146};
  AboutPlaces p = LayOutGameAbout(icon, ok, 26, 26, 332, 125);
  EXPECT_EQ(p.icon.top, 38);
  EXPECT_EQ(p.icon.Height(), 32);
  EXPECT_EQ(p.ok.bottom, 120);
  EXPECT_EQ(p.ok.Width(), 81);
  EXPECT_EQ(p.ok.left, (332 - 81) / 2);
  EXPECT_GT(p.text1.left, p.icon.right);
  EXPECT_GE(p.text2.top, p.text1.bottom);
  EXPECT_LE(p.text1.right, 332);
  // Two lines in each text: they rise beside the icon rather than run under the button.
  AboutPlaces two = LayOutGameAbout(Rect4{18, 20, 50, 52}, ok, 38, 38, 332, 125);
  EXPECT_EQ(two.icon.top, 35);
  EXPECT_LE(two.text2.bottom, two.ok.top);
  EXPECT_GE(two.text1.top, 0);
  EXPECT_EQ(two.text2.Height(), 38);
}

TEST(SetupRules, NormalizeBringsValuesIntoRange) {
  SetupValues v;
  EXPECT_FALSE(NormalizeSetup(v));  // the state after construction is already in range
  v.allowWatch = 7;
  v.bkMode = 5;
  v.seatDir = -3;
  v.voice = -1;
  EXPECT_TRUE(NormalizeSetup(v));
  EXPECT_EQ(v.allowWatch, 1);
  EXPECT_EQ(v.bkMode, 0);
  EXPECT_EQ(v.seatDir, 0);
  EXPECT_EQ(v.voice, 1);
  v.bkMode = 2;
  v.seatDir = 1;
  EXPECT_FALSE(NormalizeSetup(v));
  EXPECT_EQ(v.bkMode, 2);
  EXPECT_EQ(v.seatDir, 1);
}

TEST(SetupRules, FolderChecks) {
  struct Case {
    std::string in;
    FolderCheck want;
    std::string cleaned;
  } cases[] = {
      {"C:\\Shots", FolderCheck::Ok, "C:\\Shots"},
      {"  C:\\Shots\\  ", FolderCheck::Ok, "C:\\Shots"},
      {"C:\\", FolderCheck::Ok, "C:\\"},
      {"d:", FolderCheck::Ok, "d:\\"},
      {"\\\\server\\share", FolderCheck::Ok, "\\\\server\\share"},
      // GBK "\xD7\x5C" style: a trail byte equal to a backslash stays with its character
      {"C:\\\x95\x5C", FolderCheck::Ok, "C:\\\x95\x5C"},
      {"C:\\\xBD\xD8\xCD\xBC", FolderCheck::Ok, "C:\\\xBD\xD8\xCD\xBC"},
      {"", FolderCheck::Empty, ""},
      {"   ", FolderCheck::Empty, ""},
      {"Shots", FolderCheck::NotAbsolute, ""},
      {"C:\\a|b", FolderCheck::BadChar, ""},
      {"C:\\a:b", FolderCheck::BadChar, ""},
      {"C:\\a\nb", FolderCheck::BadChar, ""},
      {"C:\\a\xB0", FolderCheck::BadChar, ""},  // cut double-byte character
      {"C:\\" + std::string(257, 'a'), FolderCheck::TooLong, ""},
      {"C:\\" + std::string(256, 'a'), FolderCheck::Ok, "C:\\" + std::string(256, 'a')},
  };
  for (const Case& c : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(CheckFolder(c.in, &out), c.want) << c.in;
    if (c.want == FolderCheck::Ok)
      EXPECT_EQ(out, c.cleaned) << c.in;
    else
      EXPECT_EQ(out, "unchanged") << c.in;
  }
}

TEST(SetupRules, Filters) {
  auto bmp = ParseFilter("Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||");
  ASSERT_EQ(bmp.size(), 2u);
  EXPECT_EQ(bmp[0].first, "Bitmap files (*.bmp)");
  EXPECT_EQ(bmp[0].second, "*.bmp");
  EXPECT_EQ(bmp[1].second, "*.*");
  EXPECT_EQ(FilterBlock("MID files (*.mid)|*.mid||"), std::string("MID files (*.mid)\0*.mid\0\0", 25));
  EXPECT_TRUE(ParseFilter("").empty());
  EXPECT_EQ(FilterBlock(""), std::string("\0", 1));
  EXPECT_EQ(ParseFilter("Label only|").size(), 0u);
  EXPECT_EQ(ParseFilter("A|*.a|B").size(), 1u);         // unpaired tail dropped
  EXPECT_EQ(ParseFilter("A|*.a||B|*.b||").size(), 1u);  // the list ends at the empty label
}
