// A document host for tests that does nothing and answers the neutral value (no frame
// sent, boxes answered with 0, settings at their defaults). Tests derive from it and
// record the calls they look at; it is also the table view (attach it to the document).
#pragma once
#include "DocHost.h"

class CNullDocHost : public CDocConnection,
                     public CDocBoxes,
                     public CDocSounds,
                     public CDocProfile,
                     public CDocServices,
                     public CDocScoreBoard,
                     public CDocComplaints,
                     public CDocChatPanel,
                     public CDocTableView {
 public:
  int sending = 0;
  bool held = false;
  // CDocConnection
  bool SendFrame(const std::vector<uint8_t>&) override { return true; }
  void BeginSend() override { ++sending; }
  void EndSend() override {
    if (sending > 0) --sending;
  }
  void HoldInput() override { held = true; }
  void ReleaseInput() override { held = false; }
  bool IsBusy() override { return sending > 0 || held; }
  uint32_t OptionFlags() override { return 0; }
  void QuitAndClose() override {}
  void QuitForcedAndClose() override {}
  void PostCloseMainWindow() override {}
  bool IsMainWindowVisible() override { return true; }
  bool IsMainWindowActive() override { return false; }
  bool IsMainWindowMinimised() override { return false; }
  void FlashMainWindow(int, int) override {}
  void ShowMainWindow() override {}
  void DetachDocument() override {}
  // CDocBoxes
  int ShowBoxId(int, uint32_t, int, const std::string&) override { return 0; }
  int ShowBoxIdPair(int stringId, const std::string& arg, int, uint32_t style, int countdown) override {
    return ShowBoxId(stringId, style, countdown, arg);
  }
  int ShowBoxText(const std::string&, uint32_t, int) override { return 0; }
  // CDocSounds
  void PlayWave(int) override {}
  void PlayVoiceFile(const std::string&) override {}
  void PlaySoundId(int) override {}
  void AllowMusic() override {}
  void RestartMusic(const std::string&) override {}
  // CDocProfile
  std::string ReadIniString(const std::string&, const std::string&, const std::string&,
                            const std::string& def) override {
    return def;
  }
  int ReadIniInt(const std::string&, const std::string&, const std::string&, int def) override { return def; }
  bool FileExists(const std::string&) override { return false; }
  int Random() override { return 0; }
  int GetProfileInt(const char*, int def) override { return def; }
  std::string GetProfileString(const char*, const std::string& def) override { return def; }
  void WriteProfileInt(const char*, int) override {}
  void WriteProfileString(const char*, const std::string&) override {}
  std::string GetDocumentFolder() override { return std::string(); }
  // CDocServices
  void SetRunLogField(const char*, const std::string&) override {}
  void WriteGameLog(const std::string&) override {}
  void StartTierQuery(const std::vector<std::string>&) override {}
  // CDocScoreBoard
  void AddSeriesRow(uint32_t) override {}
  void AddHandRow(uint32_t, const int*, int) override {}
  void AddRangeRow(uint32_t, const int*, int) override {}
  void RemoveTotalRow() override {}
  void AddTotalRow(const int*, int) override {}
  void AddFinalRow(const int*, int) override {}
  void ShowScoreBoard(bool) override {}
  // CDocComplaints
  bool CreateComplaintDialogs() override { return true; }
  void ComplaintPrompt(const uint8_t*, bool) override {}
  void ComplaintResult(const uint8_t*, bool) override {}
  void ComplaintUpdate(const uint8_t*, bool) override {}
  // CDocChatPanel
  void RefreshChatLists() override {}
  void PanelReload() override {}
  void ShowAdRecord(const uint8_t*) override {}
  void HandleNetSkinData(const std::string&) override {}
  // CDocTableView
  void PhaseChanged(int) override {}
  void ShowTurnClock(int) override {}
  void HideTurnClock() override {}
  void HideTurnMarker() override {}
  void RefreshButtons() override {}
  void RedrawAvatar(int) override {}
  void RedrawPlays() override {}
  void RepaintTable() override {}
  void RelayoutTable() override {}
  void HideStartButton() override {}
  void HideBidButtons() override {}
  void ShowShowCardsButton() override {}
  void HideShowCardsButton() override {}
  void SetPlayButtons(bool, bool) override {}
  void RaiseSelectedCards() override {}
  void EnablePlayButton(bool) override {}
  void SetTrusteeshipButtons(bool) override {}
  void SetStatusText(const std::string&) override {}
  void SetStatusTextId(int) override {}
  void ShowFloatingText(const std::string&) override {}
  void ShowNotice(const std::string&) override {}
  void SetSurveyTarget(const std::string&) override {}
  void FocusGameView() override {}
  void MoveClockForHandEnd() override {}
  void StartLastRoundTimer(int) override {}
  void PlayRecorded(int, int, int) override {}
  void PauseTable(uint32_t) override {}

  CDocHost Hosts() { return CDocHost::Of(*this); }
};
