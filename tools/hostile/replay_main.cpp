// hostile-replay LOG: feeds the frames that a hostile run injected (the "inject" lines of the
// relay's log, in order) to the game document's handlers on a three-player table, so that a
// client failure seen under Wine can be replayed natively under the sanitizers.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GameDocCore.h"
#include "HostileFrames.h"
#include "tests/NullDocHost.h"

namespace {

struct ReplayHost : CNullDocHost {
  bool SendFrame(const std::vector<uint8_t>&) override { return true; }
  int ShowBoxId(int, uint32_t, int, const std::string&) override { return 7; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: hostile-replay LOG\n");
    return 2;
  }
  std::deque<hostile::Bytes> frames;
  if (!hostile::ReadInjectedFrames(argv[1], &frames)) {
    std::fprintf(stderr, "hostile-replay: cannot read %s\n", argv[1]);
    return 2;
  }
  CHANNEL_STATE ch;
  ch.nPlayerCount = 3;
  for (int p = 0; p < 3; ++p) ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
  ReplayHost host;
  CGameDocCore doc(host.Hosts(), ch);
  doc.AttachTableView(&host);
  doc.LoadSeats();
  CMessageHandlerTable<CGameDocCore> table;
  doc.RegisterMessageHandlers(table);
  int n = 0, handled = 0;
  for (auto& f : frames) {
    uint32_t id;
    std::memcpy(&id, f.data(), 4);
    ++n;
    std::printf("frame %d id=0x%08X len=%zu\n", n, id, f.size());
    std::fflush(stdout);
    if (table.Dispatch(id, f.data())) ++handled;
  }
  std::printf("replayed %d frames, %d handled\n", n, handled);
  return 0;
}
