// Enciphered INI file reader: magic, deciphering, zero-byte check and parse,
// then a store in the other form read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "IniCacheCore.h"
#include "IniCipherFile.h"

namespace {
struct NoFiles : vesk::IniFileAccess {
  bool ReadWhole(const std::string&, bool, std::vector<uint8_t>&) override { return false; }
  bool WriteReplace(const std::string&, const uint8_t*, size_t) override { std::abort(); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NoFiles files;
  vesk::IniCacheCore cache(files);
  bool wish = size && (data[size - 1] & 1);
  if (!cache.LoadFromMemory(data, size, wish, nullptr)) return 0;
  std::vector<uint8_t> stored = cache.BuildStoredFile();
  vesk::IniCacheCore again(files);
  if (!again.LoadFromMemory(stored.data(), stored.size(), wish, nullptr) ||
      again.Document().Serialize() != cache.Document().Serialize())
    std::abort();
  char buf[32];
  cache.GetString("a", "b", nullptr, buf, sizeof buf);
  cache.Clear();  // memory loads are never stored: WriteReplace would abort
  return 0;
}
