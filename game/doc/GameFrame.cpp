#include "GameMessages.h"

#include <cstring>

size_t GameFrameHeaderSize(uint32_t id) { return (id & 0x80000000u) ? 12 : 8; }

GameFrame ParseGameFrame(const uint8_t* pFrame) {
  GameFrame f;
  std::memcpy(&f.id, pFrame, 4);
  uint32_t len;
  std::memcpy(&len, pFrame + 4, 4);
  size_t head = GameFrameHeaderSize(f.id);
  if (head == 12) std::memcpy(&f.status, pFrame + 8, 4);
  f.body = pFrame + head;
  f.size = len;
  return f;
}
