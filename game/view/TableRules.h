// What the table's buttons do when the phase changes, and the small rules of what the
// table shows: portable, so the window class only applies the answer.
#pragma once

namespace tableview {

// Phases as the document numbers them.
enum { PHASE_WAIT = 1, PHASE_BID = 5, PHASE_PLAY = 7 };

// The buttons of the bid and play row and the trusteeship pair.
enum TableButton {
  BTN_START,
  BTN_BID1,
  BTN_BID2,
  BTN_BID3,
  BTN_BID0,
  BTN_TAKEOUT,
  BTN_PASS,
  BTN_HINT,
  BTN_TRUSTEE,
  BTN_CANCELTRUSTEE,
  BTN_SHOWCARD,
  BTN_COUNT
};

// A change to a button: leave it, or switch it off or on.
enum Act { KEEP, OFF, ON };

struct ButtonAct {
  Act show = KEEP;
  Act enable = KEEP;
};

struct ScheduleInput {
  int phase = PHASE_WAIT;
  int turnPosition = -1;
  bool watching = false;
  bool quiet = false;           // in trusteeship or leaving by trusteeship
  bool trusteeAllowed = false;  // bit 0 of the server's option flags
  bool ownTrusteeship = false;
  bool hintFlag = false;  // the deal allows hints
  bool freeLead = false;
  int ownCount = 0;
  int selectedCount = 0;
  int currentBid = 0;
  int ownBombs = 0;
};

struct ScheduleResult {
  bool ignored = false;  // nothing at all happens
  ButtonAct buttons[BTN_COUNT];
  bool closeWait = false;  // the wait notice goes away
  int waitTextId = 0;      // a string to show in the wait notice instead
  int clearPlayOf = -1;    // this position's last play leaves the table
  int markerTo = -1;       // the turn marker moves here (-1: it hides)
  bool autoPlay = false;   // the last card plays itself after a while
};

// The view's answer to a phase change (OnSchedule).
ScheduleResult OnScheduleRules(const ScheduleInput& in);

// The two seating-direction buttons exist only until the settings were saved ten times.
bool DirectionButtonsShown(int showOrder);

// A seat's last play stays on the table unless the hand is over and the seat's own cards
// are laid open where the play would lie.
bool PlayDrawn(int phase, bool handLaidOpen);

// The previous trick can be shown only when there was one.
bool PreviousTrickExists(const int prevCounts[], int positions);

// The pass mark of a position: while the previous trick is shown, every position without
// cards in it passed; otherwise a position that passed in this trick.
bool PassMarkShown(bool showingPrevious, int shownCount, bool playedThisRound, bool newRound, bool isTurn);

}  // namespace tableview
