// Every system body the server can send, read from arbitrary bytes.
#include <cstdint>
#include <cstring>

#include "SystemMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sysmsg;
  if (size < 4) return 0;
  uint32_t status;
  std::memcpy(&status, data, 4);
  const uint8_t* body = data + 4;
  size -= 4;
  auto r = ParseLoginReply(status, body, size);
  if (ValidatePlayerList(r)) {
    for (const auto& p : r.players) {
      if (p.nickOffset + 20 > size) __builtin_trap();
      uint8_t field[20];
      WriteNicknameField(field, p.nickName + p.nickName);
      if (field[19] != 0) __builtin_trap();
    }
  }
  if (auto n = ParseNoticeBox(body, size)) NoticeOpensUrl(*n, true, 1);
  ParseServerDialog(body, size);
  ParseTextBox(body, size);
  OwnInfoName(body, size);
  ParseTipWindow(body, size);
  ParseTrusteeshipResult(body, size);
  ParseWealthRows(body, size);
  if (auto c = ParseWireCode(body, size))
    if (c->sendBlock.size() + c->recvBlock.size() + 16 > size) __builtin_trap();
  return 0;
}
