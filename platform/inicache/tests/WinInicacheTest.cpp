// The Windows classes over real files in a folder of the test's working
// directory, and a cache shared by several threads.
#include <gtest/gtest.h>
#include <windows.h>

#include <process.h>

#include <cstring>
#include <string>
#include <vector>

#include "IniCache.h"
#include "IniCipherFile.h"
#include "PackageFile.h"
#include "RC6Cipher.h"

namespace {

std::string Folder() {
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  std::string dir = std::string(cwd) + "\\inicache_files";
  CreateDirectoryA(dir.c_str(), NULL);
  return dir;
}

std::string Path(const char* name) { return Folder() + "\\" + name; }

void Remove(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  RemoveDirectoryA(path.c_str());
}

void WriteFileBytes(const std::string& path, const void* data, size_t size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, data, DWORD(size), &written, NULL);
  CloseHandle(h);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> out;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return out;
  DWORD size = GetFileSize(h, NULL), got = 0;
  out.resize(size);
  if (size) ReadFile(h, out.data(), size, &got, NULL);
  CloseHandle(h);
  return out;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Value(CIniCache& ini, LPCSTR section, LPCSTR key) {
  char buf[128];
  DWORD n = ini.GetString(section, key, "<none>", buf, sizeof buf);
  return std::string(buf, n);
}

const char kIni[] = "top=1\r\n[Main]\r\nName=\xC5\xC6\xD7\xC0\r\nSeats = 3 ; players\r\n";

}  // namespace

TEST(WinRC6Cipher, VectorAndBuffer) {
  const BYTE key[16] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef, 0x01, 0x12, 0x23, 0x34, 0x45, 0x56, 0x67, 0x78};
  const BYTE plain[16] = {0x02, 0x13, 0x24, 0x35, 0x46, 0x57, 0x68, 0x79,
                          0x8a, 0x9b, 0xac, 0xbd, 0xce, 0xdf, 0xe0, 0xf1};
  const BYTE expect[16] = {0x52, 0x4e, 0x19, 0x2f, 0x47, 0x15, 0xc6, 0x23,
                           0x1f, 0x51, 0xf6, 0x36, 0x7e, 0xa4, 0x3f, 0x18};
  CRC6Cipher c;
  c.SetKey(key, 128);
  BYTE out[16];
  c.EncryptBlock(plain, out);
  EXPECT_EQ(0, memcmp(out, expect, 16));
  c.DecryptBlock(out, out);
  EXPECT_EQ(0, memcmp(out, plain, 16));

  BYTE text[37];
  for (int i = 0; i < 37; ++i) text[i] = BYTE(i * 7);
  BYTE work[37];
  memcpy(work, text, sizeof work);
  CRC6Cipher unkeyed;
  unkeyed.EncryptBuffer(work, sizeof work);
  EXPECT_TRUE(unkeyed.IsKeyed());
  unkeyed.DecryptBuffer(work, sizeof work);
  EXPECT_EQ(0, memcmp(work, text, sizeof text));
}

TEST(WinIniCache, PlainFileIsStoredEncipheredAndBack) {
  std::string path = Path("round.ini");
  WriteFileBytes(path, kIni, sizeof kIni - 1);
  {
    CIniCache ini;
    ASSERT_TRUE(ini.LoadFromFile(path.c_str(), TRUE, "table key", FALSE));
    EXPECT_EQ(Value(ini, "MAIN", "name"), "\xC5\xC6\xD7\xC0");
    EXPECT_EQ(Value(ini, NULL, "TOP"), "1");
  }  // the destructor stores it enciphered
  std::vector<uint8_t> stored = ReadFileBytes(path);
  ASSERT_TRUE(vesk::HasIniCipherMagic(stored.data(), stored.size()));
  EXPECT_FALSE(Exists(path + ".tmp"));

  CIniCache ini;
  ASSERT_TRUE(ini.LoadFromFile(path.c_str(), FALSE, "table key", FALSE));
  EXPECT_EQ(Value(ini, "main", "Seats"), "3");
  EXPECT_EQ(Value(ini, "", "top"), "1");
  char names[64];
  DWORD n = ini.GetKeyNames("Main", names, sizeof names);
  EXPECT_EQ(std::string(names, n + 1), std::string("Name\0Seats\0\0", n + 1));
  ini.Clear();
  stored = ReadFileBytes(path);
  EXPECT_FALSE(vesk::HasIniCipherMagic(stored.data(), stored.size()));
  ASSERT_TRUE(ini.LoadFromFile(path.c_str(), FALSE, NULL, FALSE));
  EXPECT_EQ(Value(ini, "Main", "Seats"), "3");
  ini.Clear();
  Remove(path);
}

TEST(WinIniCache, MissingFilesAndCreateFlag) {
  std::string path = Path("created.ini");
  Remove(path);
  CIniCache ini;
  EXPECT_FALSE(ini.LoadFromFile(path.c_str(), FALSE, NULL, FALSE));
  EXPECT_FALSE(Exists(path));
  ASSERT_TRUE(ini.LoadFromFile(path.c_str(), TRUE, NULL, TRUE));
  EXPECT_EQ(Value(ini, "A", "b"), "<none>");
  ini.Clear();
  EXPECT_EQ(ReadFileBytes(path).size(), 4u);  // just the magic
  Remove(path);
}

TEST(WinIniCache, FailedStoreLeavesTheFile) {
  std::string path = Path("kept.ini");
  WriteFileBytes(path, kIni, sizeof kIni - 1);
  CreateDirectoryA((path + ".tmp").c_str(), NULL);  // the temporary file cannot be made
  {
    CIniCache ini;
    ASSERT_TRUE(ini.LoadFromFile(path.c_str(), TRUE, NULL, FALSE));
  }
  std::vector<uint8_t> after = ReadFileBytes(path);
  EXPECT_EQ(std::string(after.begin(), after.end()), kIni);
  Remove(path + ".tmp");
  Remove(path);
}

namespace {

struct Shared {
  CIniCache ini;
  volatile LONG stop = 0;
  volatile LONG bad = 0;
  volatile LONG reads = 0;
};

unsigned __stdcall Reader(void* p) {
  Shared* s = static_cast<Shared*>(p);
  char buf[32];
  char names[64];
  while (!s->stop) {
    DWORD n = s->ini.GetString("Main", "Seats", "none", buf, sizeof buf);
    std::string v(buf, n);
    if (v != "3" && v != "none") InterlockedIncrement(&s->bad);
    s->ini.GetKeyNames("Main", names, sizeof names);
    InterlockedIncrement(&s->reads);
  }
  return 0;
}

}  // namespace

TEST(WinIniCache, ThreadsShareOneCache) {
  Shared s;
  HANDLE threads[4];
  for (HANDLE& h : threads) h = HANDLE(_beginthreadex(NULL, 0, Reader, &s, 0, NULL));
  // Reload until the readers have run for a while (bounded either way).
  for (int i = 0; i < 300 || (s.reads < 2000 && i < 200000); ++i) {
    ASSERT_TRUE(s.ini.LoadFromMemory(reinterpret_cast<const BYTE*>(kIni), sizeof kIni - 1, i & 1, NULL));
    if (i % 3 == 0) s.ini.Clear();
  }
  InterlockedExchange(&s.stop, 1);
  WaitForMultipleObjects(4, threads, TRUE, 10000);
  for (HANDLE h : threads) CloseHandle(h);
  EXPECT_EQ(s.bad, 0);
  EXPECT_GT(s.reads, 0);
}

namespace {

// Stands in for QKCompress: "inflates" by copying a stream that begins with 'Z'.
int WINAPI FakeInflate(unsigned char* dest, int destSize, const unsigned char* src, int srcLength) {
  if (srcLength < 1 || src[0] != 'Z' || srcLength - 1 > destSize) return 0;
  memcpy(dest, src + 1, size_t(srcLength - 1));
  return srcLength - 1;
}

// Stands in for QKCompress's compressor: a 'Z' marker, then the bytes.
int WINAPI FakeDeflate(unsigned char* dest, int destSize, const unsigned char* src, int srcLength) {
  if (srcLength + 1 > destSize) return 0;
  dest[0] = 'Z';
  memcpy(dest + 1, src, size_t(srcLength));
  return srcLength + 1;
}

std::vector<uint8_t> ThemePackage() {
  std::vector<uint8_t> img = vesk::BuildPackageHeader(vesk::kPackageVersion257, "Blue", 45000.5, true, 1);
  const char ini[] = "[Button]\nColor=1\n";
  vesk::AppendPackageEntry(img, "QKTheme.ini", reinterpret_cast<const uint8_t*>("OLD"), 3, false, NULL, 0, true);
  vesk::AppendPackageEntry(img, "QKTheme.ini", reinterpret_cast<const uint8_t*>(ini), sizeof ini - 1, false);
  std::vector<uint8_t> packed = {16, 0, 0, 0, 'Z'};
  packed.insert(packed.end(), {'p', 'a', 'c', 'k', 'e', 'd', ' ', 'i', 'm', 'a', 'g', 'e'});
  vesk::AppendPackageEntry(img, "Image1.bmp", packed.data(), packed.size(), true,
                           reinterpret_cast<const uint8_t*>("XY"), 2);
  return img;
}

}  // namespace

TEST(WinPackageFile, ListsAndExtracts) {
  std::string path = Path("theme.pkg");
  std::vector<uint8_t> img = ThemePackage();
  WriteFileBytes(path, img.data(), img.size());
  CPackageFile::SetInflater(FakeInflate);

  CPackageFile pkg;
  ASSERT_TRUE(pkg.Open(path.c_str(), FALSE));
  EXPECT_STREQ(pkg.GetPackageName(), "Blue");
  EXPECT_EQ(pkg.GetVersion(), 0x101u);
  ASSERT_EQ(pkg.GetEntryCount(), 3);
  EXPECT_TRUE(pkg.IsEntryDeleted(0));
  EXPECT_STREQ(pkg.GetEntryName(2), "Image1.bmp");
  EXPECT_EQ(pkg.GetEntryName(3), nullptr);

  BYTE* data = NULL;
  DWORD size = 0;
  ASSERT_TRUE(pkg.ExtractEntry("qktheme.INI", &data, &size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), "[Button]\nColor=1\n");
  CPackageFile::FreeBuffer(data);

  BYTE* extra = NULL;
  DWORD extraSize = 0;
  ASSERT_TRUE(pkg.ExtractEntry("IMAGE1.BMP", &data, &size, &extra, &extraSize));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), "packed image");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(extra), extraSize), "XY");
  CPackageFile::FreeBuffer(data);
  CPackageFile::FreeBuffer(extra);

  CPackageFile::SetInflater(NULL);
  EXPECT_FALSE(pkg.ExtractEntry("Image1.bmp", &data, &size));
  EXPECT_EQ(data, nullptr);

  // The whole file through ReadBlock.
  DWORD got = 0;
  BYTE* whole = CPackageFile::ReadBlock(pkg.GetFile(), 0, 0, &got);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(got, img.size());
  EXPECT_EQ(0, memcmp(whole, img.data(), got));
  CPackageFile::FreeBuffer(whole);
  pkg.Reset();
  EXPECT_EQ(pkg.GetFile(), -1);
  EXPECT_STREQ(pkg.GetPackageName(), "\xCE\xB4\xC3\xFC\xC3\xFB");
  Remove(path);
}

TEST(WinPackageFile, CreatesRestoresAndCuts) {
  std::string path = Path("new.pkg");
  Remove(path);
  Remove(path + ".bak");
  CPackageFile pkg;
  EXPECT_FALSE(pkg.Open(path.c_str(), FALSE));
  EXPECT_FALSE(Exists(path));

  ASSERT_TRUE(pkg.Open(path.c_str(), TRUE));
  EXPECT_GT(pkg.GetCreationTime(), 40000.0);  // a date after 2009
  pkg.Reset();
  std::vector<uint8_t> created = ReadFileBytes(path);
  ASSERT_EQ(created.size(), 144u);
  EXPECT_EQ(0, memcmp(created.data(), "QKS\0\xCE\xB4\xC3\xFC\xC3\xFB\0", 11));
  Remove(path);

  // A damaged tail: left alone read-only, cut with write access.
  std::vector<uint8_t> img = ThemePackage();
  size_t whole = img.size();
  img.insert(img.end(), 300, 0x33);
  std::string restored = Path("restored.pkg");
  Remove(restored);
  WriteFileBytes(restored + ".bak", img.data(), img.size());
  ASSERT_TRUE(pkg.Open(restored.c_str(), FALSE));
  EXPECT_EQ(pkg.GetEntryCount(), 3);
  EXPECT_FALSE(Exists(restored));  // read from the backup where it lies
  pkg.Reset();
  EXPECT_EQ(ReadFileBytes(restored + ".bak").size(), img.size());

  ASSERT_TRUE(pkg.Open(restored.c_str(), TRUE));
  EXPECT_EQ(pkg.GetEntryCount(), 3);
  pkg.Reset();
  EXPECT_FALSE(Exists(restored + ".bak"));
  EXPECT_EQ(ReadFileBytes(restored).size(), whole);

  // WriteBlock at an offset and at the current position.
  int fd = -1;
  ASSERT_TRUE(pkg.Open(restored.c_str(), TRUE));
  fd = pkg.GetFile();
  ASSERT_GE(fd, 0);
  EXPECT_TRUE(CPackageFile::WriteBlock(fd, "AB", 2, 4));
  EXPECT_TRUE(CPackageFile::WriteBlock(fd, "C", 1, -1));
  pkg.Reset();
  std::vector<uint8_t> now = ReadFileBytes(restored);
  EXPECT_EQ(std::string(now.begin() + 4, now.begin() + 7), "ABC");
  Remove(restored);
}

TEST(WinPackageFile, AddsAndDeletesEntries) {
  std::string path = Path("written.pkg");
  Remove(path);
  CPackageFile::SetInflater(FakeInflate);
  CPackageFile::SetDeflater(FakeDeflate);
  {
    CPackageFile pkg;
    ASSERT_TRUE(pkg.Open(path.c_str(), TRUE));
    const char ini[] = "[Button]\nColor=1\n";
    ASSERT_TRUE(pkg.AddEntry("QKTheme.ini", reinterpret_cast<const BYTE*>(ini), sizeof ini - 1, TRUE));
    ASSERT_TRUE(pkg.AddEntry("Cursor1.cur", reinterpret_cast<const BYTE*>("CUR"), 3, FALSE,
                             reinterpret_cast<const BYTE*>("hot"), 3));
    ASSERT_TRUE(pkg.AddEntry("QKImage1.bmp", reinterpret_cast<const BYTE*>("BM"), 2, FALSE));
    EXPECT_TRUE(pkg.DeleteEntry("qkimage1.BMP"));
  }
  CPackageFile pkg;
  ASSERT_TRUE(pkg.Open(path.c_str(), FALSE));
  ASSERT_EQ(pkg.GetEntryCount(), 3);
  EXPECT_TRUE(pkg.IsEntryDeleted(2));
  BYTE* data = NULL;
  DWORD size = 0;
  ASSERT_TRUE(pkg.ExtractEntry("qktheme.ini", &data, &size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), "[Button]\nColor=1\n");
  CPackageFile::FreeBuffer(data);
  BYTE* extra = NULL;
  DWORD extraSize = 0;
  ASSERT_TRUE(pkg.ExtractEntry("CURSOR1.cur", &data, &size, &extra, &extraSize));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(extra), extraSize), "hot");
  CPackageFile::FreeBuffer(data);
  CPackageFile::FreeBuffer(extra);
  EXPECT_FALSE(pkg.ExtractEntry("QKImage1.bmp", &data, &size));
  EXPECT_FALSE(pkg.AddEntry("more", reinterpret_cast<const BYTE*>("x"), 1, FALSE));  // read-only
  pkg.Reset();
  CPackageFile::SetDeflater(NULL);
  CPackageFile::SetInflater(NULL);
  Remove(path);
}
