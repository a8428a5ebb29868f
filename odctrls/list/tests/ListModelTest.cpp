// The list's data model: cell records, item masks, options, selection, keys and sort.
#include "ListModel.h"

#include <gtest/gtest.h>

using namespace odlist;

namespace {

ListModel Rows(int rows, uint32_t style = 0, int columns = 3) {
  ListModel m(style);
  for (int c = 0; c < columns; ++c) m.InsertColumn(c, Column());
  for (int r = 0; r < rows; ++r) {
    Item it;
    it.mask = IM_TEXT, it.row = r, it.column = 0, it.text = "r" + std::to_string(r);
    m.InsertItem(it);
  }
  return m;
}

TEST(ListCells, TextsHoldingTheSeparatorNeverShiftLaterCells) {
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"plain", "abc"},
      {"empty but present", ""},
      {"separator", "a|b|"},
      {"GBK trail byte 0x7C", std::string("\xD2\x7C\xB0\x7C", 4)},
      {"looks like a record", "(1,2,3,4,5)x|"},
  };
  for (const auto& c : cases) {
    std::string row = EmptyCells(3, '|');
    Cell in;
    in.hasText = true, in.text = c.text, in.image = 4;
    ASSERT_TRUE(ReplaceCell(row, 1, in, '|')) << c.what;
    Cell after;
    after.hasText = true, after.text = "last";
    ASSERT_TRUE(ReplaceCell(row, 2, after, '|')) << c.what;
    Cell out;
    ASSERT_TRUE(DecodeCell(row, 1, '|', &out)) << c.what;
    EXPECT_TRUE(out.hasText) << c.what;
    EXPECT_EQ(out.text, c.text) << c.what;
    EXPECT_EQ(out.image, 4) << c.what;
    ASSERT_TRUE(DecodeCell(row, 2, '|', &out)) << c.what;
    EXPECT_EQ(out.text, "last") << c.what;
    EXPECT_FALSE(DecodeCell(row, 0, '|', &out)) << c.what << ": column 0 is still empty";
    EXPECT_FALSE(FindCell(row, 3, '|', nullptr, nullptr)) << c.what;
  }
}

TEST(ListCells, RecordFormAndMalformedRows) {
  Cell none;
  EXPECT_EQ(EncodeCell(none, '|'), "(-1,-1,-1,-1,-1)|");
  Cell text;
  text.hasText = true, text.text = "ab", text.colour = 2;
  EXPECT_EQ(EncodeCell(text, '|'), "(-1,-1,-1,2,2)ab|");
  Cell emptyText;
  emptyText.hasText = true;
  EXPECT_EQ(EncodeCell(emptyText, '|'), "(-1,-1,-1,-1,0)|");
  Cell longText;
  longText.hasText = true, longText.text = std::string(400, 'x');
  Cell back;
  ASSERT_TRUE(DecodeCell(EncodeCell(longText, '|'), 0, '|', &back));
  EXPECT_EQ(back.text.size(), kMaxCellText);

  // All five at -1 is an empty cell even when text follows.
  EXPECT_FALSE(DecodeCell("(-1,-1,-1,-1,-1)junk|", 0, '|', &back));
  EXPECT_TRUE(FindCell("(-1,-1,-1,-1,-1)junk|", 0, '|', nullptr, nullptr));
  for (const char* bad : {"", "(", "(1,2,3)|", "(1,2,3,4,99)ab|", "(1,2,3,4,2)ab", "x(-1,-1,-1,-1,-1)|",
                          "(1,2,3,4,99999999999999)|", "(-1,-1,-1,-1,-1)"})
    EXPECT_FALSE(DecodeCell(bad, 0, '|', &back)) << bad;
}

TEST(ListItems, MasksReportWhatIsPresent) {
  ListModel m = Rows(1);
  Item it;
  it.row = 0, it.column = 1;
  ASSERT_TRUE(m.GetItem(&it));
  EXPECT_EQ(it.mask, IM_STATE | IM_DATA) << "a cell without text has no text bit";
  Item set;
  set.mask = IM_TEXT | IM_IMAGE | IM_CHECK | IM_COLOUR | IM_BKCOLOUR | IM_EXTRAHEIGHT | IM_INDENT | IM_STATE | IM_DATA;
  set.row = 0, set.column = 1, set.text = "", set.image = 0, set.check = 2, set.colour = 1, set.bkColour = 0;
  set.extraHeight = 3, set.indent = 0, set.state = RS_BOLD | RS_SELECTED | 0x1000, set.data = 77;
  ASSERT_TRUE(m.SetItem(set));
  ASSERT_TRUE(m.GetItem(&it));
  EXPECT_EQ(it.mask, set.mask);
  EXPECT_EQ(it.text, "");
  EXPECT_EQ(it.state, RS_BOLD | 0x1000u) << "the selected bit belongs to the list";
  EXPECT_EQ(it.data, 77u);
  it.column = 3;
  EXPECT_FALSE(m.GetItem(&it));
  it.row = 1, it.column = 0;
  EXPECT_FALSE(m.GetItem(&it));
}

TEST(ListItems, InsertDeleteAndRefusedModes) {
  ListModel m = Rows(3);
  Item mid;
  mid.mask = IM_TEXT, mid.row = 1, mid.text = "new";
  EXPECT_EQ(m.InsertItem(mid), 1);
  EXPECT_EQ(m.GetItemText(1, 0), "new");
  EXPECT_EQ(m.GetItemText(2, 0), "r1");
  EXPECT_EQ(m.PositionOf(3), 3);
  EXPECT_EQ(m.DeleteItem(1), 1);
  EXPECT_EQ(m.GetItemText(1, 0), "r1");
  EXPECT_EQ(m.DeleteItem(5), 0);
  for (uint32_t style : {0x0800u, 0x4000u, 0x8000u}) {
    ListModel refused(style);
    refused.InsertColumn(0, Column());
    EXPECT_EQ(refused.InsertItem(Item()), -2) << std::hex << style;
  }
  // A column inserted later gets an empty record in every row.
  m.InsertColumn(0, Column());
  EXPECT_EQ(m.GetItemText(0, 1), "r0");
  EXPECT_EQ(m.GetItemText(0, 0), "");
  EXPECT_EQ(m.GetItemLineText(0, {1, 0}, '|'), "r0|\n");
}

TEST(ListOptions, AcceptedAndRefusedValues) {
  struct Case {
    int code;
    uint32_t value;
    int result;
  } cases[] = {{OPT_GRID_PEN, 0, 1},
               {OPT_GRID_PEN, 3, 0},
               {OPT_CHECK_STYLE, 2, 1},
               {OPT_CHECK_STYLE, 3, 0},
               {OPT_STATE_IMAGE, 4, 0},
               {99, 0, 0},
               {0, 0, 0},
               {OPT_SEPARATOR, '(', 0},
               {OPT_SEPARATOR, '5', 0}};
  for (const auto& c : cases) {
    Options o;
    EXPECT_EQ(SetOption(o, c.code, c.value, nullptr), c.result) << c.code << " " << c.value;
  }
  Options o;
  EXPECT_EQ(SetOption(o, OPT_GRID_PEN, 3, nullptr), 0);
  EXPECT_EQ(o.gridPen, GRID_SOLID) << "a refused value changes nothing";
  EXPECT_EQ(SetOption(o, OPT_EMPTY_TEXT, 0, nullptr), 1);
  EXPECT_EQ(o.emptyText, "");
  EXPECT_EQ(SetOption(o, OPT_CHECK_SIZE, (12u << 16) | 10u, nullptr), 1);
  EXPECT_EQ(o.checkWidth, 10);
  EXPECT_EQ(o.checkHeight, 12);
  // The separator is shared by the process: set it, check a fresh row, set it back.
  EXPECT_EQ(SetOption(o, OPT_SEPARATOR, ';', nullptr), 1);
  EXPECT_EQ(EmptyCells(1, Shared().separator), "(-1,-1,-1,-1,-1);");
  EXPECT_EQ(SetOption(o, OPT_SEPARATOR, '|', nullptr), 1);
}

TEST(ListOptions, HeaderTipsTakeTheTitleWithoutTrustingTheFormat) {
  struct Case {
    const char *format, *title, *tip;
  } cases[] = {
      {"Sort by: %s", "score", "Sort by: score"},
      {"%s and %s", "a", "a and %s"},
      {"100%% %s %d %n", "x", "100% x %d %n"},
      {"no title", "x", "no title"},
      {"%", "x", "%"},
  };
  for (const Case& c : cases) EXPECT_EQ(odlist::FormatHeaderTip(c.format, c.title), c.tip) << c.format;
  EXPECT_EQ(odlist::FormatHeaderTip("%s", std::string(400, 'y')).size(), odlist::kMaxCellText);
}

TEST(ListSelection, ClicksAndKeysAsAPlayerSeesThem) {
  ListModel m = Rows(6);
  int first = 0;
  EXPECT_TRUE(m.OnKey(0x28, false, false, 3, &first));  // Down from no focus: the first row
  EXPECT_EQ(m.FocusRow(), 0);
  EXPECT_EQ(m.SelectedRows(), std::vector<int>({0}));
  m.OnKey(0x28, true, false, 3, &first);  // Shift+Down extends
  m.OnKey(0x28, true, false, 3, &first);
  EXPECT_EQ(m.SelectedRows(), std::vector<int>({0, 1, 2}));
  m.OnKey(0x28, false, true, 3, &first);  // Ctrl+Down moves only the focus
  EXPECT_EQ(m.FocusRow(), 3);
  EXPECT_EQ(m.SelectedRows(), std::vector<int>({0, 1, 2}));
  EXPECT_EQ(first, 1) << "the focus row stays in view";
  m.OnKey(0x20, false, true, 3, &first);  // Ctrl+Space toggles it in
  EXPECT_EQ(m.SelectedRows(), std::vector<int>({0, 1, 2, 3}));
  m.OnKey(0x23, false, false, 3, &first);  // End
  EXPECT_EQ(m.FocusRow(), 5);
  EXPECT_EQ(m.SelectedRows(), std::vector<int>({5}));
  EXPECT_EQ(first, 3);
  m.OnKey(0x21, false, false, 3, &first);  // Page Up: the page's first row
  EXPECT_EQ(m.FocusRow(), 3);
  m.OnKey(0x21, false, false, 3, &first);  // again: a page further
  EXPECT_EQ(m.FocusRow(), 0);
  EXPECT_EQ(m.GetRowState(0) & RS_FOCUSED, RS_FOCUSED);
  EXPECT_EQ(m.GetRowState(3) & RS_FOCUSED, 0u);

  ListModel single = Rows(4, LS_SINGLESEL);
  single.SetAnchor(0);
  single.SelectRange(2, 0, true, true, false);  // a Shift-click selects only the row
  EXPECT_EQ(single.SelectedRows(), std::vector<int>({2}));

  ListModel vetoed = Rows(4);
  auto changed = vetoed.SelectRange(3, 0, true, false, false, [](int row, uint32_t) { return row == 1; });
  EXPECT_EQ(changed, std::vector<int>({0, 2, 3}));
  EXPECT_EQ(vetoed.SelectedRows(), std::vector<int>({0, 2, 3}));
  EXPECT_FALSE(Rows(0).OnKey(0x28, false, false, 3, &first));
}

TEST(ListSort, OrdersByColumnAndSurvivesABadComparison) {
  ListModel m = Rows(0);
  const char* texts[] = {"b", "a", "c", "a"};
  for (int r = 0; r < 4; ++r) {
    Item it;
    it.mask = IM_TEXT | IM_DATA, it.row = r, it.column = 1, it.text = texts[r], it.data = static_cast<uintptr_t>(r);
    m.InsertItem(it);
  }
  ASSERT_TRUE(m.Sort(1, true, nullptr));
  EXPECT_EQ((std::vector<int>{m.RowAt(0), m.RowAt(1), m.RowAt(2), m.RowAt(3)}), (std::vector<int>{1, 3, 0, 2}));
  EXPECT_EQ(m.PositionOf(2), 3);
  ASSERT_TRUE(m.Sort(1, false, nullptr));
  EXPECT_EQ(m.RowAt(0), 2);
  EXPECT_EQ(m.RowAt(3), 3);
  EXPECT_FALSE(m.Sort(5, true, nullptr));

  ListModel big = Rows(500);
  unsigned seed = 1;
  ASSERT_TRUE(big.Sort(0, true, [&](int, int) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>(seed >> 16) % 3 - 1;
  }));
  std::vector<int> seen(500, 0);
  for (int p = 0; p < 500; ++p) ++seen[static_cast<size_t>(big.RowAt(p))];
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 500) << "every row once";
}

}  // namespace
