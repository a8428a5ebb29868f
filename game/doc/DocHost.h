// Everything the document does outside its own state, split by concern: the connection
// and the main window, the boxes, the sounds, the profile and files, the services, the
// score board, the complaints, the chat and the panel, and the table view. Every member
// is pure: a program that leaves one out does not compile. The program's document
// implements most of them, the table view implements CDocTableView itself, and tests
// record the calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The game server's socket and the main window.
class CDocConnection {
 public:
  virtual ~CDocConnection() = default;
  virtual bool SendFrame(const std::vector<uint8_t>& frame) = 0;  // without a reply wait
  // The table's one busy state: a send in flight (BeginSend .. EndSend), or a timeout the
  // table has not yet answered with the next wait phase (HoldInput .. ReleaseInput). The
  // player's actions wait while it is set.
  virtual void BeginSend() = 0;
  virtual void EndSend() = 0;
  virtual void HoldInput() = 0;
  virtual void ReleaseInput() = 0;
  virtual bool IsBusy() = 0;
  virtual uint32_t OptionFlags() = 0;  // the table's option flags (bit 0: trusteeship allowed)
  virtual void QuitAndClose() = 0;
  virtual void QuitForcedAndClose() = 0;
  virtual void PostCloseMainWindow() = 0;
  virtual bool IsMainWindowVisible() = 0;
  virtual bool IsMainWindowActive() = 0;
  virtual bool IsMainWindowMinimised() = 0;
  virtual void FlashMainWindow(int count, int ms) = 0;
  virtual void ShowMainWindow() = 0;  // a watcher's window once the game data arrived
  // The document goes: no frame of the server may reach it any more.
  virtual void DetachDocument() = 0;
};

// Boxes: a string of the resource library (formatted with `arg` when it has a placeholder)
// or a text; they return the pressed button (IDYES 6, IDNO 7, IDOK 1).
class CDocBoxes {
 public:
  virtual ~CDocBoxes() = default;
  virtual int ShowBoxId(int stringId, uint32_t style, int countdown, const std::string& arg) = 0;
  // A box of two strings: the first formatted with `arg`, the second behind it.
  virtual int ShowBoxIdPair(int stringId, const std::string& arg, int tailId, uint32_t style, int countdown) = 0;
  virtual int ShowBoxText(const std::string& text, uint32_t style, int countdown) = 0;
};

// Sounds and the background music.
class CDocSounds {
 public:
  virtual ~CDocSounds() = default;
  virtual void PlayWave(int id) = 0;
  virtual void PlayVoiceFile(const std::string& path) = 0;
  virtual void PlaySoundId(int id) = 0;  // through the sound player whatever the settings
  virtual void AllowMusic() = 0;         // the music setting may have changed
  virtual void RestartMusic(const std::string& file) = 0;
};

// The profile (the section "Settings"), ini files, files and randomness for the voices.
class CDocProfile {
 public:
  virtual ~CDocProfile() = default;
  virtual std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& def) = 0;
  virtual int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int def) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual int Random() = 0;  // 0 .. RAND_MAX
  virtual int GetProfileInt(const char* key, int def) = 0;
  virtual std::string GetProfileString(const char* key, const std::string& def) = 0;
  virtual void WriteProfileInt(const char* key, int value) = 0;
  virtual void WriteProfileString(const char* key, const std::string& value) = 0;
  // The game's own folder (the value "Path" at the top of the program's profile): the voices
  // and their list live there.
  virtual std::string GetDocumentFolder() = 0;
};

// The program's services: the run log, the game log and the tier query.
class CDocServices {
 public:
  virtual ~CDocServices() = default;
  virtual void SetRunLogField(const char* key, const std::string& value) = 0;
  virtual void WriteGameLog(const std::string& line) = 0;
  // The ranked tiers of the players at the table, by view position.
  virtual void StartTierQuery(const std::vector<std::string>& userNames) = 0;
};

// The score board's rows.
class CDocScoreBoard {
 public:
  virtual ~CDocScoreBoard() = default;
  virtual void AddSeriesRow(uint32_t seriesValue) = 0;
  virtual void AddHandRow(uint32_t hand, const int* values, int count) = 0;
  virtual void AddRangeRow(uint32_t hand, const int* values, int count) = 0;
  virtual void RemoveTotalRow() = 0;
  virtual void AddTotalRow(const int* values, int count) = 0;
  virtual void AddFinalRow(const int* values, int count) = 0;
  virtual void ShowScoreBoard(bool scrollToEnd) = 0;
};

// The complaint dialogs (the 20-byte record of a complaint).
class CDocComplaints {
 public:
  virtual ~CDocComplaints() = default;
  // Both dialogs made hidden at start-up, ready for the first prompt; false when either
  // cannot be made.
  virtual bool CreateComplaintDialogs() = 0;
  virtual void ComplaintPrompt(const uint8_t* record20, bool declarerWaits) = 0;
  virtual void ComplaintResult(const uint8_t* record20, bool declarerWaits) = 0;
  virtual void ComplaintUpdate(const uint8_t* frame, bool declarerWaits) = 0;
};

// The chat view and the main frame's panel, with what the server sends for them: the
// advertisement records and the net skin.
class CDocChatPanel {
 public:
  virtual ~CDocChatPanel() = default;
  virtual void RefreshChatLists() = 0;
  virtual void PanelReload() = 0;
  virtual void ShowAdRecord(const uint8_t* frame) = 0;
  virtual void HandleNetSkinData(const std::string& text) = 0;
};

// The table view. It attaches itself to the document while it exists.
class CDocTableView {
 public:
  virtual ~CDocTableView() = default;
  virtual void PhaseChanged(int phase) = 0;
  virtual void ShowTurnClock(int seconds) = 0;
  virtual void HideTurnClock() = 0;
  virtual void HideTurnMarker() = 0;
  virtual void RefreshButtons() = 0;
  virtual void RedrawAvatar(int position) = 0;
  virtual void RedrawPlays() = 0;
  virtual void RepaintTable() = 0;
  virtual void RelayoutTable() = 0;
  virtual void HideStartButton() = 0;
  virtual void HideBidButtons() = 0;
  virtual void ShowShowCardsButton() = 0;
  virtual void HideShowCardsButton() = 0;
  // Play, and pass and hint (never on a free lead: there is nothing to pass on).
  virtual void SetPlayButtons(bool play, bool passAndHint) = 0;
  virtual void RaiseSelectedCards() = 0;
  virtual void EnablePlayButton(bool enabled) = 0;
  virtual void SetTrusteeshipButtons(bool on) = 0;  // on: cancel shown, trusteeship hidden
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStatusTextId(int stringId) = 0;
  virtual void ShowFloatingText(const std::string& text) = 0;
  virtual void ShowNotice(const std::string& text) = 0;
  virtual void SetSurveyTarget(const std::string& url) = 0;
  virtual void FocusGameView() = 0;
  virtual void MoveClockForHandEnd() = 0;
  // Calls EndShowLastRound after ms (a window timer in the program).
  virtual void StartLastRoundTimer(int ms) = 0;
  // A position's play was recorded (type 0 with count 0: a pass); how it looks and sounds
  // is the view's choice.
  virtual void PlayRecorded(int position, int type, int count) = 0;
  // MSG_PAUSE: the table holds for that long (no clock counts) without blocking the
  // message loop.
  virtual void PauseTable(uint32_t ms) = 0;
};

// The document's hosts, one per concern (the table view attaches separately).
struct CDocHost {
  CDocConnection& connection;
  CDocBoxes& boxes;
  CDocSounds& sounds;
  CDocProfile& profile;
  CDocServices& services;
  CDocScoreBoard& scoreBoard;
  CDocComplaints& complaints;
  CDocChatPanel& chat;

  // One object that implements every concern (tests).
  template <class T>
  static CDocHost Of(T& all) {
    return CDocHost{all, all, all, all, all, all, all, all};
  }
};
