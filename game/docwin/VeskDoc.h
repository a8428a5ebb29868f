// The program's document: the game logic of CGameDocCore over the real windows, the
// socket, the profile and the boxes.
#pragma once
#include <afxwin.h>

#include <memory>

#include "DocHost.h"
#include "GameDocCore.h"
#include "ResultDlg.h"
#include "TierQuery.h"

class CGameView;

class CVeskDoc : public CDocument,
                 public CDocConnection,
                 public CDocBoxes,
                 public CDocSounds,
                 public CDocProfile,
                 public CDocServices,
                 public CGameDocCore {
  DECLARE_DYNCREATE(CVeskDoc)
 public:
  CVeskDoc();
  ~CVeskDoc() override;

  BOOL OnNewDocument() override;
  void OnCloseDocument() override;

  // Own seat, watch permission, message handlers and the modeless dialogs; 0 when one of
  // the dialogs cannot be created.
  int CreateGameDialogs();
  void RegisterMessageHandlers();

  CGameView* GetGameView() const;
  // The score board shown or hidden (the table view's score button).
  void ToggleScoreBoard();
  // The score board dialog shown.
  void ShowScoreBoardDialog();

  // CDocConnection
  bool SendFrame(const std::vector<uint8_t>& frame) override;
  void BeginSend() override;
  void EndSend() override;
  uint32_t OptionFlags() override;
  void QuitAndClose() override;
  void QuitForcedAndClose() override;
  void PostCloseMainWindow() override;
  bool IsMainWindowVisible() override;
  bool IsMainWindowActive() override;
  void FlashMainWindow(int count, int ms) override;
  void ShowMainWindow() override;
  // CDocBoxes
  int ShowBoxId(int stringId, uint32_t style, int countdown, const std::string& arg) override;
  int ShowBoxIdPair(int stringId, const std::string& arg, int tailId, uint32_t style, int countdown) override;
  int ShowBoxText(const std::string& text, uint32_t style, int countdown) override;
  // CDocProfile
  std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& def) override;
  int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def) override;
  bool FileExists(const std::string& path) override;
  int Random() override;
  int GetProfileInt(const char* key, int def) override;
  std::string GetProfileString(const char* key, const std::string& def) override;
  std::string GetDocumentFolder() override;
  void WriteProfileInt(const char* key, int value) override;
  void WriteProfileString(const char* key, const std::string& value) override;
  // CDocSounds
  void PlayWave(int id) override;
  void PlayVoiceFile(const std::string& path) override;
  void PlaySoundId(int id) override;
  void AllowMusic() override;
  void RestartMusic(const std::string& file) override;
  // CDocServices
  void SetRunLogField(const char* key, const std::string& value) override;
  void StartTierQuery() override;

  // The modeless dialogs (score board, complaint, complaint wait), hidden until used. The
  // score board answers the document's score-row hooks, so it lives as long as the document.
  CResultDlg m_ResultDlg;
  CDialog* m_pScoreBoard = nullptr;
  CDialog* m_pComplaintDlg = nullptr;
  CDialog* m_pComplaintWaitDlg = nullptr;
  // The tiers of the players at the table by view position (the tier query writes them).
  std::shared_ptr<CTierTable> m_pTiers = std::make_shared<CTierTable>();

 private:
  void DestroyGameDialogs();
};
