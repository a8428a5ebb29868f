#include "VeskDoc.h"

#include <afxpriv.h>

#include <cstdlib>

#include "GameView.h"
#include "LobbyLinks.h"
#include "ResLoad.h"
#include "SoundManager.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CVeskDoc, CDocument)

namespace {
const char kSettings[] = "Settings";
}

CVeskDoc::CVeskDoc() = default;

CVeskDoc::~CVeskDoc() {
  // The connection outlives the document: it must not deliver another frame to this object.
  if (HasHost()) m_Host->connection.DetachDocument();
  DestroyGameDialogs();
}

BOOL CVeskDoc::OnNewDocument() {
  // Without the application's hosts there is no table to show.
  if (!HasHost() || !CDocument::OnNewDocument()) return FALSE;
  LoadSeats();
  LoadSettings();
  return TRUE;
}

void CVeskDoc::OnCloseDocument() {
  SaveSettings();
  CDocument::OnCloseDocument();
}

int CVeskDoc::CreateGameDialogs() {
  m_wOwnSeat = m_Seats[OWN_POSITION].wSeat;
  for (int p = 0; p < MAX_POSITIONS; ++p) m_Seats[p].dwState = 0;
  if (!IsWatchingAsEntered()) {
    m_bEnableWatch = m_Host->profile.GetProfileInt("EnableWatch", 1);
    m_Seats[OWN_POSITION].bAllowWatching = m_bEnableWatch;
  }
  CWnd* pMain = AfxGetMainWnd();
  // The score board, the complaint and the complaint-wait dialogs: modeless and hidden.
  // The complaint dialogs send through the program, which makes them.
  if (!m_ResultDlg.GetSafeHwnd()) {
    std::string names[MAX_POSITIONS];
    for (int p = 0; p < MAX_POSITIONS; ++p) names[p] = m_Seats[p].szUserName;
    m_ResultDlg.SetSeats(names, MAX_POSITIONS, m_pChannel->nPlayerCount);
    if (!m_ResultDlg.CreateHidden(pMain)) return 0;
    m_pScoreBoard = &m_ResultDlg;
  }
  if (!m_Host->complaints.CreateComplaintDialogs()) return 0;
  return 1;
}

void CVeskDoc::DestroyGameDialogs() {
  if (m_ResultDlg.GetSafeHwnd()) m_ResultDlg.DestroyWindow();
  m_pScoreBoard = nullptr;
}

CGameView* CVeskDoc::GetGameView() const {
  POSITION pos = GetFirstViewPosition();
  while (pos) {
    CGameView* pView = dynamic_cast<CGameView*>(GetNextView(pos));
    if (pView) return pView;
  }
  return nullptr;
}

// ---- profile and files ----

std::string CVeskDoc::ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& def) {
  char buf[1024] = "";
  GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf, sizeof buf, file.c_str());
  return buf;
}

int CVeskDoc::ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def) {
  return (int)GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str());
}

bool CVeskDoc::FileExists(const std::string& path) { return ::FileExists(path.c_str()) != FALSE; }
int CVeskDoc::Random() { return rand(); }

int CVeskDoc::GetProfileInt(const char* key, int def) { return (int)AfxGetApp()->GetProfileInt(kSettings, key, def); }

std::string CVeskDoc::GetProfileString(const char* key, const std::string& def) {
  return (LPCSTR)AfxGetApp()->GetProfileString(kSettings, key, def.c_str());
}

void CVeskDoc::WriteProfileInt(const char* key, int value) { AfxGetApp()->WriteProfileInt(kSettings, key, value); }

std::string CVeskDoc::GetDocumentFolder() { return (LPCSTR)AfxGetApp()->GetProfileString("", "Path", ""); }

void CVeskDoc::WriteProfileString(const char* key, const std::string& value) {
  AfxGetApp()->WriteProfileString(kSettings, key, value.c_str());
}

void CVeskDoc::ShowScoreBoardDialog() {
  if (m_pScoreBoard && m_pScoreBoard->GetSafeHwnd()) m_pScoreBoard->ShowWindow(SW_SHOW);
}

void CVeskDoc::ToggleScoreBoard() {
  if (!m_pScoreBoard || !m_pScoreBoard->GetSafeHwnd() || !m_Host->connection.IsMainWindowVisible()) return;
  m_ResultDlg.ToggleScoreBoard();
}

// ---- sounds, through the process's one sound player ----

void CVeskDoc::PlayWave(int id) {
  // Game sounds follow the sound setting and only play while the table can be seen.
  CSoundManager& sound = VeskSoundManager();
  sound.SetSoundOn(m_bSound ? TRUE : FALSE);
  if (m_bSound && m_Host->connection.IsMainWindowVisible()) sound.PlayWaveResource(static_cast<UINT>(id));
}

void CVeskDoc::PlayVoiceFile(const std::string& path) {
  if (m_bVoice && m_Host->connection.IsMainWindowVisible()) VeskSoundManager().PlayWaveFile(path.c_str());
}

void CVeskDoc::PlaySoundId(int id) {
  // Played whatever the sound setting (a player leaving the table to the server).
  CSoundManager& sound = VeskSoundManager();
  BOOL was = sound.IsSoundOn();
  sound.SetSoundOn(TRUE);
  sound.PlaySoundId(static_cast<UINT>(id));
  sound.SetSoundOn(was);
}

void CVeskDoc::AllowMusic() {
  // The game data arrived: a watcher's music may start now.
  CSoundManager& sound = VeskSoundManager();
  sound.SetMusicPlayFlag(TRUE);
  if (!sound.IsMusicPlaying()) RestartMusic(m_strMusicFile);
}

void CVeskDoc::RestartMusic(const std::string& file) {
  CSoundManager& sound = VeskSoundManager();
  if (!m_bMusic) {
    if (sound.IsMusicPlaying()) sound.StopMusic();
    return;
  }
  if (!sound.GetMusicPlayFlag()) return;
  BOOL playing = sound.RestartMusic(file.c_str());
  m_Host->services.WriteGameLog(std::string("music ") + (playing ? "playing" : "not playable") + ": " + file);
}

void CVeskDoc::StopMusic() {
  CSoundManager& sound = VeskSoundManager();
  const bool was = sound.IsMusicPlaying() != FALSE;
  sound.StopMusic();
  m_Host->services.WriteGameLog(was ? "music stopped" : "music stopped (none playing)");
}
