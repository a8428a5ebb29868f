// CFloatingText: short messages that rise over the parent and fade out. The parent draws
// them while it paints (Draw); the overlay keeps the queue, the timer and one
// CFloatingTextItem per text on the way up.
#pragma once
#include <afxwin.h>

#include <string>

#include "FloatingTextCore.h"

// The drawing side of one floating text: its box picture and the GDI objects it needs.
// Starting it again frees what the previous text used.
class CFloatingTextItem {
 public:
  CFloatingTextItem() = default;
  ~CFloatingTextItem();
  CFloatingTextItem(const CFloatingTextItem&) = delete;
  CFloatingTextItem& operator=(const CFloatingTextItem&) = delete;

  // Measures `text` with `font` against the parent's DC; false for an empty outline.
  bool Prepare(HWND hParent, const std::string& text, HFONT font, COLORREF crText, COLORREF crBox, SIZE* pSize);
  // Blends the box onto `dc` at `at` with a constant opacity (0..255).
  void Draw(HDC dc, const widgets::FloatRect& at, int opacity);
  // GDI objects held (tests check that nothing leaks from one text to the next).
  int HeldObjects() const;

 private:
  void Free();
  std::string m_text;
  HDC m_hdc = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOldBitmap = nullptr;
  HFONT m_hFont = nullptr;
  HPEN m_hPen = nullptr;
  HBRUSH m_hBrush = nullptr;
  COLORREF m_crText = 0, m_crBox = 0;
};

class CFloatingText : public CStatic {
  DECLARE_DYNAMIC(CFloatingText)
 public:
  enum { IDT_FLOATINGTEXT = 13528 };

  CFloatingText();
  ~CFloatingText() override;

  // A hidden child of the parent that only carries the timer.
  BOOL Create(CWnd* pParent, UINT nID);
  BOOL AddText(const char* text);
  void Draw(CDC* pDC);
  BOOL IsAnimating() const { return m_queue.IsAnimating(); }
  // Percent heights and the centre for texts started from now on (zeros: the defaults).
  void SetParams(int startPercent, int endPercent, int centreX);
  void SetColors(COLORREF text, COLORREF box);

  const widgets::FloatingTextQueue& Queue() const { return m_queue; }
  const CFloatingTextItem& Item(int i) const { return m_items[i % widgets::FLOAT_SLOTS]; }
  // One tick of the timer (the window's timer calls it every 100 ms).
  void Tick();

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void StartWaiting();
  void InvalidateParent(const widgets::FloatRect& r);
  HFONT Font();

  widgets::FloatingTextQueue m_queue;
  CFloatingTextItem m_items[widgets::FLOAT_SLOTS];
  widgets::FloatParams m_params;
  COLORREF m_crText, m_crBox;
  HFONT m_hFont;
};
