// The list's in-place editor and the header's column drag, driven as a person would: click
// a focused cell or type on it, type, end with Enter or Escape; press a header item, drag
// it over another and let go. Pictures: list-edit.png, header-drag.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ODListCtrl.h"
#include "WinProbe.h"

namespace {

// A parent that answers the list's edit notifications as the test asks and keeps them.
class CNotifyParent : public CWnd {
 public:
  struct Seen {
    int code, row, column;
    UINT key;
    std::string text;
  };
  std::vector<Seen> seen;
  int endReply = 0;    // non-zero vetoes the edited text
  int wantButton = 0;  // asks for a drop button
  int vetoExpand = 0;
  int dispInfoAsked = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_NOTIFY || !lParam) return CWnd::WindowProc(message, wParam, lParam);
    NMHDR* hdr = (NMHDR*)lParam;
    const int code = (int)hdr->code;
    if (code == ODLN_GETDISPINFO) {
      NMODLISTDISPINFO* di = (NMODLISTDISPINFO*)lParam;
      ++dispInfoAsked;
      di->nMask &= odlist::IM_TEXT;
      wsprintfA(di->szText, "row %d cell %d", di->nRow, di->nColumn);
      return 0;
    }
    if (code == ODLN_EDITKILLFOCUS) {
      // The drop button's pick: the parent writes the chosen text.
      NMODLISTEDITFOCUS* nm = (NMODLISTEDITFOCUS*)lParam;
      seen.push_back({code, nm->nRow, nm->nColumn, 0, nm->szText});
      lstrcpynA(nm->szText, "picked", sizeof nm->szText);
      return 1;
    }
    if (code == ODLN_ITEMEXPANDING || code == ODLN_ITEMEXPANDED) {
      seen.push_back({code, ((NMODLISTCTRL*)lParam)->nRow, -1, 0, ""});
      return code == ODLN_ITEMEXPANDING ? vetoExpand : 0;
    }
    if (code == ODLN_BEGINLABELEDIT || code == ODLN_ENDLABELEDIT) {
      NMODLISTEDIT* nm = (NMODLISTEDIT*)lParam;
      seen.push_back({code, nm->nRow, nm->nColumn, nm->nKey, nm->szText});
      if (code == ODLN_BEGINLABELEDIT) nm->bButton = wantButton;
      return code == ODLN_ENDLABELEDIT ? endReply : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// Pumps this thread's messages until the condition holds or the time runs out.
template <class Cond>
bool WaitFor(Cond cond, DWORD ms = 5000) {
  const DWORD start = ::GetTickCount();
  while (!cond()) {
    if (::GetTickCount() - start > ms) return false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void Click(CWnd& wnd, CPoint pt) {
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

void Type(HWND edit, const char* text) {
  for (const char* p = text; *p; ++p) ::SendMessageA(edit, WM_CHAR, (BYTE)*p, 0);
}

std::string TextOf(HWND hWnd) {
  char buf[256] = "";
  ::GetWindowTextA(hWnd, buf, sizeof buf);
  return buf;
}

class ListEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                    "list edit test", WS_POPUP | WS_VISIBLE, CRect(20, 20, 420, 260), nullptr, 0);
    ::SetForegroundWindow(parent.m_hWnd);
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | odlist::LS_CELLFOCUS, CRect(10, 10, 390, 230), &parent, 7));
    list.InsertColumn(0, "name", 120);
    list.InsertColumn(1, "score", 90, HDF_RIGHT);
    list.InsertColumn(2, "note", 30);
    const char* names[] = {"alice", "bob", "carol"};
    for (int r = 0; r < 3; ++r) {
      list.InsertItem(r, names[r]);
      list.SetItemText(r, 1, std::to_string(10 * (r + 1)).c_str());
      list.SetItemText(r, 2, "n");
    }
  }
  void TearDown() override {
    if (parent.GetSafeHwnd()) parent.DestroyWindow();
  }
  CPoint CellCentre(int row, int column) {
    CRect r;
    EXPECT_TRUE(list.GetCellRect(row, column, &r));
    return r.CenterPoint();
  }
  // Clicks the cell twice: the first click gives it the focus, the second opens the editor.
  HWND OpenByClicks(int row, int column) {
    Click(list, CellCentre(row, column));
    Click(list, CellCentre(row, column));
    return list.GetEditor();
  }
  bool EditorGone(HWND editor) {
    return WaitFor([&] { return !::IsWindow(editor) && !list.GetEditor(); });
  }
  CNotifyParent parent;
  CODListCtrl list;
};

TEST_F(ListEditTest, ClickingTheFocusCellEditsItAndEnterKeepsTheText) {
  Click(list, CellCentre(1, 1));
  int column = -2;
  EXPECT_EQ(list.GetFocusCell(&column), 1);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(list.GetEditor(), nullptr) << "one click only gives the focus";
  Click(list, CellCentre(1, 1));
  HWND editor = list.GetEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(::GetFocus(), editor);
  EXPECT_EQ(TextOf(editor), "20");
  Type(editor, "5");
  EXPECT_EQ(TextOf(editor), "205") << "a click puts the caret after the text";
  EXPECT_TRUE(winprobe::SaveScreenArea(parent.m_hWnd, L"list-edit.png"));
  ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(EditorGone(editor));
  EXPECT_EQ(std::string(list.GetItemText(1, 1)), "205");
  EXPECT_EQ(::GetFocus(), list.m_hWnd) << "the focus is back on the list";
  ASSERT_EQ(parent.seen.size(), 2u);
  EXPECT_EQ(parent.seen[0].code, ODLN_BEGINLABELEDIT);
  EXPECT_EQ(parent.seen[1].code, ODLN_ENDLABELEDIT);
  EXPECT_EQ(parent.seen[1].key, 13u);
  EXPECT_EQ(parent.seen[1].text, "205");
  EXPECT_EQ(parent.seen[1].row, 1);
  EXPECT_EQ(parent.seen[1].column, 1);
}

TEST_F(ListEditTest, EscapeOrAParentVetoDiscardsTheText) {
  struct Case {
    const char* what;
    UINT key;
    int reply;
  } cases[] = {{"escape", VK_ESCAPE, 0}, {"veto", VK_RETURN, 1}};
  for (const Case& c : cases) {
    parent.endReply = c.reply;
    HWND editor = OpenByClicks(0, 0);
    ASSERT_NE(editor, nullptr) << c.what;
    Type(editor, "zed");
    ::SendMessageA(editor, WM_KEYDOWN, c.key, 0);
    ASSERT_TRUE(EditorGone(editor)) << c.what;
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), "alice") << c.what;
    EXPECT_EQ(parent.seen.back().key, c.key) << c.what;
    list.SetFocusCell(2, -1);  // the next case starts from another cell
  }
}

TEST_F(ListEditTest, TheOpeningKeyShapesTheStartingText) {
  struct Case {
    const char* what;
    UINT key;
    const char* typed;
    const char* expected;
  } cases[] = {
      {"a letter replaces the whole text", 'x', "y", "xy"},
      {"backspace removes the last character", VK_BACK, "", "alic"},
  };
  for (const Case& c : cases) {
    list.SetItemText(0, 0, "alice");
    list.SetFocus();
    ASSERT_TRUE(list.SetFocusCell(0, 0));
    // A key the list does not use, then the character it makes, as TranslateMessage sends.
    list.SendMessage(WM_KEYDOWN, c.key == VK_BACK ? VK_BACK : 'X', 0);
    list.SendMessage(WM_CHAR, c.key, 0);
    HWND editor = list.GetEditor();
    ASSERT_NE(editor, nullptr) << c.what;
    Type(editor, c.typed);
    EXPECT_EQ(TextOf(editor), c.expected) << c.what;
    ::SendMessageA(editor, WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(EditorGone(editor)) << c.what;
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), c.expected) << c.what << ": Tab keeps the text";
  }
}

TEST_F(ListEditTest, DropButtonOnlyWhereTheCellIsWideEnough) {
  parent.wantButton = 1;
  struct Case {
    int column;
    bool button;
  } cases[] = {{1, true}, {2, false}};  // column 2 is 30 pixels: its text part is too narrow
  for (const Case& c : cases) {
    HWND editor = OpenByClicks(1, c.column);
    ASSERT_NE(editor, nullptr);
    CODListEdit* edit = dynamic_cast<CODListEdit*>(CWnd::FromHandlePermanent(editor));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->HasDropButton() != FALSE, c.button) << "column " << c.column;
    if (c.button) {
      CRect e, b;
      ::GetWindowRect(editor, &e);
      ::GetWindowRect(edit->GetDropButton().m_hWnd, &b);
      EXPECT_EQ(b.left, e.right);
      EXPECT_EQ(b.Width(), e.Height()) << "a square button right of the edit";
    }
    ::SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(EditorGone(editor));
    list.SetFocusCell(0, -1);
  }
}

TEST_F(ListEditTest, TheDropButtonLetsTheParentPickTheText) {
  parent.wantButton = 1;
  HWND editor = OpenByClicks(0, 1);
  ASSERT_NE(editor, nullptr);
  CODListEdit* edit = dynamic_cast<CODListEdit*>(CWnd::FromHandlePermanent(editor));
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(edit->HasDropButton());
  edit->GetDropButton().SetFocus();  // what a press on the button does first
  EXPECT_EQ(parent.seen.back().code, ODLN_EDITKILLFOCUS);
  EXPECT_EQ(parent.seen.back().text, "10");
  EXPECT_EQ(TextOf(editor), "picked");
  EXPECT_EQ(::GetFocus(), editor) << "the edit keeps the focus";
  EXPECT_EQ(list.GetEditor(), editor) << "and stays open";
  ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(EditorGone(editor));
  EXPECT_EQ(std::string(list.GetItemText(0, 1)), "picked");
}

TEST_F(ListEditTest, ScrollingClosesAnOpenEditorKeepingItsText) {
  HWND editor = OpenByClicks(2, 0);
  ASSERT_NE(editor, nullptr);
  Type(editor, "!");
  list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_TRUE(EditorGone(editor));
  EXPECT_EQ(std::string(list.GetItemText(2, 0)), "carol!");
}

// ---- tree rows and owner data ----------------------------------------------------------------

class ListModesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                    "list modes test", WS_POPUP | WS_VISIBLE, CRect(20, 20, 420, 260), nullptr, 0);
  }
  void TearDown() override {
    if (parent.GetSafeHwnd()) parent.DestroyWindow();
  }
  CNotifyParent parent;
  CODListCtrl list;
};

TEST_F(ListModesTest, TreeNodesOpenByTheirBoxAndKeys) {
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | 0x4000, CRect(10, 10, 390, 230), &parent, 8));
  list.InsertColumn(0, "group", 200);
  list.InsertColumn(1, "value", 100);
  const int fruit = list.InsertTreeItem(ODTREE_ROOT, "fruit");
  const int apple = list.InsertTreeItem(fruit, "apple");
  list.InsertTreeItem(fruit, "pear");
  const int veg = list.InsertTreeItem(ODTREE_ROOT, "veg");
  list.InsertTreeItem(veg, "leek");
  list.SetItemText(list.GetNodeRow(apple), 1, "3");
  list.SetTreeLines(TRUE);
  ASSERT_GE(fruit, 0);
  EXPECT_EQ(list.Model().RowAt(1), list.GetNodeRow(veg)) << "closed nodes hide their children";

  // A click on the box left of "fruit" opens it; the parent heard both notifications.
  CRect cell;
  ASSERT_TRUE(list.GetCellRect(list.GetNodeRow(fruit), 0, &cell));
  const CPoint box(cell.left - list.GetRowHeight() / 2, cell.CenterPoint().y);
  int hit = -2;
  EXPECT_TRUE(list.HitExpandBox(box, &hit));
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  EXPECT_EQ(list.Model().RowAt(1), list.GetNodeRow(apple));
  ASSERT_GE(parent.seen.size(), 2u);
  EXPECT_EQ(parent.seen[parent.seen.size() - 2].code, ODLN_ITEMEXPANDING);
  EXPECT_EQ(parent.seen.back().code, ODLN_ITEMEXPANDED);
  list.SetFocus();
  list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);   // veg
  list.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);  // opens veg
  EXPECT_TRUE(winprobe::SaveScreenArea(parent.m_hWnd, L"list-tree.png"));
  EXPECT_EQ(list.Model().RowAt(4), list.GetNodeRow(list.GetNextNode(veg, 4)));
  list.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);  // to leek
  list.SendMessage(WM_KEYDOWN, VK_LEFT, 0);   // back to veg
  list.SendMessage(WM_KEYDOWN, VK_LEFT, 0);   // closes veg
  EXPECT_EQ(list.Model().FocusRow(), list.GetNodeRow(veg));
  EXPECT_EQ(list.Model().RowAt(4), -2);

  parent.vetoExpand = 1;
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  EXPECT_EQ(list.Model().RowAt(1), list.GetNodeRow(apple)) << "a vetoed toggle leaves the node open";
}

TEST_F(ListModesTest, OwnerDataCellsComeFromTheParentForThePaintedRowsOnly) {
  ASSERT_TRUE(
      list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | odlist::LS_OWNERDATA, CRect(10, 10, 390, 230), &parent, 9));
  list.InsertColumn(0, "name", 150);
  list.InsertColumn(1, "more", 150);
  list.SetItemCountEx(100000);
  EXPECT_EQ(list.GetItemCount(), 100000);
  EXPECT_EQ(list.InsertItem(0, "x"), -2);
  EXPECT_TRUE(winprobe::SaveScreenArea(parent.m_hWnd, L"list-ownerdata.png"));
  EXPECT_GT(parent.dispInfoAsked, 0);
  EXPECT_LT(parent.dispInfoAsked, 200) << "only the rows on screen are asked for";
  char text[64] = "";
  LVITEMA item{};
  item.iSubItem = 1, item.pszText = text, item.cchTextMax = sizeof text;
  list.SendMessage(LVM_GETITEMTEXTA, 99999, (LPARAM)&item);
  EXPECT_STREQ(text, "row 99999 cell 1");
}

TEST_F(ListModesTest, TheFixedRowSitsUnderTheHeaderTakesTheFocusAndEdits) {
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | odlist::LS_FIXEDROW | odlist::LS_CELLFOCUS,
                          CRect(10, 10, 390, 230), &parent, 10));
  list.InsertColumn(0, "name", 150);
  list.InsertColumn(1, "filter", 150);
  list.InsertItem(0, "alice");
  list.InsertItem(1, "bob");
  list.SetItemText(-1, 1, "");  // only a cell with a text (even an empty one) edits
  CRect fixed, first;
  ASSERT_TRUE(list.GetCellRect(-1, 1, &fixed));
  ASSERT_TRUE(list.GetCellRect(0, 1, &first));
  EXPECT_LE(fixed.bottom, first.top) << "the fixed row lies above the first row";
  EXPECT_EQ(list.HitTestRow(fixed.CenterPoint()), -1);

  Click(list, fixed.CenterPoint());
  int column = -2;
  EXPECT_EQ(list.GetFocusCell(&column), -1);
  EXPECT_EQ(column, 1);
  Click(list, fixed.CenterPoint());
  HWND editor = list.GetEditor();
  ASSERT_NE(editor, nullptr);
  Type(editor, "al");
  EXPECT_TRUE(winprobe::SaveScreenArea(parent.m_hWnd, L"list-fixedrow.png"));
  ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(editor) && !list.GetEditor(); }));
  EXPECT_EQ(std::string(list.GetItemText(-1, 1)), "al");
  EXPECT_EQ(list.GetItemCount(), 2) << "the fixed row is not a row of the list";

  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetFocusCell(nullptr), 0);
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetFocusCell(nullptr), -1) << "Up from the first row reaches the fixed row";
  EXPECT_FALSE(list.DeleteItem(-1));
}

// ---- the header's column drag --------------------------------------------------------------

class HeaderDragTest : public ListEditTest {
 protected:
  CRect ItemRect(int index) {
    CRect r;
    list.GetHeaderCtrl()->GetItemRect(index, &r);
    return r;
  }
  std::vector<int> Order() {
    CHeaderCtrl* h = list.GetHeaderCtrl();
    std::vector<int> order((size_t)h->GetItemCount());
    h->GetOrderArray(order.data(), (int)order.size());
    return order;
  }
  // Presses item `from`, moves to x in the header and lets go; `shot` saves the screen
  // while the column hangs over the header.
  void Drag(int from, int x, const wchar_t* shot = nullptr) {
    CODHeaderCtrl* h = list.GetHeaderCtrl();
    const CPoint press = ItemRect(from).CenterPoint();
    h->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    h->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(press.x + 10, press.y));
    h->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, press.y));
    if (shot) {
      EXPECT_TRUE(h->IsDragging());
      ASSERT_NE(h->GetDragWnd(), nullptr);
      EXPECT_TRUE(::IsWindowVisible(h->GetDragWnd()->m_hWnd));
      ASSERT_NE(h->GetDropWnd(), nullptr) << "the marker shows where the column lands";
      CRect marker;
      ::GetWindowRect(h->GetDropWnd()->m_hWnd, &marker);
      EXPECT_EQ(marker.Width(), 12);
      EXPECT_TRUE(winprobe::SaveScreenArea(parent.m_hWnd, shot));
    }
    h->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, press.y));
  }
};

TEST_F(HeaderDragTest, DraggingAColumnPastAnotherReordersTheListsColumns) {
  Drag(0, ItemRect(1).right - 5, L"header-drag.png");
  CODHeaderCtrl* h = list.GetHeaderCtrl();
  EXPECT_FALSE(h->IsDragging());
  EXPECT_EQ(h->GetDragWnd(), nullptr);
  EXPECT_EQ(h->GetDropWnd(), nullptr);
  EXPECT_EQ(Order(), (std::vector<int>{1, 0, 2}));
  // The list paints and edits in the new order: the name column now starts after the score.
  CRect name, score;
  ASSERT_TRUE(list.GetCellRect(0, 0, &name));
  ASSERT_TRUE(list.GetCellRect(0, 1, &score));
  EXPECT_EQ(name.left, score.right);
  EXPECT_TRUE(winprobe::SaveScreenArea(parent.m_hWnd, L"header-dropped.png"));
}

TEST_F(HeaderDragTest, AFixedWidthColumnKeepsItsWidthAndTheArrowOverItsDivider) {
  CODHeaderCtrl* h = list.GetHeaderCtrl();
  OD_HEADER_ITEM fixed;
  fixed.nFlags = 4;
  ASSERT_TRUE(h->SetItemEx(0, fixed));
  // Drags each divider 30 pixels right.
  auto dragDivider = [&](int item) {
    const CRect r = ItemRect(item);
    const int y = r.CenterPoint().y;
    h->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right, y));
    h->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right + 15, y));
    h->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right + 30, y));
    h->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(r.right + 30, y));
    return ItemRect(item).Width() - r.Width();
  };
  EXPECT_EQ(dragDivider(0), 0) << "fixed";
  EXPECT_GT(dragDivider(1), 0) << "the same gesture widens a column that is not fixed";
  EXPECT_EQ(::GetCapture(), nullptr);
  // Over the fixed divider the cursor stays the arrow.
  CPoint at(ItemRect(0).right, ItemRect(0).CenterPoint().y);
  h->ClientToScreen(&at);
  ASSERT_TRUE(::SetCursorPos(at.x, at.y));
  ::SetCursor(nullptr);
  h->SendMessage(WM_SETCURSOR, (WPARAM)h->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(HeaderDragTest, OwnPlaceACancelAndAVetoKeepTheOrder) {
  Drag(1, ItemRect(1).left + 3);  // its own place
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
  Drag(1, ItemRect(2).left + 3);  // just right of itself
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));

  CODHeaderCtrl* h = list.GetHeaderCtrl();
  const CPoint press = ItemRect(0).CenterPoint();
  h->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  h->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ItemRect(2).right - 2, press.y));
  ASSERT_TRUE(h->IsDragging());
  h->SendMessage(WM_CANCELMODE);
  EXPECT_FALSE(h->IsDragging());
  EXPECT_EQ(h->GetDragWnd(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));

  list.EnableHeaderDragDrop(FALSE);
  Drag(0, ItemRect(2).right - 2);
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2})) << "without drag and drop nothing moves";
}

TEST_F(HeaderDragTest, WithStyle0x100AColumnDroppedOffTheHeaderIsHidden) {
  list.ModifyListStyle(0, odlist::LS_DRAGHIDE);
  CODHeaderCtrl* h = list.GetHeaderCtrl();
  const CPoint press = ItemRect(2).CenterPoint(), away(press.x, press.y + 120);
  h->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  h->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(away.x, away.y));
  EXPECT_EQ(h->GetDropState(), -1) << "off the items";
  h->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(away.x, away.y));
  EXPECT_FALSE(list.IsColumnShown(2));
  EXPECT_EQ(h->GetItemCount(), 2);
  EXPECT_EQ(std::string(list.GetItemText(0, 2)), "n") << "a hidden column keeps its cells";
  EXPECT_TRUE(list.ShowColumn(2));
  EXPECT_TRUE(list.IsColumnShown(2));
}

TEST_F(ListEditTest, TitleTipFadesInStepsAfterHiding) {
  CODTitleTip tip;
  ASSERT_TRUE(tip.Create(&list, TRUE));
  tip.Show(CRect(100, 100, 220, 120), "a long cell text");
  EXPECT_TRUE(tip.IsWindowVisible());
  tip.Hide();
  EXPECT_FALSE(tip.IsWindowVisible());
  EXPECT_EQ(tip.GetAlpha(), 255);
  tip.SendMessage(WM_TIMER, 1);
  EXPECT_EQ(tip.GetAlpha(), 0);
  tip.SendMessage(WM_TIMER, 1);
  EXPECT_EQ(tip.GetAlpha(), 10);
  tip.DestroyWindow();
}

TEST_F(HeaderDragTest, AClickWithoutMovingStillSortsTheColumn) {
  CODHeaderCtrl* h = list.GetHeaderCtrl();
  list.SetItemText(0, 1, "90");
  Click(*h, ItemRect(1).CenterPoint());
  EXPECT_EQ(h->GetSortColumn(), 1);
  EXPECT_EQ(std::string(list.GetItemText(list.Model().RowAt(0), 1)), "20");
}

}  // namespace
