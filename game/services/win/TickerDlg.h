// A borderless strip on the game table in which queued lines scroll from right to left; it
// rolls open when a line arrives and rolls closed when the queue is empty.
#pragma once
#include <afxwin.h>

#include <memory>

#include "ServicesCore.h"

class CTickerDlg : public CDialog {
 public:
  enum { IDD = 212 };
  CTickerDlg();
  ~CTickerDlg() override;

  using CDialog::Create;
  BOOL Create(CWnd* pParent, int nLeft, int nTop, int nWidth, int nHeight);
  // Callable from any thread.
  void AddLine(LPCSTR lpszText, int nLength);

  int GetActiveTimer() const { return m_pMotion ? m_pMotion->ActiveTimer() : 0; }
  const CTickerMotion* GetMotion() const { return m_pMotion.get(); }
  size_t GetQueuedCount() const { return m_queue.Count(); }
  // The strip as last drawn (owned by the dialog).
  HBITMAP GetStripBitmap() const { return m_hBitmap; }
  HDC GetStripDC() const { return m_hMemDC; }

  COLORREF m_crBack = 0xFF0000;
  COLORREF m_crText = 0x0000FF;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void Place(int nHeight);
  void DrawStrip();
  void FreeStrip();
  HFONT StripFont() const;

  int m_nLeft = 0, m_nTop = 0, m_nWidth = 0, m_nHeight = 0;
  CTickerQueue m_queue;
  std::unique_ptr<CTickerMotion> m_pMotion;
  HDC m_hMemDC = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOldBitmap = nullptr;
  HFONT m_hFont = nullptr;
};
