#include "SetupDlg.h"

#include <afxdlgs.h>
#include <shlobj.h>

#include <string>

#include "DialogRules.h"
#include "SkinFit.h"

namespace {
const char kBitmapFilter[] = "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||";
const char kMidiFilter[] = "MID files (*.mid)|*.mid|All files (*.*)|*.*||";
const char kCaptureTitle[] = "\xC7\xEB\xD1\xA1\xD4\xF1\xBD\xD8\xCD\xBC\xB1\xA3\xB4\xE6\xC4\xBF\xC2\xBC:";
}  // namespace

BEGIN_MESSAGE_MAP(CSetupDlg, CSkinDialog)
  ON_BN_CLICKED(IDC_BKCOLOR, &CSetupDlg::OnBkColor)
  ON_BN_CLICKED(IDC_BKBMP, &CSetupDlg::OnBkBmp)
  ON_BN_CLICKED(IDC_MUSIC, &CSetupDlg::OnMusic)
  ON_BN_CLICKED(IDC_BTN_CAPTUREDIR, &CSetupDlg::OnCaptureDir)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(CWnd* pParent)
    : CSkinDialog(IDD_SETUP, pParent),
      m_bAllowWatch(0),
      m_nBkMode(-1),
      m_bMusic(0),
      m_bSound(0),
      m_bTile(0),
      m_bSmallCards(0),
      m_nSeatDir(0),
      m_bVoice(0),
      m_bAnimation(0),
      m_bTradSound(0),
      m_bFloatText(0),
      m_crBk(0),
      m_bWatcher(FALSE) {
  SetSkinName("Setup");
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
  CSkinDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_ALLOWWATCH, m_bAllowWatch);
  DDX_Radio(pDX, IDC_BK_DEFAULT_RADIO, m_nBkMode);
  DDX_Check(pDX, IDC_MUSICON, m_bMusic);
  DDX_Check(pDX, IDC_SOUND, m_bSound);
  DDX_Check(pDX, IDC_TILE, m_bTile);
  DDX_Check(pDX, IDC_SMALLCARDS, m_bSmallCards);
  DDX_Radio(pDX, IDC_SEAT_CCW_RADIO, m_nSeatDir);
  DDX_Check(pDX, IDC_VOICE, m_bVoice);
  DDX_Check(pDX, IDC_MOVECARDS, m_bAnimation);
  DDX_Check(pDX, IDC_TRADSOUND, m_bTradSound);
  DDX_Check(pDX, IDC_FLOATTEXT, m_bFloatText);
  DDX_Text(pDX, IDC_CAPTUREDIR, m_strCaptureDir);
}

BOOL CSetupDlg::OnInitDialog() {
  // Values from a stored profile may be out of range; the controls show them in range.
  dialogs::SetupValues v;
  v.allowWatch = m_bAllowWatch;
  v.bkMode = m_nBkMode;
  v.musicOn = m_bMusic;
  v.soundOn = m_bSound;
  v.tile = m_bTile;
  v.smallCards = m_bSmallCards;
  v.seatDir = m_nSeatDir;
  v.voice = m_bVoice;
  v.animation = m_bAnimation;
  v.tradSound = m_bTradSound;
  v.floatText = m_bFloatText;
  dialogs::NormalizeSetup(v);
  m_bAllowWatch = v.allowWatch;
  m_nBkMode = v.bkMode;
  m_bMusic = v.musicOn;
  m_bSound = v.soundOn;
  m_bTile = v.tile;
  m_bSmallCards = v.smallCards;
  m_nSeatDir = v.seatDir;
  m_bVoice = v.voice;
  m_bAnimation = v.animation;
  m_bTradSound = v.tradSound;
  m_bFloatText = v.floatText;

  CSkinDialog::OnInitDialog();
  const char* section = GetSkinSection();
  m_btnOK.LoadSkin(this, IDOK, section, "IDOK");
  m_btnCancel.LoadSkin(this, IDCANCEL, section, "IDCANCEL");
  m_btnBkColor.LoadSkin(this, IDC_BKCOLOR, section, "IDC_BKCOLOR");
  m_btnBkBmp.LoadSkin(this, IDC_BKBMP, section, "IDC_BKBMP");
  m_btnMusic.LoadSkin(this, IDC_MUSIC, section, "IDC_MUSIC");
  m_btnCaptureDir.LoadSkin(this, IDC_BTN_CAPTUREDIR, section, "IDC_BTN_CAPTUREDIR");
  if (m_bWatcher) {
    if (CWnd* check = GetDlgItem(IDC_ALLOWWATCH)) check->EnableWindow(FALSE);
  }
  if (CWnd* edit = GetDlgItem(IDC_CAPTUREDIR)) edit->SendMessage(EM_LIMITTEXT, MAX_PATH - 1, 0);
  FitTemplateIntoSkin(this);
  return TRUE;
}

BOOL CSetupDlg::PickColor(COLORREF& color) {
  CColorDialog dlg(color, CC_FULLOPEN, this);
  if (dlg.DoModal() != IDOK) return FALSE;
  color = dlg.GetColor();
  return TRUE;
}

BOOL CSetupDlg::PickFile(const CString& start, const char* filter, CString& path) {
  CFileDialog dlg(TRUE, nullptr, start, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, filter, this);
  if (dlg.DoModal() != IDOK) return FALSE;
  path = dlg.GetPathName();
  return !path.IsEmpty();
}

BOOL CSetupDlg::PickFolder(const char* title, CString& folder) {
  char name[MAX_PATH] = "";
  BROWSEINFOA bi = {};
  bi.hwndOwner = m_hWnd;
  bi.pszDisplayName = name;
  bi.lpszTitle = title;
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
  if (!pidl) return FALSE;
  char path[MAX_PATH] = "";
  BOOL ok = ::SHGetPathFromIDListA(pidl, path);
  ::CoTaskMemFree(pidl);
  if (!ok || !path[0]) return FALSE;
  folder = path;
  return TRUE;
}

void CSetupDlg::OnBkColor() {
  COLORREF color = m_crBk;
  if (!PickColor(color)) return;
  if (!UpdateData(TRUE)) return;
  m_nBkMode = 1;
  UpdateData(FALSE);
  m_crBk = color;
}

void CSetupDlg::OnBkBmp() {
  CString path;
  if (!PickFile(m_strBkPicture, kBitmapFilter, path)) return;
  if (!UpdateData(TRUE)) return;
  m_nBkMode = 2;
  UpdateData(FALSE);
  m_strBkPicture = path;
}

void CSetupDlg::OnMusic() {
  CString path;
  if (!PickFile(m_strMusicFile, kMidiFilter, path)) return;
  if (!UpdateData(TRUE)) return;
  m_bMusic = 1;
  UpdateData(FALSE);
  m_strMusicFile = path;
}

void CSetupDlg::OnCaptureDir() {
  CString folder;
  if (!PickFolder(kCaptureTitle, folder)) return;
  if (!UpdateData(TRUE)) return;
  m_strCaptureDir = folder;
  UpdateData(FALSE);
}

void CSetupDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  // A typed folder is cleaned up; one that cannot be a folder keeps the dialog open.
  if (!m_strCaptureDir.IsEmpty()) {
    std::string cleaned;
    const dialogs::FolderCheck check = dialogs::CheckFolder(std::string((LPCSTR)m_strCaptureDir), &cleaned);
    if (check != dialogs::FolderCheck::Ok && check != dialogs::FolderCheck::Empty) {
      if (CWnd* edit = GetDlgItem(IDC_CAPTUREDIR)) {
        GotoDlgCtrl(edit);
        edit->SendMessage(EM_SETSEL, 0, -1);
      }
      ::MessageBeep(MB_ICONEXCLAMATION);
      return;
    }
    m_strCaptureDir = cleaned.c_str();
  }
  EndDialog(IDOK);
}
