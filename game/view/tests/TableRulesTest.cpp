// The buttons a phase change shows and enables, and the small rules of what the table
// shows, as tables of cases.
#include "TableRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace tableview;

namespace {

// A compact picture of the buttons: per button "s" shown, "h" hidden, "-" kept, then
// "e" enabled, "d" disabled, "-" kept.
std::string Picture(const ScheduleResult& r) {
  std::string s;
  for (const ButtonAct& a : r.buttons) {
    s += a.show == ON ? 's' : a.show == OFF ? 'h' : '-';
    s += a.enable == ON ? 'e' : a.enable == OFF ? 'd' : '-';
    s += ' ';
  }
  return s;
}

struct ScheduleCase {
  const char* name;
  ScheduleInput in;
  // start bid1 bid2 bid3 bid0 play pass hint trustee cancel show-cards
  const char* buttons;
  int markerTo;
  bool closeWait;
};

ScheduleInput In(int phase, int turn) {
  ScheduleInput in;
  in.phase = phase;
  in.turnPosition = turn;
  in.hintFlag = true;
  in.trusteeAllowed = true;
  return in;
}

}  // namespace

TEST(TableRules, ScheduleButtons) {
  ScheduleInput waitWatcher = In(PHASE_WAIT, -1);
  waitWatcher.watching = true;
  ScheduleInput bidMine = In(PHASE_BID, 1);
  bidMine.currentBid = 2;
  ScheduleInput bidBombs = In(PHASE_BID, 1);
  bidBombs.ownBombs = 3;
  ScheduleInput playLead = In(PHASE_PLAY, 1);
  playLead.freeLead = true;
  playLead.selectedCount = 3;
  ScheduleInput playFollow = In(PHASE_PLAY, 1);
  ScheduleInput playNoHint = In(PHASE_PLAY, 1);
  playNoHint.hintFlag = false;
  ScheduleInput playTrustee = In(PHASE_PLAY, 2);
  playTrustee.ownTrusteeship = true;
  playTrustee.quiet = true;
  ScheduleInput playNoTrustee = In(PHASE_PLAY, 0);
  playNoTrustee.trusteeAllowed = false;
  ScheduleInput playWatcher = In(PHASE_PLAY, 1);
  playWatcher.watching = true;
  ScheduleInput waitTrustee = In(PHASE_WAIT, -1);
  waitTrustee.ownTrusteeship = true;
  waitTrustee.quiet = true;
  ScheduleInput bidWatcher = In(PHASE_BID, 1);
  bidWatcher.watching = true;
  const ScheduleCase cases[] = {
      {"wait", In(PHASE_WAIT, -1), "se h- h- h- h- h- h- h- -d -d h- ", -1, true},
      {"wait watcher", waitWatcher, "-- -- -- -- -- -- -- -- -- -- h- ", -1, true},
      {"wait, hand ended in trusteeship", waitTrustee, "-- -- -- -- -- -- -- -- -- -- h- ", -1, true},
      {"bid other", In(PHASE_BID, 0), "h- h- h- h- h- -- -- -- -d -- -- ", 0, true},
      {"bid mine, current bid 2", bidMine, "h- sd sd se se -- -- -- -d -- -- ", 1, true},
      {"bid mine, three bombs", bidBombs, "h- se se se sd -- -- -- -d -- -- ", 1, true},
      {"bid, watcher", bidWatcher, "-- h- h- h- h- -- -- -- -- -- -- ", 1, true},
      {"play, free lead", playLead, "h- h- h- h- h- se sd sd se h- -- ", 1, true},
      {"play, following", playFollow, "h- h- h- h- h- sd se se se h- -- ", 1, true},
      {"play, no hints", playNoHint, "h- h- h- h- h- sd se h- se h- -- ", 1, true},
      {"play, in trusteeship", playTrustee, "h- h- h- h- h- hd hd hd h- se -- ", 2, false},
      {"play, no trusteeship allowed", playNoTrustee, "h- h- h- h- h- hd hd hd -d h- -- ", 0, true},
      {"play, watcher", playWatcher, "h- h- h- h- h- hd h- h- -d -d -- ", 1, true},
  };
  for (const ScheduleCase& c : cases) {
    const ScheduleResult r = OnScheduleRules(c.in);
    EXPECT_FALSE(r.ignored) << c.name;
    EXPECT_EQ(Picture(r), c.buttons) << c.name;
    EXPECT_EQ(r.markerTo, c.markerTo) << c.name;
    EXPECT_EQ(r.closeWait, c.closeWait) << c.name;
  }
}

TEST(TableRules, ScheduleSideEffects) {
  ScheduleInput lastCard = In(PHASE_PLAY, 1);
  lastCard.freeLead = true;
  lastCard.ownCount = 1;
  EXPECT_TRUE(OnScheduleRules(lastCard).autoPlay);
  lastCard.freeLead = false;
  EXPECT_FALSE(OnScheduleRules(lastCard).autoPlay) << "only a free lead plays itself";
  EXPECT_EQ(OnScheduleRules(In(PHASE_PLAY, 2)).clearPlayOf, 2) << "the turn's old play leaves";
  EXPECT_EQ(OnScheduleRules(In(PHASE_WAIT, -1)).clearPlayOf, 1);
  ScheduleInput watcher = In(PHASE_WAIT, -1);
  watcher.watching = true;
  EXPECT_EQ(OnScheduleRules(watcher).waitTextId, 3002);
  EXPECT_TRUE(OnScheduleRules(In(PHASE_PLAY, -1)).ignored) << "no turn yet: nothing happens";
  EXPECT_TRUE(OnScheduleRules(In(3, 1)).ignored);
}

TEST(TableRules, SmallRules) {
  EXPECT_TRUE(DirectionButtonsShown(9));
  EXPECT_FALSE(DirectionButtonsShown(10));

  EXPECT_TRUE(PlayDrawn(PHASE_PLAY, true)) << "open play by the declarer keeps the plays";
  EXPECT_TRUE(PlayDrawn(PHASE_WAIT, false));
  EXPECT_FALSE(PlayDrawn(PHASE_WAIT, true));

  const int none[4] = {0, 0, 0, 0};
  const int one[4] = {0, 0, 0, 2};
  EXPECT_FALSE(PreviousTrickExists(none, 4));
  EXPECT_FALSE(PreviousTrickExists(one, 3)) << "the top seat counts only with four players";
  EXPECT_TRUE(PreviousTrickExists(one, 4));

  struct {
    bool previous;
    int shown;
    bool played, newRound, turn, mark;
  } marks[] = {
      {false, 0, true, false, false, true},    // passed in this trick
      {false, 0, true, true, false, false},    // a new trick began
      {false, 0, true, false, true, false},    // on turn again
      {false, 0, false, false, false, false},  // not yet played
      {false, 2, true, false, false, false},   // cards on the table
      {true, 0, false, false, false, true},    // passed in the previous trick
      {true, 1, false, false, false, false},
  };
  for (const auto& m : marks)
    EXPECT_EQ(PassMarkShown(m.previous, m.shown, m.played, m.newRound, m.turn), m.mark)
        << m.previous << m.shown << m.played << m.newRound << m.turn;
}
