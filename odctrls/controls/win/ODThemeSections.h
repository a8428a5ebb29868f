// Class-wide theme values of the owner-drawn controls beyond the list: one structure per
// theme section, its loader registered in the theme manager's slot. Every key is read with
// its current value as the default, so a key missing from a theme keeps the last value.
#pragma once
#include <afxwin.h>

enum { ODTHEME_TEXT_SIZE = 128 };
typedef char ODThemeText[ODTHEME_TEXT_SIZE];

struct ODButtonTheme {
  // In, out and focus colours in the order the section lists them.
  COLORREF crBkIn, crFgIn, crBkOut, crFgOut, crBkFocus, crFgFocus;
  COLORREF crSolidBorder, cr3DTopLeft, cr3DBottomRight;
  COLORREF crCheckFgIn, crCheckFgOut, crCheckFgFocus, crRadioFgIn, crRadioFgOut, crRadioFgFocus;
  int nImageChecked, nImageUnchecked;
  int nTransChecked, nTransUnchecked, nTransRadioed, nTransUnradioed, nTransOut, nTransIn;
  int nImageRadioed, nImageUnradioed, nImageOut, nImageIn;
  int bSizeToContent, bMakeIrregular;
};

struct ODMenuTheme {
  ODThemeText edges[8];  // left, right, top, bottom, left-top, right-top, left-bottom, right-bottom
  COLORREF crColumn, crTextBk, crImageBk, crSepHiLight, crSepShadow, crItemBkNormal, crItemBkMove, crItemEdgeMove,
      crItemTextNormal, crItemTextDisable;
};

struct ODWaitDlgTheme {
  int nImageID, nTextID, nDialogID, nBtnID, nProgressID;
  ODThemeText image;
  int nMode;
};

struct ODMsgDlgTheme {
  int nImageID, nTextID, nDialogID, nBtnID[4];
  ODThemeText captions[10];  // MB_ICONWARNING ... MB_OK in the section's order
};

struct ODDialogTheme {
  ODThemeText clientBkImg;
  COLORREF crBorder, crClientStart, crClientEnd;
  int nClientBkMode;
  ODThemeText edges[8], borders[8];
};

// The owner-drawn dialog's caption keys, read from the dialog's own section.
struct ODCaptionTheme {
  COLORREF crText, crStart, crEnd;
  int nBkMode, nAlign;
  ODThemeText move;
  ODThemeText images[8];  // start, centre, end, system menu, minimise, maximise, close, zoom
  POINT positions[5];     // system menu, minimise, maximise, close, text
};
enum { ODCAP_START, ODCAP_CENTRE, ODCAP_END, ODCAP_SYSMENU, ODCAP_MIN, ODCAP_MAX, ODCAP_CLOSE, ODCAP_ZOOM };
enum { ODCAP_POS_SYSMENU, ODCAP_POS_MIN, ODCAP_POS_MAX, ODCAP_POS_CLOSE, ODCAP_POS_TEXT };

struct ODTxtMovTheme {
  COLORREF crNormal, crFocus, crLinker, crLinkerFocus, crVisited;
};

struct ODStaticTheme {
  COLORREF crBorder;
  int nBorderWidth;
  COLORREF crBkStart, crBkEnd;
  int bStopOnFocus, nBkMode;
  ODThemeText bkImg;
  int nNormalCursor, nFocusCursor;
};

struct ODProgressTheme {
  COLORREF crBlockEdge, crBlockFace, crBlockEdgeHI, crBlockFaceHI;
  int nBlockFill, nBlockCount, nBlockSmooth, nBlockSpace, nBlockMode;
  ODThemeText blockImg, vertBlockImg;
  COLORREF crBkgnd, crText, crTextOnBar, crBarStart, crBarEnd;
  int nBkMode, nPrgMode;
  COLORREF crBorder;
  int nBorderWidth;
  ODThemeText bkImg, vertBkImg, barImg, vertBarImg, growImg, vertGrowImg;
};

struct ODEditTheme {
  COLORREF crDisableText, crText, crBkgnd, crDisableBkgnd, crSelText, crSelBkgnd, crBorder;
  int nBorderWidth, bUsePwdImg, nBkMode;
  char pwdChar[2];
  ODThemeText textFont, bkImg, pwdImg, menuCut, menuCopy, menuPaste, menuClear, menuSelAll;
};

struct ODToolTipTheme {
  COLORREF crFg, crBkBegin, crBkMid, crBkEnd, crLink, crVisited, crHover, crShadow, crBorder;
};

struct ODListBoxTheme {
  COLORREF crNormalBk, crSelBk, crNormalText, crSelText, crHotText;
};

struct ODComboTheme {
  COLORREF crBk;
  int nImageDropBtnIn, nImageDropBtnOut;
};

struct ODTabTheme {
  COLORREF crBorder, crSelTab, crBackTab, crTabText, crBackTabText;
  int nDefBkImage;
  int nFlip[8];  // left out/in, right out/in, top out/in, bottom out/in
};

ODButtonTheme& ODButtonValues();
ODMenuTheme& ODMenuValues();
ODWaitDlgTheme& ODWaitDlgValues();
ODMsgDlgTheme& ODMsgDlgValues();
ODDialogTheme& ODDialogValues();
ODTxtMovTheme& ODTxtMovValues();
ODCaptionTheme& ODCaptionValues();
ODStaticTheme& ODStaticValues();
ODProgressTheme& ODProgressValues();
ODEditTheme& ODEditValues();
ODToolTipTheme& ODToolTipValues();
ODListBoxTheme& ODListBoxValues();
ODComboTheme& ODComboBoxValues();   // CODComboBox's copy
ODComboTheme& ODComboListValues();  // CODComboList's copy
ODTabTheme& ODTabValues();

// The loaders ApplyTheme runs (also callable directly).
void LoadODButtonTheme();
void LoadODMenuTheme();
void LoadODWaitDlgTheme();
void LoadODMsgDlgTheme();
void LoadODDialogTheme();
void LoadODTxtMovTheme();
void LoadDialogCaptionTheme(LPCSTR lpszSection);
void LoadODStaticTheme();
void LoadODProgressTheme();
void LoadODEditTheme();
void LoadODToolTipTheme();
void LoadODListBoxTheme();
void LoadODComboBoxTheme();
void LoadODComboListTheme();
void LoadODTabTheme();
