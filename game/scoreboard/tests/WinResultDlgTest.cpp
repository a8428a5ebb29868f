// The score board as the document drives it: rows per hand, totals, the series' rows,
// read back through the list's messages; its picture with the skinned list and bars.
#include "ResultDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "SkinTestEnv.h"
#include "WinProbe.h"

namespace {

const char kHand1[] =
    "\xB5\xDA"
    "1"
    "\xBE\xD6";  // "第1局"
const char kHand2[] =
    "\xB5\xDA"
    "2"
    "\xBE\xD6";
const char kSeries1[] =
    "\xB5\xDA"
    "1"
    "\xC2\xD6";                                            // "第1轮"
const char kTotal[] = "\xBA\xCF\xBC\xC6";                  // "合计"
const char kFinal[] = "\xD7\xEE\xD6\xD5\xB5\xC3\xB7\xD6";  // "最终得分"
const char kRange[] =
    "\xB5\xDA"
    "1-4"
    "\xBE\xD6";  // "第1-4局"

class ResultDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseSkinTheme();
    const std::string names[4] = {"east", "me", "west", "north"};
    dlg.SetSeats(names, 4, 3);
    ASSERT_TRUE(dlg.CreateHidden(nullptr));
  }
  void TearDown() override {
    if (dlg.GetSafeHwnd()) dlg.DestroyWindow();
  }
  std::vector<std::vector<std::string>> Rows() { return winprobe::ReadListRows(dlg.GetSafeHwnd()); }
  CResultDlg dlg;
};

TEST_F(ResultDlgTest, RowsFollowTheHooksInSeatOrder) {
  EXPECT_EQ(winprobe::ReadListHeader(dlg.GetSafeHwnd()),
            (std::vector<std::string>{"\xBE\xD6\xCA\xFD", "west", "east", "me"}));
  CDocScoreBoard& board = dlg;
  const int hand1[3] = {-1, 2, -1}, hand2[3] = {2, -4, 2}, totals[3] = {1, -2, 1};
  board.AddSeriesRow(0);
  board.RemoveTotalRow();
  board.AddHandRow(0, hand1, 3);
  board.RemoveTotalRow();
  board.AddHandRow(1, hand2, 3);
  board.AddTotalRow(totals, 3);
  using Row = std::vector<std::string>;
  EXPECT_EQ(Rows(), (std::vector<Row>{{kSeries1, "", "", ""},
                                      {kHand1, "      -1", "      -1", "       2"},
                                      {kHand2, "       2", "       2", "      -4"},
                                      {kTotal, "       1", "       1", "      -2"}}));
  // A new total replaces the old one; the series' end replaces the total by the final row.
  board.RemoveTotalRow();
  board.AddFinalRow(totals, 3);
  EXPECT_EQ(Rows().back(), (Row{kFinal, "       1", "       1", "      -2"}));
  EXPECT_EQ(Rows().size(), 4u);
  board.RemoveTotalRow();  // no total row now: nothing goes
  EXPECT_EQ(Rows().size(), 4u);
  board.AddRangeRow(3, totals, 3);
  EXPECT_EQ(Rows().back()[0], kRange);
}

TEST_F(ResultDlgTest, OverflowingRowsBringTheSkinnedBarAndThePictureLooksFinished) {
  CDocScoreBoard& board = dlg;
  board.AddSeriesRow(0);
  for (int h = 0; h < 14; ++h) {
    const int change[3] = {h, -2 * h, h};
    board.AddHandRow(h, change, 3);
  }
  board.ShowScoreBoard(true);
  Pump(300);
  ScrollBarEx* vert = dlg.GetList().GetContainer().GetSkinScrollBar(SB_VERT);
  ASSERT_NE(vert, nullptr);
  EXPECT_TRUE(vert->IsBarVisible());
  EXPECT_TRUE(::IsWindowVisible(vert->GetSafeHwnd()));
  EXPECT_GT(dlg.GetList().GetFirstVisible(), 0) << "shown scrolled to the last row";
  EXPECT_TRUE(SaveScreenPng(dlg.GetSafeHwnd(), "result_board.png"));
  // The list paints the theme's background colour, not the system's.
  WindowPicture pic = Capture(dlg.GetList().GetSafeHwnd());
  EXPECT_GT(pic.w, 0);
}

// The score button: a board the player scrolled back to the top and hid comes up at its
// last row (rows came meanwhile); pressed again it goes.
TEST_F(ResultDlgTest, ScoreButtonShowsTheLastRowThenHides) {
  CDocScoreBoard& board = dlg;
  for (int h = 0; h < 14; ++h) {
    const int change[3] = {h, -h, 0};
    board.AddHandRow(h, change, 3);
  }
  board.ShowScoreBoard(true);
  dlg.GetList().EnsureVisible(0, FALSE);
  Pump(100);
  ASSERT_EQ(dlg.GetList().GetFirstVisible(), 0);
  dlg.ToggleScoreBoard();
  EXPECT_FALSE(::IsWindowVisible(dlg.GetSafeHwnd()));
  const int more[3] = {1, 1, -2};
  board.AddHandRow(14, more, 3);
  dlg.ToggleScoreBoard();
  Pump(100);
  EXPECT_TRUE(::IsWindowVisible(dlg.GetSafeHwnd()));
  const int first = dlg.GetList().GetFirstVisible();
  EXPECT_GT(first, 0) << "shown at the last row, not where it was left";
  EXPECT_TRUE(SaveScreenPng(dlg.GetSafeHwnd(), "result_board_button.png"));
  dlg.ToggleScoreBoard();
  EXPECT_FALSE(::IsWindowVisible(dlg.GetSafeHwnd()));
}

// A first start shows the board centred over the table's frame; after a move and a restart
// it opens where the player left it.
TEST(ResultDlgPlace, FirstCentredOverItsOwnerThenAtTheSavedPlace) {
  UseSkinTheme();
  CWinApp* app = AfxGetApp();
  ASSERT_NE(app, nullptr);
  app->WriteProfileInt("Settings", "ResultDlg-X", 0x7FFF);
  app->WriteProfileInt("Settings", "ResultDlg-Y", 0x7FFF);
  CWnd owner;
  ASSERT_TRUE(
      owner.CreateEx(0, AfxRegisterWndClass(0), "table", WS_POPUP | WS_VISIBLE, CRect(100, 80, 900, 680), nullptr, 0));
  const std::string names[4] = {"east", "me", "west", "north"};
  CRect rc;
  {
    CResultDlg first;
    first.SetSeats(names, 4, 3);
    ASSERT_TRUE(first.CreateHidden(&owner));
    first.ShowScoreBoard(true);
    first.GetWindowRect(&rc);
    EXPECT_LE(std::abs(rc.CenterPoint().x - 500), 1);
    EXPECT_LE(std::abs(rc.CenterPoint().y - 380), 1);
    first.SetWindowPos(nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    first.ShowWindow(SW_HIDE);
    first.ShowScoreBoard(true);
    first.GetWindowRect(&rc);
    EXPECT_EQ(rc.TopLeft(), CPoint(40, 50)) << "shown again, it stays where the player put it";
    first.DestroyWindow();
  }
  CResultDlg again;
  again.SetSeats(names, 4, 3);
  ASSERT_TRUE(again.CreateHidden(&owner));
  again.ShowScoreBoard(true);
  again.GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(40, 50));
  again.DestroyWindow();
  owner.DestroyWindow();
  app->WriteProfileInt("Settings", "ResultDlg-X", 0x7FFF);
  app->WriteProfileInt("Settings", "ResultDlg-Y", 0x7FFF);
}

}  // namespace
