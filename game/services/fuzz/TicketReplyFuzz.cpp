// Ticket replies from the game server: any bytes are refused or give a bounded ticket text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ServicesCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TICKET_RESULT r;
  int code = ParseTicketReply(data, size, &r);
  if (code == TICKET_OK && r.strTicket.size() + 16 > size + 4) abort();
  return 0;
}
