#include "ReplySlots.h"

namespace netcore {

int CReplySlots::Take(uint32_t expectedId, bool keep) {
  for (int i = 0; i < REPLY_SLOT_COUNT; ++i) {
    REPLY_SLOT& s = m_slots[i];
    if (s.busy) continue;
    s.expectedId = expectedId;
    s.frame.clear();
    s.frame.shrink_to_fit();
    s.arrived = 0;
    s.busy = 1;
    s.keep = keep ? 1 : 0;
    return i;
  }
  return -1;
}

bool CReplySlots::Offer(uint32_t id, std::vector<uint8_t>* frame) {
  for (REPLY_SLOT& s : m_slots) {
    if (!s.busy || s.expectedId != id) continue;
    s.arrived = 1;
    if (s.keep) {
      s.frame = std::move(*frame);
      frame->clear();
      return true;
    }
  }
  return false;
}

std::vector<uint8_t> CReplySlots::Release(int slot) {
  std::vector<uint8_t> f;
  if (!Valid(slot)) return f;
  REPLY_SLOT& s = m_slots[slot];
  f.swap(s.frame);
  s = REPLY_SLOT();
  return f;
}

void CReplySlots::Clear() {
  for (REPLY_SLOT& s : m_slots) s = REPLY_SLOT();
}

int CReplySlots::BusyCount() const {
  int n = 0;
  for (const REPLY_SLOT& s : m_slots) n += s.busy ? 1 : 0;
  return n;
}

}  // namespace netcore
