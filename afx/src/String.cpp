// CString: byte strings in the ANSI code page; searches respect double-byte characters.
#include <afx.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// The shared empty string: never written to, never freed.
struct EmptyString {
  CStringData data{-1, 0, 0};
  char nul = 0;
} g_empty;

CStringData* EmptyData() { return &g_empty.data; }
}  // namespace

BOOL AFXAPI AfxIsLeadByte(unsigned char c) { return c >= 0x80 && ::IsDBCSLeadByte(c); }

void CString::Init() { m_pchData = EmptyData()->data(); }

CString::CString() { Init(); }

CString::CString(const CString& stringSrc) {
  Init();
  AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
}

CString::CString(CString&& stringSrc) noexcept {
  m_pchData = stringSrc.m_pchData;
  stringSrc.Init();
}

CString::CString(char ch, int nRepeat) {
  Init();
  if (nRepeat >= 1) {
    AllocBuffer(nRepeat);
    memset(m_pchData, ch, nRepeat);
  }
}

CString::CString(LPCSTR lpsz) {
  Init();
  if (lpsz != nullptr && HIWORD((ULONG_PTR)lpsz) == 0 && ((ULONG_PTR)lpsz >> 16) == 0) {
    LoadString(LOWORD((ULONG_PTR)lpsz));
  } else if (lpsz != nullptr) {
    AssignCopy((int)strlen(lpsz), lpsz);
  }
}

CString::CString(LPCSTR lpch, int nLength) {
  Init();
  if (lpch != nullptr && nLength > 0) AssignCopy(nLength, lpch);
}

CString::CString(LPCWSTR lpsz) {
  Init();
  *this = lpsz;
}

CString::CString(const unsigned char* psz) {
  Init();
  *this = reinterpret_cast<LPCSTR>(psz);
}

CString::~CString() { Release(); }

void CString::Release() {
  if (GetData() != EmptyData()) free(GetData());
  Init();
}

void CString::AllocBuffer(int nLen) {
  // Replaces the buffer with one of nLen characters (contents undefined, terminated).
  if (nLen < 0) AfxThrowInvalidArgException();
  if (nLen == 0) {
    Release();
    return;
  }
  if ((size_t)nLen > (size_t)INT_MAX - sizeof(CStringData) - 1) AfxThrowMemoryException();
  CStringData* pData = static_cast<CStringData*>(malloc(sizeof(CStringData) + nLen + 1));
  if (!pData) AfxThrowMemoryException();
  pData->nRefs = 1;
  pData->nDataLength = nLen;
  pData->nAllocLength = nLen;
  pData->data()[nLen] = '\0';
  Release();
  m_pchData = pData->data();
}

void CString::EnsureCapacity(int nLen) {
  // Keeps the contents; grows the buffer to hold nLen characters.
  CStringData* pOld = GetData();
  if (pOld != EmptyData() && pOld->nAllocLength >= nLen) return;
  int nAlloc = nLen;
  if (pOld != EmptyData() && nAlloc < pOld->nAllocLength * 2 && pOld->nAllocLength < INT_MAX / 4)
    nAlloc = pOld->nAllocLength * 2;
  if (nAlloc < 16) nAlloc = 16;
  CStringData* pData = static_cast<CStringData*>(malloc(sizeof(CStringData) + nAlloc + 1));
  if (!pData) AfxThrowMemoryException();
  pData->nRefs = 1;
  pData->nDataLength = pOld->nDataLength;
  pData->nAllocLength = nAlloc;
  memcpy(pData->data(), m_pchData, pOld->nDataLength + 1);
  if (pOld != EmptyData()) free(pOld);
  m_pchData = pData->data();
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData) {
  if (nSrcLen <= 0) {
    Empty();
    return;
  }
  if (GetData() != EmptyData() && GetData()->nAllocLength >= nSrcLen &&
      !(lpszSrcData >= m_pchData && lpszSrcData <= m_pchData + GetData()->nAllocLength)) {
    memcpy(m_pchData, lpszSrcData, nSrcLen);
    GetData()->nDataLength = nSrcLen;
    m_pchData[nSrcLen] = '\0';
    return;
  }
  CString tmp;
  tmp.AllocBuffer(nSrcLen);
  memcpy(tmp.m_pchData, lpszSrcData, nSrcLen);
  std::swap(m_pchData, tmp.m_pchData);
}

void CString::ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData) {
  if (nSrcLen <= 0) return;
  int nOld = GetLength();
  if (nSrcLen > INT_MAX / 2 - nOld) AfxThrowMemoryException();
  // The source may point into this string's own buffer.
  std::string keep(lpszSrcData, nSrcLen);
  EnsureCapacity(nOld + nSrcLen);
  memcpy(m_pchData + nOld, keep.data(), nSrcLen);
  GetData()->nDataLength = nOld + nSrcLen;
  m_pchData[nOld + nSrcLen] = '\0';
}

void CString::Empty() { Release(); }

void CString::SetAt(int nIndex, char ch) {
  if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
  m_pchData[nIndex] = ch;
}

const CString& CString::operator=(const CString& stringSrc) {
  if (this != &stringSrc) AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  return *this;
}

const CString& CString::operator=(CString&& stringSrc) noexcept {
  if (this != &stringSrc) {
    Release();
    m_pchData = stringSrc.m_pchData;
    stringSrc.Init();
  }
  return *this;
}

const CString& CString::operator=(char ch) {
  AssignCopy(1, &ch);
  return *this;
}

const CString& CString::operator=(LPCSTR lpsz) {
  AssignCopy(lpsz ? (int)strlen(lpsz) : 0, lpsz);
  return *this;
}

const CString& CString::operator=(LPCWSTR lpsz) {
  if (!lpsz || !*lpsz) {
    Empty();
    return *this;
  }
  int n = ::WideCharToMultiByte(CP_ACP, 0, lpsz, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) {
    Empty();
    return *this;
  }
  CString tmp;
  tmp.AllocBuffer(n - 1);
  ::WideCharToMultiByte(CP_ACP, 0, lpsz, -1, tmp.m_pchData, n, nullptr, nullptr);
  tmp.m_pchData[n - 1] = '\0';
  std::swap(m_pchData, tmp.m_pchData);
  return *this;
}

const CString& CString::operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCSTR>(psz); }

const CString& CString::operator+=(const CString& string) {
  ConcatInPlace(string.GetLength(), string.m_pchData);
  return *this;
}
const CString& CString::operator+=(char ch) {
  ConcatInPlace(1, &ch);
  return *this;
}
const CString& CString::operator+=(LPCSTR lpsz) {
  if (lpsz) ConcatInPlace((int)strlen(lpsz), lpsz);
  return *this;
}

CString AFXAPI operator+(const CString& string1, const CString& string2) {
  CString s(string1);
  s += string2;
  return s;
}
CString AFXAPI operator+(const CString& string, char ch) {
  CString s(string);
  s += ch;
  return s;
}
CString AFXAPI operator+(char ch, const CString& string) {
  CString s(ch);
  s += string;
  return s;
}
CString AFXAPI operator+(const CString& string, LPCSTR lpsz) {
  CString s(string);
  s += lpsz;
  return s;
}
CString AFXAPI operator+(LPCSTR lpsz, const CString& string) {
  CString s(lpsz);
  s += string;
  return s;
}

int CString::Compare(LPCSTR lpsz) const { return strcmp(m_pchData, lpsz ? lpsz : ""); }
int CString::CompareNoCase(LPCSTR lpsz) const { return ::lstrcmpiA(m_pchData, lpsz ? lpsz : ""); }
int CString::Collate(LPCSTR lpsz) const { return ::lstrcmpA(m_pchData, lpsz ? lpsz : ""); }
int CString::CollateNoCase(LPCSTR lpsz) const { return ::lstrcmpiA(m_pchData, lpsz ? lpsz : ""); }

bool AFXAPI operator==(const CString& s1, const CString& s2) {
  return s1.GetLength() == s2.GetLength() && memcmp((LPCSTR)s1, (LPCSTR)s2, s1.GetLength()) == 0;
}
bool AFXAPI operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool AFXAPI operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
bool AFXAPI operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  int nLen = GetLength();
  if (nFirst > nLen) nFirst = nLen;
  if (nCount > nLen - nFirst) nCount = nLen - nFirst;
  return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const {
  if (nCount < 0) nCount = 0;
  if (nCount > GetLength()) nCount = GetLength();
  return CString(m_pchData, nCount);
}

CString CString::Right(int nCount) const {
  if (nCount < 0) nCount = 0;
  int nLen = GetLength();
  if (nCount > nLen) nCount = nLen;
  return CString(m_pchData + nLen - nCount, nCount);
}

namespace {
// Length in bytes of the character starting at p.
inline int CharLen(LPCSTR p) { return (AfxIsLeadByte((unsigned char)*p) && p[1] != '\0') ? 2 : 1; }

// True when the (single- or double-byte) character at p is in the set.
bool InSet(LPCSTR p, int n, LPCSTR set) {
  for (LPCSTR s = set; *s; s += CharLen(s)) {
    int m = CharLen(s);
    if (m == n && memcmp(s, p, n) == 0) return true;
  }
  return false;
}
}  // namespace

CString CString::SpanIncluding(LPCSTR lpszCharSet) const {
  int i = 0;
  while (m_pchData[i]) {
    int n = CharLen(m_pchData + i);
    if (!InSet(m_pchData + i, n, lpszCharSet)) break;
    i += n;
  }
  return Left(i);
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const {
  int i = 0;
  while (m_pchData[i]) {
    int n = CharLen(m_pchData + i);
    if (InSet(m_pchData + i, n, lpszCharSet)) break;
    i += n;
  }
  return Left(i);
}

void CString::MakeUpper() {
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    if (n == 1 && m_pchData[i] >= 'a' && m_pchData[i] <= 'z') m_pchData[i] = (char)(m_pchData[i] - 'a' + 'A');
    i += n;
  }
}

void CString::MakeLower() {
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    if (n == 1 && m_pchData[i] >= 'A' && m_pchData[i] <= 'Z') m_pchData[i] = (char)(m_pchData[i] - 'A' + 'a');
    i += n;
  }
}

void CString::MakeReverse() {
  // Reverses characters, keeping each double-byte pair in order.
  std::string out;
  out.reserve(GetLength());
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    out.insert(0, m_pchData + i, n);
    i += n;
  }
  memcpy(m_pchData, out.data(), out.size());
}

int CString::Replace(char chOld, char chNew) {
  int nCount = 0;
  if (chOld == chNew) return 0;
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    if (n == 1 && m_pchData[i] == chOld) {
      m_pchData[i] = chNew;
      nCount++;
    }
    i += n;
  }
  return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  int nOldLen = lpszOld ? (int)strlen(lpszOld) : 0;
  if (nOldLen == 0) return 0;
  int nNewLen = lpszNew ? (int)strlen(lpszNew) : 0;
  std::string out;
  int nCount = 0;
  int i = 0, nLen = GetLength();
  while (i < nLen) {
    if (i + nOldLen <= nLen && memcmp(m_pchData + i, lpszOld, nOldLen) == 0) {
      out.append(lpszNew ? lpszNew : "", nNewLen);
      i += nOldLen;
      nCount++;
    } else {
      int n = CharLen(m_pchData + i);
      out.append(m_pchData + i, n);
      i += n;
    }
  }
  if (nCount) AssignCopy((int)out.size(), out.data());
  return nCount;
}

int CString::Remove(char chRemove) {
  int nLen = GetLength(), j = 0;
  for (int i = 0; i < nLen;) {
    int n = CharLen(m_pchData + i);
    if (!(n == 1 && m_pchData[i] == chRemove)) {
      memmove(m_pchData + j, m_pchData + i, n);
      j += n;
    }
    i += n;
  }
  int nRemoved = nLen - j;
  if (GetData() != EmptyData()) {
    m_pchData[j] = '\0';
    GetData()->nDataLength = j;
  }
  return nRemoved;
}

int CString::Insert(int nIndex, char ch) {
  char buf[2] = {ch, 0};
  if (ch == 0) return GetLength();
  return Insert(nIndex, buf);
}

int CString::Insert(int nIndex, LPCSTR pstr) {
  if (nIndex < 0) nIndex = 0;
  if (nIndex > GetLength()) nIndex = GetLength();
  int nIns = pstr ? (int)strlen(pstr) : 0;
  if (nIns > 0) {
    std::string s(m_pchData, GetLength());
    s.insert(nIndex, pstr, nIns);
    AssignCopy((int)s.size(), s.data());
  }
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  if (nIndex < 0) nIndex = 0;
  int nLen = GetLength();
  if (nCount > 0 && nIndex < nLen) {
    if (nCount > nLen - nIndex) nCount = nLen - nIndex;
    memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, nLen - nIndex - nCount + 1);
    GetData()->nDataLength = nLen - nCount;
  }
  return GetLength();
}

void CString::TrimRight() { TrimRight(" \t\r\n\v\f"); }
void CString::TrimRight(char chTarget) {
  char set[2] = {chTarget, 0};
  TrimRight(set);
}
void CString::TrimRight(LPCSTR lpszTargets) {
  // Walk forward so a trail byte is never mistaken for a single-byte character.
  int nKeep = 0;
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    if (!InSet(m_pchData + i, n, lpszTargets)) nKeep = i + n;
    i += n;
  }
  if (nKeep < GetLength()) {
    m_pchData[nKeep] = '\0';
    GetData()->nDataLength = nKeep;
  }
}

void CString::TrimLeft() { TrimLeft(" \t\r\n\v\f"); }
void CString::TrimLeft(char chTarget) {
  char set[2] = {chTarget, 0};
  TrimLeft(set);
}
void CString::TrimLeft(LPCSTR lpszTargets) {
  int i = 0;
  while (m_pchData[i]) {
    int n = CharLen(m_pchData + i);
    if (!InSet(m_pchData + i, n, lpszTargets)) break;
    i += n;
  }
  if (i > 0) Delete(0, i);
}

int CString::Find(char ch) const { return Find(ch, 0); }

int CString::Find(char ch, int nStart) const {
  int nLen = GetLength();
  if (nStart < 0) nStart = 0;
  // Start counting characters from the beginning so nStart need not be on a lead byte boundary check.
  for (int i = 0; i < nLen;) {
    int n = CharLen(m_pchData + i);
    if (i >= nStart && n == 1 && m_pchData[i] == ch) return i;
    i += n;
  }
  return -1;
}

int CString::Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCSTR lpszSub, int nStart) const {
  if (!lpszSub) return -1;
  int nLen = GetLength();
  int nSub = (int)strlen(lpszSub);
  if (nStart < 0) nStart = 0;
  if (nStart > nLen) return -1;
  for (int i = 0; i + nSub <= nLen;) {
    if (i >= nStart && memcmp(m_pchData + i, lpszSub, nSub) == 0) return i;
    i += CharLen(m_pchData + i);
  }
  return -1;
}

int CString::ReverseFind(char ch) const {
  int nFound = -1;
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    if (n == 1 && m_pchData[i] == ch) nFound = i;
    i += n;
  }
  return nFound;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
  for (int i = 0; m_pchData[i];) {
    int n = CharLen(m_pchData + i);
    if (InSet(m_pchData + i, n, lpszCharSet)) return i;
    i += n;
  }
  return -1;
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList) {
  if (!lpszFormat) {
    Empty();
    return;
  }
  va_list args2;
  va_copy(args2, argList);
  int n = vsnprintf(nullptr, 0, lpszFormat, args2);
  va_end(args2);
  if (n <= 0) {
    Empty();
    return;
  }
  CString tmp;
  tmp.AllocBuffer(n);
  vsnprintf(tmp.m_pchData, (size_t)n + 1, lpszFormat, argList);
  std::swap(m_pchData, tmp.m_pchData);
}

void AFX_CDECL CString::Format(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...) {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatV(strFormat, args);
  va_end(args);
}

void AFX_CDECL CString::AppendFormat(LPCSTR lpszFormat, ...) {
  CString s;
  va_list args;
  va_start(args, lpszFormat);
  s.FormatV(lpszFormat, args);
  va_end(args);
  *this += s;
}

BOOL CString::LoadString(UINT nID) {
  // Strings live in blocks of 16; the block length says how much room the text needs.
  HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA((nID >> 4) + 1), (LPCSTR)RT_STRING);
  if (!hInst) hInst = AfxGetResourceHandle();
  const WCHAR* pw = nullptr;
  int nw = ::LoadStringW(hInst, nID, (LPWSTR)&pw, 0);
  if (nw <= 0 || !pw) {
    Empty();
    return FALSE;
  }
  int n = ::WideCharToMultiByte(CP_ACP, 0, pw, nw, nullptr, 0, nullptr, nullptr);
  if (n <= 0) {
    Empty();
    return FALSE;
  }
  CString tmp;
  tmp.AllocBuffer(n);
  ::WideCharToMultiByte(CP_ACP, 0, pw, nw, tmp.m_pchData, n, nullptr, nullptr);
  std::swap(m_pchData, tmp.m_pchData);
  return TRUE;
}

int AFXAPI AfxLoadString(UINT nIDS, LPSTR lpszBuf, UINT nMaxBuf) {
  if (!lpszBuf || nMaxBuf == 0) return 0;
  CString s;
  s.LoadString(nIDS);
  UINT n = (UINT)s.GetLength();
  if (n >= nMaxBuf) {
    n = nMaxBuf - 1;
    // Do not cut a double-byte character in half.
    int last = -1;
    for (UINT i = 0; i < n;) {
      int c = CharLen((LPCSTR)s + i);
      if (i + c > n) {
        last = (int)i;
        break;
      }
      i += c;
    }
    if (last >= 0) n = (UINT)last;
  }
  memcpy(lpszBuf, (LPCSTR)s, n);
  lpszBuf[n] = '\0';
  return (int)n;
}

BSTR CString::AllocSysString() const {
  int n = ::MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), nullptr, 0);
  BSTR bstr = ::SysAllocStringLen(nullptr, n);
  if (!bstr) AfxThrowMemoryException();
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), bstr, n);
  return bstr;
}

BSTR CString::SetSysString(BSTR* pbstr) const {
  int n = ::MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), nullptr, 0);
  if (!::SysReAllocStringLen(pbstr, nullptr, n)) AfxThrowMemoryException();
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), *pbstr, n);
  return *pbstr;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength < 0) AfxThrowInvalidArgException();
  if (nMinBufLength == 0 && GetData() == EmptyData()) nMinBufLength = 1;  // callers may write the terminator
  EnsureCapacity(nMinBufLength > GetLength() ? nMinBufLength : GetLength());
  return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
  if (GetData() == EmptyData()) return;
  int nAlloc = GetData()->nAllocLength;
  if (nNewLength < 0) {
    // The caller's text is terminated somewhere inside the buffer (or at its end).
    nNewLength = (int)strnlen(m_pchData, nAlloc);
  }
  if (nNewLength > nAlloc) nNewLength = nAlloc;
  GetData()->nDataLength = nNewLength;
  m_pchData[nNewLength] = '\0';
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  GetBuffer(nNewLength);
  if (GetData() != EmptyData()) {
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
  }
  return m_pchData;
}

void CString::FreeExtra() {
  if (GetData() != EmptyData() && GetData()->nAllocLength > GetLength()) {
    CString tmp(m_pchData, GetLength());
    std::swap(m_pchData, tmp.m_pchData);
  }
}

UINT AFXAPI AfxHashString(LPCSTR key) {
  UINT nHash = 0;
  if (key)
    while (*key) nHash = (nHash << 5) + nHash + (unsigned char)*key++;
  return nHash;
}
