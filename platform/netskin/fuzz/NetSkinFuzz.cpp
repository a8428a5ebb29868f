// Net-skin data from the server: entry lines and their periods never read out of bounds and
// never give a folder that leaves the skin folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "PeriodList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  netskin::SkinEntry e;
  if (netskin::ParseSkinEntry(text, &e)) {
    if (!netskin::IsConfinedFolderName(e.folder)) __builtin_trap();
    netskin::CPeriodList list("-", "&");
    list.Add(e.period, e.id, true, netskin::DateTime{2025, 6, 1, 12, 0, 0});
    int v = 0;
    list.Find(netskin::DateTime{2025, 6, 1, 12, 0, 0}, &v);
    netskin::PackVersion(e.version);
  }
  netskin::Period p;
  netskin::CPeriodList::Parse(text, "-", "&", &p);
  return 0;
}
