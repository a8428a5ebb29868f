// A login reply as the server could send it: first byte count, second seat, then three
// length-prefixed parts (player list, options text, watch block) over the rest.
#include "ChannelState.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  int count = data[0] % 6;
  int32_t seat = static_cast<int8_t>(data[1]);
  int32_t force = data[2] & 1;
  size_t lenPlayers = data[3] * 2u, lenOptions = data[4];
  data += 5;
  size -= 5;
  lenPlayers = lenPlayers < size ? lenPlayers : size;
  std::vector<uint8_t> players(data, data + lenPlayers);
  data += lenPlayers;
  size -= lenPlayers;
  lenOptions = lenOptions < size ? lenOptions : size;
  std::vector<char> options(data, data + lenOptions);
  data += lenOptions;
  size -= lenOptions;
  std::vector<uint8_t> watch(data, data + size);
  CHANNEL_STATE st;
  EnterChannelResult r = EnterChannelCore(seat, force, count, players.data(), players.size(), options.data(),
                                          options.size(), watch.data(), watch.size(), st);
  if (r == ENTER_OK) {
    for (int p = 0; p < st.nPlayerCount; ++p)
      if (st.seats[p].wServerSeat >= st.nPlayerCount || st.seats[p].szUserName[19] != 0) __builtin_trap();
  }
  return 0;
}
