// Package reader: open the bytes read-only and writable, extract every entry
// (compressed ones through zlib); with write access also delete one entry and
// append one, which must then read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/ZlibInflate.h"
#include "PackageCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool write : {false, true}) {
    vesk::MemoryPackageStorage disk;
    disk.files["p"].assign(data, data + size);
    vesk::PackageCore pkg(disk);
    pkg.SetInflater(vesk_test::ZlibInflate);
    pkg.SetDeflater(vesk_test::ZlibDeflate);
    if (!pkg.Open("p", write)) continue;
    std::vector<uint8_t> out, extra;
    for (const vesk::PackageEntryRecord& r : pkg.Entries()) pkg.ExtractEntry(r.name.c_str(), out, &extra);
    if (!write) {
      if (disk.files["p"].size() != size) std::abort();  // reading never changes the file
      continue;
    }
    if (!pkg.Entries().empty()) pkg.DeleteEntry(pkg.Entries()[0].name.c_str());
    const uint8_t added[] = "added entry data";
    if (!pkg.AddEntry("Added.bin", added, sizeof added, size & 1)) continue;  // an old version is never written
    vesk::PackageCore again(disk);
    again.SetInflater(vesk_test::ZlibInflate);
    if (!again.Open("p", false) || !again.ExtractEntry("added.BIN", out, nullptr) || out.size() != sizeof added ||
        std::memcmp(out.data(), added, sizeof added) != 0)
      std::abort();
  }
  return 0;
}
