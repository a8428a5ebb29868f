// INI text parser: parse, look up, list, and check that the stored form
// parses back to the same content and that the earlier, copying reader
// finds the same content and answers the same look-ups.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/IniReference.h"
#include "IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vesk::IniDocument doc;
  iniref::IniDocument ref;
  const char* text = reinterpret_cast<const char*>(data);
  const bool ok = doc.Parse(text, size) == vesk::IniParseResult::Ok;
  if (ok != (ref.Parse(text, size) == iniref::IniParseResult::Ok)) std::abort();
  if (!ok) return 0;
  if (doc.Serialize() != ref.Serialize()) std::abort();
  // Every name the reader kept, asked of both, also with a blank after it.
  for (const iniref::IniSection& s : ref.Sections()) {
    const char* sec = s.named ? s.name.c_str() : nullptr;
    for (const iniref::IniKey& k : s.keys)
      for (const std::string& name : {k.name, k.name + " "}) {
        char a[64], b[64];
        if (doc.GetString(sec, name.c_str(), "d", a, sizeof a) != ref.GetString(sec, name.c_str(), "d", b, sizeof b) ||
            std::string(a) != b)
          std::abort();
      }
    char a[32] = {}, b[32] = {};
    if (doc.GetKeyNames(sec, a, sizeof a) != ref.GetKeyNames(sec, b, sizeof b) || std::memcmp(a, b, sizeof a) != 0)
      std::abort();
  }
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
