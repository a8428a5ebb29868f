// INI text parser: parse, look up, list, and check that the stored form
// parses back to the same content.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vesk::IniDocument doc;
  if (doc.Parse(reinterpret_cast<const char*>(data), size) != vesk::IniParseResult::Ok) return 0;
  char buf[64];
  char names[32];
  for (size_t s = 0; s < doc.SectionCount(); ++s) {
    const std::string section(doc.SectionName(s));
    const char* sec = section.empty() ? nullptr : section.c_str();
    doc.GetKeyNames(sec, names, sizeof names);
    const std::vector<vesk::IniKey> keys = doc.Keys(s);
    if (keys.size() != doc.KeyCount(s)) std::abort();
    for (const vesk::IniKey& key : keys) {
      const std::string name(key.name);
      // Every key listed is found again by its name, with the same value
      // (names that hold a zero byte cannot be asked for).
      const size_t n = doc.GetString(sec, name.c_str(), "d", buf, sizeof buf);
      if (section.find('\0') == std::string::npos && name.find('\0') == std::string::npos &&
          std::string_view(buf, n) != key.value.substr(0, sizeof buf - 1))
        std::abort();
    }
  }
  std::string stored = doc.Serialize();
  vesk::IniDocument again;
  if (again.Parse(stored.data(), stored.size()) != vesk::IniParseResult::Ok || again.Serialize() != stored)
    std::abort();
  return 0;
}
