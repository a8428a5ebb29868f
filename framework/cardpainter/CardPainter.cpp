#include "CardPainter.h"

#include <cstdio>

namespace {
const int kWorkW = 106, kWorkH = 144;
}

CCardPainter::CCardPainter()
    : m_hLibrary(nullptr),
      m_hSavedResource(nullptr),
      m_pSheets{},
      m_hOldWorkBitmap(nullptr),
      m_wTypeMask(0),
      m_nWorkW(0),
      m_nWorkH(0) {}

CCardPainter::~CCardPainter() { Release(); }

void CCardPainter::Release() {
  for (CBitmap*& s : m_pSheets) {
    delete s;
    s = nullptr;
  }
  if (m_dcWork.GetSafeHdc() && m_hOldWorkBitmap) ::SelectObject(m_dcWork.GetSafeHdc(), m_hOldWorkBitmap);
  m_hOldWorkBitmap = nullptr;
  m_bmpWork.DeleteObject();
  m_dcWork.DeleteDC();
  m_dcSheet.DeleteDC();
  m_wTypeMask = 0;
  m_nWorkW = m_nWorkH = 0;
}

// The work bitmap holds one card's composite; it grows when a destination is larger.
BOOL CCardPainter::EnsureWorkSize(int w, int h) {
  if (w <= m_nWorkW && h <= m_nWorkH && m_bmpWork.GetSafeHandle()) return TRUE;
  const int nw = w > m_nWorkW ? w : m_nWorkW, nh = h > m_nWorkH ? h : m_nWorkH;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, nw, nh);
  ::ReleaseDC(nullptr, screen);
  if (!bmp) return FALSE;
  HGDIOBJ prev = ::SelectObject(m_dcWork.GetSafeHdc(), bmp);
  if (!m_hOldWorkBitmap) m_hOldWorkBitmap = prev;
  m_bmpWork.DeleteObject();
  m_bmpWork.Attach(bmp);
  m_nWorkW = nw;
  m_nWorkH = nh;
  return TRUE;
}

BOOL CCardPainter::Initialization(WORD wTypeMask, LPCSTR lpszFolder) {
  Release();
  m_bDeferred = FALSE;
  if (!m_dcSheet.CreateCompatibleDC(nullptr) || !m_dcWork.CreateCompatibleDC(nullptr) ||
      !EnsureWorkSize(kWorkW, kWorkH))
    return FALSE;

  char path[MAX_PATH] = "QKCards.dll";
  if (lpszFolder && *lpszFolder) {
    char candidate[MAX_PATH];
    const int n = std::snprintf(candidate, sizeof candidate, "%s\\QKCards.dll", lpszFolder);
    if (n > 0 && n < static_cast<int>(sizeof candidate) && ::GetFileAttributesA(candidate) != INVALID_FILE_ATTRIBUTES)
      lstrcpynA(path, candidate, sizeof path);
  }
  m_hLibrary = ::LoadLibraryA(path);
  // A library that did not load never becomes the resource module.
  if (!m_hLibrary) return FALSE;
  m_hSavedResource = AfxGetResourceHandle();
  AfxSetResourceHandle(m_hLibrary);

  BOOL ok = TRUE;
  for (int i = 0; i < 5 && ok; ++i) {
    const CardSheetSpec& s = kCardSheets[i];
    if (!(wTypeMask & s.type)) continue;
    CBitmap* b = new CBitmap;
    if (b->LoadBitmap(static_cast<UINT>(s.resourceId))) {
      m_pSheets[i] = b;
      m_wTypeMask |= s.type;  // only sheets that really loaded count
    } else {
      delete b;
      ok = FALSE;
    }
  }
  AfxSetResourceHandle(m_hSavedResource);
  ::FreeLibrary(m_hLibrary);
  m_hLibrary = nullptr;
  return ok;
}

void CCardPainter::InitializeLater(WORD wTypeMask, LPCSTR lpszFolder) {
  Release();
  m_bDeferred = TRUE;
  m_wDeferredMask = wTypeMask;
  m_strDeferredFolder = lpszFolder ? lpszFolder : "";
}

BOOL CCardPainter::LoadDeferred() {
  if (!m_bDeferred) return m_bDeferredResult;
  m_bDeferred = FALSE;
  m_bDeferredResult = Initialization(m_wDeferredMask, m_strDeferredFolder);
  return m_bDeferredResult;
}

int CCardPainter::ShowCard(CDC* pDC, WORD wCode, WORD x, WORD y, WORD w, WORD h, WORD wType, WORD srcW, WORD srcH,
                           WORD shiftX, WORD shiftY, const BLENDFUNCTION* pBlend) {
  LoadDeferred();
  ApplyCardDefaults(CardDefaults::Painter, wType, &w, &h, &srcW, &srcH);
  HDC dst = pDC ? pDC->GetSafeHdc() : nullptr;
  const int check = CheckCardRequest(dst != nullptr, wType, m_wTypeMask, wCode);
  if (check != CARD_DRAWN) return check;
  const int index = CardSheetIndex(wType);
  CBitmap* sheet = m_pSheets[index];
  if (!sheet || !m_dcWork.GetSafeHdc()) return CARD_TYPE_NOT_LOADED;
  if (!EnsureWorkSize(w, h)) return CARD_NO_DC;

  const CardSheetSpec& s = kCardSheets[index];
  int cx, cy, mx, my;
  CardCellOrigin(wCode, s.cellW, s.cellH, &cx, &cy);
  CardMaskOrigin(s.cellW, s.cellH, &mx, &my);
  cx += shiftX;
  cy += shiftY;
  mx += shiftX;
  my += shiftY;

  HDC sheetDC = m_dcSheet.GetSafeHdc(), work = m_dcWork.GetSafeHdc();
  HGDIOBJ old = ::SelectObject(sheetDC, static_cast<HBITMAP>(*sheet));
  ::BitBlt(work, 0, 0, w, h, dst, x, y, SRCCOPY);
  ::BitBlt(work, 0, 0, w, h, sheetDC, mx, my, SRCAND);
  ::BitBlt(work, 0, 0, w, h, sheetDC, cx, cy, SRCPAINT);
  if (pBlend)
    ::AlphaBlend(dst, x, y, w, h, work, 0, 0, w, h, *pBlend);
  else
    ::BitBlt(dst, x, y, w, h, work, 0, 0, SRCCOPY);
  ::SelectObject(sheetDC, old);
  return CARD_DRAWN;
}
