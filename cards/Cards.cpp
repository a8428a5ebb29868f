#include "Cards.h"

#include "CardCells.h"
#include "QKBitmap.h"

Cards::Cards()
    : m_hModule(nullptr),
      m_hSavedResource(nullptr),
      m_pSheet1(nullptr),
      m_pSheet4(nullptr),
      m_pSheet2(nullptr),
      m_pSheet8(nullptr),
      m_pSheet16(nullptr),
      m_wTypeMask(0) {}

Cards::~Cards() {
  for (int i = 0; i < 5; ++i) {
    delete Sheet(i);
    Sheet(i) = nullptr;
  }
}

CQKBitmap*& Cards::Sheet(int index) {
  switch (index) {
    case 0:
      return m_pSheet1;
    case 1:
      return m_pSheet4;
    case 2:
      return m_pSheet2;
    case 3:
      return m_pSheet8;
    default:
      return m_pSheet16;
  }
}

int Cards::Initialization(unsigned short wTypeMask) {
  m_wTypeMask = wTypeMask;
  m_hModule = ::GetModuleHandleA("QKCards.dll");
  if (!m_hModule) return 0;
  m_hSavedResource = AfxGetResourceHandle();
  AfxSetResourceHandle(m_hModule);
  int result = 1;
  for (int i = 0; i < 5; ++i) {
    const CardSheetSpec& s = kCardSheets[i];
    if (!(wTypeMask & s.type)) continue;
    // A second initialisation replaces a sheet instead of leaking the old one.
    CQKBitmap* b = new CQKBitmap;
    if (!b->LoadBitmapResource(static_cast<UINT>(s.resourceId), FALSE)) {
      delete b;
      result = 0;
      break;
    }
    delete Sheet(i);
    Sheet(i) = b;
  }
  AfxSetResourceHandle(m_hSavedResource);
  return result;
}

int Cards::ShowCard(CDC* pDC, unsigned short wCode, unsigned short x, unsigned short y, unsigned short w,
                    unsigned short h, unsigned short wType, unsigned short srcW, unsigned short srcH) {
  ApplyCardDefaults(CardDefaults::Library, wType, &w, &h, &srcW, &srcH);
  RECT r{x, y, x + w - 1, y + h - 1};
  SIZE src{srcW, srcH};
  return ShowCard(pDC, wCode, &r, wType, &src);
}

int Cards::ShowCard(CDC* pDC, unsigned short wCode, RECT* pRect, unsigned short wType, SIZE* pSrcSize) {
  HDC dc = pDC ? pDC->GetSafeHdc() : nullptr;
  const int check = CheckCardRequest(dc != nullptr, wType, m_wTypeMask, wCode);
  if (check != CARD_DRAWN) return check;
  const int index = CardSheetIndex(wType);
  CQKBitmap* sheet = Sheet(index);
  // The mask names the type but its sheet did not load.
  if (!sheet) return CARD_TYPE_NOT_LOADED;
  const CardSheetSpec& s = kCardSheets[index];
  POINT origin;
  int ox, oy;
  CardCellOrigin(wCode, s.cellW, s.cellH, &ox, &oy);
  origin.x = ox;
  origin.y = oy;
  SIZE cell = pSrcSize ? *pSrcSize : SIZE{s.cellW, s.cellH};
  sheet->DrawInRect(pDC, pRect, QKBMP_STRETCH, &origin, nullptr, &cell);
  return CARD_DRAWN;
}
