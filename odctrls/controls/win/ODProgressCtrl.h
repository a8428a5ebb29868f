// CODProgressCtrl: a self-painted progress bar with a range, position, step and a "grow"
// mode in which a block runs through the bar and bounces at its ends.
#pragma once
#include <afxwin.h>

#include "ODThemeImage.h"
#include "ProgressModel.h"

class CODProgressCtrl : public CWnd, protected vesk::odctrls::ProgressModel {
  DECLARE_DYNAMIC(CODProgressCtrl)
 public:
  CODProgressCtrl();
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void ModifyODStyle(DWORD dwRemove, DWORD dwAdd);
  int SetPos(int nPos) { return ProgressModel::SetPos(nPos); }
  int OffsetPos(int nDelta) { return ProgressModel::OffsetPos(nDelta); }
  int SetStep(int nStep) { return ProgressModel::SetStep(nStep); }
  int StepIt() { return ProgressModel::StepIt(); }
  BOOL SetRange(int nLower, int nUpper) { return ProgressModel::SetRange(nLower, nUpper); }
  void GetRange(int& nLower, int& nUpper) const {
    nLower = m_min;
    nUpper = m_max;
  }
  int GetPos() const { return m_pos; }
  int GetStep() const { return m_step; }
  void SetBlockLength(int n) { ProgressModel::SetBlockLength(n); }
  vesk::odctrls::ProgressModel& Model() { return *this; }
  // The four image members, each on its own timer 1 to 4: background, bar, grow block and
  // blocks, from the theme's horizontal or vertical image by the bar's direction.
  enum { IMG_BACKGROUND = 0, IMG_BAR = 1, IMG_GROW = 2, IMG_BLOCK = 3 };
  const CODThemeImage& GetImage(int nWhich) const { return m_images[nWhich & 3]; }

  virtual void OnPositionChanged(int nNewPos);
  virtual BOOL OnPositionChanging(int nOldPos, int nNewPos);
  virtual void DrawBar(HDC hDC, const RECT& rc);
  virtual void DrawText(HDC hDC, const RECT& rc);
  virtual void DrawBackground(HDC hDC, const RECT& rc);

 protected:
  void ApplyThemeValues();
  bool OnPosChanging(int oldPos, int newPos) override { return OnPositionChanging(oldPos, newPos) != FALSE; }
  void OnPosChanged(int newPos) override { OnPositionChanged(newPos); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  void OnMouseMove();
  BOOL IsVertical() const;
  void LoadImages();

  BOOL m_bHover;
  CRect m_rcBorder;
  CODThemeImage m_images[4];
};
