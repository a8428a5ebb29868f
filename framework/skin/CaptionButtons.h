// CCaptionButtons: the row of up to 15 skinned caption buttons shared by the skinned
// dialog base and the game frame window. Each button is a strip of four cells
// (normal, hover, pressed, disabled); the row reports hit codes and posts its commands.
#pragma once
#include <afxwin.h>

#include "QKBitmap.h"
#include "SkinLayout.h"

class CCaptionButtons : public CObject {
 public:
  CCaptionButtons();
  ~CCaptionButtons() override;

  void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
  // Picture from (section, key), else (QKDLG, key); 1 added, 0 not (row full, no picture).
  int Add(UINT nCommand, const char* section, const char* key, CWnd* pOwner, int nHitCode);
  // Adds a button from a picture file (tests and callers that have their own pictures).
  int AddFile(UINT nCommand, const char* path, int nHitCode);
  int SetAlternateImage(HBITMAP hBitmap, int nIndex);
  int LoadAlternateImage(const char* path, int nIndex);
  int UseAlternate(BOOL bUse, int nIndex);
  void ShowButton(int nShowCmd, int nIndex);
  void GetBounds(LPRECT lpRect) const;
  void LayOut(int x, int y);
  int HitTest(int x, int y) const { return m_row.HitTest(x, y); }
  int MouseDown(int x, int y);
  int MouseUp(int x, int y);
  int MouseMove(int x, int y);
  void ExcludeFromClip(CDC* pDC);
  void Paint(CDC* pDC);
  int GetCount() const { return (int)m_row.buttons.size(); }
  int GetState(int nIndex) const;
  BOOL IsVisible(int nIndex) const;
  int GetTotalWidth() const { return m_row.TotalWidth(); }
  void Clear();

 private:
  int AddLoaded(UINT nCommand, CQKBitmap* pImage, int nHitCode);
  void InvalidateButtons(const std::vector<int>& changed);

  CWnd* m_pOwner;
  skin::CaptionRow m_row;
  CQKBitmap* m_pImage[skin::CaptionRow::kMaxButtons];
  CQKBitmap* m_pAlternate[skin::CaptionRow::kMaxButtons];
  BOOL m_bUseAlternate[skin::CaptionRow::kMaxButtons];
  int m_nSavedDC;
};
