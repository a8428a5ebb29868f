#include "FrameCaptionBar.h"

BEGIN_MESSAGE_MAP(CFrameCaptionBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, &CFrameCaptionBar::OnSizeParent)
  ON_MESSAGE(WM_SYSCOMMAND, &CFrameCaptionBar::OnSysCommandMsg)
END_MESSAGE_MAP()

BOOL CFrameCaptionBar::Create(CWnd* pParent) {
  CRect empty(0, 0, 0, 0);
  return CWnd::Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, empty, pParent,
                      IDC_FRAME_CAPTIONBAR);
}

LRESULT CFrameCaptionBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (!layout) return 0;
  layout->rect.top += m_nTop;
  layout->rect.left += m_nLeft;
  layout->rect.right -= m_nRight;
  layout->rect.bottom -= m_nBottom;
  return 0;
}

BOOL CFrameCaptionBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Where a chosen menu item arrives as a command, the frame gets it as a system command.
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_SYSCOMMAND, wParam, lParam);
  return FALSE;
}

LRESULT CFrameCaptionBar::OnSysCommandMsg(WPARAM wParam, LPARAM lParam) {
  // Some platforms send the system command to the menu's owner itself: it belongs to
  // the frame, and this bar must not act on it (a Close would destroy the bar).
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_SYSCOMMAND, wParam, lParam);
  return 0;
}

CFrameBar::CFrameBar()
    : m_nLayoutMode(2),
      m_bUseBackground(FALSE),
      m_dwDrawFlags(0),
      m_crBackground(::GetSysColor(COLOR_BTNFACE)),
      m_nButtons(0),
      m_pButtons(nullptr),
      m_nSpacing(4),
      m_bSound(FALSE),
      m_nPressSound(0),
      m_nHoverSound(0),
      m_crKey(0),
      m_bFirstPaint(TRUE) {}

CFrameBar::~CFrameBar() {
  for (int i = 0; i < m_nButtons; ++i) delete m_pButtons[i];
  delete[] m_pButtons;
}
