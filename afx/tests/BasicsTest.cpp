// CString (byte strings in code page 936), collections, exceptions, files, time.
#include <afxwin.h>
#include <afxtempl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// "嘰" is 0x87 0x5C in GBK: its trail byte is a backslash.
const char kTrail5C[] = "\x87\x5C";

TEST(CStringTest, SearchesSkipTrailBytes) {
  CString path = CString("C:\\dir\\") + kTrail5C + "x";
  EXPECT_EQ(path.ReverseFind('\\'), 6);  // the trail byte of the last character is no separator
  CString name = kTrail5C;
  EXPECT_EQ(name.Find('\\'), -1);
  EXPECT_EQ(name.ReverseFind('\\'), -1);
  CString repl = name;
  EXPECT_EQ(repl.Replace('\\', '/'), 0);
  EXPECT_EQ(repl, name);
  CString trimmed = CString(kTrail5C);
  trimmed.TrimRight('\\');
  EXPECT_EQ(trimmed.GetLength(), 2);
  CString lower =
      "AB\x87\x5C"
      "CD";
  lower.MakeLower();
  EXPECT_EQ(lower,
            "ab\x87\x5C"
            "cd");
  CString reversed =
      "a\xC8\xB7"
      "b";
  reversed.MakeReverse();
  EXPECT_EQ(reversed,
            "b\xC8\xB7"
            "a");
}

TEST(CStringTest, EditingAndComparing) {
  struct Case {
    const char* src;
    const char* expectLeft2;
    const char* expectMid1;
    const char* expectRight2;
  } cases[] = {{"abcdef", "ab", "bcdef", "ef"}, {"a", "a", "", "a"}, {"", "", "", ""}};
  for (const Case& c : cases) {
    CString s(c.src);
    EXPECT_STREQ(s.Left(2), c.expectLeft2) << c.src;
    EXPECT_STREQ(s.Mid(1), c.expectMid1) << c.src;
    EXPECT_STREQ(s.Right(2), c.expectRight2) << c.src;
    EXPECT_STREQ(s.Mid(-3, 100), c.src);  // out-of-range arguments are clamped
  }
  CString t = "  \t hello world \r\n";
  t.TrimLeft();
  t.TrimRight();
  EXPECT_STREQ(t, "hello world");
  EXPECT_EQ(t.Replace("o", "0"), 2);
  EXPECT_STREQ(t, "hell0 w0rld");
  EXPECT_EQ(t.Find("w0"), 6);
  EXPECT_EQ(t.Find('l', 4), 9);
  EXPECT_EQ(t.CompareNoCase("HELL0 W0RLD"), 0);
  EXPECT_LT(CString("abc").Compare("abd"), 0);
  t.Insert(0, "[");
  t += ']';
  EXPECT_STREQ(t, "[hell0 w0rld]");
  t.Delete(1, 5);
  EXPECT_STREQ(t, "[ w0rld]");
  EXPECT_EQ(t.Remove('0'), 1);
  EXPECT_STREQ(t.SpanExcluding(" "), "[");
}

TEST(CStringTest, FormatAndBuffers) {
  CString s;
  s.Format("%s-%d-%05.1f", "ab", -7, 3.25);
  EXPECT_STREQ(s, "ab--7-003.2");
  std::string big(5000, 'x');
  s.Format("%s!", big.c_str());
  EXPECT_EQ(s.GetLength(), 5001);
  s.AppendFormat("%c", 'y');
  EXPECT_EQ(s.Right(2), "!y");

  CString b;
  char* p = b.GetBuffer(10);
  strcpy(p, "12345");
  b.ReleaseBuffer();
  EXPECT_EQ(b.GetLength(), 5);
  p = b.GetBuffer(3);
  p[1] = 'X';
  b.ReleaseBuffer(3);
  EXPECT_STREQ(b, "1X3");
  b.GetBufferSetLength(1);
  EXPECT_STREQ(b, "1");

  BSTR bstr = CString(
                  "\xC8\xB7\xB6\xA8"
                  "A")
                  .AllocSysString();
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 3u);
  EXPECT_EQ(bstr[0], 0x786E);  // 确
  EXPECT_EQ(bstr[2], L'A');
  SysFreeString(bstr);
  EXPECT_STREQ(CString(L"\x786E\x5B9A"), "\xC8\xB7\xB6\xA8");
}

TEST(CollectionsTest, ArrayGrowsAndShifts) {
  CArray<int, int> a;
  a.SetSize(0, 16);
  for (int i = 0; i < 100; i++) a.Add(i);
  EXPECT_EQ(a.GetSize(), 100);
  a.InsertAt(0, -1, 2);
  EXPECT_EQ(a[0], -1);
  EXPECT_EQ(a[2], 0);
  a.RemoveAt(0, 3);
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a.GetUpperBound(), 98);
  a.SetAtGrow(150, 7);
  EXPECT_EQ(a.GetSize(), 151);
  EXPECT_EQ(a[149], 0);
  EXPECT_THROW(a.GetAt(151), CInvalidArgException*);
  try {
    a.RemoveAt(140, 20);
    ADD_FAILURE();
  } catch (CException* e) {
    e->Delete();
  }

  CArray<CString, const CString&> strings;
  strings.Add("one");
  strings.Add(strings[0]);  // adding an element of the array itself while it grows
  strings.Add("three");
  EXPECT_STREQ(strings[1], "one");
  CStringArray sa;
  sa.Add("x");
  EXPECT_STREQ(sa[0], "x");
  CDWordArray dw;
  dw.SetSize(3, 10);
  EXPECT_EQ(dw[2], 0u);
  CPtrArray pa;
  pa.Add(&dw);
  EXPECT_EQ(pa[0], &dw);
}

TEST(CollectionsTest, ListAndMap) {
  CList<int, int> list;
  for (int i = 0; i < 5; i++) list.AddTail(i);
  list.AddHead(-1);
  POSITION pos = list.Find(2);
  ASSERT_NE(pos, nullptr);
  list.InsertAfter(pos, 20);
  list.RemoveAt(list.Find(0));
  std::string seen;
  for (POSITION p = list.GetHeadPosition(); p;) seen += std::to_string(list.GetNext(p)) + ",";
  EXPECT_EQ(seen, "-1,1,2,20,3,4,");
  EXPECT_EQ(list.RemoveHead(), -1);
  EXPECT_EQ(list.RemoveTail(), 4);
  EXPECT_EQ(list.GetCount(), 4);

  CPtrList plist(10);
  plist.AddTail(&list);
  EXPECT_EQ(plist.GetHead(), &list);

  CMap<CString, LPCSTR, int, int> map;
  map.InitHashTable(31);
  EXPECT_EQ(map.GetHashTableSize(), 31u);
  map.SetAt("alpha", 1);
  map["beta"] = 2;
  map.SetAt("alpha", 3);
  int v = 0;
  EXPECT_TRUE(map.Lookup("alpha", v));
  EXPECT_EQ(v, 3);
  EXPECT_FALSE(map.Lookup("gamma", v));
  EXPECT_EQ(map.GetCount(), 2);
  int total = 0, n = 0;
  for (POSITION p = map.GetStartPosition(); p;) {
    CString key;
    int value;
    map.GetNextAssoc(p, key, value);
    total += value;
    n++;
  }
  EXPECT_EQ(n, 2);
  EXPECT_EQ(total, 5);
  EXPECT_TRUE(map.RemoveKey("beta"));
  EXPECT_FALSE(map.RemoveKey("beta"));

  CMap<UINT, UINT, void*, void*> byId;
  for (UINT i = 0; i < 1000; i++) byId[i * 7] = (void*)(UINT_PTR)(i + 1);
  void* p = nullptr;
  EXPECT_TRUE(byId.Lookup(7 * 999, p));
  EXPECT_EQ((UINT_PTR)p, 1000u);
}

struct Item {
  int n;
};

TEST(CollectionsTest, TypedPointerWrappersAndStringKeys) {
  Item a{1}, b{2};
  CTypedPtrArray<CPtrArray, Item*> arr;
  arr.Add(&a);
  arr.Add(&b);
  EXPECT_EQ(arr[1]->n, 2);
  CTypedPtrList<CPtrList, Item*> list;
  list.AddTail(&a);
  list.AddHead(&b);
  EXPECT_EQ(list.GetHead()->n, 2);
  POSITION pos = list.GetHeadPosition();
  list.GetNext(pos);
  EXPECT_EQ(list.GetNext(pos)->n, 1);
  CTypedPtrMap<CMapStringToPtr, CString, Item*> byName;
  byName.SetAt("a", &a);
  Item* found = nullptr;
  EXPECT_TRUE(byName.Lookup("a", found));
  EXPECT_EQ(found, &a);
  CMap<CString, CString&, int, int> counts;
  CString key = "k";
  counts[key] = 4;
  int v = 0;
  EXPECT_TRUE(counts.Lookup(key, v));
  EXPECT_EQ(v, 4);
  CMapStringToString names;
  names.SetAt("x", "\xC8\xB7");
  CString out;
  EXPECT_TRUE(names.Lookup("x", out));
  EXPECT_STREQ(out, "\xC8\xB7");
  CStringList strings;
  strings.AddTail("one");
  EXPECT_NE(strings.Find("one"), nullptr);
}

TEST(ExceptionsTest, ThrownAsPointersAndDeleted) {
  try {
    AfxThrowMemoryException();
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();  // the shared instance survives Delete
  }
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* e) {
    char msg[64];
    EXPECT_TRUE(e->GetErrorMessage(msg, sizeof(msg)));
    e->Delete();
  }
  try {
    AfxThrowResourceException();
  } catch (CResourceException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CSimpleException)));
    EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
  }
  CFileException fe;
  CFile f;
  EXPECT_FALSE(f.Open("Z:\\no\\such\\dir\\file.bin", CFile::modeRead, &fe));
  EXPECT_TRUE(fe.m_cause == CFileException::badPath || fe.m_cause == CFileException::fileNotFound);
  try {
    CFile g("no_such_file.bin", CFile::modeRead);
    ADD_FAILURE();
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    e->Delete();
  }
}

TEST(FilesTest, StdioLinesAndBinaryRoundTrip) {
  {
    CStdioFile out;
    ASSERT_TRUE(out.Open("afx_lines.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeText));
    out.WriteString("first\n\xC8\xB7\xB6\xA8\n");
    out.WriteString("last");
  }
  CStdioFile in("afx_lines.txt", CFile::modeRead | CFile::typeText);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_STREQ(line, "first");
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_STREQ(line, "\xC8\xB7\xB6\xA8");
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_STREQ(line, "last");
  EXPECT_FALSE(in.ReadString(line));
  in.Close();

  CFile bin("afx_bin.dat", CFile::modeCreate | CFile::modeReadWrite);
  BYTE data[5] = {1, 2, 3, 0, 5};
  bin.Write(data, sizeof(data));
  EXPECT_EQ(bin.GetLength(), 5u);
  bin.SeekToBegin();
  BYTE back[8] = {};
  EXPECT_EQ(bin.Read(back, sizeof(back)), 5u);
  EXPECT_EQ(memcmp(back, data, 5), 0);
  EXPECT_EQ(bin.GetFileName(), "afx_bin.dat");
}

TEST(TimeTest, FormatsLocalTime) {
  CTime t(2024, 3, 9, 7, 5, 2);
  EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-03-09 07:05:02");
  EXPECT_EQ(t.GetDayOfWeek(), 7);  // Saturday
  CTime later = t + CTimeSpan(1, 2, 3, 4);
  EXPECT_EQ((later - t).GetTotalSeconds(), 93784);
  EXPECT_STREQ(CTime().Format(""), "");
}

class CDynThing : public CObject {
  DECLARE_DYNCREATE(CDynThing)
 public:
  int value = 42;
};
IMPLEMENT_DYNCREATE(CDynThing, CObject)

TEST(RuntimeClassTest, CreatesAndNamesClasses) {
  CObject* p = RUNTIME_CLASS(CDynThing)->CreateObject();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_STREQ(p->GetRuntimeClass()->m_lpszClassName, "CDynThing");
  EXPECT_EQ(static_cast<CDynThing*>(p)->value, 42);
  delete p;
  EXPECT_EQ(CRuntimeClass::FromName("CDynThing"), RUNTIME_CLASS(CDynThing));
  CObject* pWnd = RUNTIME_CLASS(CWnd)->CreateObject();
  EXPECT_NE(pWnd, nullptr);
  delete pWnd;
  EXPECT_EQ(RUNTIME_CLASS(CDialog)->CreateObject(), nullptr);  // not creatable
  CWnd w;
  EXPECT_STREQ(w.GetRuntimeClass()->m_lpszClassName, "CWnd");
  EXPECT_EQ(DYNAMIC_DOWNCAST(CDialog, &w), nullptr);
}

}  // namespace
