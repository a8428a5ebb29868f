// Plays the local seat of a client document the simple way: bid nothing, lead the
// lowest card, otherwise play the first hint or pass. Shared by the table tests.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "GameDocCore.h"
#include "tests/NullDocHost.h"

struct QueueHost : CNullDocHost {
  std::deque<std::vector<uint8_t>> sent;
  std::vector<int> boxes;
  bool SendFrame(const std::vector<uint8_t>& f) override {
    sent.push_back(f);
    return true;
  }
  int ShowBoxId(int id, uint32_t, int, const std::string&) override {
    boxes.push_back(id);
    return 6;
  }
};

// One action when it is the local seat's turn; false when it is not.
inline bool ActForOwnSeat(CGameDocCore& doc) {
  if (doc.TurnPosition() != CGameDocCore::OWN_POSITION) return false;
  if (doc.GetSchedule() == SCHEDULE_BID) {
    doc.SendBid(0);
    return true;
  }
  if (doc.GetSchedule() != SCHEDULE_PLAY || doc.IsPlaySent()) return false;
  const int n = doc.OwnCardCount();
  doc.ClearSelection();
  if (doc.IsFreeLead()) {
    doc.SelectOwnCard(n - 1, true);
    doc.PlaySelectedCards();
    return true;
  }
  const CARD_INFO* hint = nullptr;
  int h = doc.FindHint(&hint);
  const CARD_INFO* hand = doc.OwnHand();
  for (int k = 0; k < h; ++k)
    for (int i = 0; i < n; ++i)
      if (hand[i].nCode == hint[k].nCode && !hand[i].bSelected) {
        doc.SelectOwnCard(i, true);
        break;
      }
  if (h > 0)
    doc.PlaySelectedCards();
  else
    doc.Pass();
  return true;
}
