// INI text parser: parse, look up, list, and check that the stored form
// parses back to the same content.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vesk::IniDocument doc;
  if (doc.Parse(reinterpret_cast<const char*>(data), size) != vesk::IniParseResult::Ok) return 0;
  char buf[64];
  char names[32];
  for (const vesk::IniSection& s : doc.Sections()) {
    const char* sec = s.named ? s.name.c_str() : nullptr;
    doc.GetKeyNames(sec, names, sizeof names);
    for (const vesk::IniKey& k : s.keys) doc.GetString(sec, k.name.c_str(), "d", buf, sizeof buf);
  }
  std::string stored = doc.Serialize();
  vesk::IniDocument again;
  if (again.Parse(stored.data(), stored.size()) != vesk::IniParseResult::Ok || again.Serialize() != stored)
    std::abort();
  return 0;
}
