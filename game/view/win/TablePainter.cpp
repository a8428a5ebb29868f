#include "TablePainter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "TableGdi.h"
#include "TableRules.h"
#include "ThemeBitmaps.h"
#include "ViewTexts.h"

using tableview::Box;
using tableview::Pt;
using namespace tablegdi;
using namespace viewtext;

namespace {
const COLORREF kShadow = RGB(0, 0, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kBadgeText = RGB(120, 0, 0);
}  // namespace

int CTablePainter::PlayerCount() const {
  const int n = m_pDoc ? m_pDoc->GetPlayerCount() : 3;
  return n == 4 ? 4 : 3;
}

int CTablePainter::SlotOf(int nPosition) const {
  return tableview::SlotOf(nPosition, m_pDoc ? m_pDoc->IsOrderClockwise() : true);
}

void CTablePainter::BuildTable(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  HGDIOBJ oldFont = ::SelectObject(dc, m_fonts.f14);
  DrawBackground(pDC);
  CGameDocCore* doc = m_pDoc;
  if (doc) {
    const bool four = PlayerCount() == 4;
    const int order[4] = {3, 2, 0, 1};
    for (int p : order)
      if (p != 3 || four) DrawPlayerPanel(pDC, p);
    for (int p : order)
      if (p != 3 || four) DrawHand(pDC, p);
    if (!four) DrawBottomCards(pDC);
  }
  ::SelectObject(dc, oldFont);
}

void CTablePainter::DrawBackground(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  const tableview::Layout& l = m_layout;
  RECT table{0, 0, l.W, l.H};
  if (m_theme.bkMode == 1) {
    FillRect(dc, 0, 0, l.W, l.H, m_theme.bkColour);
  } else if (m_theme.bkMode == 2 && m_theme.hBkPicture) {
    if (m_theme.bkTile)
      TileBmp(dc, m_theme.hBkPicture, table);
    else
      StretchBmp(dc, m_theme.hBkPicture, table);
  } else if (m_theme.hFill) {
    StretchBmp(dc, m_theme.hFill, table);
    StretchBmp(dc, m_theme.hBackground, table);
  } else {
    // The felt: a lit centre fading to darker edges, with a faint oval rail.
    VerticalGradient(dc, RECT{0, 0, l.W, l.H / 2}, RGB(0, 86, 40), RGB(0, 122, 58));
    VerticalGradient(dc, RECT{0, l.H / 2, l.W, l.H}, RGB(0, 122, 58), RGB(0, 80, 38));
    HPEN rail = ::CreatePen(PS_SOLID, 3, RGB(0, 140, 70));
    HGDIOBJ op = ::SelectObject(dc, rail), ob = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, 40, 30, l.W - 40, l.H - 20, 260, 260);
    ::SelectObject(dc, op);
    ::SelectObject(dc, ob);
    ::DeleteObject(rail);
  }
  if (m_theme.hLogo) {
    BITMAP bm;
    if (::GetObjectA(m_theme.hLogo, sizeof bm, &bm))
      StretchBmp(dc, m_theme.hLogo,
                 RECT{l.cx - bm.bmWidth / 2, l.cy - bm.bmHeight / 2, l.cx + (bm.bmWidth + 1) / 2,
                      l.cy + (bm.bmHeight + 1) / 2});
  }
  if (!l.strip.IsEmpty()) {
    RECT s = ToRect(l.strip);
    if (m_theme.hFill)
      StretchBmp(dc, m_theme.hFill, s);
    else
      VerticalGradient(dc, s, RGB(0, 70, 34), RGB(0, 56, 28));
  }
}

void CTablePainter::DrawShadowText(CDC* pDC, int x, int y, const char* text, COLORREF color) {
  HDC dc = pDC->GetSafeHdc();
  ::SetBkMode(dc, TRANSPARENT);
  const int n = (int)std::strlen(text);
  ::SetTextColor(dc, kShadow);
  ::TextOutA(dc, x + 1, y + 1, text, n);
  ::SetTextColor(dc, color);
  ::TextOutA(dc, x, y, text, n);
}

bool CTablePainter::HandShown(int nPosition) const {
  CGameDocCore* doc = m_pDoc;
  if (!doc || nPosition == CGameDocCore::OWN_POSITION) return true;
  const int n = doc->Seat(nPosition).nCardCount;
  if (n <= 0) return false;
  const int phase = doc->GetSchedule();
  if (phase == SCHEDULE_PLAY) {
    // The declarer playing with open cards.
    return doc->IsDeclarerShown() && doc->DeclarerSeat() >= 0 && doc->SeatToPosition(doc->DeclarerSeat()) == nPosition;
  }
  if (phase == SCHEDULE_BID) return false;
  // After a hand the document lays every remaining hand open.
  const CARD_INFO& c = doc->Hand(nPosition)[0];
  return c.bFaceUp && c.nCode != 255;
}

bool CTablePainter::CardFaceUp(int nPosition, const CARD_INFO& card) const {
  if (!card.bFaceUp) return false;
  CGameDocCore* doc = m_pDoc;
  if (doc && doc->IsWatching() && !doc->Seat(nPosition).bAllowWatching) return false;
  return true;
}

void CTablePainter::DrawCard(CDC* pDC, const CARD_INFO& card, int x, int y, bool faceUp, bool raise) {
  if (card.nDrawState1) return;
  if (raise && card.bSelected) y -= tableview::RAISE;
  const int cell = tableview::CardCell(card, faceUp);
  if (cell == 0) return;
  const bool large = m_layout.cardW == tableview::CARD_W_LARGE;
  const int w = m_layout.drawW, h = m_layout.drawH;
  HDC dc = pDC->GetSafeHdc();
  RECT r{x, y, x + w, y + h};
  if (!::RectVisible(dc, &r)) return;
  if (m_bCardsLoaded &&
      m_pCards->ShowCard(pDC, (WORD)cell, (WORD)x, (WORD)y, 0, 0, large ? 16 : 8, 0, 0, 0, 0, nullptr) == CARD_DRAWN)
    return;
  // Without the card library: a plain card with its rank.
  RoundBox(dc, r, cell == tableview::CELL_BACK ? RGB(40, 70, 160) : kWhite, RGB(60, 60, 60), 8);
  if (cell != tableview::CELL_BACK) {
    static const char* const kFaces[] = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    const int face = cell & 15;
    const char* t = (cell == tableview::CELL_SMALL_JOKER || cell == tableview::CELL_BIG_JOKER) ? "JK" : kFaces[face];
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, (cell >> 4) == 2 || (cell >> 4) == 4 ? RGB(200, 0, 0) : RGB(0, 0, 0));
    ::TextOutA(dc, x + 4, y + 3, t, (int)std::strlen(t));
  }
}

void CTablePainter::DrawPlayerPanel(CDC* pDC, int p) {
  CGameDocCore* doc = m_pDoc;
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  HDC dc = pDC->GetSafeHdc();
  const SEAT_INFO& seat = doc->Seat(p);
  ::SetBkMode(dc, TRANSPARENT);

  DrawOrderImage(pDC, p);
  // Panel background.
  const Pt panel = l.panel[slot];
  RECT pr{panel.x, panel.y, panel.x + tableview::PANEL_W, panel.y + tableview::PANEL_H};
  if (m_theme.hPlayer) {
    HDC src = ::CreateCompatibleDC(dc);
    HGDIOBJ o = ::SelectObject(src, m_theme.hPlayer);
    ::BitBlt(dc, pr.left, pr.top, tableview::PANEL_W, tableview::PANEL_H, src, slot == 0 ? tableview::PANEL_W : 0, 0,
             SRCCOPY);
    ::SelectObject(src, o);
    ::DeleteDC(src);
  } else {
    RoundBox(dc, pr, RGB(0, 64, 32), RGB(90, 170, 110), 14);
  }

  // The avatar and its status mark are the avatar panel's (the view draws them over the table).
  const bool present = seat.szUserName[0] != 0;

  // Names: nickname and [user name].
  const Pt n = l.name[slot];
  const std::string nickName = PanelNickName(p);
  char nick[24], user[28];
  std::snprintf(nick, sizeof nick, "%.20s", nickName.c_str());
  std::snprintf(user, sizeof user, "[%.*s]", (int)sizeof seat.szUserName, seat.szUserName);
  HGDIOBJ of = ::SelectObject(dc, m_fonts.f12);
  if (present) {
    ::SelectObject(dc, m_fonts.f14);
    DrawShadowText(pDC, n.x, n.y, nick, kWhite);
    ::SelectObject(dc, m_fonts.f12);
    DrawShadowText(pDC, n.x, n.y + 17, user, RGB(220, 240, 220));
  }
  ::SelectObject(dc, m_fonts.f14);
  // Remaining cards in the playing phase.
  if (doc->GetSchedule() == SCHEDULE_PLAY && present) {
    char count[16];
    std::snprintf(count, sizeof count, "%d", (int)seat.nCardCount);
    const int x = slot == 0 ? n.x - 37 : n.x + 100;
    if (seat.nCardCount <= 5) {
      ::SetTextColor(dc, kYellow);
      ::TextOutA(dc, x, n.y, count, (int)std::strlen(count));
    } else {
      DrawShadowText(pDC, x, n.y, count, kWhite);
    }
  }
  // The own text block: base score, multiplier and the open-cards note.
  if (p == CGameDocCore::OWN_POSITION) {
    char line[48];
    const Pt t = l.textOrigin;
    std::snprintf(line, sizeof line, kBaseFmt, doc->BidValue());
    DrawShadowText(pDC, t.x, t.y, line, kWhite);
    std::snprintf(line, sizeof line, kMultFmt, doc->Multiplier());
    DrawShadowText(pDC, t.x, t.y + 16, line, kWhite);
    if (doc->IsDeclarerShown()) DrawShadowText(pDC, t.x, t.y + 32, kShownText, kWhite);
  }
  // The declarer's badge; the farmers' badge on the other seats when the theme has one.
  const bool declarer = doc->DeclarerSeat() >= 0 && doc->SeatToPosition(doc->DeclarerSeat()) == p;
  if (doc->DeclarerSeat() >= 0 && !declarer && m_theme.hFarmer) {
    const Pt b = l.badge[slot];
    DrawMaskedHalf(dc, RECT{b.x, b.y, b.x + m_theme.badgeCell.cx, b.y + m_theme.badgeCell.cy}, m_theme.hFarmer);
  }
  if (declarer) {
    const Pt b = l.badge[slot];
    if (m_theme.hBadge) {
      DrawMaskedHalf(dc, RECT{b.x, b.y, b.x + m_theme.badgeCell.cx, b.y + m_theme.badgeCell.cy}, m_theme.hBadge);
    } else {
      Disc(dc, b.x, b.y + 2, 40, 40, RGB(230, 170, 20), RGB(120, 60, 0));
      ::SelectObject(dc, m_fonts.badge);
      CenteredText(dc, RECT{b.x, b.y + 2, b.x + 40, b.y + 42}, kDeclarerText, kBadgeText);
    }
    ::SelectObject(dc, m_fonts.f14);
  }
  // The last bid of the seat before the current bidder.
  if (doc->GetSchedule() == SCHEDULE_BID && p != CGameDocCore::OWN_POSITION &&
      p == tableview::PreviousBidder(doc->TurnPosition(), PlayerCount()) &&
      doc->TurnPosition() != doc->SeatToPosition(doc->FirstBidder()) && doc->LastBid() >= 0 && doc->LastBid() <= 3) {
    const Pt pl = l.play[slot];
    const int x = slot == 0 ? pl.x - 58 - 26 : pl.x;
    RECT br{x, pl.y + 30, x + 58, pl.y + 30 + 19};
    if (!DrawStripCell(dc, m_theme.hBidStrip, doc->LastBid(), 58, 19, br.left, br.top)) {
      RoundBox(dc, br, RGB(250, 230, 150), RGB(140, 90, 0), 8);
      CenteredText(dc, br, kBidTexts[doc->LastBid()], RGB(150, 40, 0));
    }
  }
  // Ranked level from the table information.
  const int info = doc->FindTableInfo(seat.szUserName);
  if (info >= 0) {
    int32_t level = 0;
    std::memcpy(&level, doc->TableInfo() + 8 + 44 * info + 20, 4);
    if (level > 0) {
      const Pt lv = l.level[slot];
      // The theme's level icon (a level past the strip takes its last cell), else a disc
      // with the number.
      if (!DrawStripCell(dc, m_theme.hLevel, level, l.levelW, l.levelH, lv.x, lv.y)) {
        char t[8];
        std::snprintf(t, sizeof t, "%d", level > 99 ? 99 : level);
        Disc(dc, lv.x, lv.y, 16, 16, RGB(60, 120, 220), kWhite);
        ::SelectObject(dc, m_fonts.f12);
        CenteredText(dc, RECT{lv.x, lv.y, lv.x + 16, lv.y + 16}, t, kWhite);
        ::SelectObject(dc, m_fonts.f14);
      }
    }
  }
  if (present) DrawTier(pDC, p);
  ::SelectObject(dc, of);
  DrawSeatHand(pDC, p);
}

// A seat's ranked tier as a small badge over its tier area, where hovering names it.
void CTablePainter::DrawTier(CDC* pDC, int p) {
  const int tier = m_nTier[p & 3];
  if (tier <= 0) return;
  HDC dc = pDC->GetSafeHdc();
  static const COLORREF kTierColours[4] = {RGB(70, 110, 200), RGB(176, 112, 60), RGB(170, 180, 195), RGB(230, 180, 40)};
  const Box box = tableview::TierBox(m_layout, SlotOf(p));
  RECT r = {box.left, box.top, box.right, box.bottom};
  RoundBox(dc, r, kTierColours[tier <= 3 ? tier : 0], RGB(40, 30, 10), 8);
  char text[16];
  std::snprintf(text, sizeof text, kTierBadgeFmt, tier > 99 ? 99 : tier);
  HGDIOBJ of = ::SelectObject(dc, m_fonts.f12);
  CenteredText(dc, r, text, RGB(30, 20, 0));
  ::SelectObject(dc, of);
}

std::string CTablePainter::PanelNickName(int p) {
  CGameDocCore* doc = m_pDoc;
  if (!doc || p < 0 || p >= CGameDocCore::MAX_POSITIONS) return std::string();
  const SEAT_INFO& seat = doc->Seat(p);
  // The records' fields need not be terminated: copy at most their size.
  const std::string user(seat.szUserName, strnlen(seat.szUserName, sizeof seat.szUserName));
  std::string nick(seat.szNickName, strnlen(seat.szNickName, sizeof seat.szNickName));
  // A seat whose nickname is missing (or only repeats the user name) takes the one the
  // platform knows for that user.
  if ((nick.empty() || nick == user) && !user.empty()) {
    std::string known = m_nickNameOf(user.c_str());
    if (!known.empty()) nick = known.substr(0, 20);
  }
  return nick.empty() ? user : nick;
}

void CTablePainter::DrawSeatHand(CDC* pDC, int p) {
  CGameDocCore* doc = m_pDoc;
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const int n = std::max(0, std::min<int>(doc->Seat(p).nCardCount, CGameDocCore::MAX_CARDS));
  if (n == 0) return;
  if (p == CGameDocCore::OWN_POSITION) doc->SortOwnHand();
  const CARD_INFO* hand = doc->Hand(p);
  if (p == CGameDocCore::OWN_POSITION) {
    for (int i = 0; i < n; ++i) DrawCard(pDC, hand[i], l.hand[1].x + i * l.step, l.hand[1].y, CardFaceUp(p, hand[i]));
    return;
  }
  if (!HandShown(p)) return;
  for (int i = 0; i < n; ++i) {
    Pt o = slot == 3 ? tableview::TopCardOrigin(l, i) : tableview::SideCardOrigin(l, slot, i, n);
    DrawCard(pDC, hand[i], o.x, o.y, CardFaceUp(p, hand[i]), false);
  }
}

std::vector<CARD_INFO> CTablePainter::PlayShown(int p) {
  std::vector<CARD_INFO> cards;
  CGameDocCore* doc = m_pDoc;
  if (!doc || p < 0 || p >= CGameDocCore::MAX_POSITIONS) return cards;
  const int n = std::max(0, std::min<int>(doc->Seat(p).nLastPlayCount, CGameDocCore::MAX_CARDS));
  cards.assign(doc->LastPlay(p), doc->LastPlay(p) + n);
  for (CARD_INFO& c : cards) c.bSelected = 0;
  // Plays are shown the way the rules order them (a straight high to low), whatever
  // order the server sent.
  if (n > 1) doc->SortCards(cards.data(), n, 0, 0);
  return cards;
}

void CTablePainter::DrawHand(CDC* pDC, int p) {
  CGameDocCore* doc = m_pDoc;
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const int phase = doc->GetSchedule();
  const std::vector<CARD_INFO> play = PlayShown(p);
  const int n = (int)play.size();
  if (n > 0) {
    if (p == m_nSkipPlay) return;  // on its way here
    // After the hand the open cards lie where the play was: the play gives way.
    if (!tableview::PlayDrawn(phase, p != CGameDocCore::OWN_POSITION && HandShown(p))) return;
    const Box row = tableview::PlayRowBox(l, slot, n);
    for (int i = 0; i < n; ++i) DrawCard(pDC, play[i], row.left + i * l.step, row.top, true, false);
    return;
  }
  if (phase == SCHEDULE_PLAY && tableview::PassMarkShown(m_bShowingPrevious, n, doc->PlayedThisRound(p),
                                                         doc->IsNewRound(), p == doc->TurnPosition())) {
    const Pt a = l.play[slot];
    HDC dc = pDC->GetSafeHdc();
    BITMAP bm;
    const bool pic = m_theme.hPass && ::GetObjectA(m_theme.hPass, sizeof bm, &bm);
    const int w = pic ? bm.bmWidth : 60, h = pic ? bm.bmHeight : 30;
    int x = slot == 0 ? a.x - w : slot == 2 ? a.x : a.x - w / 2;
    if (pic) {
      DrawStripCell(dc, m_theme.hPass, 0, w, h, x, a.y + 30);
      return;
    }
    RECT r{x, a.y + 30, x + w, a.y + 30 + h};
    RoundBox(dc, r, RGB(0, 50, 25), RGB(160, 200, 160), 10);
    HGDIOBJ of = ::SelectObject(dc, m_fonts.f16);
    CenteredText(dc, r, kPassText, RGB(255, 230, 120));
    ::SelectObject(dc, of);
  }
}

void CTablePainter::DrawBottomCards(CDC* pDC) {
  CGameDocCore* doc = m_pDoc;
  const int phase = doc->GetSchedule();
  if (phase == SCHEDULE_WAIT || phase == SCHEDULE_PHASE3) return;
  const int n = std::max(0, std::min<int>(doc->BottomCount(), CGameDocCore::MAX_BOTTOM));
  // Before the bottom cards are known the table shows three backs.
  const int shown = n > 0 ? n : 3;
  for (int i = 0; i < shown; ++i) {
    CARD_INFO c{};
    bool faceUp = false;
    if (n > 0) {
      c = doc->BottomCards()[i];
      faceUp = c.bFaceUp != 0;
    }
    c.bSelected = 0;
    c.nDrawState1 = 0;
    const Pt o = tableview::BottomCardOrigin(m_layout, i, shown);
    DrawCard(pDC, c, o.x, o.y, faceUp, false);
  }
}

void CTablePainter::DrawOrderImage(CDC* pDC, int p) {
  HBITMAP b = m_theme.hOrder[p];
  if (!b) return;
  const int slot = SlotOf(p);
  Pt at = m_layout.panel[slot];
  // 46 by 46, 50 pixels above the panel; the right seat's further right, the top one's to the left.
  if (slot == 0) at.x += 90;
  if (slot == 3)
    at.x -= 50;
  else
    at.y -= 50;
  StretchBmp(pDC->GetSafeHdc(), b, RECT{at.x, at.y, at.x + 46, at.y + 46});
}
