// Feeds untrusted text (lobby rule text, INI values, version strings) to the parsers.
#include "ResCore.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* t = text.c_str();
  uint16_t w[4];
  ParseVersion(t, w);
  (void)VersionTextToNumber(t);
  RuleSettings r = ParseRuleText(t);
  (void)FormatRuleText(r);
  (void)ParseIniColorText(t, 0);
  int a = 0, b = 0;
  ParseIniPairText(t, &a, &b);
  for (const char* p = t; p; p = ParseNextInt(p, &a)) {
  }
  (void)ReverseFind(t, "\\", -1);
  (void)StrStrNoCase(t, "ab");
  (void)PlatformShareFolder(text, "Vesk");
  std::string copy = text;
  char* line = copy.data();
  CutBetween(line, '[', ']');
  copy = text;
  CutAtLastSeparator(copy.data());
  (void)EllipsizeBytes(text, 50, 2, [](const char*, size_t n) { return int(n) * 7; });
  return 0;
}
