// Tree rows and owner data in the list's model: the display order a tree shows as nodes
// open and close, the keys and the sort over levels, and the owner-data row cache.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ListModel.h"

using namespace odlist;

namespace {

Item Text(const char* text) {
  Item it;
  it.mask = IM_TEXT, it.column = 0, it.text = text;
  return it;
}

std::vector<std::string> Shown(const ListModel& m) {
  std::vector<std::string> out;
  for (int p = 0; m.RowAt(p) >= 0; ++p) out.push_back(m.GetItemText(m.RowAt(p), 0));
  return out;
}

// fruit (apple, pear), veg (leek); "fruit" first.
struct TreeFixture {
  ListModel m{0x4000};
  int fruit, apple, pear, veg, leek;
  TreeFixture() {
    m.InsertColumn(0, Column());
    fruit = m.NodeOfRow(m.InsertTreeItem(kTreeRoot, Text("fruit")));
    apple = m.NodeOfRow(m.InsertTreeItem(fruit, Text("apple")));
    pear = m.NodeOfRow(m.InsertTreeItem(fruit, Text("pear")));
    veg = m.NodeOfRow(m.InsertTreeItem(kTreeRoot, Text("veg")));
    leek = m.NodeOfRow(m.InsertTreeItem(veg, Text("leek")));
  }
};

TEST(ListTree, EitherTreeBitShowsOnlyOpenNodes) {
  for (uint32_t bit : {0x4000u, 0x8000u}) {
    ListModel m(bit);
    m.InsertColumn(0, Column());
    const int top = m.NodeOfRow(m.InsertTreeItem(kTreeRoot, Text("top")));
    m.InsertTreeItem(top, Text("child"));
    EXPECT_EQ(Shown(m), (std::vector<std::string>{"top"})) << bit;
    EXPECT_EQ(m.GetRowState(m.GetNodeRow(top)) & (RS_COLLAPSED | RS_EXPANDED), RS_COLLAPSED);
    EXPECT_TRUE(m.Expand(top, TREE_EXPAND));
    EXPECT_EQ(Shown(m), (std::vector<std::string>{"top", "child"})) << bit;
    EXPECT_EQ(m.GetRow(m.GetNodeRow(top))->indent, 1);
    EXPECT_EQ(m.GetRow(1)->indent, 2);
    EXPECT_EQ(m.InsertItem(Text("flat")), -2) << "tree rows come only as nodes";
  }
}

TEST(ListTree, ExpandCollapseAndRelations) {
  TreeFixture t;
  struct Step {
    int node, action;
    bool changed;
    std::vector<std::string> shown;
  } steps[] = {
      {t.fruit, TREE_EXPAND, true, {"fruit", "apple", "pear", "veg"}},
      {t.fruit, TREE_EXPAND, false, {"fruit", "apple", "pear", "veg"}},
      {t.veg, TREE_TOGGLE, true, {"fruit", "apple", "pear", "veg", "leek"}},
      {t.apple, TREE_EXPAND, false, {"fruit", "apple", "pear", "veg", "leek"}},  // a leaf
      {t.fruit, TREE_COLLAPSE, true, {"fruit", "veg", "leek"}},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(t.m.Expand(s.node, s.action), s.changed);
    EXPECT_EQ(Shown(t.m), s.shown);
  }
  EXPECT_EQ(t.m.GetNextNode(t.apple, TREE_NEXT), t.pear);
  EXPECT_EQ(t.m.GetNextNode(t.pear, TREE_PREVIOUS), t.apple);
  EXPECT_EQ(t.m.GetNextNode(t.pear, TREE_PARENT), t.fruit);
  EXPECT_EQ(t.m.GetNextNode(t.fruit, TREE_PARENT), -1);
  EXPECT_EQ(t.m.GetNextNode(t.leek, TREE_TOP), t.veg);
  EXPECT_EQ(t.m.GetNextNode(t.veg, TREE_CHILD), t.leek);
  EXPECT_EQ(t.m.GetNextNode(t.pear, TREE_NEXT), -1);
  EXPECT_EQ(t.m.GetNextNode(999, TREE_NEXT), -1);
  EXPECT_TRUE(t.m.HasChildren(t.fruit));
  EXPECT_FALSE(t.m.HasChildren(t.leek));
}

TEST(ListTree, CollapsingMovesTheFocusToTheVisibleParent) {
  TreeFixture t;
  t.m.Expand(t.fruit, TREE_EXPAND);
  t.m.MoveFocus(t.m.PositionOf(t.m.GetNodeRow(t.pear)));
  t.m.Expand(t.fruit, TREE_COLLAPSE);
  EXPECT_EQ(t.m.FocusRow(), t.m.GetNodeRow(t.fruit));
  EXPECT_EQ(t.m.GetNextNode(0, TREE_FOCUS), t.fruit);
}

TEST(ListTree, LineTextShowsLevelsAndLooks) {
  TreeFixture t;
  t.m.Expand(t.fruit, TREE_EXPAND);
  const std::vector<int> order = {0};
  EXPECT_EQ(t.m.GetItemLineText(t.m.GetNodeRow(t.fruit), order, '|'), "-fruit\n");
  EXPECT_EQ(t.m.GetItemLineText(t.m.GetNodeRow(t.apple), order, '|'), "   apple\n");
  EXPECT_EQ(t.m.GetItemLineText(t.m.GetNodeRow(t.veg), order, '|'), "+veg\n");
}

TEST(ListTree, SortOrdersEveryLevel) {
  TreeFixture t;
  t.m.Expand(t.fruit, TREE_EXPAND);
  t.m.Expand(t.veg, TREE_EXPAND);
  ASSERT_TRUE(t.m.Sort(0, false, nullptr));
  EXPECT_EQ(Shown(t.m), (std::vector<std::string>{"veg", "leek", "fruit", "pear", "apple"}));
  t.m.DeleteAllItems();
  EXPECT_EQ(t.m.GetItemCount(), 0);
  EXPECT_TRUE(Shown(t.m).empty());
}

TEST(ListOwnerData, RowsComeFromTheParentThroughA128EntryCache) {
  ListModel m(LS_OWNERDATA);
  m.InsertColumn(0, Column());
  m.InsertColumn(1, Column());
  std::vector<std::pair<int, int>> asked;
  m.SetOwnerData(1000, [&](int row, int column, Item* it) {
    asked.push_back({row, column});
    it->mask = IM_TEXT | IM_STATE;
    it->text = "r" + std::to_string(row) + "c" + std::to_string(column);
    it->state = RS_BOLD;
    return true;
  });
  EXPECT_EQ(m.GetItemCount(), 1000);
  EXPECT_EQ(m.RowAt(999), 999);
  EXPECT_EQ(m.PositionOf(5), 5);
  EXPECT_EQ(m.RowAt(1000), -2);
  EXPECT_EQ(m.GetItemText(130, 1), "r130c1");
  EXPECT_EQ(m.CachedRowAt(2), 130) << "row 130 lives in entry 2";
  EXPECT_EQ(m.GetItemText(130, 1), "r130c1");
  EXPECT_EQ(asked.size(), 1u) << "a cached cell is not asked again";
  EXPECT_EQ(m.GetItemText(130, 0), "r130c0");
  EXPECT_EQ(asked.size(), 2u) << "an empty cell of a cached row is asked for";
  EXPECT_EQ(m.GetRowState(130) & RS_BOLD, RS_BOLD);
  EXPECT_EQ(m.GetItemText(2, 0), "r2c0");
  EXPECT_EQ(m.CachedRowAt(2), 2) << "row 2 refills entry 2";
  m.SetRowCaching(false);
  const size_t before = asked.size();
  m.GetItemText(2, 0);
  EXPECT_EQ(asked.size(), before + 1) << "without caching every read asks";
  EXPECT_FALSE(m.SetItemText(2, 0, "x")) << "the parent owns owner-data rows";
  EXPECT_EQ(m.InsertItem(Text("x")), -2);
  EXPECT_EQ(m.GetItemText(-1, 0), "");
  EXPECT_EQ(m.GetItemText(1000, 0), "");
  m.SetOwnerData(-5, nullptr);
  EXPECT_EQ(m.GetItemCount(), 0);
}

}  // namespace
