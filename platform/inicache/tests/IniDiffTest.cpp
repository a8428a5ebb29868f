// The INI reader against the earlier reader it replaced: on random texts
// (sections and keys in mixed letter case, repeats, comments, blanks, lines
// without values, double-byte names and stray lead bytes) both keep the
// same content, serialize the same bytes and answer the same look-ups.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "IniDocument.h"
#include "IniReference.h"

namespace {

std::string RandomName(std::mt19937& rng) {
  static const char* kParts[] = {"Key",
                                 "KEY",
                                 "key",
                                 "Bk",
                                 "bK",
                                 "\xC4\xE3",
                                 "\xC4\xC3",
                                 "\xB0"
                                 "A",
                                 "\xB0"
                                 "a",
                                 "x",
                                 "X",
                                 "\x81",
                                 " ",
                                 "1",
                                 "_"};
  std::string s;
  const int n = 1 + int(rng() % 3);
  for (int i = 0; i < n; ++i) s += kParts[rng() % (sizeof kParts / sizeof *kParts)];
  return s;
}

std::string RandomText(std::mt19937& rng) {
  std::string t;
  const int lines = int(rng() % 60);
  for (int i = 0; i < lines; ++i) {
    switch (rng() % 8) {
      case 0:
        t += "[" + RandomName(rng) + "]";
        break;
      case 1:
        t += "; comment = x";
        break;
      case 2:
        t += RandomName(rng);
        break;  // no value
      case 3:
        t += RandomName(rng) + " = ";
        break;  // empty value
      case 4:
        t += "  [ " + RandomName(rng) + " ] tail";
        break;
      default:
        t += RandomName(rng) + (rng() % 2 ? "=" : " = ") + RandomName(rng) + (rng() % 3 ? "" : " ; note");
        break;
    }
    t += rng() % 4 ? "\r\n" : (rng() % 2 ? "\n" : "\r");
  }
  return t;
}

TEST(IniDiff, SameContentAndAnswersOnRandomTexts) {
  std::mt19937 rng(42);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(rng);
    SCOPED_TRACE(text);
    vesk::IniDocument now;
    iniref::IniDocument ref;
    ASSERT_EQ(int(now.Parse(text.data(), text.size())), int(ref.Parse(text.data(), text.size())));
    ASSERT_EQ(now.Serialize(), ref.Serialize());
    // Look-ups by names that exist in other letter cases and by names that do not.
    for (int k = 0; k < 20; ++k) {
      const std::string sec = RandomName(rng);
      // Now and then a name the text holds with a blank or "=" beside it.
      std::string key = RandomName(rng);
      if (k % 4 == 3) key += rng() % 2 ? " " : "=";
      if (k % 8 == 5) key = "\t" + key;
      const char* s = k % 5 == 0 ? nullptr : sec.c_str();
      SCOPED_TRACE("[" + std::string(s ? s : "") + "] " + key);
      char a[16], b[16];
      ASSERT_EQ(now.GetString(s, key.c_str(), "d", a, sizeof a), ref.GetString(s, key.c_str(), "d", b, sizeof b));
      ASSERT_STREQ(a, b);
      char na[24] = {}, nb[24] = {};
      ASSERT_EQ(now.GetKeyNames(s, na, sizeof na), ref.GetKeyNames(s, nb, sizeof nb));
      ASSERT_EQ(std::string(na, sizeof na), std::string(nb, sizeof nb));
      now.SetValue(s, key.c_str(), sec.c_str());
      ref.SetValue(s, key.c_str(), sec.c_str());
    }
    ASSERT_EQ(now.Serialize(), ref.Serialize());
  }
}

}  // namespace
