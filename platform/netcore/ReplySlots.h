// The ten reply slots of the game-server socket: callers waiting for a reply take a slot, and
// every received frame is offered to the slots before it goes to the message handler.
#pragma once
#include <cstdint>
#include <vector>

namespace netcore {

constexpr int REPLY_SLOT_COUNT = 10;

struct REPLY_SLOT {
  uint32_t busy = 0;
  uint32_t expectedId = 0;
  std::vector<uint8_t> frame;  // owned here until handed to the caller
  uint32_t arrived = 0;
  uint32_t keep = 0;  // the caller takes the frame (else it only waits for the arrival)
};

class CReplySlots {
 public:
  // The first free slot, prepared for the expected id; -1 when all ten are busy.
  int Take(uint32_t expectedId, bool keep);
  // Offers a received frame: busy slots waiting for this id are marked in order, and the first
  // one that keeps takes the frame (moved out of *frame) and ends the scan. True when taken;
  // false means the frame still goes to the message handler.
  bool Offer(uint32_t id, std::vector<uint8_t>* frame);
  bool Arrived(int slot) const { return Valid(slot) && m_slots[slot].arrived != 0; }
  // Frees the slot and hands its frame (if any) to the caller.
  std::vector<uint8_t> Release(int slot);
  void Clear();
  const REPLY_SLOT& Slot(int i) const { return m_slots[i]; }
  int BusyCount() const;

 private:
  static bool Valid(int i) { return i >= 0 && i < REPLY_SLOT_COUNT; }
  REPLY_SLOT m_slots[REPLY_SLOT_COUNT];
};

}  // namespace netcore
