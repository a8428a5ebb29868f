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
  if (doc.m_nTurnPosition != 1) return false;
  if (doc.GetSchedule() == SCHEDULE_BID) {
    doc.SendBid(0);
    return true;
  }
  if (doc.GetSchedule() != SCHEDULE_PLAY || doc.m_bPlaySent) return false;
  int n = doc.m_Seats[1].nCardCount;
  for (int i = 0; i < n; ++i) doc.m_Hands[1][i].bSelected = 0;
  if (doc.m_bFreeLead) {
    doc.m_Hands[1][n - 1].bSelected = 1;
    doc.PlaySelectedCards();
    return true;
  }
  const CARD_INFO* hint = nullptr;
  int h = doc.FindHint(&hint);
  for (int k = 0; k < h; ++k)
    for (int i = 0; i < n; ++i)
      if (doc.m_Hands[1][i].nCode == hint[k].nCode && !doc.m_Hands[1][i].bSelected) {
        doc.m_Hands[1][i].bSelected = 1;
        break;
      }
  if (h > 0)
    doc.PlaySelectedCards();
  else
    doc.Pass();
  return true;
}
