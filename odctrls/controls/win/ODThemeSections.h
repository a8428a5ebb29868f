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
  COLORREF crColumn, crTextBk, crImageBk, crSepHiLight, crSepShadow, crItemBkNormal, crItemBkMove,
      crItemEdgeMove, crItemTextNormal, crItemTextDisable;
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
void LoadODStaticTheme();
void LoadODProgressTheme();
void LoadODEditTheme();
void LoadODToolTipTheme();
void LoadODListBoxTheme();
void LoadODComboBoxTheme();
void LoadODComboListTheme();
void LoadODTabTheme();
