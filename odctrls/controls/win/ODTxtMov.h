// CODTxtMov: the formatted text lines of the owner-drawn static, dialog caption and menu
// parts: lines of runs with links and tips, hover state, and text that moves (scrolls left)
// one step per timer tick.
#pragma once
#include <afxwin.h>

#include "TxtMovLines.h"

class CODTxtMov {
 public:
  CODTxtMov();
  virtual ~CODTxtMov();

  void SetText(LPCSTR lpszText);
  int AddLine(int v0, int v1, int v2, int v3) { return m_store.AddLine(v0, v1, v2, v3); }
  BOOL AddItem(int nLine, LPCSTR lpszText, LPCSTR lpszLink, LPCSTR lpszTip, const int values[5]);
  BOOL SetItem(int nLine, int nItem, const vesk::odctrls::TxtItem& item) { return m_store.SetItem(nLine, nItem, item); }
  BOOL GetItem(int nLine, int nItem, vesk::odctrls::TxtItem* pItem) const {
    return m_store.GetItem(nLine, nItem, pItem);
  }
  void SetHover(BOOL bTracking, POINT pt);
  // kind 0 text, 1 link, 2 tip.
  BOOL GetHoverString(int nKind, CString& str) const;
  void MarkVisited() { m_store.MarkVisited(); }
  void StartMoving();
  void StopMoving();
  BOOL IsMoving() const { return m_store.m_moving != 0; }
  void DestroyLines() { m_store.DestroyLines(); }

  // Lays the lines out in the rectangle with the font and paints them in the theme colours
  // by kind and hover state, moved left by the moving offset.
  void Draw(HDC hDC, const RECT& rc, HFONT hFont);
  const vesk::odctrls::TxtMovLines& Store() const { return m_store; }

  // Virtual operations.
  virtual void MoveStep();
  virtual BOOL MoveSwitch(int nOn);
  virtual void Update(int nA, int nB);
  virtual void HitTest();

 protected:
  void LayoutIn(HDC hDC, const RECT& rc, HFONT hFont);

  vesk::odctrls::TxtMovLines m_store;
  int m_nMoveOffset;
  int m_nWidth;  // the width of the last layout's rectangle
};
