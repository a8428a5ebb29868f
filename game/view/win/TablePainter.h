// What the table shows, drawn into any DC: the background, the seat panels, the hands,
// the plays and the bottom cards, from the layout core and the document's state. No
// window: the view builds its back buffer with it, and tests can draw with it directly.
#pragma once
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "CardPainter.h"
#include "GameDocCore.h"
#include "TableLayout.h"

// Theme images of the table, looked up under the net-skin folder and then the folder
// of the profile's "Path"; any of them may be missing (the table then draws its own).
struct TableTheme {
  HBITMAP hFill = nullptr, hBackground = nullptr, hLogo = nullptr, hPlayer = nullptr;
  HBITMAP hBadge = nullptr;     // the declarer's badge, its right half the mask
  HBITMAP hFarmer = nullptr;    // the other seats' badge once a declarer is known, masked alike
  SIZE badgeCell = {40, 45};    // the farmer badge's picture half, where both badges are centred
  HBITMAP hOrder[4] = {};       // each seat's order picture
  HBITMAP hBidStrip = nullptr;  // bids 0 to 3 in cells of 58 by 19
  HBITMAP hPass = nullptr;      // the mark of a seat that passed
  HBITMAP hLevel = nullptr;     // level icons: square cells as high as the strip, cell n for level n
  // The player's own background from the settings: 1 a plain colour, 2 a picture file
  // (tiled or stretched); any other value, or a picture that did not load, the theme's.
  int bkMode = 0;
  COLORREF bkColour = 0x8000;
  HBITMAP hBkPicture = nullptr;
  bool bkTile = true;
};

struct TableFonts {
  HFONT f12 = nullptr, f14 = nullptr, f16 = nullptr, badge = nullptr;
};

class CTablePainter {
 public:
  CTablePainter(const TableTheme& theme, CCardPainter& cards) : m_theme(theme), m_pCards(&cards) {}

  // What a picture is drawn from; set before every build.
  void Set(CGameDocCore* pDoc, const tableview::Layout& layout, const TableFonts& fonts, bool bCardsLoaded) {
    m_pDoc = pDoc;
    m_layout = layout;
    m_fonts = fonts;
    m_bCardsLoaded = bCardsLoaded;
  }
  // The platform's nickname of a user (empty: none known).
  void SetNickNameSource(std::function<std::string(const char*)> f) { m_nickNameOf = std::move(f); }
  void SetShowingPrevious(bool b) { m_bShowingPrevious = b; }
  // Each position's ranked tier (0 none).
  void SetTiers(const int* tiers) {
    for (int p = 0; p < 4; ++p) m_nTier[p] = tiers[p];
  }
  // A position whose play is on its way and not drawn in place (-1 none).
  void SetSkipPlay(int p) { m_nSkipPlay = p; }

  // The whole table without overlays.
  void BuildTable(CDC* pDC);
  void DrawCard(CDC* pDC, const CARD_INFO& card, int x, int y, bool faceUp, bool raise = true);
  void DrawShadowText(CDC* pDC, int x, int y, const char* text, COLORREF color);
  // A position's last play in the order it is drawn.
  std::vector<CARD_INFO> PlayShown(int nPosition);
  std::string PanelNickName(int nPosition);
  bool HandShown(int nPosition) const;
  int PlayerCount() const;
  int SlotOf(int nPosition) const;

 private:
  void DrawBackground(CDC* pDC);
  void DrawPlayerPanel(CDC* pDC, int nPosition);
  void DrawSeatHand(CDC* pDC, int nPosition);
  void DrawHand(CDC* pDC, int nPosition);  // the position's last play
  void DrawBottomCards(CDC* pDC);
  void DrawOrderImage(CDC* pDC, int nPosition);
  void DrawTier(CDC* pDC, int nPosition);
  bool CardFaceUp(int nPosition, const CARD_INFO& card) const;

  const TableTheme& m_theme;
  CCardPainter* m_pCards;
  CGameDocCore* m_pDoc = nullptr;
  tableview::Layout m_layout;
  TableFonts m_fonts;
  bool m_bCardsLoaded = false;
  bool m_bShowingPrevious = false;
  int m_nSkipPlay = -1;
  int m_nTier[4] = {0, 0, 0, 0};
  std::function<std::string(const char*)> m_nickNameOf;
};
