#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PackageCore.h"
#include "ZlibInflate.h"

using namespace vesk;
using vesk_test::ZlibDeflate;
using vesk_test::ZlibEntryData;
using vesk_test::ZlibInflate;

namespace {

void Add(std::vector<uint8_t>& img, const char* name, const std::string& data, bool deleted = false,
         const std::string& extra = std::string()) {
  AppendPackageEntry(img, name, reinterpret_cast<const uint8_t*>(data.data()), data.size(), false,
                     reinterpret_cast<const uint8_t*>(extra.data()), extra.size(), deleted);
}

void AddCompressed(std::vector<uint8_t>& img, const char* name, const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> stored = ZlibEntryData(plain);
  AppendPackageEntry(img, name, stored.data(), stored.size(), true);
}

// A version 257 theme package with an ini, a deleted older ini and an image.
std::vector<uint8_t> ThemeImage() {
  std::vector<uint8_t> img = BuildPackageHeader(kPackageVersion257, "Blue", 45000.25, true, 7);
  Add(img, "qktheme.ini", "[old]\n", true);
  Add(img, "QKTheme.ini", "[Button]\nColor=1\n");
  Add(img, "button.bmp", "BMDATA", false, "EXTRA");
  return img;
}

struct Fixture : testing::Test {
  MemoryPackageStorage disk;
  PackageCore pkg{disk};
  void SetUp() override { pkg.SetInflater(ZlibInflate); }
  std::string Extract(const char* name, std::string* extra = nullptr) {
    std::vector<uint8_t> data, ex;
    if (!pkg.ExtractEntry(name, data, extra ? &ex : nullptr)) return "<fail>";
    if (extra) extra->assign(ex.begin(), ex.end());
    return std::string(data.begin(), data.end());
  }
};

using PackageCoreTest = Fixture;

}  // namespace

TEST_F(PackageCoreTest, ListsAndFindsEntriesIgnoringCaseAndDeleted) {
  disk.files["t.pkg"] = ThemeImage();
  ASSERT_TRUE(pkg.Open("t.pkg", false));
  EXPECT_STREQ(pkg.Header().name, "Blue");
  EXPECT_EQ(pkg.Header().version, kPackageVersion257);
  EXPECT_DOUBLE_EQ(pkg.Header().created, 45000.25);
  EXPECT_EQ(pkg.FlagByte(), 7);
  ASSERT_EQ(pkg.Entries().size(), 3u);
  EXPECT_TRUE(pkg.Entries()[0].deleted);
  EXPECT_EQ(pkg.Entries()[1].offset, int64_t(145 + 276 + 6));

  EXPECT_EQ(Extract("QKTHEME.INI"), "[Button]\nColor=1\n");  // never the deleted one
  std::string extra;
  EXPECT_EQ(Extract("Button.BMP", &extra), "BMDATA");
  EXPECT_EQ(extra, "EXTRA");
  EXPECT_EQ(Extract("QKTheme.ini", &extra), "[Button]\nColor=1\n");
  EXPECT_EQ(extra, "");
  EXPECT_EQ(Extract("missing.bmp"), "<fail>");
}

TEST_F(PackageCoreTest, DeletedEntryIsNeverFound) {
  std::vector<uint8_t> img = BuildPackageHeader(kPackageVersion257, "x", 0, true);
  Add(img, "gone.bmp", "DATA", true);
  disk.files["p"] = img;
  ASSERT_TRUE(pkg.Open("p", false));
  ASSERT_EQ(pkg.Entries().size(), 1u);
  EXPECT_EQ(Extract("gone.bmp"), "<fail>");
}

TEST_F(PackageCoreTest, CompressedEntries) {
  std::vector<uint8_t> plain;
  for (int i = 0; i < 5000; ++i) plain.push_back(uint8_t('a' + i % 7));
  std::vector<uint8_t> img = BuildPackageHeader(kPackageVersion257, "z", 0, true);
  AddCompressed(img, "big.bmp", plain);
  // Shorter than its 4-byte size field.
  const uint8_t three[3] = {1, 2, 3};
  AppendPackageEntry(img, "short.bmp", three, 3, true);
  // Claims more than the bound.
  std::vector<uint8_t> huge = ZlibEntryData(plain);
  uint32_t claim = PackageCore::kMaxInflatedSize + 1;
  std::memcpy(huge.data(), &claim, 4);
  AppendPackageEntry(img, "huge.bmp", huge.data(), huge.size(), true);
  // A stream that is not zlib.
  std::vector<uint8_t> junk = {16, 0, 0, 0, 'n', 'o', 't', 'z', 'i', 'p'};
  AppendPackageEntry(img, "junk.bmp", junk.data(), junk.size(), true);
  // Stored size smaller than the stream inflates to.
  std::vector<uint8_t> small = ZlibEntryData(plain);
  uint32_t less = 100;
  std::memcpy(small.data(), &less, 4);
  AppendPackageEntry(img, "small.bmp", small.data(), small.size(), true);
  disk.files["c"] = img;

  ASSERT_TRUE(pkg.Open("c", false));
  EXPECT_EQ(pkg.Entries().size(), 5u);
  std::vector<uint8_t> out;
  ASSERT_TRUE(pkg.ExtractEntry("BIG.bmp", out, nullptr));
  EXPECT_EQ(out, plain);
  for (const char* bad : {"short.bmp", "huge.bmp", "junk.bmp", "small.bmp"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(pkg.ExtractEntry(bad, out, nullptr));
    EXPECT_TRUE(out.empty());
  }

  // No inflater bound: compressed entries fail, plain ones still work.
  pkg.SetInflater(nullptr);
  EXPECT_FALSE(pkg.ExtractEntry("big.bmp", out, nullptr));
}

TEST_F(PackageCoreTest, DamagedTailIsCutOnlyWhenWritable) {
  std::vector<uint8_t> img = ThemeImage();
  size_t whole = img.size();
  // A fourth entry whose data would run past the end of the file.
  Add(img, "cut.bmp", std::string(100, 'c'));
  img.resize(img.size() - 40);

  disk.files["r"] = img;
  ASSERT_TRUE(pkg.Open("r", false));
  EXPECT_EQ(pkg.Entries().size(), 3u);
  EXPECT_EQ(disk.files["r"].size(), img.size());  // read-only: left alone

  disk.files["w"] = img;
  ASSERT_TRUE(pkg.Open("w", true));
  EXPECT_EQ(pkg.Entries().size(), 3u);
  EXPECT_EQ(disk.files["w"].size(), whole);
  EXPECT_EQ(Extract("button.bmp"), "BMDATA");
}

TEST_F(PackageCoreTest, ScanStopsAtBadEntrySizes) {
  struct Case {
    const char* label;
    int32_t dataSize;
    int32_t extraSize;
    size_t tail;  // bytes of data actually present
  } cases[] = {
      {"zero size", 0, 0, 0},           {"negative size", -5, 0, 0},           {"size past end", 1000, 0, 10},
      {"huge size", 0x7FFFFFFF, 0, 10}, {"extra past end", 4, 0x7FFFFFFF, 10}, {"header cut short", 4, 0, 0},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    std::vector<uint8_t> img = BuildPackageHeader(kPackageVersion257, "s", 0, true);
    Add(img, "good", "GOOD");
    std::vector<uint8_t> raw(276, 0);
    std::strcpy(reinterpret_cast<char*>(raw.data() + 1), "bad");
    std::memcpy(raw.data() + 264, &tc.dataSize, 4);
    std::memcpy(raw.data() + 272, &tc.extraSize, 4);
    if (std::string(tc.label) == "header cut short") raw.resize(200);
    img.insert(img.end(), raw.begin(), raw.end());
    img.insert(img.end(), tc.tail, 'x');
    disk.files["s"] = img;
    ASSERT_TRUE(pkg.Open("s", false));
    ASSERT_EQ(pkg.Entries().size(), 1u);
    EXPECT_EQ(Extract("good"), "GOOD");
  }
}

TEST_F(PackageCoreTest, UnterminatedNameIsBoundedToItsField) {
  std::vector<uint8_t> img = BuildPackageHeader(kPackageVersion257, "n", 0, true);
  std::vector<uint8_t> raw(276, 'A');
  raw[0] = 0;
  int32_t size = 2, zero = 0;
  std::memcpy(raw.data() + 264, &size, 4);
  std::memcpy(raw.data() + 268, &zero, 4);
  std::memcpy(raw.data() + 272, &zero, 4);
  img.insert(img.end(), raw.begin(), raw.end());
  img.push_back('o');
  img.push_back('k');
  disk.files["n"] = img;
  ASSERT_TRUE(pkg.Open("n", false));
  ASSERT_EQ(pkg.Entries().size(), 1u);
  EXPECT_EQ(pkg.Entries()[0].name, std::string(262, 'A'));
  EXPECT_EQ(Extract(std::string(262, 'a').c_str()), "ok");
}

TEST_F(PackageCoreTest, HeaderVersions) {
  // Version 1: no time, opened read-only even for writing, never cut.
  std::vector<uint8_t> v1 = BuildPackageHeader(kPackageVersion1, "old", 0, true);
  Add(v1, "a", "A1");
  v1.push_back(0xEE);  // damaged tail
  disk.files["v1"] = v1;
  ASSERT_TRUE(pkg.Open("v1", true));
  EXPECT_TRUE(pkg.IsReadOnly());
  EXPECT_EQ(pkg.Entries()[0].offset, 137);
  EXPECT_EQ(Extract("A"), "A1");
  EXPECT_EQ(disk.files["v1"].size(), v1.size());

  struct Bad {
    const char* label;
    std::vector<uint8_t> image;
  } bad[] = {
      {"other version", BuildPackageHeader(2, "x", 0, true)},
      {"wrong magic",
       [] {
         auto i = BuildPackageHeader(kPackageVersion257, "x", 0, true);
         i[2] = 'Z';
         return i;
       }()},
      {"short header", std::vector<uint8_t>(100, 0)},
      {"v257 without time",
       [] {
         auto i = BuildPackageHeader(kPackageVersion257, "x", 0, false);
         i.resize(140);
         return i;
       }()},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.label);
    disk.files["bad"] = b.image;
    EXPECT_FALSE(pkg.Open("bad", false));
    EXPECT_FALSE(pkg.IsOpen());
    EXPECT_TRUE(pkg.Entries().empty());
  }

  // Ending before the flag byte: open, no entries.
  disk.files["e"] = BuildPackageHeader(kPackageVersion257, "e", 0, false);
  ASSERT_TRUE(pkg.Open("e", false));
  EXPECT_TRUE(pkg.Entries().empty());
}

TEST_F(PackageCoreTest, CreatingAndRestoring) {
  // Read-only never creates.
  EXPECT_FALSE(pkg.Open("new.pkg", false));
  EXPECT_FALSE(disk.Exists("new.pkg"));

  // Write access creates a new package with its header.
  disk.now = 46123.5;
  ASSERT_TRUE(pkg.Open("new.pkg", true));
  pkg.Reset();
  ASSERT_EQ(disk.files["new.pkg"].size(), 144u);
  ASSERT_TRUE(pkg.Open("new.pkg", false));
  EXPECT_STREQ(pkg.Header().name, kPackageUnnamed);
  EXPECT_DOUBLE_EQ(pkg.Header().created, 46123.5);
  EXPECT_TRUE(pkg.Entries().empty());

  // An existing empty file: written in write mode, refused read-only.
  disk.files["empty"];
  EXPECT_FALSE(pkg.Open("empty", false));
  EXPECT_TRUE(disk.files["empty"].empty());
  ASSERT_TRUE(pkg.Open("empty", true));
  EXPECT_EQ(disk.files["empty"].size(), 144u);

  // A missing package with a backup: read-only reads the backup where it lies,
  // write access renames it into place.
  disk.files["t.pkg.bak"] = ThemeImage();
  ASSERT_TRUE(pkg.Open("t.pkg", false));
  EXPECT_EQ(Extract("qktheme.ini"), "[Button]\nColor=1\n");
  EXPECT_FALSE(disk.Exists("t.pkg"));
  ASSERT_TRUE(pkg.Open("t.pkg", true));
  EXPECT_TRUE(disk.Exists("t.pkg"));
  EXPECT_FALSE(disk.Exists("t.pkg.bak"));
  EXPECT_EQ(pkg.Entries().size(), 3u);

  pkg.Reset();
  EXPECT_FALSE(pkg.IsOpen());
  EXPECT_TRUE(pkg.IsReadOnly());
  EXPECT_EQ(pkg.Header().version, kPackageVersion257);
  EXPECT_STREQ(pkg.Header().name, kPackageUnnamed);
}

namespace {
// Storage whose existing files cannot be opened (locked by someone else).
struct LockedStorage : MemoryPackageStorage {
  Handle Open(const std::string& path, bool write) override {
    return path == "locked" ? kNoFile : MemoryPackageStorage::Open(path, write);
  }
};
}  // namespace

namespace {
// Storage whose reads fail past a given offset (a bad sector, a vanished share).
struct FailingReads : MemoryPackageStorage {
  int64_t limit = 0;
  bool ReadAt(Handle file, int64_t offset, void* buffer, size_t length) override {
    if (offset + int64_t(length) > limit) return false;
    return MemoryPackageStorage::ReadAt(file, offset, buffer, length);
  }
};
}  // namespace

TEST(PackageCore, ReadErrorNeverCutsTheFile) {
  FailingReads disk;
  disk.files["p"] = ThemeImage();
  disk.limit = 145 + 276 + 6 + 100;  // inside the second entry's header
  PackageCore pkg(disk);
  ASSERT_TRUE(pkg.Open("p", true));
  EXPECT_EQ(pkg.Entries().size(), 1u);
  const uint8_t data[1] = {1};
  EXPECT_FALSE(pkg.AddEntry("more", data, 1, false));  // its end is unknown
  EXPECT_EQ(disk.files["p"], ThemeImage());
}

TEST(PackageCore, WriteOpenNeverReplacesAnExistingFile) {
  LockedStorage disk;
  disk.files["locked"] = ThemeImage();
  PackageCore pkg(disk);
  EXPECT_FALSE(pkg.Open("locked", true));
  EXPECT_EQ(disk.files["locked"], ThemeImage());
}

TEST_F(PackageCoreTest, AddingAndDeletingEntries) {
  pkg.SetDeflater(ZlibDeflate);
  ASSERT_TRUE(pkg.Open("w.pkg", true));  // new: header only, no flag byte yet
  std::string ini = "[Button]\nColor=1\n";
  std::vector<uint8_t> image(3000, 'q');
  ASSERT_TRUE(pkg.AddEntry("QKTheme.ini", reinterpret_cast<const uint8_t*>(ini.data()), ini.size(), false));
  ASSERT_TRUE(pkg.AddEntry("Image1.bmp", image.data(), image.size(), true, reinterpret_cast<const uint8_t*>("EX"), 2));
  EXPECT_LT(disk.files["w.pkg"].size(), 145u + 2 * 276 + ini.size() + 200);  // it was compressed

  // A second entry of the same name replaces the first one.
  std::string newer = "[Button]\nColor=2\n";
  ASSERT_TRUE(pkg.AddEntry("qktheme.INI", reinterpret_cast<const uint8_t*>(newer.data()), newer.size(), true));
  EXPECT_EQ(Extract("QKTheme.ini"), newer);

  pkg.Reset();
  ASSERT_TRUE(pkg.Open("w.pkg", false));
  ASSERT_EQ(pkg.Entries().size(), 3u);
  EXPECT_TRUE(pkg.Entries()[0].deleted);
  EXPECT_EQ(pkg.Entries()[1].offset, 145 + 276 + int64_t(ini.size()));
  EXPECT_EQ(Extract("qktheme.ini"), newer);
  std::string extra;
  EXPECT_EQ(Extract("IMAGE1.bmp", &extra), std::string(3000, 'q'));
  EXPECT_EQ(extra, "EX");
  // Read-only: nothing is written.
  EXPECT_FALSE(pkg.AddEntry("x", image.data(), 1, false));
  EXPECT_FALSE(pkg.DeleteEntry("image1.bmp"));

  ASSERT_TRUE(pkg.Open("w.pkg", true));
  EXPECT_TRUE(pkg.DeleteEntry("image1.BMP"));
  EXPECT_FALSE(pkg.DeleteEntry("image1.bmp"));  // nothing left to delete
  EXPECT_EQ(Extract("Image1.bmp"), "<fail>");

  struct Bad {
    const char* label;
    std::string name;
    size_t size;
    bool compress;
  } bad[] = {
      {"empty name", "", 1, false},
      {"name longer than its field", std::string(263, 'n'), 1, false},
      {"no data", "a", 0, false},
      {"too large", "a", size_t(PackageCore::kMaxInflatedSize) + 1, false},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.label);
    std::vector<uint8_t> data(b.size ? b.size : 1, 'd');
    EXPECT_FALSE(pkg.AddEntry(b.name.c_str(), data.data(), b.size, b.compress));
  }
  EXPECT_TRUE(pkg.AddEntry(std::string(262, 'n').c_str(), image.data(), 1, false));
  pkg.SetDeflater(nullptr);
  EXPECT_FALSE(pkg.AddEntry("c", image.data(), 10, true));  // no compressor bound

  // Version 1 packages are never written.
  std::vector<uint8_t> v1 = BuildPackageHeader(kPackageVersion1, "old", 0, true);
  disk.files["v1"] = v1;
  ASSERT_TRUE(pkg.Open("v1", true));
  EXPECT_FALSE(pkg.AddEntry("a", image.data(), 4, false));
  EXPECT_EQ(disk.files["v1"], v1);
}
