// CODToolTip: a balloon tooltip with a list of tools, shown after the cursor rests, placed
// beside the cursor with a pointer, a shadow, a background effect and text in the tooltip
// markup. CODPaletteDib is the 8-bit image the effect backgrounds are built in.
#pragma once
#include <afxwin.h>
#include <commctrl.h>

#include <vector>

#include "TipMarkup.h"
#include "ODWnd.h"

class CODPaletteDib {
 public:
  CODPaletteDib();
  ~CODPaletteDib();
  BOOL Create(int nWidth, int nHeight, int nBits);
  void Free();
  BYTE* GetPixels() const;
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetStride() const { return m_nStride; }
  void SetColour(int nIndex, BYTE r, BYTE g, BYTE b);
  void BlendColours(COLORREF cr, int nPercent);
  void Fill(BYTE value);
  void SetPixel(int x, int y, BYTE value);
  BYTE GetPixel(int x, int y) const;
  void Draw(HDC hDC, int x, int y);

 private:
  int m_nWidth, m_nHeight, m_nBits, m_nStride, m_nColours;
  BYTE* m_pBlock;
  HBITMAP m_hSection;
  HDC m_hDC;
  HGDIOBJ m_hOld;
};

struct OD_TOOL_INFO {
  UINT hWnd;  // 32 bits, widened on use
  UINT uId;
  RECT rc;
  HICON hIcon;
  HBITMAP hBitmap;
  CString strText;
  UINT uMask;
  UINT uStyle;
  int nDirection;
  int nEffect;
  UINT uBehaviour;
  int nGranularity;
  COLORREF crBegin, crMid, crEnd;
};

enum {
  ODTT_STYLE_POINTER = 0x01,
  ODTT_STYLE_SHADOW = 0x02,
  ODTT_STYLE_ROUNDED = 0x04,
  ODTT_STYLE_VCENTER = 0x08,
  ODTT_STYLE_BOTTOM = 0x10,
  ODTT_STYLE_ICON_VCENTER = 0x20,
  ODTT_STYLE_ICON_BOTTOM = 0x40,
  ODTT_STYLE_DISABLED = 0x200
};
enum {
  ODTT_MASK_STYLE = 0x01,
  ODTT_MASK_EFFECT = 0x02,
  ODTT_MASK_COLOURS = 0x04,
  ODTT_MASK_DIRECTION = 0x08,
  ODTT_MASK_BEHAVIOUR = 0x10
};
enum { ODTT_BEHAVE_STAY = 0x08, ODTT_BEHAVE_NOHIDE = 0x10 };
enum { ODTTN_SHOW = 1124 };

// A named image for the markup's img tag: kind 0 an icon resource, 1 a bitmap resource drawn
// as it is, 2 a bitmap resource drawn with the mask colour left out.
struct OD_TIP_IMAGE {
  CString strName;
  UINT nID;
  int nKind;
  COLORREF crMask;
};

struct NM_ODTOOLTIP {
  NMHDR hdr;
  POINT* pPoint;
  OD_TOOL_INFO* pTool;
};

class CODToolTip : public CODPaintedWnd<CWnd> {
  DECLARE_DYNAMIC(CODToolTip)
 public:
  CODToolTip();
  ~CODToolTip() override;

  virtual BOOL Create(CWnd* pOwner, DWORD dwFlags);
  // Replaces the tool of the same window or appends one; icon and bitmap are copied.
  void AddTool(CWnd* pWnd, LPCSTR lpszText, const RECT* pRect, UINT uId, const OD_TOOL_INFO* pOwn = nullptr);
  BOOL SetToolText(LPCSTR lpszText, CWnd* pWnd, UINT uId);
  int FindTool(HWND hWnd) const;
  BOOL GetTool(int nIndex, OD_TOOL_INFO* pInfo) const;
  void Enable(BOOL bEnable) { m_bEnabled = bEnable; }
  void Hide();
  // Arms the show timer for the cursor's position over the host window.
  void RelayEvent(const MSG* pMsg);
  // Shows the tool at the anchor point (screen coordinates); -2 shows without a tool.
  void ShowAt(int nTool, POINT ptAnchor);
  int HitTest(POINT ptClient) const;
  int GetShownTool() const { return m_nShown; }
  void AddNamedImage(LPCSTR lpszName, UINT nID, int nKind, COLORREF crMask);
  // The image list of the ilst tag, with its cell size; the caller keeps it.
  void SetImageList(HIMAGELIST hList, int cx, int cy) {
    m_hImageList = hList;
    m_cxImage = cx;
    m_cyImage = cy;
  }
  const vesk::odctrls::TipLayout& Layout() const { return m_layout; }
  void SetDelay(UINT nShowMs, UINT nHideMs) {
    m_nShowDelay = nShowMs;
    m_nAutoHide = nHideMs;
  }
  void SetDefaults(UINT uStyle, int nDirection, int nEffect, int nGranularity, UINT uBehaviour) {
    m_uStyle = uStyle;
    m_nDirection = nDirection;
    m_nEffect = nEffect;
    m_nGranularity = nGranularity;
    m_uBehaviour = uBehaviour;
  }

 protected:
  void ApplyThemeColours();
  void OnThemeChanged() override;
  LRESULT OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer(UINT_PTR nID);
  void PaintWindow() override;
  void Draw(HDC hDC, const CRect& rcClient);
  void FillBackground(HDC hDC, const CRect& rc);
  void BuildEffect(int cx, int cy);
  void MakeRegion(const CRect& rcWindow, POINT ptAnchorClient);
  void FreeShown();
  void KillTimers();

  HWND m_hOwner, m_hHost;
  std::vector<OD_TOOL_INFO> m_tools;
  vesk::odctrls::TipLayout m_layout;
  std::vector<vesk::odctrls::TipToken> m_tokens;
  int m_nPending, m_nShown;
  LOGFONTA m_font;
  COLORREF m_colours[25];
  int m_cxEllipse, m_cyEllipse, m_cxMargin, m_cyMargin, m_cxShadow, m_cyShadow;
  int m_cxPointer, m_cyPointer, m_nPointerOffset, m_cxBorder, m_cyBorder;
  UINT m_uStyle;
  int m_nDirection, m_nEffect, m_nGranularity;
  UINT m_uBehaviour;
  UINT m_nAutoHide, m_nShowDelay;
  POINT m_ptArmed;
  HRGN m_hBody, m_hShadow;
  SIZE m_szIcon, m_szText;
  OD_TOOL_INFO m_shown;
  BOOL m_bEnabled;
  CODPaletteDib m_effect, m_row, m_column;
  std::vector<OD_TIP_IMAGE> m_images;
  HIMAGELIST m_hImageList;
  int m_cxImage, m_cyImage;
};
