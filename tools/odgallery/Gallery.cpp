#include "Gallery.h"

#include <cstdarg>

#include "ODTheme.h"

namespace {
const char kTitle[] = "ODGallery";
const int kWidth = 760, kHeight = 560, kTabHeight = 28, kStatusHeight = 22;
const UINT_PTR kPollTimer = 7;

// Tab captions: buttons, text, lists, menus, dialogs (GBK).
const char* const kPageNames[kGalleryPages] = {"\xB0\xB4\xC5\xA5", "\xCE\xC4\xB1\xBE", "\xC1\xD0\xB1\xED",
                                               "\xB2\xCB\xB5\xA5", "\xB6\xD4\xBB\xB0\xBF\xF2"};

// A four-frame strip for the hover button: normal, hover, pressed, disabled.
HBITMAP MakeHoverStrip() {
  const int fw = 30, h = 24;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, fw * 4, h);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  const COLORREF faces[4] = {RGB(181, 209, 226), RGB(220, 243, 255), RGB(20, 48, 87), RGB(200, 200, 200)};
  for (int i = 0; i < 4; ++i) {
    RECT r = {i * fw, 0, (i + 1) * fw, h};
    HBRUSH br = ::CreateSolidBrush(faces[i]);
    ::FillRect(mem, &r, br);
    ::DeleteObject(br);
    HBRUSH edge = ::CreateSolidBrush(RGB(20, 48, 87));
    ::FrameRect(mem, &r, edge);
    ::DeleteObject(edge);
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return bmp;
}

// Round pictures on the teal key colour, one per frame (w x h each): the hover button's
// icon and the list box's image list.
HBITMAP MakeDots(int w, int h, const COLORREF* colours, int frames) {
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w * frames, h);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  RECT all = {0, 0, w * frames, h};
  HBRUSH key = ::CreateSolidBrush(RGB(0, 128, 128));
  ::FillRect(mem, &all, key);
  ::DeleteObject(key);
  HGDIOBJ oldPen = ::SelectObject(mem, ::GetStockObject(NULL_PEN));
  for (int i = 0; i < frames; ++i) {
    HBRUSH br = ::CreateSolidBrush(colours[i]);
    HGDIOBJ oldBrush = ::SelectObject(mem, br);
    ::Ellipse(mem, i * w + 1, 1, (i + 1) * w, h);
    ::SelectObject(mem, oldBrush);
    ::DeleteObject(br);
  }
  ::SelectObject(mem, oldPen);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return bmp;
}
}  // namespace

// ---- page -----------------------------------------------------------------------------------

BOOL CGalleryPage::Create(CWnd* pParent, const RECT& rc) {
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)::GetStockObject(WHITE_BRUSH));
  return CWnd::Create(cls, "", WS_CHILD | WS_CLIPCHILDREN, rc, pParent, 0);
}

LRESULT CGalleryPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT r = CWnd::WindowProc(message, wParam, lParam);
  if (message == WM_COMMAND || message == WM_NOTIFY) {
    // The page's own handling (reflection to the control) came first.
    if (CGalleryWnd* gallery = static_cast<CGalleryWnd*>(GetParent())) gallery->OnControlEvent(message, wParam, lParam);
  }
  return r;
}

void CGalleryScrollView::OnDrawContent(CDC* pDC) {
  // A chequered surface of 600 x 400 with its coordinates, larger than the view.
  for (int y = 0; y < 400; y += 50)
    for (int x = 0; x < 600; x += 50) {
      RECT r = {x, y, x + 50, y + 50};
      pDC->FillSolidRect(&r, ((x + y) / 50) % 2 ? RGB(214, 228, 242) : RGB(255, 255, 255));
      char text[16];
      wsprintfA(text, "%d,%d", x, y);
      ::SetBkMode(pDC->m_hDC, TRANSPARENT);
      ::TextOutA(pDC->m_hDC, x + 4, y + 4, text, lstrlenA(text));
    }
}

// ---- gallery --------------------------------------------------------------------------------

CGalleryWnd::CGalleryWnd() : m_pListView(nullptr), m_pScrollView(nullptr), m_bMsgOpen(FALSE), m_hHoverStrip(nullptr) {}

CGalleryWnd::~CGalleryWnd() {
  if (m_hHoverStrip) ::DeleteObject(m_hHoverStrip);
}

BOOL CGalleryWnd::Create(int nPage) {
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
  CRect frame(0, 0, kWidth, kHeight);
  ::AdjustWindowRect(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
  if (!CreateEx(0, cls, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 20, 20,
                frame.Width(), frame.Height(), nullptr, nullptr))
    return FALSE;
  m_tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, kWidth, kTabHeight + 4), this, IDC_TABS);
  for (int i = 0; i < kGalleryPages; ++i) m_tabs.InsertItem(i, kPageNames[i]);
  m_status.Create("", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(8, kHeight - kStatusHeight + 3, kWidth - 8, kHeight), this,
                  IDC_STATUS);
  CRect pageRect(0, kTabHeight + 4, kWidth, kHeight - kStatusHeight);
  for (CGalleryPage& page : m_pages) page.Create(this, pageRect);
  BuildButtonsPage(&m_pages[0]);
  BuildTextPage(&m_pages[1]);
  BuildListsPage(&m_pages[2]);
  BuildMenusPage(&m_pages[3]);
  BuildDialogsPage(&m_pages[4]);
  Report("ready");
  ShowPage(nPage >= 0 && nPage < kGalleryPages ? nPage : 0);
  SetTimer(kPollTimer, 100, nullptr);
  return TRUE;
}

void CGalleryWnd::ShowPage(int nPage) {
  m_tabs.SetCurSel(nPage);
  for (int i = 0; i < kGalleryPages; ++i) m_pages[i].ShowWindow(i == nPage ? SW_SHOW : SW_HIDE);
  Report("page %d", nPage);
}

void CGalleryWnd::Report(LPCSTR lpszFormat, ...) {
  char text[512];
  va_list args;
  va_start(args, lpszFormat);
  wvsprintfA(text, lpszFormat, args);
  va_end(args);
  m_status.SetWindowText(text);
}

void CGalleryWnd::BuildButtonsPage(CWnd* page) {
  m_push.Create("\xB0\xB4\xC5\xA5 Push", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 20, 140, 48),
                page, IDC_PUSH);
  m_check.Create("Check box", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, CRect(20, 60, 160, 84), page,
                 IDC_CHECK);
  m_radio1.Create("Radio one", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_RADIOBUTTON, CRect(20, 94, 160, 118),
                  page, IDC_RADIO1);
  m_radio2.Create("Radio two", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, CRect(20, 122, 160, 146), page, IDC_RADIO2);
  // A radio button of another group stays as it is.
  m_radio3.Create("Other group", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_RADIOBUTTON, CRect(20, 156, 160, 180), page,
                  IDC_RADIO3);
  m_radio1.SetCheck(1);
  m_radio3.SetCheck(1);
  m_dropButton.Create("Menu", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, CRect(200, 20, 320, 48),
                      page, IDC_DROPBTN);
  HMENU bar = ::CreateMenu();
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenuA(popup, MF_STRING, ID_MENU_FIRST + 1, "&Open");
  ::AppendMenuA(popup, MF_STRING, ID_MENU_FIRST + 2, "&Save");
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(popup, MF_STRING, ID_MENU_FIRST + 3, "E&xit");
  ::AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, "File");
  m_dropButton.SetMenu(bar, this);
  m_hover.Create("Hover", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(200, 60, 320, 90), page, IDC_HOVER);
  m_hHoverStrip = MakeHoverStrip();
  m_hover.SetStateImage(m_hHoverStrip);
  const COLORREF iconColour = RGB(255, 0, 0);
  HBITMAP icon = MakeDots(16, 16, &iconColour, 1);
  m_hover.SetIcon(icon, 4);  // the button keeps its own 16-bit copy
  ::DeleteObject(icon);
  m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(360, 24, 720, 46), page, IDC_PROGRESS);
  m_progress.SetRange(0, 100);
  m_progress.SetStep(10);
  m_progress.SetPos(30);
  m_grow.Create(WS_CHILD | WS_VISIBLE | vesk::odctrls::kProgressGrow, CRect(360, 60, 720, 82), page, IDC_GROW);
  m_grow.SetRange(0, 100);
  m_grow.SetBlockLength(25);
  m_grow.SetStep(20);
  m_step.Create("Step", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(360, 96, 460, 124), page, IDC_STEP);
}

void CGalleryWnd::BuildTextPage(CWnd* page) {
  m_links.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 20, 720, 80), page, IDC_LINKS);
  CODTxtMov& lines = m_links.GetTextLines();
  lines.DestroyLines();
  const int plain[5] = {0, -1, -1, -1, 0};
  int l0 = lines.AddLine(0, 0, 0, 0);
  lines.AddItem(l0, "\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3 (welcome) ", "", "", plain);
  lines.AddItem(l0, "\xC1\xB4\xBD\xD3 link", "no-such-file.gallerylink", "a link tip", plain);
  int l1 = lines.AddLine(0, 0, 0, 0);
  lines.AddItem(l1, "Second line, plain text ", "", "", plain);
  lines.AddItem(l1, "another link", "no-such-file.gallerylink", "", plain);
  m_links.SetTip("default tip");
  m_moving.Create("Moving text runs to the left ... ", WS_CHILD | WS_VISIBLE, CRect(20, 90, 360, 114), page,
                  IDC_MOVING);
  m_moving.StartMoving(60);
  // The round buttons as one state of four frames, keyed at the top-left corner.
  m_animStatic.Create("", WS_CHILD | WS_VISIBLE, CRect(380, 90, 460, 114), page, IDC_ANIMSTATIC);
  m_animStatic.SetBkImage("0,120,0,4,1,4");
  m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 130, 300, 154), page, IDC_EDIT);
  m_edit.SetWindowText("Edit me");
  m_password.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD, CRect(20, 166, 300, 190), page, IDC_PASSWORD);
  m_password.SetLimitText(16);
  m_tipHost.Create("Rest the mouse here for a balloon tip", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 210, 360, 240),
                   page, IDC_TIPHOST);
  m_tip.Create(page, 0);
  OD_TOOL_INFO own = {};
  own.uMask = ODTT_MASK_EFFECT;
  own.nEffect = 9;
  own.nGranularity = 6;
  m_tip.AddTool(&m_tipHost,
                "<b>Balloon</b> tip<br><ct=0x0000FF>red</ct> <i>italic</i> <u>under</u><br><hr=50%><br>"
                "\xCC\xE1\xCA\xBE <cti=20>link colour</cti><br><bmp=122 cx=30 cy=12> <img=Border cx=30 cy=12>",
                nullptr, IDC_TIPHOST, &own);
  // Two more hosts show the soft bump with its split (14) and the mirrored strokes (15).
  for (int i = 0; i < 2; ++i) {
    const int effect = 14 + i;
    char caption[32], text[160];
    wsprintfA(caption, "Effect %d balloon", effect);
    m_tipEffects[i].Create(caption, WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(380 + i * 180, 210, 540 + i * 180, 240),
                           page, IDC_TIPFX14 + i);
    wsprintfA(text, "<b>Effect %d</b><br>%s<br>\xB1\xB3\xBE\xB0 background<br><br>", effect,
              effect == 14 ? "a soft bump, split on a slant" : "strokes mirrored about the middle");
    OD_TOOL_INFO fx = {};
    fx.uMask = ODTT_MASK_EFFECT | ODTT_MASK_COLOURS;
    fx.nEffect = effect;
    fx.nGranularity = 4;
    fx.crBegin = RGB(255, 255, 255);
    fx.crMid = RGB(181, 209, 226);
    fx.crEnd = RGB(20, 48, 87);
    m_tip.AddTool(&m_tipEffects[i], text, nullptr, IDC_TIPFX14 + i, &fx);
  }
  m_tip.AddNamedImage("border", 122, 1, 0);
  m_tip.Enable(TRUE);
  m_tip.SetDelay(300, 0);
}

void CGalleryWnd::BuildListsPage(CWnd* page) {
  m_listBox.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, CRect(20, 20, 200, 200), page, IDC_LISTBOX);
  for (int i = 0; i < 20; ++i) {
    char text[32];
    wsprintfA(text, "Item %02d \xC1\xD0\xB1\xED", i);
    m_listBox.AddString(text);
  }
  // Images on three of every four items: red, blue, green dots.
  const COLORREF dots[3] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)};
  HBITMAP strip = MakeDots(12, 12, dots, 3);
  m_listBox.SetImageList(strip, 3);
  ::DeleteObject(strip);
  for (int i = 0; i < 20; ++i)
    if (i % 4 != 3) m_listBox.SetItemImage(i, i % 3, 0);
  m_comboList.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(220, 20, 400, 44), page,
                     IDC_COMBOLIST);
  m_comboEdit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, CRect(220, 60, 400, 84), page, IDC_COMBOEDIT);
  for (const char* s : {"Spring", "Summer", "Autumn", "Winter", "\xC1\xD0\xB1\xED"}) {
    m_comboList.AddString(s);
    m_comboEdit.AddString(s);
  }
  m_comboCtrl.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(220, 100, 400, 124), page,
                     IDC_COMBOCTRL);
  m_comboCtrl.GetList().InsertColumn(0, "", 160);
  for (const char* s : {"North", "East", "South", "West"})
    m_comboCtrl.GetList().InsertItem(m_comboCtrl.GetList().GetItemCount(), s);
  m_comboCtrl.SetDroppedSize(180, 90);
  m_comboCtrl.SetCurSel(-5);
  m_comboList.SetDroppedSize(180, 110);
  m_comboEdit.SetDroppedSize(180, 110);
  m_comboList.SetCurSel(0);
  m_pListView = (CODListView*)RUNTIME_CLASS(CODListView)->CreateObject();
  m_pListView->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(420, 20, 730, 200), page, IDC_LISTVIEW);
  m_pListView->OnInitialUpdate();
  CODListCtrl& list = m_pListView->GetListCtrl();
  list.InsertColumn(0, "Player", 110);
  list.InsertColumn(1, "Score", 70);
  list.InsertColumn(2, "Hands", 70);
  // A second click on the focused cell (or typing on it) edits it; header items drag.
  list.ModifyListStyle(0, odlist::LS_CELLFOCUS);
  for (int i = 0; i < 14; ++i) {
    char name[16], score[16], hands[16];
    wsprintfA(name, "Player %d", i + 1);
    wsprintfA(score, "%d", (i * 37) % 100 - 20);
    wsprintfA(hands, "%d", i + 3);
    list.InsertItem(i, name);
    list.SetItemText(i, 1, score);
    list.SetItemText(i, 2, hands);
  }
  BuildTreeList(page);
  m_pScrollView = new CGalleryScrollView;
  m_pScrollView->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(20, 220, 400, 470), page, IDC_SCROLLVIEW);
  m_pScrollView->OnInitialUpdate();
  m_pScrollView->SetScrollSizes(MM_TEXT, SIZE{600, 400}, SIZE{0, 0}, SIZE{10, 10});
}

void CGalleryWnd::BuildTreeList(CWnd* page) {
  m_treeList.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | 0x4000 | odlist::LS_CELLFOCUS, CRect(420, 220, 730, 470), page,
                    IDC_TREELIST);
  m_treeList.InsertColumn(0, "Table", 170);
  m_treeList.InsertColumn(1, "Seats", 70);
  m_treeList.SetTreeLines(TRUE);
  for (int room = 1; room <= 3; ++room) {
    char text[32];
    wsprintfA(text, "Room %d", room);
    const int node = m_treeList.InsertTreeItem(ODTREE_ROOT, text);
    for (int t = 1; t <= 3; ++t) {
      wsprintfA(text, "Table %d-%d", room, t);
      const int row = m_treeList.GetNodeRow(m_treeList.InsertTreeItem(node, text));
      wsprintfA(text, "%d/3", (room + t) % 4);
      m_treeList.SetItemText(row, 1, text);
    }
    if (room < 3) m_treeList.Expand(node, odlist::TREE_EXPAND);
  }
}

void CGalleryWnd::BuildMenusPage(CWnd* page) {
  m_openMenu.Create("Popup menu", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 20, 160, 48), page,
                    IDC_OPENMENU);
  m_openPartsMenu.Create("Menu with parts", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(300, 20, 440, 48),
                         page, IDC_OPENPARTSMENU);
  m_smallTabs.Create(WS_CHILD | WS_VISIBLE, CRect(20, 80, 260, 200), page, IDC_SMALLTABS);
  for (int i = 0; i < 10; ++i) {
    char text[16];
    wsprintfA(text, "Tab %d", i + 1);
    m_smallTabs.InsertItem(i, text);
  }
}

void CGalleryWnd::BuildDialogsPage(CWnd* page) {
  m_openDialog.Create("Dialog", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 20, 160, 48), page,
                      IDC_OPENDIALOG);
  m_openWait.Create("Wait dialog", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 60, 160, 88), page,
                    IDC_OPENWAIT);
  m_openMsg.Create("Message dialog", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 100, 160, 128), page,
                   IDC_OPENMSG);
}

void CGalleryWnd::OpenPopupMenu() {
  if (!m_popup.Create(this, 2, TRUE)) return;
  m_popup.SetTipText("Gallery menu");
  m_popup.AddItem("First item", ID_MENU_FIRST + 11, "the first tip", TRUE, 0);
  m_popup.AddItem("Second item", ID_MENU_FIRST + 12, nullptr, TRUE, 0);
  m_popup.AddItem("", 0, nullptr, FALSE, 0);
  m_popup.AddItem("More", ID_MENU_FIRST + 13, nullptr, FALSE, 0);
  m_popup.AddItem("Disabled", ID_MENU_FIRST + 14, nullptr, TRUE, 0);
  m_popup.EnableItem(0, 4, FALSE);
  // Round buttons by state (normal, marked, hot, disabled), blinking diamonds that turn while
  // their item is hot, and the sub-menu mark.
  m_popup.SetItemImage(0, 0, OD_MENU_ITEM::IMG_ICON, "0,120,0,4,4,1");
  m_popup.SetItemImage(0, 1, OD_MENU_ITEM::IMG_ICON, "0,124,0,4,2,2");
  m_popup.SetItemImage(0, 3, OD_MENU_ITEM::IMG_MARK, "0,125,0,3,3,1");
  m_popup.SetItemImage(0, 4, OD_MENU_ITEM::IMG_ICON, "0,120,0,4,4,1");
  m_popup.AddItem("\xB8\xB4\xD6\xC6 column two", ID_MENU_FIRST + 15, nullptr, TRUE, 1);
  m_popup.AddItem("Last", ID_MENU_FIRST + 16, nullptr, TRUE, 1);
  CODMenuWnd* sub = new CODMenuWnd;
  if (sub->Create(this, 1, TRUE)) {
    sub->AddItem("Sub one", ID_MENU_FIRST + 21, nullptr, TRUE, 0);
    sub->AddItem("Sub two", ID_MENU_FIRST + 22, nullptr, TRUE, 0);
    m_popup.AttachSubMenu(0, 3, sub, TRUE);
  } else {
    delete sub;
  }
  CRect rc;
  m_openMenu.GetWindowRect(&rc);
  m_popup.Track(0, rc.left, rc.bottom, this);
}

// A title strip with moving text over the background tile, a left strip of turning round
// buttons, a plain right strip and a bottom strip with its own colour.
void CGalleryWnd::OpenPartsMenu() {
  if (!m_partsMenu.Create(this, 1, TRUE)) return;
  m_partsMenu.SetTipText("Menu with parts");
  m_partsMenu.AddItem("Part item one", ID_MENU_FIRST + 31, nullptr, TRUE, 0);
  m_partsMenu.AddItem("Part item two", ID_MENU_FIRST + 32, nullptr, TRUE, 0);
  m_partsMenu.AddItem("Part item three", ID_MENU_FIRST + 33, nullptr, TRUE, 0);
  m_partsMenu.SetExtraPart(CODMenuWnd::PART_TOP, "0,121", 20, "\xB2\xCB\xB5\xA5 Menu title moves", CLR_NONE);
  m_partsMenu.SetExtraPart(CODMenuWnd::PART_LEFT, "0,120,0,4,1,4", 0, nullptr, RGB(20, 48, 87));
  m_partsMenu.SetExtraPart(CODMenuWnd::PART_RIGHT, nullptr, 6, " ", RGB(181, 209, 226));
  m_partsMenu.SetExtraPart(CODMenuWnd::PART_BOTTOM, nullptr, 8, " ", RGB(20, 48, 87));
  CRect rc;
  m_openPartsMenu.GetWindowRect(&rc);
  m_partsMenu.Track(0, rc.left, rc.bottom, this);
}

void CGalleryWnd::OnCommandEvent(UINT nID, UINT nCode, HWND hCtrl) {
  (void)hCtrl;
  if (nID >= ID_MENU_FIRST && nID < ID_MENU_FIRST + 100) {
    Report("menu %u", nID - ID_MENU_FIRST);
    return;
  }
  switch (nID) {
    case IDC_PUSH:
      Report("button %d", IDC_PUSH);
      break;
    case IDC_CHECK:
      Report("check %d", m_check.GetCheck());
      break;
    case IDC_RADIO1:
    case IDC_RADIO2:
    case IDC_RADIO3:
      Report("radio %d %d %d", m_radio1.GetCheck(), m_radio2.GetCheck(), m_radio3.GetCheck());
      break;
    case IDC_HOVER:
      Report("hover clicked");
      break;
    case IDC_STEP:
      m_progress.StepIt();
      m_grow.StepIt();
      Report("progress %d grow %d", m_progress.GetPos(), m_grow.GetPos());
      break;
    case IDC_EDIT:
      if (nCode == EN_CHANGE) {
        char text[128] = {};
        m_edit.GetWindowText(text, sizeof(text));
        Report("edit %s", text);
      }
      break;
    case IDC_PASSWORD:
      if (nCode == EN_CHANGE) Report("password %d", m_password.GetPassword().GetLength());
      break;
    case IDC_LINKS:
      Report("links clicked");
      break;
    case IDC_LISTBOX:
      if (nCode == LBN_SELCHANGE)
        Report("list %d %s", m_listBox.GetCurSel(), (LPCSTR)m_listBox.GetText(m_listBox.GetCurSel()));
      break;
    case IDC_COMBOLIST:
    case IDC_COMBOEDIT:
    case IDC_COMBOCTRL:
      if (nCode == CBN_SELCHANGE) {
        char text[64] = {};
        CWnd* combo = nID == IDC_COMBOLIST   ? (CWnd*)&m_comboList
                      : nID == IDC_COMBOEDIT ? (CWnd*)&m_comboEdit
                                             : &m_comboCtrl;
        combo->SendMessage(WM_GETTEXT, sizeof(text), (LPARAM)text);
        Report("combo %u %s", nID, text);
      } else if (nCode == CBN_DROPDOWN) {
        Report("combo %u dropped", nID);
      }
      break;
    case IDC_OPENMENU:
      OpenPopupMenu();
      break;
    case IDC_OPENPARTSMENU:
      OpenPartsMenu();
      break;
    case IDC_OPENDIALOG:
      if (!m_dialog.m_hWnd &&
          m_dialog.CreateModeless("\xB6\xD4\xBB\xB0\xBF\xF2 Dialog",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 300, 160,
                                  this)) {
        m_dialog.SetWindowPos(nullptr, 250, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_dialog.ShowWindow(SW_SHOW);
      }
      Report("dialog open");
      break;
    case IDC_OPENWAIT:
      if (!m_wait.m_hWnd && m_wait.CreateWait("\xC7\xEB\xC9\xD4\xBA\xF2", 2, this)) {
        m_wait.SetWindowPos(nullptr, 250, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_wait.ShowWindow(SW_SHOW);
      }
      Report("wait open");
      break;
    case IDC_OPENMSG:
      if (!m_msg.m_hWnd && m_msg.CreateMessage("\xCC\xE1\xCA\xBE", "seconds left", 3, 700, this)) {
        m_msg.SetWindowPos(nullptr, 250, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_msg.ShowWindow(SW_SHOW);
        m_bMsgOpen = TRUE;
      }
      Report("message open");
      break;
  }
}

void CGalleryWnd::OnControlEvent(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) OnCommandEvent(LOWORD(wParam), HIWORD(wParam), (HWND)lParam);
}

void CGalleryWnd::OnTimer() {
  // Dialog states that come from their own timers.
  if (m_bMsgOpen && !m_msg.m_hWnd) {
    m_bMsgOpen = FALSE;
    Report("message closed %d", m_msg.GetResult());
  }
  if (m_wait.m_hWnd && m_wait.IsWindowVisible()) Report("wait %d", m_wait.GetBar().GetPos());
  if (m_bMsgOpen && m_msg.m_hWnd) Report("message %d", m_msg.GetRemaining());
}

LRESULT CGalleryWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      if (((NMHDR*)lParam)->idFrom == IDC_TABS && ((NMHDR*)lParam)->code == TCN_SELCHANGE) {
        ShowPage(m_tabs.GetCurSel());
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lParam == 0) {
        OnCommandEvent(LOWORD(wParam), HIWORD(wParam), nullptr);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kPollTimer) {
        OnTimer();
        return 0;
      }
      break;
    case WM_APP + 1:
      m_tip.RelayEvent((const MSG*)lParam);
      return 0;
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
