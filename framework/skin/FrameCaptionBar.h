// CFrameCaptionBar: an invisible child of the game frame that reserves the painted
// borders in the frame's layout and owns the frame's pop-up system menu, handing every
// chosen item to the frame as a system command.
// CFrameBar: the main frame's skinned bar of image buttons; the program holds one but
// never creates its window, so only its construction and destruction matter here.
#pragma once
#include <afxwin.h>
#if __has_include(<afxext.h>)
#include <afxext.h>
#define VESK_FRAMEBAR_BASE CDialogBar
#else
#define VESK_FRAMEBAR_BASE CWnd
#endif

#include "QKBitmap.h"
#include "resource.h"

class CFrameCaptionBar : public CWnd {
 public:
  CFrameCaptionBar() = default;
  BOOL Create(CWnd* pParent);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  int m_nTop = 0, m_nLeft = 0, m_nRight = 0, m_nBottom = 0;

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class CFrameBar : public VESK_FRAMEBAR_BASE {
 public:
  struct Button {
    RECT rect;
    UINT command;
    int state;  // 1024 normal, 256 hover, 128 pressed, 64 disabled
    BOOL fiveCells;
    int blink;
    CQKBitmap image;
  };
  CFrameBar();
  ~CFrameBar() override;
  int GetButtonCount() const { return m_nButtons; }

  int m_nLayoutMode;
  CQKBitmap m_background;
  BOOL m_bUseBackground;
  DWORD m_dwDrawFlags;
  COLORREF m_crBackground;
  int m_nButtons;
  Button** m_pButtons;
  int m_nSpacing;
  BOOL m_bSound;
  UINT m_nPressSound, m_nHoverSound;
  COLORREF m_crKey;
  BOOL m_bFirstPaint;
};
