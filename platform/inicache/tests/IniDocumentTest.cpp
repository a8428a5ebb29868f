#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "IniDocument.h"

using vesk::IniDocument;
using vesk::IniParseResult;

namespace {

struct LookupCase {
  const char* label;
  const char* text;
  const char* section;  // nullptr: keys before the first section
  const char* key;
  const char* expect;  // nullptr: not found
};

const LookupCase kLookups[] = {
    {"plain", "[A]\r\nk=v\r\n", "A", "k", "v"},
    {"section any case", "[Button]\nColor=1\n", "bUTTON", "color", "1"},
    {"blanks inside brackets", "[  My Sect  ]\nx = 5\n", "my sect", "X", "5"},
    {"value comment cut", "[A]\nk = some value   ; note here\n", "A", "k", "some value"},
    {"blanks around key", "[A]\n   \t key \t=\tv\n", "A", "key", "v"},
    {"comment line", "[A]\n;k=v\nk2=w\n", "A", "k", nullptr},
    {"indented comment", "[A]\n   ;k=v\n", "A", "k", nullptr},
    {"duplicate keeps last", "[A]\nk=1\nK=2\n", "A", "k", "2"},
    {"empty value ignored", "[A]\nk=\nk2= ;c\n", "A", "k", nullptr},
    {"empty value after comment cut", "[A]\nk2= ;c\n", "A", "k2", nullptr},
    {"empty key ignored", "[A]\n =v\n", "A", "", nullptr},
    {"no equals ignored", "[A]\njustaword\n", "A", "justaword", nullptr},
    // Names are trimmed when read; a name asked for with blanks around it
    // is another name.
    {"asked with a trailing blank", "[A]\nkey = v\n", "A", "key ", nullptr},
    {"asked with a leading tab", "[A]\nkey = v\n", "A", "\tkey", nullptr},
    {"asked with the value", "[A]\nkey = v\n", "A", "key = v", nullptr},
    {"inner blanks kept", "[A]\nmy  key = v\n", "A", "MY  KEY", "v"},
    {"value keeps later equals", "[A]\nurl=a=b\n", "A", "url", "a=b"},
    {"keys before section", "top=1\n[A]\nk=v\n", nullptr, "top", "1"},
    {"keys before section by empty name", "top=1\n[A]\n", "", "TOP", "1"},
    {"not in other section", "top=1\n[A]\nk=v\n", "A", "top", nullptr},
    {"carriage returns only", "[A]\rk=v\rk2=w", "A", "k2", "w"},
    {"no final newline", "[A]\nk=v", "A", "k", "v"},
    {"unclosed section header", "[Open\nk=v\n", "open", "k", "v"},
    {"duplicate sections merge", "[A]\nk=1\n[B]\nx=1\n[a]\nj=2\n", "A", "j", "2"},
    {"duplicate sections keep earlier keys", "[A]\nk=1\n[B]\nx=1\n[a]\nj=2\n", "A", "k", "1"},
    {"unknown section", "[A]\nk=v\n", "B", "k", nullptr},
    // GBK: the trail byte 0x5D is ']' and must not end the section name;
    // trail bytes in 'A'..'Z' are never folded.
    {"gbk section with trail bracket", "[\xB0\x5D\xB1\x41]\nk=v\n", "\xB0\x5D\xB1\x41", "k", "v"},
    {"gbk trail not folded", "[\xB0\x5D\xB1\x41]\nk=v\n", "\xB0\x5D\xB1\x61", "k", nullptr},
    // A lead byte left without its trail byte at the end of a section name is
    // dropped, so the stored header "[name]" reads back as the same name.
    {"gbk dangling lead dropped", "[ab\xB0\nk=v\n", "AB", "k", "v"},
    {"gbk lead before non-trail", "[\xB0=]\nk=v\n", "\xB0=", "k", "v"},
};

}  // namespace

TEST(IniDocument, ParsingRules) {
  for (const LookupCase& tc : kLookups) {
    SCOPED_TRACE(tc.label);
    IniDocument doc;
    ASSERT_EQ(doc.Parse(tc.text, std::strlen(tc.text)), IniParseResult::Ok);
    const std::optional<vesk::IniKey> k = doc.FindKey(tc.section, tc.key);
    if (tc.expect) {
      ASSERT_TRUE(k.has_value());
      EXPECT_EQ(k->value, tc.expect);
    } else {
      EXPECT_FALSE(k.has_value());
    }
  }
}

TEST(IniDocument, LineLengthLimit) {
  IniDocument doc;
  std::string ok = "[A]\nk=" + std::string(IniDocument::kMaxLine - 3, 'x') + "\n";  // 8190
  ASSERT_EQ(doc.Parse(ok.data(), ok.size()), IniParseResult::Ok);
  EXPECT_TRUE(doc.FindKey("A", "k").has_value());

  std::string tooLong = "[A]\nk=" + std::string(IniDocument::kMaxLine - 2, 'x') + "\n";  // 8191
  EXPECT_EQ(doc.Parse(tooLong.data(), tooLong.size()), IniParseResult::LineTooLong);
  EXPECT_TRUE(doc.Empty());

  std::string longComment = ";" + std::string(IniDocument::kMaxLine, 'c');
  EXPECT_EQ(doc.Parse(longComment.data(), longComment.size()), IniParseResult::LineTooLong);
}

TEST(IniDocument, GetStringReturnsBytesCopied) {
  IniDocument doc;
  const char text[] = "[A]\nname=abcdef\n";
  doc.Parse(text, sizeof text - 1);
  char buf[16];
  EXPECT_EQ(doc.GetString("A", "NAME", "dflt", buf, sizeof buf), 6u);
  EXPECT_STREQ(buf, "abcdef");
  EXPECT_EQ(doc.GetString("A", "name", "dflt", buf, 4), 3u);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(doc.GetString("A", "missing", "dflt", buf, sizeof buf), 4u);
  EXPECT_STREQ(buf, "dflt");
  EXPECT_EQ(doc.GetString("A", "missing", "default-long", buf, 5), 4u);
  EXPECT_STREQ(buf, "defa");
  EXPECT_EQ(doc.GetString("A", "missing", nullptr, buf, sizeof buf), 0u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(doc.GetString("A", "name", "d", buf, 1), 0u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(doc.GetString("A", "name", "d", nullptr, 0), 0u);
}

TEST(IniDocument, GetKeyNamesListsWholeNames) {
  IniDocument doc;
  const char text[] = "[S]\nalpha=1\nbeta=2\ngamma=3\n";
  doc.Parse(text, sizeof text - 1);
  char buf[64];
  size_t n = doc.GetKeyNames("s", buf, sizeof buf);
  EXPECT_EQ(std::string(buf, n + 1), std::string("alpha\0beta\0gamma\0\0", n + 1));
  EXPECT_EQ(n, 17u);

  // Room for "alpha\0beta\0" and the final zero only.
  char small[13];
  std::memset(small, 'x', sizeof small);
  n = doc.GetKeyNames("S", small, sizeof small);
  EXPECT_EQ(n, 11u);
  EXPECT_EQ(std::string(small, 12), std::string("alpha\0beta\0\0", 12));

  char two[2] = {'x', 'x'};
  EXPECT_EQ(doc.GetKeyNames("S", two, 2), 0u);
  EXPECT_EQ(two[0], '\0');
  EXPECT_EQ(doc.GetKeyNames("missing", buf, sizeof buf), 0u);
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(buf[1], '\0');
  EXPECT_EQ(doc.GetKeyNames("S", buf, 1), 0u);
}

TEST(IniDocument, SerializeKeepsNamelessKeysFirstAndRoundTrips) {
  IniDocument doc;
  const char text[] = "  top = 1 ;c\n[Sec One]\nKey=Val\n[Empty]\n[Two]\na=b\n";
  doc.Parse(text, sizeof text - 1);
  std::string out = doc.Serialize();
  EXPECT_EQ(out, "top=1\r\n\r\n[Sec One]\r\nKey=Val\r\n\r\n[Empty]\r\n\r\n[Two]\r\na=b\r\n");

  IniDocument again;
  ASSERT_EQ(again.Parse(out.data(), out.size()), IniParseResult::Ok);
  EXPECT_EQ(again.Serialize(), out);
  EXPECT_TRUE(again.FindKey(nullptr, "top").has_value());
}

// Key lines far apart (comments of more than 64 KB between them) and a
// section that comes back after others: every key is still found where it
// is, with the last value of a repeated key.
TEST(IniDocument, KeysFarApartAndSectionsThatComeBack) {
  std::string comments;
  while (comments.size() < 200000) comments += "; " + std::string(1000, 'c') + "\r\n";
  const std::string text = "top=0\r\n" + comments + "[A]\r\nk=1\r\n" + comments + "j=2\r\n[B]\r\n" + comments +
                           "x=3\r\n[a]\r\n" + comments + "K=4\r\nm=5\r\n";
  IniDocument doc;
  ASSERT_EQ(doc.Parse(text.data(), text.size()), IniParseResult::Ok);
  char buf[8];
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {{nullptr, "top", "0"}, {"A", "k", "4"}, {"A", "J", "2"}, {"b", "x", "3"}, {"A", "m", "5"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_EQ(doc.GetString(c.section, c.key, "?", buf, sizeof buf), 1u);
    EXPECT_STREQ(buf, c.value);
  }
  EXPECT_EQ(doc.Serialize(), "top=0\r\n\r\n[A]\r\nk=4\r\nj=2\r\nm=5\r\n\r\n[B]\r\nx=3\r\n");
}

// A key is found by its own name only: not by that name with blanks or
// more text after it, wherever the table places them (sections of one key
// have the smallest tables, where many names land on that key).
TEST(IniDocument, NamesWithMoreAfterThemAreOtherNames) {
  std::string text;
  for (char c = 'a'; c <= 'z'; ++c) text += "[" + std::string(1, c) + "]\r\n" + std::string(1, c) + "key = v\r\n";
  IniDocument doc;
  ASSERT_EQ(doc.Parse(text.data(), text.size()), IniParseResult::Ok);
  for (char c = 'a'; c <= 'z'; ++c) {
    const std::string section(1, c), name = section + "KEY";
    SCOPED_TRACE(name);
    EXPECT_TRUE(doc.FindKey(section.c_str(), name.c_str()).has_value());
    for (const char* more : {" ", "  ", "\t", " \t", "=", " =", "= ", "=x"})
      EXPECT_FALSE(doc.FindKey(section.c_str(), (name + more).c_str()).has_value()) << '"' << more << '"';
    // Set with such a name, it is a key of its own.
    EXPECT_TRUE(doc.SetValue(section.c_str(), (name + " ").c_str(), "other"));
    char buf[8];
    doc.GetString(section.c_str(), name.c_str(), "?", buf, sizeof buf);
    EXPECT_STREQ(buf, "v");
    EXPECT_EQ(doc.KeyCount(size_t(c - 'a')), 2u);
  }
}
