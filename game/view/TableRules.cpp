#include "TableRules.h"

#include "resource.h"

#include "TableLayout.h"

namespace tableview {

namespace {

void Set(ScheduleResult& r, TableButton b, Act show, Act enable = KEEP) {
  if (show != KEEP) r.buttons[b].show = show;
  if (enable != KEEP) r.buttons[b].enable = enable;
}

void ShowBids(ScheduleResult& r, Act show) {
  for (TableButton b : {BTN_BID1, BTN_BID2, BTN_BID3, BTN_BID0}) Set(r, b, show);
}

// Start, pass and hint are never enabled or disabled for a watcher.
Act Enable(const ScheduleInput& in, bool on) { return in.watching ? KEEP : (on ? ON : OFF); }

void Waiting(const ScheduleInput& in, ScheduleResult& r) {
  r.closeWait = true;
  // The hand is over: nothing is left to lay open, also for a seat still in trusteeship.
  Set(r, BTN_SHOWCARD, OFF);
  if (in.watching) {
    r.waitTextId = IDS_WAITSTART;
  } else if (!in.quiet) {
    r.clearPlayOf = 1;
    ShowBids(r, OFF);
    for (TableButton b : {BTN_TAKEOUT, BTN_PASS, BTN_HINT}) Set(r, b, OFF);
    Set(r, BTN_TRUSTEE, KEEP, OFF);
    Set(r, BTN_CANCELTRUSTEE, KEEP, OFF);
    Set(r, BTN_START, ON, ON);
  }
}

void Bidding(const ScheduleInput& in, ScheduleResult& r) {
  // Once the cards are dealt nobody waits for players any more.
  r.closeWait = !in.quiet;
  if (in.turnPosition == 1 && !in.watching && !in.quiet) {
    Set(r, BTN_START, OFF);
    bool enabled[4];
    BidButtonsEnabled(in.currentBid, in.ownBombs, enabled);
    const TableButton bids[4] = {BTN_BID1, BTN_BID2, BTN_BID3, BTN_BID0};
    for (int i = 0; i < 4; ++i) Set(r, bids[i], ON, enabled[i] ? ON : OFF);
  } else {
    ShowBids(r, OFF);
    if (!in.watching) Set(r, BTN_START, OFF);
  }
  // Trusteeship plays cards: it opens with the playing phase, whatever a trusteeship that
  // ended between hands left enabled.
  if (!in.watching && !in.ownTrusteeship) Set(r, BTN_TRUSTEE, KEEP, OFF);
  r.markerTo = in.turnPosition;
}

void TrusteeButtons(const ScheduleInput& in, ScheduleResult& r) {
  if (in.watching) {
    Set(r, BTN_TRUSTEE, KEEP, OFF);
    Set(r, BTN_CANCELTRUSTEE, KEEP, OFF);
  } else if (in.trusteeAllowed) {
    Set(r, BTN_TRUSTEE, in.ownTrusteeship ? OFF : ON, in.ownTrusteeship ? KEEP : ON);
    Set(r, BTN_CANCELTRUSTEE, in.ownTrusteeship ? ON : OFF, in.ownTrusteeship ? ON : KEEP);
  } else {
    Set(r, BTN_CANCELTRUSTEE, OFF);
    Set(r, BTN_TRUSTEE, KEEP, OFF);
  }
}

void Playing(const ScheduleInput& in, ScheduleResult& r) {
  const int t = in.turnPosition;
  ShowBids(r, OFF);
  Set(r, BTN_START, OFF);
  TrusteeButtons(in, r);
  r.closeWait = !in.quiet;
  Set(r, BTN_TAKEOUT, KEEP, OFF);
  Set(r, BTN_PASS, KEEP, Enable(in, false));
  if (in.hintFlag)
    Set(r, BTN_HINT, KEEP, Enable(in, false));
  else
    Set(r, BTN_HINT, OFF);
  if (t < 4) r.clearPlayOf = t;
  if (t == 1 && !in.watching && !in.quiet) {
    Set(r, BTN_TAKEOUT, ON, in.selectedCount > 0 ? ON : OFF);
    Set(r, BTN_PASS, ON, Enable(in, !in.freeLead));
    if (in.hintFlag) Set(r, BTN_HINT, ON, Enable(in, !in.freeLead));
    r.autoPlay = in.freeLead && in.ownCount == 1;
  } else {
    for (TableButton b : {BTN_START, BTN_TAKEOUT, BTN_PASS, BTN_HINT}) Set(r, b, OFF);
  }
  r.markerTo = t;
}

}  // namespace

ScheduleResult OnScheduleRules(const ScheduleInput& in) {
  ScheduleResult r;
  switch (in.phase) {
    case PHASE_WAIT:
      Waiting(in, r);
      break;
    case PHASE_BID:
      Bidding(in, r);
      break;
    case PHASE_PLAY:
      if (in.turnPosition < 0) {
        r.ignored = true;
        break;
      }
      Playing(in, r);
      break;
    default:
      r.ignored = true;
      break;
  }
  return r;
}

bool DirectionButtonsShown(int showOrder) { return showOrder < 10; }

bool PlayDrawn(int phase, bool handLaidOpen) { return phase == PHASE_PLAY || phase == PHASE_BID || !handLaidOpen; }

bool PreviousTrickExists(const int prevCounts[], int positions) {
  for (int p = 0; p < positions; ++p)
    if (prevCounts[p] > 0) return true;
  return false;
}

bool PassMarkShown(bool showingPrevious, int shownCount, bool playedThisRound, bool newRound, bool isTurn) {
  if (shownCount > 0) return false;
  if (showingPrevious) return true;
  return !isTurn && playedThisRound && !newRound;
}

}  // namespace tableview
