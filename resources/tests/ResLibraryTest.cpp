// The resource library as the program sees it: every resource the program and the
// lobby look up, in language 2052, with the texts and formats their callers expect.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ResTestUtil.h"
#include "VeskVersion.h"
#include "WinProbe.h"
#include "resource.h"

using namespace restest;

namespace {

class ResLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_module = LoadResLibrary(); }
  static void TearDownTestSuite() {
    if (s_module) FreeLibrary(s_module);
  }
  void SetUp() override { ASSERT_NE(s_module, nullptr) << "cannot load " << VESK_RES_DLL; }
  static HMODULE s_module;
};
HMODULE ResLibrary::s_module = nullptr;

using IdSet = std::set<UINT>;

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<IdSet*>(param)->insert((UINT)(ULONG_PTR)name);
  else
    reinterpret_cast<IdSet*>(param)->insert(0xFFFFFFFFu);  // a named resource: never expected
  return TRUE;
}

IdSet NamesOf(HMODULE m, LPCSTR type) {
  IdSet ids;
  EnumResourceNamesA(m, type, CollectName, (LONG_PTR)&ids);
  return ids;
}

IdSet Range(UINT a, UINT b) {
  IdSet s;
  for (UINT i = a; i <= b; ++i) s.insert(i);
  return s;
}

IdSet Join(std::initializer_list<IdSet> parts) {
  IdSet s;
  for (const auto& p : parts) s.insert(p.begin(), p.end());
  return s;
}

BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR param) {
  auto* out = reinterpret_cast<std::vector<std::string>*>(param);
  if (IS_INTRESOURCE(type))
    out->push_back("#" + std::to_string((UINT)(ULONG_PTR)type));
  else
    out->push_back(type);
  return TRUE;
}

BOOL CALLBACK CollectLang(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR param) {
  reinterpret_cast<std::set<WORD>*>(param)->insert(lang);
  return TRUE;
}

struct TypeNames {
  LPCSTR type;
  const char* what;
  IdSet ids;
};

TEST_F(ResLibrary, InventoryMatchesTheLists) {
  const std::vector<TypeNames> expected = {
      {RT_DIALOG, "dialogs", {102,   131,   142,   148,   155,   164,   186,   207,   208,   212,   215,   300,  301,
                              29663, 29721, 29723, 29733, 29734, 29735, 29800, 29810, 29820, 29821, 29890, 29891}},
      {RT_BITMAP, "bitmaps",
       Join({{136, 153, 155, 166, 168, 169},
             Range(171, 182),
             Range(184, 186),
             {202, 211, 219},
             Range(29664, 29673),
             Range(29708, 29725)})},
      {"WAVE", "sounds", Join({{166, 171, 172, 173, 177}, Range(183, 190), {196}})},
      {"HANDCURSOR", "hand cursor", {29710}},
      {RT_GROUP_ICON, "icons", {128, 209, 29801, 29846, 29847, 29894}},
      {RT_MENU, "menu", {128}},
      {RT_ACCELERATOR, "accelerators", {128}},
      {MAKEINTRESOURCEA(240), "dialog init data", {131, 186, 207}},
      {RT_VERSION, "version", {1}},
  };
  for (const auto& e : expected) EXPECT_EQ(NamesOf(s_module, e.type), e.ids) << e.what;
  EXPECT_EQ(NamesOf(s_module, RT_DIALOG).size(), 25u);
  EXPECT_EQ(NamesOf(s_module, RT_BITMAP).size(), 52u);
  EXPECT_EQ(NamesOf(s_module, "WAVE").size(), 14u);

  // No resource type beyond the lists (icons and strings come with their own types).
  std::vector<std::string> types;
  EnumResourceTypesA(s_module, CollectType, (LONG_PTR)&types);
  const std::set<std::string> allowed = {"#1", "#2",  "#3",  "#4",   "#5",   "#6",
                                         "#9", "#14", "#16", "#240", "WAVE", "HANDCURSOR"};
  for (const auto& t : types) EXPECT_TRUE(allowed.count(t)) << "unexpected resource type " << t;

  // Every resource is in language 2052 only.
  for (const auto& t : types) {
    LPCSTR type = t[0] == '#' ? MAKEINTRESOURCEA(std::stoi(t.substr(1))) : t.c_str();
    for (UINT id : NamesOf(s_module, type)) {
      std::set<WORD> langs;
      EnumResourceLanguagesA(s_module, type, MAKEINTRESOURCEA(id), CollectLang, (LONG_PTR)&langs);
      EXPECT_EQ(langs, std::set<WORD>{2052}) << t << " " << id;
    }
  }
}

TEST_F(ResLibrary, StringTableHoldsExactlyTheTable) {
  const auto rows = ReadStringTable(STRINGS_TSV);
  ASSERT_EQ(rows.size(), 186u);
  IdSet tableIds;
  for (const auto& r : rows) tableIds.insert(r.id);

  // Every non-empty string in the library is in the table, and nothing else.
  IdSet libraryIds;
  for (UINT bundle : NamesOf(s_module, RT_STRING))
    for (UINT i = 0; i < 16; ++i) {
      UINT id = (bundle - 1) * 16 + i;
      char buf[8];
      if (LoadStringA(s_module, id, buf, sizeof buf) > 0) libraryIds.insert(id);
    }
  EXPECT_EQ(libraryIds, tableIds);
  for (UINT group : {1000u, 3000u, 4000u, 5000u, 6000u, 29700u, 29900u, 29940u})
    EXPECT_TRUE(tableIds.count(group)) << group;
  EXPECT_EQ(Range(3000, 3041).size(), (size_t)std::count_if(rows.begin(), rows.end(), [](const StringRow& r) {
              return r.id >= 3000 && r.id <= 3041;
            }));
}

TEST_F(ResLibrary, EveryStringReadsBackAsGbkWithItsPlaceholders) {
  for (const auto& r : ReadStringTable(STRINGS_TSV)) {
    char buf[2048] = {};
    int n = LoadStringA(s_module, r.id, buf, sizeof buf);
    const std::string want = Utf8ToAnsi(r.text);
    EXPECT_EQ(std::string(buf, n > 0 ? n : 0), want) << r.id << " " << r.name;
    EXPECT_EQ(Placeholders(buf), r.args) << r.id << " " << r.name;
  }
}

TEST_F(ResLibrary, QuotedTextsByteForByte) {
  // A few texts checked against GBK bytes written out by hand, independent of the table.
  struct Case {
    UINT id;
    const char* gbk;
  };
  const Case cases[] = {
      {29931, "\xCB\xCE\xCC\xE5"},         // 宋体
      {29932, "\xBF\xAC\xCC\xE5_GB2312"},  // 楷体_GB2312
      {29933, "\xB9\xD8\xD3\xDA%s"},       // 关于%s
      {29936, "936"},
      {29937, "\xC9\xE8\xD6\xC3"},      // 设置
      {29706, "\xC8\xA1\xCF\xFB(&C)"},  // 取消(&C)
      {3036, "\xBA\xCF\xBC\xC6"},       // 合计
      {29900, "\xB4\xED\xCE\xF3\n\n\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xB1\xBB\xB7\xFE\xCE\xF1\xC6\xF7\xB8\xB4\xCE\xBB"},
      {9007, "\xC1\xC1\xC5\xC6\xB4\xF2."},  // 亮牌打.
      {29999, "2.1.1.6"},
  };
  for (const auto& c : cases) {
    char buf[256] = {};
    LoadStringA(s_module, c.id, buf, sizeof buf);
    EXPECT_STREQ(buf, c.gbk) << c.id;
  }
}

TEST_F(ResLibrary, EveryWaveIsPcm) {
  for (UINT id : NamesOf(s_module, "WAVE")) {
    HRSRC info = FindResourceA(s_module, MAKEINTRESOURCEA(id), "WAVE");
    ASSERT_NE(info, nullptr) << id;
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(s_module, info)));
    DWORD size = SizeofResource(s_module, info);
    ASSERT_GE(size, 44u) << id;
    ASSERT_EQ(std::memcmp(p, "RIFF", 4), 0) << id;
    DWORD riff;
    std::memcpy(&riff, p + 4, 4);
    EXPECT_EQ(riff + 8, size) << id;
    ASSERT_EQ(std::memcmp(p + 8, "WAVE", 4), 0) << id;
    bool fmt = false, data = false;
    for (DWORD off = 12; off + 8 <= size;) {
      DWORD len;
      std::memcpy(&len, p + off + 4, 4);
      ASSERT_LE(len, size - off - 8) << id;
      if (std::memcmp(p + off, "fmt ", 4) == 0) {
        // The sound player reads 18 bytes of the format.
        ASSERT_GE(len, 18u) << id;
        WAVEFORMATEX wf = {};
        std::memcpy(&wf, p + off + 8, 18);
        EXPECT_EQ(wf.cbSize, 0) << id;
        EXPECT_EQ(wf.wFormatTag, WAVE_FORMAT_PCM) << id;
        EXPECT_EQ(wf.nChannels, 1) << id;
        EXPECT_EQ(wf.wBitsPerSample, 16) << id;
        EXPECT_EQ(wf.nBlockAlign, 2) << id;
        EXPECT_EQ(wf.nAvgBytesPerSec, wf.nSamplesPerSec * 2) << id;
        fmt = true;
      } else if (std::memcmp(p + off, "data", 4) == 0) {
        EXPECT_GT(len, 0u) << id;
        EXPECT_LE(len, 22050u * 2 * 2) << id << ": sounds are short";
        data = true;
      }
      off += 8 + len + (len & 1);
    }
    EXPECT_TRUE(fmt && data) << id;
  }
}

TEST_F(ResLibrary, VersionBlock) {
  char path[MAX_PATH];
  GetModuleFileNameA(s_module, path, MAX_PATH);
  DWORD handle = 0, size = GetFileVersionInfoSizeA(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&fixed, &len));
  EXPECT_EQ(fixed->dwFileType, (DWORD)VFT_DLL);
  EXPECT_EQ(fixed->dwFileVersionMS, (DWORD)((VESK_VER_MAJOR << 16) | VESK_VER_MINOR));
  EXPECT_EQ(fixed->dwFileVersionLS, (DWORD)((VESK_VER_BUILD << 16) | VESK_VER_FIX));
  struct {
    WORD lang, cp;
  }* tr = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&tr, &len));
  EXPECT_EQ(tr->lang, 2052);
  EXPECT_EQ(tr->cp, 936);
  auto value = [&](const char* key) {
    char q[128];
    std::snprintf(q, sizeof q, "\\StringFileInfo\\%04x%04x\\%s", tr->lang, tr->cp, key);
    char* v = nullptr;
    UINT n = 0;
    return VerQueryValueA(block.data(), q, (void**)&v, &n) && v ? std::string(v) : std::string("(none)");
  };
  EXPECT_EQ(value("InternalName"), "Vesk_936_Resource");
  EXPECT_EQ(value("OriginalFilename"), "Vesk_Res_936.dll");
  EXPECT_EQ(value("FileVersion"), "2.21.6.9");
  EXPECT_NE(value("ProductName"), "(none)");
}

TEST_F(ResLibrary, MenuAcceleratorsIconsCursor) {
  HMENU menu = LoadMenuA(s_module, MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(menu, nullptr);
  char text[64];
  GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, Utf8ToAnsi("文件(&F)").c_str());
  GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, Utf8ToAnsi("帮助(&H)").c_str());
  GetMenuStringA(menu, ID_APP_EXIT, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, Utf8ToAnsi("退出(&X)").c_str());
  GetMenuStringA(menu, ID_APP_ABOUT, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, Utf8ToAnsi("关于 Vesk(&A)...").c_str());
  DestroyMenu(menu);
  EXPECT_NE(LoadAcceleratorsA(s_module, MAKEINTRESOURCEA(IDR_MAINFRAME)), nullptr);

  for (UINT id : {128, 209, 29801, 29846, 29847, 29894}) {
    HICON icon = (HICON)LoadImageA(s_module, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0);
    EXPECT_NE(icon, nullptr) << id;
    if (icon) DestroyIcon(icon);
  }

  HRSRC info = FindResourceA(s_module, MAKEINTRESOURCEA(IDC_HANDCURSOR), "HANDCURSOR");
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(SizeofResource(s_module, info), 256u);
  const BYTE* planes = static_cast<const BYTE*>(LockResource(LoadResource(s_module, info)));
  // The hot spot (6, 0) is on the finger tip: not transparent in the AND plane.
  EXPECT_EQ(planes[128 + 0] & (0x80 >> 6), 0);
  HCURSOR cursor = CreateCursor(GetModuleHandleA(nullptr), 6, 0, 32, 32, planes + 128, planes);
  EXPECT_NE(cursor, nullptr);
  if (cursor) DestroyCursor(cursor);
}

TEST_F(ResLibrary, ChatModeListInDialogInitData) {
  const char* modes[] = {"谁都能说话，谁都能看见", "禁止游戏者说话", "游戏者和旁观者都能说话，但互不干扰",
                         "游戏者和旁观者都能说话，但游戏者看不到旁观者的话"};
  for (UINT dlg : {186u, 207u}) {
    HRSRC info = FindResourceA(s_module, MAKEINTRESOURCEA(dlg), MAKEINTRESOURCEA(240));
    ASSERT_NE(info, nullptr);
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(s_module, info)));
    const BYTE* end = p + SizeofResource(s_module, info);
    std::vector<std::string> items;
    while (p + 8 <= end) {
      WORD id, msg;
      DWORD len;
      std::memcpy(&id, p, 2);
      if (!id) break;
      std::memcpy(&msg, p + 2, 2);
      std::memcpy(&len, p + 4, 4);
      ASSERT_LE(len, (DWORD)(end - p - 8));
      EXPECT_EQ(id, IDC_CHATMODE);
      EXPECT_EQ(msg, 0x0403);  // combo box item, in the 16-bit numbering the framework reads
      items.emplace_back(reinterpret_cast<const char*>(p + 8));
      p += 8 + len;
    }
    ASSERT_EQ(items.size(), 4u) << dlg;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(items[i], Utf8ToAnsi(modes[i])) << dlg << " item " << i;
  }
}

// ---- dialogs --------------------------------------------------------------------

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

struct DialogControls {
  UINT id;
  std::vector<int> controls;
};

TEST_F(ResLibrary, EveryDialogCanBeCreatedWithItsControls) {
  const std::vector<DialogControls> dialogs = {
      {102, {}},
      {131, {}},
      {142, {1020, 1033, 1008, 1012, 1036, 1026, 1027, 1018, 1019, 1007, 1029,
             1070, 1071, 1072, 1073, 1006, 1016, 1009, 1038, 1030, 1057}},
      {148, {1017, 1004, 1003, 1028, 1152}},
      {155, {1008, 1024, 1020, 1021, 1023, 1022, 1014, 1048, 1025, 1026, 1027,
             1049, 1028, 1050, 1044, 1,    2,    1015, 1016, 1017, 1036}},
      {164, {1}},  // the score list is created by the dialog itself
      {186, {1068, 1001, 1004, 1066, 1069, 1, 2}},
      {207, {1068, 1001, 1004, 1066, 1069, 1}},
      {208, {1042, 1043, 1041}},
      {212, {}},
      {215, {}},
      {300, {1037, 1007}},
      {301, {302, 1036, 1008, 1009}},
      {29663, {}},
      {29721, {}},
      {29723, {}},
      {29733, {29812, 29811, 29813, 29714, 29715, 29716, 29852, 29853}},
      {29734, {29804, 29802, 29803}},
      {29735, {1, 29753, 29750}},
      {29800, {29804, 29802, 29803}},
      {29810, {29812, 29811, 29813, 29714, 29715, 29716, 29852, 29853}},
      {29820, {}},
      {29821, {}},
      {29890, {}},
      {29891, {29891, 29892, 29893, 1}},
  };
  HWND host =
      CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  for (const auto& d : dialogs) {
    HWND dlg = CreateDialogParamA(s_module, MAKEINTRESOURCEA(d.id), host, PlainProc, 0);
    ASSERT_NE(dlg, nullptr) << "dialog " << d.id << " error " << GetLastError();
    for (int c : d.controls) EXPECT_NE(GetDlgItem(dlg, c), nullptr) << "dialog " << d.id << " control " << c;
    DestroyWindow(dlg);
  }
  DestroyWindow(host);
}

TEST_F(ResLibrary, DialogPicturesForReview) {
  CreateDirectoryA("shots", nullptr);
  struct Shot {
    UINT id;
    const wchar_t* file;
  };
  for (const auto& s : {Shot{148, L"shots\\dialog_148_exit.png"}, Shot{155, L"shots\\dialog_155_setup.png"},
                        Shot{29810, L"shots\\dialog_29810_msgbox.png"}, Shot{29735, L"shots\\dialog_29735_tips.png"}}) {
    HWND dlg = CreateDialogParamA(s_module, MAKEINTRESOURCEA(s.id), nullptr, PlainProc, 0);
    ASSERT_NE(dlg, nullptr);
    if (s.id == 29810) {
      SetDlgItemTextA(dlg, IDC_MSG_TEXT, Utf8ToAnsi("数据发送或接收超时，是否需要继续等待？").c_str());
      SendDlgItemMessageA(dlg, IDC_MSG_ICON, STM_SETICON,
                          (WPARAM)LoadIconA(s_module, MAKEINTRESOURCEA(IDI_MSG_QUESTION)), 0);
      char yes[32], no[32];
      LoadStringA(s_module, 29704, yes, sizeof yes);
      LoadStringA(s_module, 29705, no, sizeof no);
      SetDlgItemTextA(dlg, IDC_MSG_BTN1, yes);
      SetDlgItemTextA(dlg, IDC_MSG_BTN2, no);
      ShowWindow(GetDlgItem(dlg, IDC_MSG_BTN1), SW_SHOW);
      ShowWindow(GetDlgItem(dlg, IDC_MSG_BTN2), SW_SHOW);
      ShowWindow(GetDlgItem(dlg, IDC_MSG_EDIT), SW_HIDE);
      ShowWindow(GetDlgItem(dlg, IDC_MSG_PASSWORD), SW_HIDE);
      SetDlgItemTextA(dlg, IDC_MSG_COUNTDOWN, "10");
    }
    SetWindowPos(dlg, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    HBITMAP shot = CaptureFromScreen(dlg);
    EXPECT_TRUE(winprobe::SaveBitmapPng(shot, s.file)) << s.id;
    DeleteObject(shot);
    DestroyWindow(dlg);
  }

  // The bitmaps, drawn one under the other on a grey sheet.
  IdSet ids = NamesOf(s_module, RT_BITMAP);
  HDC screen = GetDC(nullptr);
  HDC sheet = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 640, 1100);
  HGDIOBJ oldCanvas = SelectObject(sheet, canvas);
  RECT all = {0, 0, 640, 1100};
  HBRUSH grey = CreateSolidBrush(RGB(80, 80, 80));
  FillRect(sheet, &all, grey);
  DeleteObject(grey);
  HDC src = CreateCompatibleDC(screen);
  int x = 4, y = 4, rowH = 0;
  for (UINT id : ids) {
    HBITMAP bmp = LoadBitmapA(s_module, MAKEINTRESOURCEA(id));
    ASSERT_NE(bmp, nullptr) << id;
    BITMAP bm;
    GetObjectA(bmp, sizeof bm, &bm);
    EXPECT_GT(bm.bmWidth, 0) << id;
    if (x + bm.bmWidth > 636) {
      x = 4;
      y += rowH + 4;
      rowH = 0;
    }
    HGDIOBJ old = SelectObject(src, bmp);
    BitBlt(sheet, x, y, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteObject(bmp);
    x += bm.bmWidth + 4;
    rowH = std::max(rowH, (int)bm.bmHeight);
  }
  SelectObject(sheet, oldCanvas);
  EXPECT_TRUE(winprobe::SaveBitmapPng(canvas, L"shots\\bitmaps.png"));
  DeleteObject(canvas);
  DeleteDC(src);
  DeleteDC(sheet);
  ReleaseDC(nullptr, screen);
}

}  // namespace
