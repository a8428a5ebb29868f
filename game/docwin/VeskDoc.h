// The program's document: the game logic of CGameDocCore over the real windows, the
// socket, the profile and the boxes.
#pragma once
#include <afxwin.h>

#include "DocHost.h"
#include "GameDocCore.h"

class CGameView;

class CVeskDoc : public CDocument, public CDocHost, public CGameDocCore {
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

  // CDocHost
  bool SendFrame(const std::vector<uint8_t>& frame) override;
  void BeginSend() override;
  void EndSend() override;
  void QuitAndClose() override;
  void QuitForcedAndClose() override;
  void PostCloseMainWindow() override;
  bool IsMainWindowVisible() override;
  bool IsMainWindowActive() override;
  void FlashMainWindow(int count, int ms) override;
  void ShowMainWindow() override;
  void SetRunLogField(const char* key, const std::string& value) override;
  int ShowBoxId(int stringId, uint32_t style, int countdown, const std::string& arg) override;
  int ShowBoxText(const std::string& text, uint32_t style, int countdown) override;
  std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& def) override;
  int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def) override;
  bool FileExists(const std::string& path) override;
  int Random() override;
  int GetProfileInt(const char* key, int def) override;
  std::string GetProfileString(const char* key, const std::string& def) override;
  void WriteProfileInt(const char* key, int value) override;
  void WriteProfileString(const char* key, const std::string& value) override;
  // The table view's calls.
  void PhaseChanged(int phase) override;
  void ShowTurnClock(int seconds) override;
  void HideTurnClock() override;
  void HideTurnMarker() override;
  void RefreshButtons() override;
  void RedrawAvatar(int position) override;
  void RedrawPlays() override;
  void RepaintTable() override;
  void RelayoutTable() override;
  void HideStartButton() override;
  void HideBidButtons() override;
  void ShowShowCardsButton() override;
  void HideShowCardsButton() override;
  void SetPlayButtons(bool enabled) override;
  void RaiseSelectedCards() override;
  void EnablePlayButton(bool enabled) override;
  void SetTrusteeshipButtons(bool on) override;
  void SetStatusText(const std::string& text) override;
  void SetStatusTextId(int stringId) override;
  void ShowFloatingText(const std::string& text) override;
  void ShowNotice(const std::string& text) override;
  void SetSurveyTarget(const std::string& url) override;
  void FocusGameView() override;
  void MoveClockForHandEnd() override;
  void StartLastRoundTimer(int ms) override;
  void ShowScoreBoard(bool scrollToEnd) override;
  void PlayWave(int id) override;
  void PlayVoiceFile(const std::string& path) override;
  void PlaySoundId(int id) override;

  // The modeless dialogs (score board, complaint, complaint wait), hidden until used.
  CDialog* m_pScoreBoard = nullptr;
  CDialog* m_pComplaintDlg = nullptr;
  CDialog* m_pComplaintWaitDlg = nullptr;

 private:
  void DestroyGameDialogs();
};
