// The document's game logic: the state of one table, the phases, the player's
// actions and every game message handler, over the card rules, the hosts of CDocHost and
// the table view attached to it.
// CVeskDoc derives from it; tests drive a whole hand through the handler table.
#pragma once
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "CardRules.h"
#include "ChannelState.h"
#include "DocHost.h"
#include "GameMessages.h"
#include "MessageHandlerTable.h"
#include "resource.h"

enum {
  SCHEDULE_WAIT = 1,
  SCHEDULE_PHASE3 = 3,
  SCHEDULE_BID = 5,
  SCHEDULE_PLAY = 7,
  SCHEDULE_OVER = 8,
};

// Seat state flags.
enum {
  SEAT_READY = 2,
  SEAT_OFFLINE = 4,
  SEAT_TRUSTEESHIP = 0x20,
  SEAT_TRUST_EXIT = 0x40,
};

// One record per view position; the local player is always position 1.
struct SEAT_INFO {
  char szUserName[20];
  char szNickName[20];
  uint16_t wSeat;
  int32_t nScoreTotal;
  int32_t bAllowWatching;
  int32_t nCardCount;
  int32_t nLastPlayCount;
  uint32_t dwState;
  int32_t nSeriesTotal;
};

// Seat numbers that map to no position.
constexpr int NO_POSITION = -1;

class CGameDocCore : public CCardRules {
 public:
  enum { MAX_BOTTOM = 8, TABLE_INFO_SIZE = 184, PANEL_DATA_SIZE = 512, NOTICE_SIZE = 1024 };

  CGameDocCore(const CDocHost& host, CHANNEL_STATE& channel);

  // The hosts and the entered table's channel, in one call; the program's document gets them
  // from the application right after it is created.
  void SetHost(const CDocHost& host, CHANNEL_STATE& channel);
  bool HasHost() const { return m_Host.has_value(); }
  // Sends in flight or a timeout not yet answered: the player's actions wait.
  bool IsBusy() const { return m_Host->connection.IsBusy(); }

  // The table view while it exists (null: none; the calls then have nothing to update).
  void AttachTableView(CDocTableView* pView) { m_pTableView = pView; }
  CDocTableView* GetAttachedTableView() const { return m_pTableView; }

  // Start-up: the seat table from the channel, the settings from the profile.
  void LoadSeats();
  void LoadSettings();
  void SaveSettings();
  void RegisterMessageHandlers(CMessageHandlerTable<CGameDocCore>& table);

  // Seats and positions.
  int SeatToPosition(int nSeat) const;  // NO_POSITION when no record holds the seat
  int PositionToSeat(int nPosition) const;
  bool IsWatching() const { return m_pChannel->nWatchMode != 0; }
  bool IsWatchingAsEntered() const { return m_pChannel->nWatchModeEntered != 0; }

  // Phases and the turn clock.
  void SetSchedule(int nPhase, bool bRestartClock = true);
  int GetSchedule() const { return m_nSchedule; }
  void EndHand();
  void ShowTurnClock(bool bShow);

  // The own position's hand and its selection (the table view's clicks and hints).
  const CARD_INFO* OwnHand() const { return m_Hands[OWN_POSITION]; }
  int OwnCardCount() const;  // within 0 .. MAX_CARDS
  void SelectOwnCard(int nIndex, bool bSelected);
  // Exactly the cards of these codes selected (a hint).
  void SelectOwnCards(const CARD_INFO* pCards, int nCount);
  void ClearSelection();
  // The player may play now: their turn, nothing sent or sending, not watching.
  bool CanPlayNow() const;
  // With one card left in play and no trusteeship acting, the card is selected and played
  // where the player may play; false when there was nothing to do.
  bool AutoPlayLastCard();

  // Player actions.
  void SendReady();
  void SendBid(int nBid);
  void PlaySelectedCards();
  void Pass();
  void SendShowCards();
  void SendLeaveRequest();
  void ForceQuit();
  void RequestTrusteeship(int nMode);
  void SendWatchPermission(int bAllow);
  void SetAllowWatching(int bAllow);
  void OnClockExpired();
  void SendTimeout();
  void SendComplaint(const char* szAccused);
  void SendComplaintDecline();

  // Game message handlers (a complete frame each).
  int OnReady(const uint8_t* pFrame);
  int OnDeal(const uint8_t* pFrame);
  int OnBid(const uint8_t* pFrame);
  int OnBottomCards(const uint8_t* pFrame);
  int OnPlay(const uint8_t* pFrame);
  int OnShowCards(const uint8_t* pFrame);
  int OnSeatValues(const uint8_t* pFrame);
  int OnPause(const uint8_t* pFrame);
  int OnGameProgress(const uint8_t* pFrame);
  int OnWatchPermission(const uint8_t* pFrame);
  int OnAskWatchPermission(const uint8_t* pFrame);
  int OnNotice(const uint8_t* pFrame);
  int OnAdRecord(const uint8_t* pFrame);
  int OnActionError(const uint8_t* pFrame);
  int OnHandOver(const uint8_t* pFrame);
  int OnLeaveRequest(const uint8_t* pFrame);
  int OnLeaveAnswer(const uint8_t* pFrame);
  int OnPlayerStates(const uint8_t* pFrame);
  int OnComplaintPrompt(const uint8_t* pFrame);
  int OnComplaintResult(const uint8_t* pFrame);
  int OnComplaintUpdate(const uint8_t* pFrame);
  int OnNetSkinData(const uint8_t* pFrame);
  int OnButtonText(const uint8_t* pFrame);
  int OnTableInfo(const uint8_t* pFrame);
  int OnSeatFlags(const uint8_t* pFrame);
  int OnHostName(const uint8_t* pFrame);
  int OnPanelData(const uint8_t* pFrame);

  // Callbacks of the socket's system messages.
  int OnServerClose(int nReason);
  int OnPlayerCut(const uint8_t* pFrame);
  int OnPlayerBack(const uint8_t* pFrame);
  int OnTrusteeship(const uint8_t* pFrame);
  int OnUserTrustExit(const uint8_t* pFrame);
  void UpdateOwnTrusteeship();

  // Voices: the file for a voice id, or empty.
  std::string PlayVoice(int nVoice, int nSeat);
  void PlayVoiceNow(int nVoice, int nSeat);

  int FindTableInfo(const char* szUserName) const;
  // The previous round's plays for three seconds (view command 1020).
  void ShowLastRound();
  void EndShowLastRound();
  void ToggleSortMode() { m_nSortMode = (m_nSortMode + 1) % 2; }
  void ToggleOrder() { m_bOrder = !m_bOrder; }
  // A position's last play leaves the table (its turn has come again).
  void ClearLastPlay(int nPosition) {
    if (nPosition >= 0 && nPosition < MAX_POSITIONS) m_Seats[nPosition].nLastPlayCount = 0;
  }

  // ---- the table as the views and the program read it
  const SEAT_INFO& Seat(int nPosition) const { return m_Seats[nPosition]; }
  const CARD_INFO* Hand(int nPosition) const { return m_Hands[nPosition]; }
  const CARD_INFO* LastPlay(int nPosition) const { return m_LastPlays[nPosition]; }
  const int* PrevPlayCounts() const { return m_nPrevPlayCount; }
  bool PlayedThisRound(int nPosition) const { return m_bPlayedThisRound[nPosition] != 0; }
  const CARD_INFO* BottomCards() const { return m_BottomCards; }
  int BottomCount() const { return m_nBottomCount; }
  const uint8_t* TableInfo() const { return m_TableInfo; }
  int TurnPosition() const { return m_nTurnPosition; }
  int BidValue() const { return m_nBidValue; }
  int LastBid() const { return m_nLastBid; }
  int FirstBidder() const { return m_nFirstBidder; }
  int DeclarerSeat() const { return m_nDeclarerSeat; }
  bool IsDeclarerShown() const { return m_bDeclarerShown != 0; }
  int Multiplier() const { return m_nMultiplier; }
  bool IsNewRound() const { return m_bNewRound != 0; }
  bool IsPlaySent() const { return m_bPlaySent != 0; }
  bool IsFreeLead() const { return m_bFreeLead != 0; }
  bool IsHintOn() const { return m_bHintFlag != 0; }
  bool IsOwnTrusteeship() const { return m_bOwnTrusteeship != 0; }
  bool IsOwnTrustExit() const { return m_bOwnTrustExit != 0; }
  bool IsQuietClose() const { return m_bQuietClose != 0; }
  int LeaveRequests() const { return m_nLeaveRequests; }
  const std::string& Notice() const { return m_strNotice; }
  // The host's name from the server (at most 20 bytes, not always terminated).
  std::string HostName() const { return std::string(m_szHostName, strnlen(m_szHostName, sizeof m_szHostName)); }
  // How the table shows: seats clockwise or not, the direction buttons, the hand's sort
  // mode, the floating texts, the score board at the hand's end.
  bool IsOrderClockwise() const { return m_bOrder != 0; }
  int ShowOrder() const { return m_nShowOrder; }
  int SortMode() const { return m_nSortMode; }
  bool IsFlyMsgOn() const { return m_bFlyMsg != 0; }
  int ScoreBoardMode() const { return m_bScoreBoard; }
  // The own hand in the sort mode's order (before it is drawn).
  void SortOwnHand() { SortCards(m_Hands[OWN_POSITION], OwnCardCount(), 0, m_nSortMode); }
  // The player asks to leave once more (the close of the main window).
  void RequestLeave() {
    ++m_nLeaveRequests;
    SendLeaveRequest();
  }

  // The settings the settings dialog shows and changes (the profile keeps them).
  struct SETTINGS {
    int bSound, bMusic, bOrder, bVoice, bNormalSound, bFlyMsg, bEnableWatch, bSmallCard;
    std::string strMusicFile, strSnapshotPath;
  };
  SETTINGS GetSettings() const;
  // Takes the values as they are; the caller restarts the music or turns the seats.
  void SetSettings(const SETTINGS& settings);

 protected:
  // The state of the table; the accessors above are its readers.
  SEAT_INFO m_Seats[MAX_POSITIONS];
  CARD_INFO m_Hands[MAX_POSITIONS][MAX_CARDS];
  CARD_INFO m_LastPlays[MAX_POSITIONS][MAX_CARDS];
  CARD_INFO m_PrevPlays[MAX_POSITIONS][MAX_CARDS];
  int m_nPrevPlayCount[MAX_POSITIONS];
  int m_bPlayedThisRound[MAX_POSITIONS];
  int m_bReady[MAX_POSITIONS];
  uint16_t m_wOwnSeat;
  int m_nCardsPerHand;
  int m_nSchedule;
  int m_nTurnPosition;
  int m_nLastPlayerPosition;
  int m_bQuietClose;
  int m_nBidState;
  int m_nLastBid;
  int m_nFirstBidder;
  int m_nBidValue;
  int m_nDeclarerSeat;
  int m_bOwnDeclarer;
  int m_nMultiplier;
  int m_nMultiplierCount;  // changes of the multiplier in this hand (the hand-over sound)
  int m_bDeclarerShown;
  CARD_INFO m_BottomCards[MAX_BOTTOM];
  int m_nBottomCount;
  int m_bPlaySent;
  int m_bFreeLead;
  int m_bNewRound;
  int m_bHintFlag;
  int m_bOwnTrusteeship;
  int m_bOwnTrustExit;
  int m_bTurnClockEnabled;
  int m_nLeaveRequests;
  std::string m_strNotice;
  std::string m_strLastVoice;
  char m_szHostName[20];
  uint8_t m_PanelData[PANEL_DATA_SIZE];
  uint8_t m_SeatFlags[4];
  uint8_t m_TableInfo[TABLE_INFO_SIZE];
  std::string m_strSurveyTarget;
  bool m_bGameProgress;
  int m_nScoreChange[MAX_POSITIONS];

  // Settings.
  int m_bSound, m_bMusic, m_bScoreBoard, m_bClockFlowBlink, m_bOrder, m_nShowOrder, m_nSortMode, m_bVoice,
      m_bNormalSound, m_bFlyMsg, m_bEnableWatch, m_bSmallCard;
  std::string m_strMusicFile, m_strSnapshotPath, m_strDocFolder;

  CARD_INFO* GetSeatCards(int nPosition) override;
  int GetSeatCardCount(int nPosition) override;
  const CARD_INFO* GetLastPlayCards(int* pnCount) override;

  // Without hosts until SetHost.
  CGameDocCore();
  std::optional<CDocHost> m_Host;
  CDocTableView& View();
  CHANNEL_STATE* m_pChannel = nullptr;

 private:
  CDocTableView* m_pTableView = nullptr;
  bool SendBody(uint32_t nId, const std::vector<uint8_t>& body, bool bBracket);
  void SendPlay(const std::vector<uint32_t>& codes);
  void FillHand(int nPosition, const uint8_t* pCodes, int nCount, bool bFaceUp);
  void RemoveFromHand(int nPosition, const CARD_INFO* pPlay, int nCount, bool bByCode);
  void StartNewRound();
  void FlashUnlessActive(int nCount, int nMs);
  bool m_bShowingLastRound;
  CARD_INFO m_SavedPlays[MAX_POSITIONS][MAX_CARDS];
  int m_nSavedPlayCount[MAX_POSITIONS];
  const char* OwnUserName() const { return m_Seats[OWN_POSITION].szUserName; }
  int FindSeatByName(const char* szName, bool bIgnoreCase) const;
  int MarkOffline(const uint8_t* pFrame, bool bOffline);
  void ApplyTrusteeship(uint32_t status, uint32_t onOff, const std::string& name, bool own);
};
