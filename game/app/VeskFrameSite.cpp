#include "VeskFrameSite.h"

#include "AboutDlg.h"
#include "ChatView.h"
#include "ExitDlg.h"
#include "GameView.h"
#include "HelpDlg.h"
#include "MsgBox.h"
#include "ResLoad.h"
#include "SetupDlg.h"
#include "Program.h"
#include "ChannelState.h"
#include "LogFile.h"
#include "TableConnection.h"
#include "VeskDoc.h"
#include "resource.h"

namespace {
CVeskDoc* Doc() { return Program().GetVeskDoc(); }
}  // namespace

IMPLEMENT_DYNCREATE(CVeskFrame, CMainFrame)

CVeskFrame::CVeskFrame() { SetSite(&m_site); }

BOOL CVeskFrameSite::IsConnected() { return Program().Connection().IsConnected(); }
BOOL CVeskFrameSite::IsTrustExitDone() { return Program().Connection().IsTrustExitDone(); }
BOOL CVeskFrameSite::IsConnectionEnded() { return Program().Connection().IsEnded(); }
BOOL CVeskFrameSite::IsEndedByServer() { return Program().Connection().IsEndedByServer(); }
DWORD CVeskFrameSite::OptionFlags() { return Program().Connection().OptionFlags(); }
void CVeskFrameSite::RequestTrustExit() { Program().Connection().RequestTrustExit(); }
void CVeskFrameSite::QuitAndClose() { Program().Connection().QuitAndClose(); }
BOOL CVeskFrameSite::SendOptionFlags(int nType, DWORD dwValue) {
  return Program().Connection().SendOptionFlags(nType, dwValue);
}

BOOL CVeskFrameSite::IsWatching() { return Program().Channel().nWatchMode != 0; }
BOOL CVeskFrameSite::IsQuietClose() { return Doc() && Doc()->IsQuietClose(); }
BOOL CVeskFrameSite::IsInTrusteeship() { return Doc() && (Doc()->IsOwnTrusteeship() || Doc()->IsOwnTrustExit()); }
int CVeskFrameSite::LeaveRequests() { return Doc() ? Doc()->LeaveRequests() : 0; }

void CVeskFrameSite::SendLeaveRequest() {
  if (Doc()) Doc()->RequestLeave();
}

void CVeskFrameSite::ForceQuit() {
  if (Doc()) Doc()->ForceQuit();
}

void CVeskFrameSite::RestartMusicIfOn() {
  if (Doc() && Doc()->GetSettings().bMusic) Doc()->RestartMusic(Doc()->GetSettings().strMusicFile);
}

// The chat control may hold the close back (method 56); without one nothing does.
BOOL CVeskFrameSite::ChatMayClose() {
  CMainFrame* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  CChatView* view = frame ? frame->GetChatView() : nullptr;
  CQKChatEx* chat = view ? view->GetChat() : nullptr;
  return !chat || !chat->GetSafeHwnd() || chat->Invoke56();
}

void CVeskFrameSite::SetRunLogField(const char* key, const char* value) { Program().SetRunLogField(key, value); }

BOOL CVeskFrameSite::AskYesNo(const char* text, UINT style, int countdown) {
  return ShowMessageBox(text, style, countdown) == IDYES;
}

int CVeskFrameSite::RunExitDialog(BOOL askAllowed, BOOL trustAllowed) {
  CExitDlg dlg(AfxGetMainWnd());
  dlg.m_nAskAllowed = askAllowed ? 1 : 0;
  dlg.m_nTrustExit = trustAllowed ? 1 : 0;
  if (dlg.DoModal() != IDOK) return IDC_EXITCANCEL;
  return dlg.GetResult();
}

void CVeskFrameSite::ShowAbout() {
  CAboutDlg dlg(0, AfxGetMainWnd());
  dlg.DoModal();
}

void CVeskFrameSite::OpenSettings() { OpenSettingsDialog(); }

std::string CVeskFrameSite::SharePath() { return Program().SharePath(); }
std::string CVeskFrameSite::SkinFolder() { return Program().NetSkinFolder(); }
CGameViewSite* CVeskFrameSite::ViewSite() { return &Program().ViewSite(); }

CWnd* CVeskFrameSite::CreateHelpWindow(CWnd* pParent) {
  std::string link = GetLangRscUrl("Vesk");
  CString fallback;
  if (link.empty() && fallback.LoadString(IDS_INTROURL)) link = (LPCSTR)fallback;
  auto* help = new CHelpDlg(pParent, link.c_str());
  if (!help->Create(IDD_TIPS, pParent)) {
    delete help;
    return nullptr;
  }
  return help;
}

// ---- settings ----------------------------------------------------------------------------

namespace {
const char kSettings[] = "Settings";

// The card-size choice is one of the template's hidden controls; this program offers it.
class CVeskSetupDlg : public CSetupDlg {
 public:
  using CSetupDlg::CSetupDlg;

 protected:
  BOOL OnInitDialog() override {
    BOOL r = CSetupDlg::OnInitDialog();
    if (CWnd* small = GetDlgItem(IDC_SMALLCARDS)) small->ShowWindow(SW_SHOW);
    return r;
  }
};

void FillSetup(CSetupDlg& dlg, const CVeskDoc& doc) {
  const CVeskDoc::SETTINGS v = doc.GetSettings();
  dlg.m_nBkMode = AfxGetApp()->GetProfileInt(kSettings, "UseBkColor", 0);
  dlg.m_crBk = (COLORREF)AfxGetApp()->GetProfileInt(kSettings, "BkColor", 0x8000);
  dlg.m_strBkPicture = AfxGetApp()->GetProfileString(kSettings, "BkBmp", "");
  dlg.m_bTile = AfxGetApp()->GetProfileInt(kSettings, "Tile", 1);
  // The play-order flag set is clockwise (the view then offers the counter-clockwise button).
  dlg.m_nSeatDir = v.bOrder ? 1 : 0;
  dlg.m_bAllowWatch = v.bEnableWatch;
  dlg.m_bWatcher = doc.IsWatching();
  dlg.m_bSound = v.bSound;
  dlg.m_bMusic = v.bMusic;
  dlg.m_strMusicFile = v.strMusicFile.c_str();
  dlg.m_bSmallCards = v.bSmallCard;
  dlg.m_bAnimation = AfxGetApp()->GetProfileInt(kSettings, "MoveCards", 0);
  dlg.m_bVoice = v.bVoice;
  dlg.m_bTradSound = v.bNormalSound;
  dlg.m_bFloatText = v.bFlyMsg;
  dlg.m_strCaptureDir = v.strSnapshotPath.c_str();
}

void ApplyMusic(CVeskDoc& doc, const CSetupDlg& dlg) {
  CVeskDoc::SETTINGS v = doc.GetSettings();
  const bool wasOn = v.bMusic != 0;
  const bool fileChanged = v.strMusicFile != (LPCSTR)dlg.m_strMusicFile;
  v.bMusic = dlg.m_bMusic;
  v.strMusicFile = (LPCSTR)dlg.m_strMusicFile;
  doc.SetSettings(v);
  if (v.bMusic && (!wasOn || fileChanged)) doc.RestartMusic(v.strMusicFile);
  if (!v.bMusic && wasOn) doc.StopMusic();
}

// The profile holds the choice at once, whatever way the program ends later.
void WriteChosenSettings(const CVeskDoc& doc) {
  const CVeskDoc::SETTINGS v = doc.GetSettings();
  const struct {
    const char* key;
    int value;
  } ints[] = {{"Sound", v.bSound},  {"Music", v.bMusic}, {"SmallCard", v.bSmallCard},
              {"Order", v.bOrder},  {"Voice", v.bVoice}, {"NormalSound", v.bNormalSound},
              {"FlyMsg", v.bFlyMsg}};
  for (const auto& i : ints) AfxGetApp()->WriteProfileInt(kSettings, i.key, i.value);
  AfxGetApp()->WriteProfileString(kSettings, "MusicFile", v.strMusicFile.c_str());
  AfxGetApp()->WriteProfileString(kSettings, "SnapshotPath", v.strSnapshotPath.c_str());
  if (!doc.IsWatchingAsEntered()) AfxGetApp()->WriteProfileInt(kSettings, "EnableWatch", v.bEnableWatch);
}

void ApplySetup(CVeskDoc& doc, CGameView& view, const CSetupDlg& dlg) {
  CVeskDoc::SETTINGS v = doc.GetSettings();
  const bool repaint = dlg.m_bSmallCards != v.bSmallCard;
  AfxGetApp()->WriteProfileInt(kSettings, "UseBkColor", dlg.m_nBkMode);
  AfxGetApp()->WriteProfileInt(kSettings, "BkColor", (int)dlg.m_crBk);
  AfxGetApp()->WriteProfileString(kSettings, "BkBmp", dlg.m_strBkPicture);
  AfxGetApp()->WriteProfileInt(kSettings, "Tile", dlg.m_bTile);
  AfxGetApp()->WriteProfileInt(kSettings, "MoveCards", dlg.m_bAnimation);
  // The view writes its background back when it ends: it must hold the new choice.
  view.SetBackground(dlg.m_nBkMode, dlg.m_crBk, (LPCSTR)dlg.m_strBkPicture, dlg.m_bTile != 0);
  view.SetMoveCards(dlg.m_bAnimation != 0);
  v.bSound = dlg.m_bSound;
  v.bVoice = dlg.m_bVoice;
  v.bNormalSound = dlg.m_bTradSound;
  v.bFlyMsg = dlg.m_bFloatText;
  v.strSnapshotPath = (LPCSTR)dlg.m_strCaptureDir;
  doc.SetSettings(v);
  ApplyMusic(doc, dlg);
  if ((dlg.m_nSeatDir == 1) != doc.IsOrderClockwise()) view.OnSwitchDirection();
  v = doc.GetSettings();
  v.bSmallCard = dlg.m_bSmallCards;
  doc.SetSettings(v);
  if (repaint) {
    CGameView::SetLargeCards(!v.bSmallCard);
    view.RelayoutTable();
    view.RepaintTable();
  }
  doc.SetAllowWatching(dlg.m_bAllowWatch);
  WriteChosenSettings(doc);
}
}  // namespace

void OpenSettingsDialog() {
  CVeskDoc* doc = Doc();
  CGameView* view = doc ? doc->GetGameView() : nullptr;
  if (!doc || !view) return;
  CVeskSetupDlg dlg(AfxGetMainWnd());
  FillSetup(dlg, *doc);
  if (dlg.DoModal() != IDOK) return;
  ApplySetup(*doc, *view, dlg);
}
