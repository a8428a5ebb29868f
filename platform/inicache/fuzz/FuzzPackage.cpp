// Package reader: open the bytes read-only and writable, extract every entry
// (compressed ones through zlib).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../tests/ZlibInflate.h"
#include "PackageCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (bool write : {false, true}) {
        vesk::MemoryPackageStorage disk;
        disk.files["p"].assign(data, data + size);
        vesk::PackageCore pkg(disk);
        pkg.SetInflater(vesk_test::ZlibInflate);
        if (!pkg.Open("p", write))
            continue;
        std::vector<uint8_t> out, extra;
        for (const vesk::PackageEntryRecord& r : pkg.Entries())
            pkg.ExtractEntry(r.name.c_str(), out, &extra);
        if (!write && disk.files["p"].size() != size)
            std::abort();  // reading never changes the file
    }
    return 0;
}
