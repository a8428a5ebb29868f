// The program's document: the game logic of CGameDocCore over the real windows: the sounds,
// the profile, the score board and the complaint dialogs. The connection, the boxes, the
// services, the complaints and the chat are the application's; it hands them over with
// SetHost right after it creates the document.
#pragma once
#include <afxwin.h>

#include "DocHost.h"
#include "GameDocCore.h"
#include "ResultDlg.h"

class CGameView;

class CVeskDoc : public CDocument, public CDocSounds, public CDocProfile, public CGameDocCore {
  DECLARE_DYNCREATE(CVeskDoc)
 public:
  CVeskDoc();
  ~CVeskDoc() override;

  BOOL OnNewDocument() override;
  void OnCloseDocument() override;

  // Own seat, watch permission and the modeless dialogs; 0 when one of the dialogs cannot
  // be created.
  int CreateGameDialogs();

  CGameView* GetGameView() const;
  // The score board's rows (the document's hook) and its window.
  CDocScoreBoard& ScoreBoard() { return m_ResultDlg; }
  CDialog* GetScoreBoardWindow() const { return m_pScoreBoard; }
  // The score board shown at its last row or hidden (the table view's score button); only
  // while the main window shows.
  void ToggleScoreBoard();
  // The score board dialog shown.
  void ShowScoreBoardDialog();

  // CDocProfile
  std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& def) override;
  int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def) override;
  bool FileExists(const std::string& path) override;
  int Random() override;
  int GetProfileInt(const char* key, int def) override;
  std::string GetProfileString(const char* key, const std::string& def) override;
  void WriteProfileInt(const char* key, int value) override;
  void WriteProfileString(const char* key, const std::string& value) override;
  std::string GetDocumentFolder() override;
  // CDocSounds
  void PlayWave(int id) override;
  void PlayVoiceFile(const std::string& path) override;
  void PlaySoundId(int id) override;
  void AllowMusic() override;
  void RestartMusic(const std::string& file) override;
  // The music switched off in the settings: what plays stops at once.
  void StopMusic();

 private:
  void DestroyGameDialogs();

  // The score board, hidden until used. It answers the document's score-row hooks, so it
  // lives as long as the document.
  CResultDlg m_ResultDlg;
  CDialog* m_pScoreBoard = nullptr;
};
