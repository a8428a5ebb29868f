// Everything the document does outside its own state goes through this interface:
// the socket, the views, the boxes, the sounds, the score board and the profile.
// CVeskDoc implements it with the real windows; tests record the calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CDocHost {
 public:
  virtual ~CDocHost() = default;

  // Socket and application.
  virtual bool SendFrame(const std::vector<uint8_t>& frame) = 0;  // without a reply wait
  virtual void BeginSend() {}
  virtual void EndSend() {}
  virtual uint32_t OptionFlags() { return 0; }  // the table's option flags (bit 0: trusteeship allowed)
  virtual void QuitAndClose() {}
  virtual void QuitForcedAndClose() {}
  virtual void PostCloseMainWindow() {}
  virtual bool IsMainWindowVisible() { return true; }
  virtual bool IsMainWindowActive() { return false; }
  virtual void FlashMainWindow(int /*count*/, int /*ms*/) {}
  virtual void ShowMainWindow() {}  // a watcher's window once the game data arrived
  virtual void SetRunLogField(const char* /*key*/, const std::string& /*value*/) {}
  virtual void StartTierQuery() {}
  // MSG_PAUSE: the view is updated and the table holds for that long without
  // blocking the message loop.
  virtual void PauseTable(uint32_t /*ms*/) {}

  // Boxes: a string of the resource library (formatted with `arg` when it has a
  // placeholder) or a text; return the pressed button (IDYES 6, IDNO 7, IDOK 1).
  virtual int ShowBoxId(int /*stringId*/, uint32_t /*style*/, int /*countdown*/, const std::string& /*arg*/) { return 0; }
  // A box of two strings: the first formatted with `arg`, the second behind it.
  virtual int ShowBoxIdPair(int stringId, const std::string& arg, int /*tailId*/, uint32_t style, int countdown) {
    return ShowBoxId(stringId, style, countdown, arg);
  }
  virtual int ShowBoxText(const std::string& /*text*/, uint32_t /*style*/, int /*countdown*/) { return 0; }

  // Sounds.
  virtual void PlayWave(int /*id*/) {}
  virtual void PlayVoiceFile(const std::string& /*path*/) {}
  virtual void PlaySoundId(int /*id*/) {}  // through the sound player whatever the settings
  virtual void AllowMusic() {}
  virtual void RestartMusic(const std::string& /*file*/) {}
  // What a recorded play sounds like is the view's choice (type 0 with count 0: a pass).
  virtual void PlayRecorded(int /*position*/, int /*type*/, int /*count*/) {}

  // Files and randomness for the voices.
  virtual std::string ReadIniString(const std::string& /*file*/, const std::string& /*section*/,
                                    const std::string& /*key*/, const std::string& def) { return def; }
  virtual int ReadIniInt(const std::string& /*file*/, const std::string& /*section*/, const std::string& /*key*/,
                         int def) { return def; }
  virtual bool FileExists(const std::string& /*path*/) { return false; }
  virtual int Random() { return 0; }  // 0 .. RAND_MAX

  // Profile (the section "Settings").
  virtual int GetProfileInt(const char* /*key*/, int def) { return def; }
  virtual std::string GetProfileString(const char* /*key*/, const std::string& def) { return def; }
  virtual void WriteProfileInt(const char* /*key*/, int /*value*/) {}
  virtual void WriteProfileString(const char* /*key*/, const std::string& /*value*/) {}

  // The game view.
  virtual void PhaseChanged(int /*phase*/) {}
  virtual void ShowTurnClock(int /*seconds*/) {}
  virtual void HideTurnClock() {}
  virtual void HideTurnMarker() {}
  virtual void RefreshButtons() {}
  virtual void RedrawAvatar(int /*position*/) {}
  virtual void RedrawPlays() {}
  virtual void RepaintTable() {}
  virtual void RelayoutTable() {}
  virtual void HideStartButton() {}
  virtual void HideBidButtons() {}
  virtual void ShowShowCardsButton() {}
  virtual void HideShowCardsButton() {}
  virtual void SetPlayButtons(bool /*enabled*/) {}  // play, pass and hint
  virtual void RaiseSelectedCards() {}
  virtual void EnablePlayButton(bool /*enabled*/) {}
  virtual void SetTrusteeshipButtons(bool /*on*/) {}  // on: cancel shown, trusteeship hidden
  virtual void SetStatusText(const std::string& /*text*/) {}
  virtual void SetStatusTextId(int /*stringId*/) {}
  virtual void ShowFloatingText(const std::string& /*text*/) {}
  virtual void ShowNotice(const std::string& /*text*/) {}
  virtual void SetSurveyTarget(const std::string& /*url*/) {}
  virtual void FocusGameView() {}
  virtual void MoveClockForHandEnd() {}
  // Calls EndShowLastRound after ms (a window timer in the program).
  virtual void StartLastRoundTimer(int /*ms*/) {}

  // The chat view, the main frame and the dialogs.
  virtual void RefreshChatLists() {}
  virtual void PanelReload() {}
  virtual void ShowAdRecord(const uint8_t* /*frame*/) {}
  virtual void HandleNetSkinData(const std::string& /*text*/) {}
  virtual void ComplaintPrompt(const uint8_t* /*record20*/, bool /*declarerWaits*/) {}
  virtual void ComplaintResult(const uint8_t* /*record20*/, bool /*declarerWaits*/) {}
  virtual void ComplaintUpdate(const uint8_t* /*frame*/, bool /*declarerWaits*/) {}

  // The score board.
  virtual void AddSeriesRow(uint32_t /*seriesValue*/) {}
  virtual void AddHandRow(int /*hand*/, const int* /*values*/, int /*count*/) {}
  virtual void AddRangeRow(int /*hand*/, const int* /*values*/, int /*count*/) {}
  virtual void RemoveTotalRow() {}
  virtual void AddTotalRow(const int* /*values*/, int /*count*/) {}
  virtual void AddFinalRow(const int* /*values*/, int /*count*/) {}
  virtual void ShowScoreBoard(bool /*scrollToEnd*/) {}
};
