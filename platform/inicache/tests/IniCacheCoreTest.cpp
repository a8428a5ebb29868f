#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "IniCacheCore.h"
#include "IniCipherFile.h"

using namespace vesk;

namespace {

// Files in memory; writes can be made to fail.
class FakeFiles : public IniFileAccess {
 public:
  std::map<std::string, std::vector<uint8_t>> files;
  int writes = 0;
  bool failWrites = false;

  bool ReadWhole(const std::string& path, bool create, std::vector<uint8_t>& out) override {
    auto it = files.find(path);
    if (it == files.end()) {
      if (!create) return false;
      it = files.emplace(path, std::vector<uint8_t>()).first;
    }
    out = it->second;
    return true;
  }
  bool WriteReplace(const std::string& path, const uint8_t* data, size_t length) override {
    ++writes;
    if (failWrites) return false;
    files[path].assign(data, data + length);
    return true;
  }
  void Put(const std::string& path, const std::string& text) { files[path].assign(text.begin(), text.end()); }
  std::vector<uint8_t> Enciphered(const std::string& text, const char* key = nullptr) {
    return EncodeIniFile(text, true, key);
  }
};

std::string Get(IniCacheCore& c, const char* section, const char* key) {
  char buf[256];
  size_t n = c.GetString(section, key, nullptr, buf, sizeof buf);
  return std::string(buf, n);
}

const char kText[] = "lead=first\r\n[Main]\r\nName=Table\r\nSeats=3 ; three players\r\n";

}  // namespace

TEST(IniCacheCore, RewritesInTheWishedFormOnClear) {
  struct Case {
    bool storedEnciphered;
    bool wishEnciphered;
    bool expectWrite;
  } cases[] = {{false, true, true}, {true, false, true}, {false, false, false}, {true, true, false}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(testing::Message() << tc.storedEnciphered << tc.wishEnciphered);
    FakeFiles files;
    if (tc.storedEnciphered)
      files.files["a.ini"] = files.Enciphered(kText);
    else
      files.Put("a.ini", kText);
    {
      IniCacheCore cache(files);
      ASSERT_TRUE(cache.LoadFromFile("a.ini", tc.wishEnciphered, nullptr, false));
      EXPECT_EQ(Get(cache, "main", "seats"), "3");
      EXPECT_EQ(cache.NeedsRewrite(), tc.expectWrite);
      cache.Clear();
      EXPECT_FALSE(cache.IsLoaded());
    }
    EXPECT_EQ(files.writes, tc.expectWrite ? 1 : 0);
    const std::vector<uint8_t>& now = files.files["a.ini"];
    EXPECT_EQ(HasIniCipherMagic(now.data(), now.size()), tc.expectWrite ? tc.wishEnciphered : tc.storedEnciphered);

    // What was stored reads back the same, keys before the first section included.
    IniCacheCore again(files);
    ASSERT_TRUE(again.LoadFromFile("a.ini", tc.wishEnciphered, nullptr, false));
    EXPECT_FALSE(again.NeedsRewrite());
    EXPECT_EQ(Get(again, nullptr, "lead"), "first");
    EXPECT_EQ(Get(again, "MAIN", "name"), "Table");
  }
}

TEST(IniCacheCore, KeyTextSelectsTheCipherKey) {
  FakeFiles files;
  files.files["k.ini"] = files.Enciphered("[S]\nv=secret\n", "my key text");
  IniCacheCore cache(files);
  ASSERT_TRUE(cache.LoadFromFile("k.ini", true, "my key text", false));
  EXPECT_EQ(Get(cache, "S", "v"), "secret");
  cache.Clear();

  // The default key reads the file stored with no key text.
  files.files["d.ini"] = files.Enciphered("[S]\nv=plain\n", "KESTRAVO");
  ASSERT_TRUE(cache.LoadFromFile("d.ini", true, nullptr, false));
  EXPECT_EQ(cache.KeyText(), "KESTRAVO");
  EXPECT_EQ(Get(cache, "S", "v"), "plain");
}

TEST(IniCacheCore, MemoryLoadIsNeverStored) {
  FakeFiles files;
  IniCacheCore cache(files);
  ASSERT_TRUE(cache.LoadFromMemory(reinterpret_cast<const uint8_t*>(kText), sizeof kText - 1, true, nullptr));
  EXPECT_TRUE(cache.NeedsRewrite());
  EXPECT_TRUE(cache.Clear());
  EXPECT_EQ(files.writes, 0);

  // A file load followed by a memory load drops the file's path.
  files.Put("f.ini", kText);
  ASSERT_TRUE(cache.LoadFromFile("f.ini", false, nullptr, false));
  ASSERT_TRUE(cache.LoadFromMemory(reinterpret_cast<const uint8_t*>(kText), sizeof kText - 1, true, nullptr));
  EXPECT_TRUE(cache.Path().empty());
  cache.Clear();
  EXPECT_EQ(files.writes, 0);
}

TEST(IniCacheCore, FailedLoads) {
  FakeFiles files;
  IniCacheCore cache(files);
  EXPECT_FALSE(cache.LoadFromFile("missing.ini", false, nullptr, false));
  EXPECT_TRUE(cache.Path().empty());

  const char zero[] = "[A]\nk=v\0x=y\n";
  EXPECT_FALSE(cache.LoadFromMemory(reinterpret_cast<const uint8_t*>(zero), sizeof zero - 1, false, nullptr));
  EXPECT_FALSE(cache.IsLoaded());

  // A zero byte hidden in the enciphered text is refused too.
  files.files["z.ini"] = files.Enciphered(std::string("[A]\nk=v\0\n", 9));
  EXPECT_FALSE(cache.LoadFromFile("z.ini", true, nullptr, false));

  std::string longLine = "[A]\nk=" + std::string(9000, 'x');
  files.Put("long.ini", longLine);
  EXPECT_FALSE(cache.LoadFromFile("long.ini", true, nullptr, false));
  EXPECT_FALSE(cache.IsLoaded());
  cache.Clear();
  EXPECT_EQ(files.writes, 0);  // a failed load is never stored
}

TEST(IniCacheCore, PlainTextStartingWithTheMagicStaysPlain) {
  FakeFiles files;
  // A key whose name begins with the magic's bytes, behind a blank line.
  std::string text = std::string("\n\x01\xBE\x02\xED") + "key=v\n[S]\nk=1\n";
  {
    IniCacheCore cache(files);
    ASSERT_TRUE(cache.LoadFromMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size(), false, nullptr));
    std::vector<uint8_t> stored = cache.BuildStoredFile();
    EXPECT_FALSE(HasIniCipherMagic(stored.data(), stored.size()));
    IniCacheCore again(files);
    ASSERT_TRUE(again.LoadFromMemory(stored.data(), stored.size(), false, nullptr));
    EXPECT_FALSE(again.NeedsRewrite());
    EXPECT_EQ(Get(again, nullptr, "\x01\xBE\x02\xEDkey"), "v");
  }
}

TEST(IniCacheCore, CreateFlagMakesAnEmptyCache) {
  FakeFiles files;
  IniCacheCore cache(files);
  ASSERT_TRUE(cache.LoadFromFile("new.ini", true, nullptr, true));
  EXPECT_EQ(Get(cache, "A", "k"), "");
  cache.Clear();
  // An empty plain file wished enciphered is stored as just the magic.
  ASSERT_EQ(files.files["new.ini"].size(), 4u);
  EXPECT_TRUE(HasIniCipherMagic(files.files["new.ini"].data(), 4));
}

TEST(IniCacheCore, FailedStoreKeepsTheOldFile) {
  FakeFiles files;
  files.Put("a.ini", kText);
  files.failWrites = true;
  IniCacheCore cache(files);
  ASSERT_TRUE(cache.LoadFromFile("a.ini", true, nullptr, false));
  EXPECT_FALSE(cache.Clear());
  EXPECT_EQ(std::string(files.files["a.ini"].begin(), files.files["a.ini"].end()), kText);
}

// The standard file access writes a temporary file and renames it over the old one.
TEST(IniCacheCore, StdFileAccessReplacesOnlyAfterAWholeWrite) {
  char dirTemplate[] = "/tmp/inicacheXXXXXX";
  ASSERT_NE(mkdtemp(dirTemplate), nullptr);
  std::string dir = dirTemplate;
  std::string path = dir + "/t.ini";
  { std::ofstream(path, std::ios::binary) << kText; }
  StdIniFileAccess files;
  {
    IniCacheCore cache(files);
    ASSERT_TRUE(cache.LoadFromFile(path.c_str(), true, nullptr, false));
    EXPECT_TRUE(cache.Clear());
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(files.ReadWhole(path, false, bytes));
  EXPECT_TRUE(HasIniCipherMagic(bytes.data(), bytes.size()));
  EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0);

  // A temporary path that cannot be written: the old file stays.
  ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0700), 0);
  {
    IniCacheCore cache(files);
    ASSERT_TRUE(cache.LoadFromFile(path.c_str(), false, nullptr, false));
    EXPECT_FALSE(cache.Clear());
  }
  std::vector<uint8_t> after;
  ASSERT_TRUE(files.ReadWhole(path, false, after));
  EXPECT_EQ(after, bytes);

  // The create flag makes a missing file and never truncates an existing one.
  std::string fresh = dir + "/fresh.ini";
  ASSERT_TRUE(files.ReadWhole(fresh, true, bytes));
  EXPECT_TRUE(bytes.empty());
  ASSERT_TRUE(files.ReadWhole(path, true, bytes));
  EXPECT_EQ(bytes, after);

  rmdir((path + ".tmp").c_str());
  std::remove(path.c_str());
  std::remove(fresh.c_str());
  rmdir(dir.c_str());
}
