#include "ODThemeSections.h"

#include "ODTheme.h"

namespace {

// One key of a section: an integer or colour, a text of ODTHEME_TEXT_SIZE bytes, or a text
// of one character.
struct Key {
  enum Kind { INT, TEXT, CHAR } kind;
  const char* name;
  void* value;
};

Key I(const char* name, int& v) { return Key{Key::INT, name, &v}; }
Key C(const char* name, COLORREF& v) { return Key{Key::INT, name, &v}; }
Key T(const char* name, ODThemeText& v) { return Key{Key::TEXT, name, v}; }
Key One(const char* name, char (&v)[2]) { return Key{Key::CHAR, name, v}; }

void ReadKey(const char* section, const Key& k) {
  if (k.kind == Key::INT) {
    int* p = static_cast<int*>(k.value);
    *p = GetThemeInt(section, k.name, *p);
    return;
  }
  const DWORD size = k.kind == Key::TEXT ? ODTHEME_TEXT_SIZE : 2;
  char* buf = static_cast<char*>(k.value);
  char def[ODTHEME_TEXT_SIZE];
  lstrcpynA(def, buf, size);
  GetThemeString(section, k.name, def, buf, size);
  buf[size - 1] = '\0';
}

void ReadKeys(const char* section, std::initializer_list<Key> keys) {
  for (const Key& k : keys) ReadKey(section, k);
}

COLORREF Sys(int index) { return ::GetSysColor(index); }

void Copy(ODThemeText& dst, const char* src) { lstrcpynA(dst, src, ODTHEME_TEXT_SIZE); }

const char* const kEdgeNames[8] = {"EdgeLeftImg",    "EdgeRightImg",    "EdgeTopImg",        "EdgeBottomImg",
                                   "EdgeLeftTopImg", "EdgeRightTopImg", "EdgeLeftBottomImg", "EdgeRightBottomImg"};
const char* const kBorderNames[8] = {"BorderLeftImg",       "BorderRightImg",      "BorderTopImg",
                                     "BorderBottomImg",     "BorderLeftTopImg",    "BorderRightTopImg",
                                     "BorderLeftBottomImg", "BorderRightBottomImg"};

void ReadTexts(const char* section, const char* const* names, ODThemeText* values, int count) {
  for (int i = 0; i < count; ++i) ReadKey(section, T(names[i], values[i]));
}

}  // namespace

ODButtonTheme& ODButtonValues() {
  static ODButtonTheme t = {Sys(COLOR_BTNFACE),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNFACE),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNFACE),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNHIGHLIGHT),
                            Sys(COLOR_BTNSHADOW),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNTEXT),
                            Sys(COLOR_BTNTEXT),
                            0,
                            0,
                            -1,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            1,
                            0};
  return t;
}

void LoadODButtonTheme() {
  ODButtonTheme& t = ODButtonValues();
  ReadKeys("ODButton", {C("ColorBkIn", t.crBkIn),
                        C("ColorFgIn", t.crFgIn),
                        C("ColorBkOut", t.crBkOut),
                        C("ColorFgOut", t.crFgOut),
                        C("ColorBkFocus", t.crBkFocus),
                        C("ColorFgFocus", t.crFgFocus),
                        C("ColorSolidBorder", t.crSolidBorder),
                        C("Color3DTopLeft", t.cr3DTopLeft),
                        C("Color3DBottomRight", t.cr3DBottomRight),
                        C("ColorCheckFgIn", t.crCheckFgIn),
                        C("ColorCheckFgOut", t.crCheckFgOut),
                        C("ColorCheckFgFocus", t.crCheckFgFocus),
                        C("ColorRadioFgIn", t.crRadioFgIn),
                        C("ColorRadioFgOut", t.crRadioFgOut),
                        C("ColorRadioFgFocus", t.crRadioFgFocus),
                        I("ImageBtnChecked", t.nImageChecked),
                        I("ImageBtnUnchecked", t.nImageUnchecked),
                        I("TransBtnChecked", t.nTransChecked),
                        I("TransBtnUnchecked", t.nTransUnchecked),
                        I("TransBtnRadioed", t.nTransRadioed),
                        I("TransBtnUnradioed", t.nTransUnradioed),
                        I("TransBtnOut", t.nTransOut),
                        I("TransBtnIn", t.nTransIn),
                        I("ImageBtnRadioed", t.nImageRadioed),
                        I("ImageBtnUnradioed", t.nImageUnradioed),
                        I("ImageBtnOut", t.nImageOut),
                        I("ImageBtnIn", t.nImageIn),
                        I("SetSizeToContent", t.bSizeToContent),
                        I("DefaultMakeIrregular", t.bMakeIrregular)});
}

ODMenuTheme& ODMenuValues() {
  static ODMenuTheme t = {{},
                          RGB(255, 0, 0),
                          RGB(225, 208, 175),
                          RGB(225, 208, 175),
                          RGB(255, 255, 236),
                          RGB(121, 82, 59),
                          RGB(225, 208, 175),
                          RGB(156, 125, 93),
                          RGB(156, 125, 93),
                          RGB(255, 255, 255),
                          Sys(COLOR_GRAYTEXT)};
  return t;
}

void LoadODMenuTheme() {
  ODMenuTheme& t = ODMenuValues();
  ReadTexts("ODMenu", kEdgeNames, t.edges, 8);
  ReadKeys("ODMenu", {C("ColumnColor", t.crColumn), C("TextBkColor", t.crTextBk), C("ImageBkColor", t.crImageBk),
                      C("SepHiLightColor", t.crSepHiLight), C("SepShadowColor", t.crSepShadow),
                      C("ItemBkNormalColor", t.crItemBkNormal), C("ItemBkMoveColor", t.crItemBkMove),
                      C("ItemEdgeMoveColor", t.crItemEdgeMove), C("ItemTextNormalColor", t.crItemTextNormal),
                      C("ItemTextDisableColor", t.crItemTextDisable)});
}

ODWaitDlgTheme& ODWaitDlgValues() {
  static ODWaitDlgTheme t = {0, 0, 0, 2, 0, {}, 0};
  return t;
}

void LoadODWaitDlgTheme() {
  ODWaitDlgTheme& t = ODWaitDlgValues();
  ReadKeys("ODWaitDlg",
           {I("ImageID", t.nImageID), I("TextID", t.nTextID), I("DialogID", t.nDialogID), I("BtnID", t.nBtnID),
            I("ProgressID", t.nProgressID), T("Image", t.image), I("Mode", t.nMode)});
}

ODMsgDlgTheme& ODMsgDlgValues() {
  static ODMsgDlgTheme t = {0, 0, 0, {IDOK, IDCANCEL, IDYES, IDNO}, {}};
  return t;
}

void LoadODMsgDlgTheme() {
  static const char* const kCaptions[10] = {
      "MB_ICONWARNING", "MB_ICONINFORMATION", "MB_ICONQUESTION", "MB_ICONSTOP",    "MB_ABORTRETRYIGNORE",
      "MB_OKCANCEL",    "MB_RETRYCANCEL",     "MB_YESNO",        "MB_YESNOCANCEL", "MB_OK"};
  ODMsgDlgTheme& t = ODMsgDlgValues();
  ReadKeys("ODMsgDlg",
           {I("ImageID", t.nImageID), I("TextID", t.nTextID), I("DialogID", t.nDialogID), I("Btn1ID", t.nBtnID[0]),
            I("Btn2ID", t.nBtnID[1]), I("Btn3ID", t.nBtnID[2]), I("Btn4ID", t.nBtnID[3])});
  ReadTexts("ODMsgDlg", kCaptions, t.captions, 10);
}

ODDialogTheme& ODDialogValues() {
  static ODDialogTheme t = {{}, RGB(0, 0, 255), Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), 0, {}, {}};
  return t;
}

ODCaptionTheme& ODCaptionValues() {
  static ODCaptionTheme t = {
      0xFFFFFF, 0xFF0000, 0xFF0000, 0, 0, "0.0", {}, {{14, 65535}, {2, 65535}, {2, 65535}, {4, 65535}, {6, 65535}}};
  return t;
}

void LoadDialogCaptionTheme(LPCSTR lpszSection) {
  static const char* const kImages[8] = {"TitleStartImg",  "TitleCenterImg", "TitleEndImg",     "TitleSyeMenuImg",
                                         "TitleMinBtnImg", "TitleMaxBtnImg", "TitleExitBtnImg", "TitleZoomBtnImg"};
  static const char* const kPoints[5] = {"TitleSyeMenuPos", "TitleMinBtnPos", "TitleMaxBtnPos", "TitleExitBtnPos",
                                         "TitleTextPos"};
  ODCaptionTheme& t = ODCaptionValues();
  ReadKeys(lpszSection, {C("TxtMovNormalColor", t.crText), C("TitleStartColor", t.crStart), C("TitleEndColor", t.crEnd),
                         I("TitleBkMode", t.nBkMode), I("TitleAlign", t.nAlign), T("TitleMove", t.move)});
  ReadTexts(lpszSection, kImages, t.images, 8);
  // A point the theme does not give keeps its value.
  for (int i = 0; i < 5; ++i) GetThemePoint(lpszSection, kPoints[i], &t.positions[i]);
}

void LoadODDialogTheme() {
  LoadODTxtMovTheme();
  LoadDialogCaptionTheme("ODDialog");
  ODDialogTheme& t = ODDialogValues();
  ReadKeys("ODDialog",
           {T("ClientBkImg", t.clientBkImg), C("BorderColor", t.crBorder), C("ClientStartColor", t.crClientStart),
            C("ClientEndColor", t.crClientEnd), I("ClientBkMode", t.nClientBkMode)});
  ReadTexts("ODDialog", kEdgeNames, t.edges, 8);
  ReadTexts("ODDialog", kBorderNames, t.borders, 8);
}

ODTxtMovTheme& ODTxtMovValues() {
  static ODTxtMovTheme t = {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(128, 0, 128)};
  return t;
}

void LoadODTxtMovTheme() {
  ODTxtMovTheme& t = ODTxtMovValues();
  ReadKeys("ODTxtMov",
           {C("TxtMovNormalColor", t.crNormal), C("TxtMovFocusColor", t.crFocus), C("TxtMovLinkerColor", t.crLinker),
            C("TxtMovLinkerFocusColor", t.crLinkerFocus), C("TxtMovVisitedColor", t.crVisited)});
}

ODStaticTheme& ODStaticValues() {
  static ODStaticTheme t = {RGB(255, 255, 255), 1, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), 1, 0, {}, 0, 0};
  return t;
}

void LoadODStaticTheme() {
  LoadODTxtMovTheme();
  ODStaticTheme& t = ODStaticValues();
  ReadKeys("ODStatic", {C("BorderColor", t.crBorder), I("BorderWidth", t.nBorderWidth), C("BkStartColor", t.crBkStart),
                        C("BkEndColor", t.crBkEnd), I("TxtMovStopOnFocus", t.bStopOnFocus), I("BkMode", t.nBkMode),
                        T("BkImg", t.bkImg), I("NormalCursor", t.nNormalCursor), I("FocusCursor", t.nFocusCursor)});
}

ODProgressTheme& ODProgressValues() {
  static ODProgressTheme t = {RGB(50, 90, 135),
                              RGB(160, 190, 220),
                              RGB(50, 90, 135),
                              RGB(190, 220, 255),
                              0,
                              20,
                              5,
                              1,
                              0,
                              {},
                              {},
                              Sys(COLOR_BTNFACE),
                              Sys(COLOR_BTNTEXT),
                              Sys(COLOR_CAPTIONTEXT),
                              RGB(0, 0, 255),
                              RGB(0, 0, 255),
                              0,
                              0,
                              RGB(255, 255, 255),
                              1};
  return t;
}

void LoadODProgressTheme() {
  ODProgressTheme& t = ODProgressValues();
  ReadKeys("ODProgress", {C("BlockEdgeColor", t.crBlockEdge),
                          C("BlockFaceColor", t.crBlockFace),
                          C("BlockEdgeHIColor", t.crBlockEdgeHI),
                          C("BlockFaceHIColor", t.crBlockFaceHI),
                          I("BlockFill", t.nBlockFill),
                          I("BlockCount", t.nBlockCount),
                          I("BlockSmooth", t.nBlockSmooth),
                          I("BlockSpace", t.nBlockSpace),
                          I("BlockFill", t.nBlockFill),
                          I("BlockMode", t.nBlockMode),
                          T("BlockImg", t.blockImg),
                          T("VertBlockImg", t.vertBlockImg),
                          C("BkgndColor", t.crBkgnd),
                          C("TextColor", t.crText),
                          C("TextOnBarColor", t.crTextOnBar),
                          C("BarStartColor", t.crBarStart),
                          C("BarEndColor", t.crBarEnd),
                          I("BkMode", t.nBkMode),
                          I("PrgMode", t.nPrgMode),
                          C("BorderColor", t.crBorder),
                          I("BorderWidth", t.nBorderWidth),
                          T("BkImg", t.bkImg),
                          T("VertBkImg", t.vertBkImg),
                          T("BarImg", t.barImg),
                          T("VertBarImg", t.vertBarImg),
                          T("GrowImg", t.growImg),
                          T("VertGrowImg", t.vertGrowImg)});
}

ODEditTheme& ODEditValues() {
  static ODEditTheme t = [] {
    ODEditTheme e = {Sys(COLOR_WINDOWTEXT),
                     Sys(COLOR_WINDOWTEXT),
                     Sys(COLOR_WINDOW),
                     Sys(COLOR_GRAYTEXT),
                     Sys(COLOR_WINDOW),
                     Sys(COLOR_HIGHLIGHT),
                     Sys(COLOR_WINDOWTEXT),
                     1,
                     0,
                     0,
                     {'*', 0}};
    // GBK captions of the context menu: cut, copy, paste, delete, select all.
    Copy(e.menuCut, "\xBC\xF4\xC7\xD0");
    Copy(e.menuCopy, "\xB8\xB4\xD6\xC6");
    Copy(e.menuPaste, "\xD5\xB3\xCC\xF9");
    Copy(e.menuClear, "\xC9\xBE\xB3\xFD");
    Copy(e.menuSelAll, "\xC8\xAB\xD1\xA1");
    return e;
  }();
  return t;
}

void LoadODEditTheme() {
  ODEditTheme& t = ODEditValues();
  ReadKeys("ODEdit",
           {C("DisableTextColor", t.crDisableText), C("TextColor", t.crText), C("BkgndColor", t.crBkgnd),
            C("DisableBkgndColor", t.crDisableBkgnd), C("SelTextColor", t.crSelText), C("SelBkgndColor", t.crSelBkgnd),
            C("BorderColor", t.crBorder), I("BorderWidth", t.nBorderWidth), I("UsePwdImg", t.bUsePwdImg),
            I("BkMode", t.nBkMode), One("PwdChar", t.pwdChar), T("TextFont", t.textFont), T("BkImg", t.bkImg),
            T("PwdImg", t.pwdImg), T("MenuCut", t.menuCut), T("MenuCopy", t.menuCopy), T("MenuPaste", t.menuPaste),
            T("MenuClear", t.menuClear), T("MenuSelAll", t.menuSelAll)});
}

ODToolTipTheme& ODToolTipValues() {
  static ODToolTipTheme t = {Sys(COLOR_INFOTEXT), Sys(COLOR_INFOBK),    Sys(COLOR_INFOBK),
                             Sys(COLOR_INFOBK),   RGB(0, 0, 238),       RGB(85, 26, 139),
                             RGB(255, 0, 0),      Sys(COLOR_BTNSHADOW), Sys(COLOR_INFOTEXT)};
  return t;
}

void LoadODToolTipTheme() {
  ODToolTipTheme& t = ODToolTipValues();
  ReadKeys("ODToolTip", {C("ColorFg", t.crFg), C("ColorBkBegin", t.crBkBegin), C("ColorBkMid", t.crBkMid),
                         C("ColorBkEnd", t.crBkEnd), C("ColorLink", t.crLink), C("ColorVisited", t.crVisited),
                         C("ColorHover", t.crHover), C("ColorShadow", t.crShadow), C("ColorBorder", t.crBorder)});
}

ODListBoxTheme& ODListBoxValues() {
  static ODListBoxTheme t = {Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), Sys(COLOR_WINDOWTEXT), Sys(COLOR_HIGHLIGHTTEXT),
                             0x00FF0000};
  return t;
}

void LoadODListBoxTheme() {
  ODListBoxTheme& t = ODListBoxValues();
  ReadKeys("ODListBox",
           {C("ColorNormalBk", t.crNormalBk), C("ColorSelBk", t.crSelBk), C("ColorNormalText", t.crNormalText),
            C("ColorSelText", t.crSelText), C("ColorHotText", t.crHotText)});
}

static void LoadCombo(ODComboTheme& t) {
  ReadKeys("ODComboBox",
           {C("ColorBk", t.crBk), I("ImageDropBtnIn", t.nImageDropBtnIn), I("ImageDropBtnOut", t.nImageDropBtnOut)});
}

ODComboTheme& ODComboBoxValues() {
  static ODComboTheme t = {Sys(COLOR_WINDOW), 0, 0};
  return t;
}

ODComboTheme& ODComboListValues() {
  static ODComboTheme t = {Sys(COLOR_WINDOW), 0, 0};
  return t;
}

void LoadODComboBoxTheme() { LoadCombo(ODComboBoxValues()); }
void LoadODComboListTheme() { LoadCombo(ODComboListValues()); }

ODTabTheme& ODTabValues() {
  static ODTabTheme t = {0x143057, 0xDCF3FF, 0xB5D1E2, 0, 0, 0, {}};
  return t;
}

void LoadODTabTheme() {
  ODTabTheme& t = ODTabValues();
  ReadKeys("ODTabCtrl",
           {C("ColorBorder", t.crBorder), C("ColorSelTab", t.crSelTab), C("ColorBackTab", t.crBackTab),
            C("ColorTabText", t.crTabText), C("ColorBackTabText", t.crBackTabText), I("DefBkImage", t.nDefBkImage),
            I("FlipLeftOutImage", t.nFlip[0]), I("FlipLeftInImage", t.nFlip[1]), I("FlipRightOutImage", t.nFlip[2]),
            I("FlipRightInImage", t.nFlip[3]), I("FlipTopOutImage", t.nFlip[4]), I("FlipTopInImage", t.nFlip[5]),
            I("FlipBottomOutImage", t.nFlip[6]), I("FlipBottomInImage", t.nFlip[7])});
}
