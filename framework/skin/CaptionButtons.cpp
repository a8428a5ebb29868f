#include "CaptionButtons.h"

#include <string>

#include "SkinTheme.h"

CCaptionButtons::CCaptionButtons() : m_pOwner(nullptr), m_nSavedDC(-1) {
  for (int i = 0; i < skin::CaptionRow::kMaxButtons; ++i) {
    m_pImage[i] = nullptr;
    m_pAlternate[i] = nullptr;
    m_bUseAlternate[i] = FALSE;
  }
}

CCaptionButtons::~CCaptionButtons() { Clear(); }

void CCaptionButtons::Clear() {
  for (int i = 0; i < skin::CaptionRow::kMaxButtons; ++i) {
    delete m_pImage[i];
    delete m_pAlternate[i];
    m_pImage[i] = m_pAlternate[i] = nullptr;
    m_bUseAlternate[i] = FALSE;
  }
  m_row.buttons.clear();
  m_row.pressed = false;
}

int CCaptionButtons::AddLoaded(UINT nCommand, CQKBitmap* pImage, int nHitCode) {
  int w = 0, h = 0;
  if (!pImage->GetSize(w, h) || w < 4 || h <= 0 || !m_row.Add(nCommand, w / 4, h, nHitCode)) {
    delete pImage;
    return 0;
  }
  m_pImage[m_row.buttons.size() - 1] = pImage;
  return 1;
}

int CCaptionButtons::Add(UINT nCommand, const char* section, const char* key, CWnd* pOwner, int nHitCode) {
  if (GetCount() >= skin::CaptionRow::kMaxButtons) return 0;
  if (pOwner) m_pOwner = pOwner;
  std::string value = SkinThemeString(section, key, "");
  if (value.empty()) value = SkinThemeString(kSkinDialogSection, key, "");
  if (value.empty()) return 0;
  return AddFile(nCommand, SkinImagePath(value).c_str(), nHitCode);
}

int CCaptionButtons::AddFile(UINT nCommand, const char* path, int nHitCode) {
  if (GetCount() >= skin::CaptionRow::kMaxButtons || !path) return 0;
  CQKBitmap* image = new CQKBitmap;
  if (!image->LoadFile(path)) {
    delete image;
    return 0;
  }
  return AddLoaded(nCommand, image, nHitCode);
}

int CCaptionButtons::SetAlternateImage(HBITMAP hBitmap, int nIndex) {
  if (nIndex < 0 || nIndex >= GetCount() || !hBitmap) return 0;
  delete m_pAlternate[nIndex];
  m_pAlternate[nIndex] = new CQKBitmap;
  m_pAlternate[nIndex]->Attach(hBitmap);
  return 1;
}

int CCaptionButtons::LoadAlternateImage(const char* path, int nIndex) {
  if (nIndex < 0 || nIndex >= GetCount() || !path) return 0;
  CQKBitmap* image = new CQKBitmap;
  if (!image->LoadFile(path)) {
    delete image;
    return 0;
  }
  delete m_pAlternate[nIndex];
  m_pAlternate[nIndex] = image;
  return 1;
}

int CCaptionButtons::UseAlternate(BOOL bUse, int nIndex) {
  if (nIndex < 0 || nIndex >= GetCount() || !m_pAlternate[nIndex]) return 0;
  if (m_bUseAlternate[nIndex] != (bUse != 0)) {
    m_bUseAlternate[nIndex] = bUse != 0;
    InvalidateButtons(std::vector<int>{nIndex});
  }
  return 1;
}

void CCaptionButtons::ShowButton(int nShowCmd, int nIndex) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  m_row.buttons[nIndex].visible = nShowCmd == SW_SHOW;
}

void CCaptionButtons::GetBounds(LPRECT lpRect) const {
  if (!lpRect) return;
  skin::Box b = m_row.Bounds();
  ::SetRect(lpRect, b.left, b.top, b.right, b.bottom);
}

void CCaptionButtons::LayOut(int x, int y) { m_row.LayOut(x, y); }

void CCaptionButtons::InvalidateButtons(const std::vector<int>& changed) {
  HWND owner = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
  if (!owner) return;
  for (int i : changed) {
    const skin::Box& b = m_row.buttons[i].rect;
    RECT r = {b.left, b.top, b.right, b.bottom};
    ::InvalidateRect(owner, &r, FALSE);
  }
}

int CCaptionButtons::MouseMove(int x, int y) {
  std::vector<int> changed;
  bool took = m_row.MouseMove(x, y, &changed);
  InvalidateButtons(changed);
  return took ? 1 : 0;
}

int CCaptionButtons::MouseDown(int x, int y) {
  std::vector<int> changed;
  bool took = m_row.MouseDown(x, y, &changed);
  InvalidateButtons(changed);
  return took ? 1 : 0;
}

int CCaptionButtons::MouseUp(int x, int y) {
  std::vector<int> changed;
  unsigned command = 0;
  bool took = m_row.MouseUp(x, y, &changed, &command);
  InvalidateButtons(changed);
  if (took && m_pOwner && m_pOwner->GetSafeHwnd()) ::PostMessageA(m_pOwner->GetSafeHwnd(), WM_COMMAND, command, 0);
  return took ? 1 : 0;
}

void CCaptionButtons::ExcludeFromClip(CDC* pDC) {
  HDC dc = pDC ? pDC->GetSafeHdc() : nullptr;
  if (!dc) return;
  for (const auto& b : m_row.buttons)
    if (b.visible) ::ExcludeClipRect(dc, b.rect.left, b.rect.top, b.rect.right, b.rect.bottom);
}

void CCaptionButtons::Paint(CDC* pDC) {
  if (!pDC || !pDC->GetSafeHdc()) return;
  for (int i = 0; i < GetCount(); ++i) {
    const auto& b = m_row.buttons[i];
    if (!b.visible) continue;
    CQKBitmap* image = (m_bUseAlternate[i] && m_pAlternate[i]) ? m_pAlternate[i] : m_pImage[i];
    if (!image) continue;
    POINT src = {b.state * b.rect.Width(), 0};
    SIZE cell = {b.rect.Width(), b.rect.Height()};
    image->Draw(pDC, b.rect.left, b.rect.top, 0, 0, 0, &src, nullptr, &cell);
  }
}

int CCaptionButtons::GetState(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_row.buttons[nIndex].state : -1;
}

BOOL CCaptionButtons::IsVisible(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() && m_row.buttons[nIndex].visible;
}
