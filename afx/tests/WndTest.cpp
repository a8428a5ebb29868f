// Windows and message maps: chaining, argument cracking, creation messages,
// handle maps, reflection, subclassing, pre-translation and self-deleting windows.
#include <afxwin.h>
#include <afxcmn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;
void Log(const std::string& s) { g_log.push_back(s); }

const UINT WM_TEST_BASE = WM_APP + 1;
const UINT WM_TEST_THROW = WM_APP + 2;
UINT g_nRegistered = 0;  // registered after the maps exist
const UINT ID_TEST_CMD = 40001;

class CBaseWnd : public CWnd {
 public:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    Log("base size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
  }
  afx_msg LRESULT OnTestBase(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam + lParam); }
  afx_msg void OnTestCmd() { Log("base command"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_WM_SIZE()
  ON_MESSAGE(WM_TEST_BASE, &CBaseWnd::OnTestBase)
  ON_COMMAND(ID_TEST_CMD, &CBaseWnd::OnTestCmd)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 public:
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs) {
    Log("nccreate " + std::string(lpcs->lpszName ? lpcs->lpszName : ""));
    return CBaseWnd::OnNcCreate(lpcs);
  }
  afx_msg void OnNcCalcSize(BOOL bCalc, NCCALCSIZE_PARAMS* p) {
    if (std::find(g_log.begin(), g_log.end(), "nccalcsize") == g_log.end()) Log("nccalcsize");
    CBaseWnd::OnNcCalcSize(bCalc, p);
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    Log("create");
    return CBaseWnd::OnCreate(lpcs);
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    Log("derived size");
    CBaseWnd::OnSize(nType, cx, cy);
  }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
    Log("lbutton " + std::to_string(nFlags) + " " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  afx_msg BOOL OnMouseWheel(UINT, short zDelta, CPoint) {
    Log("wheel " + std::to_string(zDelta));
    return TRUE;
  }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT) {
    Log("keydown " + std::to_string(nChar) + " x" + std::to_string(nRepCnt));
  }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
  afx_msg void OnTimer(UINT_PTR nIDEvent) { Log("timer " + std::to_string(nIDEvent)); }
  afx_msg LRESULT OnThrow(WPARAM, LPARAM) { AfxThrowResourceException(); }
  afx_msg BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult) {
    Log("needtext " + std::to_string(id) + (pNMHDR->code == TTN_NEEDTEXTA ? " A" : ""));
    *pResult = 5;
    return pNMHDR->idFrom == 1;  // FALSE routes the notification on
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
  ON_WM_NCCREATE()
  ON_WM_NCCALCSIZE()
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_TIMER()
  ON_REGISTERED_MESSAGE(g_nRegistered, &CDerivedWnd::OnRegistered)
  ON_MESSAGE(WM_TEST_THROW, &CDerivedWnd::OnThrow)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CDerivedWnd::OnToolTipText)
END_MESSAGE_MAP()

HWND CreateTopLevel(CWnd& wnd, const char* title) {
  BOOL ok =
      wnd.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), title, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr);
  return ok ? wnd.m_hWnd : nullptr;
}

TEST(MessageMapTest, CreationMessagesReachTheObject) {
  g_log.clear();
  CDerivedWnd wnd;
  ASSERT_NE(CreateTopLevel(wnd, "hello"), nullptr);
  ASSERT_GE(g_log.size(), 3u);
  EXPECT_EQ(g_log[0], "nccreate hello");
  EXPECT_EQ(g_log[1], "nccalcsize");
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "create"), 1);
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(MessageMapTest, ChainsToBaseMapsAndCracksArguments) {
  CDerivedWnd wnd;
  ASSERT_NE(CreateTopLevel(wnd, "t"), nullptr);
  g_log.clear();
  wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(120, 45));
  ASSERT_EQ(g_log.size(), 2u);
  EXPECT_EQ(g_log[0], "derived size");
  EXPECT_EQ(g_log[1], "base size 2 120x45");

  g_log.clear();
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 7));
  wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), MAKELPARAM(10, 10));
  wnd.SendMessage(WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x3F));
  ASSERT_EQ(g_log.size(), 3u);
  EXPECT_EQ(g_log[0], "lbutton 5 -5,7");
  EXPECT_EQ(g_log[1], "wheel -120");
  EXPECT_EQ(g_log[2], "keydown 116 x3");

  // Entries of the base class's map serve the derived object.
  EXPECT_EQ(wnd.SendMessage(WM_TEST_BASE, 40, 2), 42);
  g_log.clear();
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_CMD, 0), 0);
  EXPECT_EQ(g_log, std::vector<std::string>{"base command"});
  wnd.DestroyWindow();
}

TEST(MessageMapTest, RegisteredMessageIdIsReadAtDispatch) {
  CDerivedWnd wnd;
  ASSERT_NE(CreateTopLevel(wnd, "t"), nullptr);
  UINT msg = RegisterWindowMessageA("AfxTestRegisteredMessage");
  EXPECT_EQ(wnd.SendMessage(msg, 21, 0), 0);  // not yet known to the map
  g_nRegistered = msg;
  EXPECT_EQ(wnd.SendMessage(msg, 21, 0), 42);
  g_nRegistered = 0;
  wnd.DestroyWindow();
}

TEST(MessageMapTest, NotifyRangeHandlerCanPassItOn) {
  CDerivedWnd wnd;
  ASSERT_NE(CreateTopLevel(wnd, "t"), nullptr);
  HWND hTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, wnd.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(hTip, nullptr);
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = hTip;
  info.hdr.idFrom = 1;
  info.hdr.code = TTN_NEEDTEXTA;
  g_log.clear();
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 0, (LPARAM)&info), 5);
  EXPECT_EQ(g_log, std::vector<std::string>{"needtext 0 A"});
  info.hdr.idFrom = 2;  // the handler declines: the message goes to the default procedure
  g_log.clear();
  wnd.SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
  EXPECT_EQ(g_log.size(), 1u);
  DestroyWindow(hTip);
  wnd.DestroyWindow();
}

TEST(MessageMapTest, ExceptionInHandlerIsContained) {
  CDerivedWnd wnd;
  ASSERT_NE(CreateTopLevel(wnd, "t"), nullptr);
  EXPECT_EQ(wnd.SendMessage(WM_TEST_THROW), 0);
  EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
  wnd.DestroyWindow();
}

TEST(HandleMapTest, FromHandleReturnsThePermanentObject) {
  CDerivedWnd wnd;
  HWND hWnd = CreateTopLevel(wnd, "t");
  ASSERT_NE(hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
  // Foreign windows get one temporary wrapper until the temporary maps are cleared.
  HWND hChild = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, hWnd, (HMENU)7, nullptr, nullptr);
  CWnd* pTemp = CWnd::FromHandle(hChild);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hChild), pTemp);
  EXPECT_EQ(CWnd::FromHandlePermanent(hChild), nullptr);
  EXPECT_EQ(wnd.GetDlgItem(7), pTemp);
  EXPECT_EQ(pTemp->GetParent(), &wnd);
  AfxDeleteTempMaps();
  EXPECT_TRUE(::IsWindow(hChild));  // clearing wrappers leaves the window alone
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  wnd.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hChild));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

class CSelfDeleting : public CWnd {
 public:
  static int s_nDeleted;
  ~CSelfDeleting() override { s_nDeleted++; }
  void PostNcDestroy() override { delete this; }
};
int CSelfDeleting::s_nDeleted = 0;

// Handles WM_NCDESTROY without calling the base class.
class CForgetfulNcDestroy : public CSelfDeleting {
 public:
  afx_msg void OnNcDestroy() { Log("own ncdestroy"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CForgetfulNcDestroy, CSelfDeleting)
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST(LifetimeTest, PostNcDestroyDeletesTheObject) {
  CSelfDeleting::s_nDeleted = 0;
  CSelfDeleting* p = new CSelfDeleting;
  HWND hWnd = CreateTopLevel(*p, "self");
  ASSERT_NE(hWnd, nullptr);
  ::DestroyWindow(hWnd);
  EXPECT_EQ(CSelfDeleting::s_nDeleted, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

  CForgetfulNcDestroy* q = new CForgetfulNcDestroy;
  hWnd = CreateTopLevel(*q, "forgetful");
  ASSERT_NE(hWnd, nullptr);
  g_log.clear();
  q->DestroyWindow();
  EXPECT_EQ(g_log, std::vector<std::string>{"own ncdestroy"});
  EXPECT_EQ(CSelfDeleting::s_nDeleted, 2);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

class CCreateFails : public CSelfDeleting {
 public:
  afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCreateFails, CSelfDeleting)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(LifetimeTest, FailedCreationReportsFalseAndCleansUp) {
  CSelfDeleting::s_nDeleted = 0;
  CCreateFails* p = new CCreateFails;
  EXPECT_FALSE(p->CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(CSelfDeleting::s_nDeleted, 1);
  CWnd plain;
  EXPECT_FALSE(plain.CreateEx(0, "NoSuchWindowClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(plain.m_hWnd, nullptr);
}

///////////////////////////////////////////////////////////////////////////////
// Reflection to subclassed controls

class CReflectButton : public CButton {
 public:
  BOOL m_bPassOn = FALSE;
  int m_nDrawn = 0;
  afx_msg BOOL OnClicked() {
    Log("child clicked");
    return !m_bPassOn;
  }
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
    m_nDrawn++;
    ::FillRect(lpDIS->hDC, &lpDIS->rcItem, (HBRUSH)::GetStockObject(BLACK_BRUSH));
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectButton::OnClicked)
END_MESSAGE_MAP()

class CColorStatic : public CStatic {
 public:
  CBrush m_brush{RGB(1, 2, 3)};
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    Log("ctlcolor " + std::to_string(nCtlColor));
    pDC->SetTextColor(RGB(255, 0, 0));
    return m_brush;
  }
  afx_msg void OnNotifyClick(NMHDR*, LRESULT* pResult) {
    Log("child notify");
    *pResult = 9;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
  ON_NOTIFY_REFLECT(NM_CLICK, &CColorStatic::OnNotifyClick)
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
 public:
  BOOL m_bHandleColor = FALSE;
  afx_msg void OnButton() { Log("parent clicked"); }
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (m_bHandleColor) {
      Log("parent ctlcolor");
      return (HBRUSH)::GetStockObject(WHITE_BRUSH);
    }
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
  }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) Log("parent pretranslate");
    return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F2;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
  ON_BN_CLICKED(11, &CParentWnd::OnButton)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(ReflectionTest, ControlNotificationsReachTheSubclassedChild) {
  CParentWnd parent;
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  HWND hButton = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 50, 20, parent.m_hWnd,
                                 (HMENU)11, nullptr, nullptr);
  CReflectButton button;
  ASSERT_TRUE(button.SubclassWindow(hButton));
  EXPECT_EQ(CWnd::FromHandle(hButton), &button);

  g_log.clear();
  button.SendMessage(BM_CLICK);
  EXPECT_EQ(g_log, std::vector<std::string>{"child clicked"});

  button.m_bPassOn = TRUE;  // _EX handler returning FALSE: the parent gets it too
  g_log.clear();
  button.SendMessage(BM_CLICK);
  EXPECT_EQ(g_log, (std::vector<std::string>{"child clicked", "parent clicked"}));

  EXPECT_EQ(button.UnsubclassWindow(), hButton);
  g_log.clear();
  ::SendMessageA(hButton, BM_CLICK, 0, 0);
  EXPECT_EQ(g_log, std::vector<std::string>{"parent clicked"});
  parent.DestroyWindow();
}

TEST(ReflectionTest, OwnerDrawAndColorAndNotify) {
  CParentWnd parent;
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  parent.ShowWindow(SW_SHOWNA);
  CReflectButton button;
  ASSERT_TRUE(button.Create("od", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 40, 20), &parent, 12));
  button.Invalidate();
  button.UpdateWindow();
  EXPECT_GE(button.m_nDrawn, 1);

  CColorStatic label;
  ASSERT_TRUE(label.Create("label", WS_CHILD | WS_VISIBLE, CRect(0, 30, 80, 50), &parent, 13));
  HDC hdc = ::GetDC(label.m_hWnd);
  g_log.clear();
  LRESULT hbr = parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)label.m_hWnd);
  EXPECT_EQ((HBRUSH)hbr, (HBRUSH)label.m_brush);
  EXPECT_EQ(::GetTextColor(hdc), RGB(255, 0, 0));
  EXPECT_EQ(g_log, std::vector<std::string>{"ctlcolor " + std::to_string(CTLCOLOR_STATIC)});

  parent.m_bHandleColor = TRUE;  // the parent's own handler wins when it does not call the base
  g_log.clear();
  hbr = parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)label.m_hWnd);
  EXPECT_EQ((HBRUSH)hbr, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(g_log, std::vector<std::string>{"parent ctlcolor"});
  ::ReleaseDC(label.m_hWnd, hdc);

  NMHDR hdr = {label.m_hWnd, 13, (UINT)NM_CLICK};
  g_log.clear();
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 13, (LPARAM)&hdr), 9);
  EXPECT_EQ(g_log, std::vector<std::string>{"child notify"});
  parent.DestroyWindow();
}

// An edit control whose typing goes through our object: Default() reaches the control.
class CUpperEdit : public CEdit {
 public:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == 'x') return;  // swallowed
    CEdit::OnChar(nChar, nRepCnt, nFlags);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CUpperEdit, CEdit)
  ON_WM_CHAR()
END_MESSAGE_MAP()

TEST(SubclassTest, DefaultCallsTheOriginalProcedure) {
  CParentWnd parent;
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  CUpperEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 14));
  for (char c : std::string("axbxc")) edit.SendMessage(WM_CHAR, (WPARAM)c, 1);
  CString text;
  edit.GetWindowText(text);
  EXPECT_STREQ(text, "abc");
  edit.SetSel(0, -1);
  edit.ReplaceSel("\xC8\xB7\xB6\xA8");
  edit.GetWindowText(text);
  EXPECT_STREQ(text, "\xC8\xB7\xB6\xA8");
  parent.DestroyWindow();
}

TEST(SubclassTest, ControlsCreatedThroughTheirClassesKeepTheirBehaviour) {
  CParentWnd parent;
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  CHeaderCtrl header;
  CTabCtrl tab;
  CSpinButtonCtrl spin;
  CComboBox combo;
  CButton check;
  CStatic label;
  CListBox list;
  ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_HORZ, CRect(0, 0, 200, 20), &parent, 31));
  ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 20, 200, 60), &parent, 32));
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(200, 0, 220, 20), &parent, 33));
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 60, 100, 160), &parent, 34));
  ASSERT_TRUE(check.Create("c", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 90, 60, 110), &parent, 35));
  ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 110, 60, 130), &parent, 36));
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(100, 60, 200, 160), &parent, 37));
  CWnd* all[] = {&header, &tab, &spin, &combo, &check, &label, &list};
  for (CWnd* p : all) {
    EXPECT_EQ(CWnd::FromHandlePermanent(p->m_hWnd), p);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(p->m_hWnd, GWLP_WNDPROC), AfxWndProc);
    EXPECT_NE(*p->GetSuperWndProcAddr(), nullptr);  // the control's own procedure does the work
  }
  HDITEMA hdi = {};
  hdi.mask = HDI_TEXT | HDI_WIDTH;
  hdi.cxy = 50;
  hdi.pszText = const_cast<LPSTR>("\xC3\xFB");
  EXPECT_EQ(header.InsertItem(0, &hdi), 0);
  EXPECT_EQ(header.GetItemCount(), 1);
  EXPECT_EQ(tab.InsertItem(0, "a"), 0);
  EXPECT_EQ(tab.InsertItem(1, "\xC8\xB7"), 1);
  tab.SetCurSel(1);
  EXPECT_EQ(tab.GetCurSel(), 1);
  spin.SetRange32(0, 10);
  spin.SetPos(4);
  EXPECT_EQ(LOWORD(spin.GetPos()), 4);
  combo.AddString("x");
  combo.AddString("\xB6\xA8");
  combo.SetCurSel(1);
  CString text;
  combo.GetLBText(combo.GetCurSel(), text);
  EXPECT_STREQ(text, "\xB6\xA8");
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  label.SetWindowText("\xC8\xB7\xB6\xA8");
  label.GetWindowText(text);
  EXPECT_STREQ(text, "\xC8\xB7\xB6\xA8");
  list.AddString("b");
  list.AddString("a");
  list.GetText(1, text);
  EXPECT_STREQ(text, "a");
  parent.DestroyWindow();
  for (CWnd* p : all) EXPECT_EQ(p->m_hWnd, nullptr);
}

class CChildLogger : public CWnd {
 public:
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) Log("child pretranslate");
    return FALSE;
  }
  afx_msg void OnKeyDown(UINT nChar, UINT, UINT) { Log("child keydown " + std::to_string(nChar)); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CChildLogger, CWnd)
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!AfxPumpMessage()) break;
  }
}

TEST(PreTranslateTest, WalksFromTargetUpThroughParents) {
  CParentWnd parent;
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  CChildLogger child;
  ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 15));
  PumpPending();
  g_log.clear();
  child.PostMessage(WM_KEYDOWN, VK_F3, 1);
  PumpPending();
  EXPECT_EQ(g_log, (std::vector<std::string>{"child pretranslate", "parent pretranslate", "child keydown 114"}));
  g_log.clear();
  child.PostMessage(WM_KEYDOWN, VK_F2, 1);  // eaten by the parent
  PumpPending();
  EXPECT_EQ(g_log, (std::vector<std::string>{"child pretranslate", "parent pretranslate"}));
  parent.DestroyWindow();
}

TEST(ToolTipTest, ControlRelaysAndHitTestFindsChildren) {
  CParentWnd parent;
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  CButton button;
  ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &parent, 21));
  TOOLINFOA ti = {};
  ti.cbSize = sizeof(ti);
  EXPECT_EQ(parent.OnToolHitTest(CPoint(20, 20), &ti), 21);
  EXPECT_EQ(ti.uId, (UINT_PTR)button.m_hWnd);
  EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
  EXPECT_EQ(parent.OnToolHitTest(CPoint(200, 150), &ti), -1);

  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&parent));
  EXPECT_TRUE(tip.AddTool(&button, "\xC8\xB7\xB6\xA8"));
  EXPECT_TRUE(tip.AddTool(&parent, "area", CRect(100, 100, 150, 150), 5));
  EXPECT_EQ(tip.GetToolCount(), 2);
  CString text;
  tip.GetText(text, &button);
  EXPECT_STREQ(text, "\xC8\xB7\xB6\xA8");
  tip.Activate(TRUE);
  MSG msg = {button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)};
  tip.RelayEvent(&msg);
  tip.DelTool(&parent, 5);
  EXPECT_EQ(tip.GetToolCount(), 1);
  parent.DestroyWindow();
}

class CHitTestWnd : public CWnd {
 public:
  UINT m_nHit = HTTRANSPARENT;
  afx_msg UINT OnNcHitTest(CPoint) { return m_nHit; }  // the older UINT signature
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHitTestWnd, CWnd)
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

TEST(MessageMapTest, NegativeHitTestCodesKeepTheirSign) {
  CHitTestWnd wnd;
  ASSERT_NE(CreateTopLevel(wnd, "hit"), nullptr);
  EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)), (LRESULT)HTTRANSPARENT);
  wnd.m_nHit = HTCAPTION;
  EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)), (LRESULT)HTCAPTION);
  wnd.DestroyWindow();
}

BOOL CALLBACK FindToolTip(HWND hWnd, LPARAM lParam) {
  char cls[64] = {0};
  ::GetClassNameA(hWnd, cls, sizeof(cls));
  if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && ::SendMessageA(hWnd, TTM_GETTOOLCOUNT, 0, 0) > 0) {
    *(HWND*)lParam = hWnd;
    return FALSE;
  }
  return TRUE;
}

TEST(ToolTipTest, EnabledToolTipsFollowTheMouseOverChildren) {
  CWnd parent;  // its PreTranslateMessage is the base one, which feeds the tool tip
  ASSERT_NE(CreateTopLevel(parent, "parent"), nullptr);
  parent.ShowWindow(SW_SHOWNA);
  CButton button;
  ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(10, 10, 90, 40), &parent, 41));
  PumpPending();
  parent.EnableToolTips(TRUE);
  CRect rc;
  button.GetWindowRect(&rc);
  ::SetCursorPos(rc.CenterPoint().x, rc.CenterPoint().y);
  CPoint pt = rc.CenterPoint();
  button.ScreenToClient(&pt);
  button.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  PumpPending();
  HWND hTip = nullptr;
  EnumThreadWindows(::GetCurrentThreadId(), FindToolTip, (LPARAM)&hTip);
  ASSERT_NE(hTip, nullptr);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof(ti);
  ASSERT_TRUE(::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, (LPARAM)&ti));
  EXPECT_EQ(ti.uId, (UINT_PTR)button.m_hWnd);
  EXPECT_EQ(ti.hwnd, parent.m_hWnd);
  parent.EnableToolTips(FALSE);
  EXPECT_EQ(::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 0);
  parent.DestroyWindow();
}

TEST(GdiTest, SelectObjectReturnsThePreviousObject) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  CBitmap bmp;
  ASSERT_TRUE(bmp.CreateBitmap(8, 8, 1, 32, nullptr));
  CBitmap* pOldBmp = dc.SelectObject(&bmp);
  ASSERT_NE(pOldBmp, nullptr);
  CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* pOldPen = dc.SelectObject(&pen);
  EXPECT_EQ(dc.SelectObject(pOldPen), CPen::FromHandle((HPEN)pen.m_hObject));
  CBrush brush(RGB(0, 255, 0));
  dc.FillRect(CRect(0, 0, 8, 8), &brush);
  EXPECT_EQ(dc.GetPixel(3, 3), RGB(0, 255, 0));
  dc.FillSolidRect(0, 0, 2, 2, RGB(9, 8, 7));
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(9, 8, 7));
  EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));  // FillSolidRect restores the background colour
  dc.Draw3dRect(CRect(0, 0, 8, 8), RGB(255, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(7, 7), RGB(0, 0, 255));
  BITMAP bm;
  EXPECT_EQ(bmp.GetBitmap(&bm), (int)sizeof(BITMAP));
  EXPECT_EQ(bm.bmWidth, 8);
  dc.SelectObject(pOldBmp);
  CRgn rgn;
  ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 10, 10));
  CRgn rgn2;
  rgn2.CreateEllipticRgn(5, 5, 20, 20);
  EXPECT_NE(rgn.CombineRgn(&rgn, &rgn2, RGN_OR), ERROR);
  EXPECT_TRUE(rgn.PtInRegion(15, 15));
  CFont font;
  EXPECT_TRUE(font.CreatePointFont(90, "\xCB\xCE\xCC\xE5"));  // 宋体
  LOGFONTA lf;
  font.GetLogFont(&lf);
  EXPECT_LT(lf.lfHeight, 0);
  AfxDeleteTempMaps();
}

}  // namespace
