#include "GameView.h"

#include <string>

#include "VeskApp.h"
#include "VeskDoc.h"

IMPLEMENT_DYNCREATE(CGameView, CView)

BEGIN_MESSAGE_MAP(CGameView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const COLORREF kTableGreen = RGB(0, 110, 60);

// "3" .. "A", "2", then the jokers; suits as letters.
std::string CardText(const CARD_INFO& c) {
  static const char* const kRanks[] = {"3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A", "2"};
  int v = c.nCode % 54;
  if (v < 0) v += 54;
  if (v == 52) return "jk";
  if (v == 53) return "JK";
  static const char kSuits[] = "DCHS";
  return std::string(kRanks[v % 13]) + kSuits[v / 13];
}

}  // namespace

CGameView::CGameView() = default;
CGameView::~CGameView() = default;

CVeskDoc* CGameView::GetVeskDoc() const { return dynamic_cast<CVeskDoc*>(GetDocument()); }

BOOL CGameView::OnEraseBkgnd(CDC*) { return TRUE; }

void CGameView::ShowChildPanel() {}

void CGameView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, kTableGreen);
  CVeskDoc* pDoc = GetVeskDoc();
  if (!pDoc) return;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(255, 255, 255));
  HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
  // Position 1 (the local player) at the bottom, 0 on the left, 2 on the right.
  const int count = theApp.m_Channel.nPlayerCount;
  for (int p = 0; p < count && p < CGameDocCore::MAX_POSITIONS; ++p) {
    const SEAT_INFO& s = pDoc->m_Seats[p];
    CString line;
    line.Format("%s [%s]  %d", s.szNickName, s.szUserName, (int)s.nScoreTotal);
    CRect r = rc;
    UINT fmt = DT_SINGLELINE;
    if (p == 1) {
      r.top = rc.bottom - 60;
      fmt |= DT_CENTER;
    } else if (p == 0) {
      r.left += 10;
      r.top = rc.Height() / 2 - 10;
    } else {
      r.right -= 10;
      r.top = rc.Height() / 2 - 10;
      fmt |= DT_RIGHT;
    }
    pDC->DrawText(line, &r, fmt);
  }
  std::string hand;
  for (int i = 0; i < CGameDocCore::MAX_CARDS; ++i) {
    const CARD_INFO& c = pDoc->m_Hands[CGameDocCore::OWN_POSITION][i];
    if (i >= pDoc->m_Seats[CGameDocCore::OWN_POSITION].nCardCount) break;
    if (!hand.empty()) hand += ' ';
    hand += CardText(c);
  }
  CRect handRect = rc;
  handRect.top = rc.bottom - 100;
  pDC->DrawText(hand.c_str(), &handRect, DT_SINGLELINE | DT_CENTER);
  if (!pDoc->m_strStatus.empty()) {
    CRect statusRect = rc;
    statusRect.top = rc.Height() / 2 - 10;
    pDC->DrawText(pDoc->m_strStatus.c_str(), &statusRect, DT_SINGLELINE | DT_CENTER);
  }
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
}
