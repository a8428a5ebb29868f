// The gallery: one window that shows every owner-drawn control of the library, themed,
// on five pages of a tab control. The line at the bottom names the last thing a control
// reported, so a test (or a person) can see what each action did.
#pragma once
#include <afxwin.h>

#include "HoverCtrl.h"
#include "ODButton.h"
#include "ODComboBox.h"
#include "ODDialog.h"
#include "ODEdit.h"
#include "ODListBox.h"
#include "ODMenuWnd.h"
#include "ODProgressCtrl.h"
#include "ODStatic.h"
#include "ODTabCtrl.h"
#include "ODToolTip.h"
#include "ODViews.h"

// Control ids: the page number is the hundreds digit.
enum {
  IDC_STATUS = 1000,
  IDC_TABS = 1001,
  IDC_PUSH = 101,
  IDC_CHECK = 102,
  IDC_RADIO1 = 103,
  IDC_RADIO2 = 104,
  IDC_DROPBTN = 105,
  IDC_HOVER = 106,
  IDC_PROGRESS = 107,
  IDC_GROW = 108,
  IDC_STEP = 110,
  IDC_RADIO3 = 111,
  IDC_LINKS = 201,
  IDC_MOVING = 202,
  IDC_EDIT = 203,
  IDC_PASSWORD = 204,
  IDC_TIPHOST = 205,
  IDC_TIPFX14 = 206,  // balloons with the two last effect fills
  IDC_TIPFX15 = 207,
  IDC_ANIMSTATIC = 208,  // a static whose own background image turns its frames
  IDC_LISTBOX = 301,
  IDC_COMBOLIST = 302,
  IDC_COMBOEDIT = 303,
  IDC_LISTVIEW = 304,
  IDC_SCROLLVIEW = 305,
  IDC_COMBOCTRL = 306,
  IDC_TREELIST = 307,
  IDC_OPENMENU = 401,
  IDC_SMALLTABS = 402,
  IDC_OPENPARTSMENU = 403,  // a popup menu with its four extra parts
  IDC_OPENDIALOG = 501,
  IDC_OPENWAIT = 502,
  IDC_OPENMSG = 503,
  ID_MENU_FIRST = 1500,  // commands of the drop-down and popup menus
};

enum { kGalleryPages = 5 };

// A page forwards what its controls report to the gallery.
class CGalleryPage : public CWnd {
 public:
  BOOL Create(CWnd* pParent, const RECT& rc);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CGalleryScrollView : public CODScrollView {
 public:
  void OnDrawContent(CDC* pDC) override;
};

class CGalleryWnd : public CWnd {
 public:
  CGalleryWnd();
  ~CGalleryWnd() override;
  BOOL Create(int nPage);
  void ShowPage(int nPage);
  void Report(LPCSTR lpszFormat, ...);
  // WM_COMMAND and WM_NOTIFY of a page's controls.
  void OnControlEvent(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void BuildButtonsPage(CWnd* page);
  void BuildTextPage(CWnd* page);
  void BuildListsPage(CWnd* page);
  void BuildTreeList(CWnd* page);
  void BuildMenusPage(CWnd* page);
  void BuildDialogsPage(CWnd* page);
  void OnCommandEvent(UINT nID, UINT nCode, HWND hCtrl);
  void OpenPopupMenu();
  void OpenPartsMenu();
  void OnTimer();

  CODTabCtrl m_tabs;
  CStatic m_status;
  CGalleryPage m_pages[kGalleryPages];
  CODButton m_push, m_check, m_radio1, m_radio2, m_radio3, m_dropButton, m_step;
  CHoverCtrl m_hover;
  CODProgressCtrl m_progress, m_grow;
  CODStatic m_links, m_moving, m_tipHost, m_tipEffects[2], m_animStatic;
  CODEdit m_edit, m_password;
  CODToolTip m_tip;
  CODListBox m_listBox;
  CODComboBox m_comboList, m_comboEdit;
  CODComboList m_comboCtrl;
  CODListView* m_pListView;
  CGalleryScrollView* m_pScrollView;
  CODListCtrl m_treeList;  // tree rows, lines and cell editing
  CODButton m_openMenu, m_openPartsMenu, m_openDialog, m_openWait, m_openMsg;
  CODTabCtrl m_smallTabs;
  CODMenuWnd m_popup, m_partsMenu;
  CODDialog m_dialog;
  CODWaitDlg m_wait;
  CODMsgDlg m_msg;
  BOOL m_bMsgOpen;
  HBITMAP m_hHoverStrip;
};
