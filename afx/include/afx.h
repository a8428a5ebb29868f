// Core of our MFC-style class library: object model, CString, exceptions, files, time.
// ANSI/MBCS build: TCHAR is char, texts are GBK on a code page 936 system.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>
#include <tchar.h>
#include <oleauto.h>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <ctime>

#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef AFX_DATA
#define AFX_DATA
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#ifndef AFX_MSG_CALL
#define AFX_MSG_CALL
#endif
#ifndef afx_msg
#define afx_msg
#endif

#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)0)
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#define TRACE0(s) ((void)0)
#define TRACE1(s, a) ((void)0)
#define TRACE2(s, a, b) ((void)0)
#define DEBUG_NEW new
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))
#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

class CObject;
class CArchive;
class CDumpContext;
class CString;

///////////////////////////////////////////////////////////////////////////////
// Run-time class information

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CObject* (*m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;

  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // Looks a class up by name among the classes declared in this program.
  static CRuntimeClass* FromName(LPCSTR lpszClassName);
  static CObject* CreateObject(LPCSTR lpszClassName);
};

// Registers a run-time class in the process-wide list (used by FromName).
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)             \
 public:                                        \
  static const CRuntimeClass class##class_name; \
  virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define _IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                       \
  const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class class_name), wSchema, pfnNew, \
                                                       RUNTIME_CLASS(base_class_name)};                             \
  static AFX_CLASSINIT afxInit_##class_name(RUNTIME_CLASS(class_name));                                             \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  _IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)         \
  CObject* class_name::CreateObject() { return new class_name; } \
  _IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)   \
  CObject* class_name::CreateObject() { return new class_name; } \
  _IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

#define DYNAMIC_DOWNCAST(class_name, object) \
  ((class_name*)AfxDynamicDownCast(RUNTIME_CLASS(class_name), (CObject*)(object)))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

class CObject {
 public:
  static const CRuntimeClass classCObject;
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}
  virtual void Dump(CDumpContext&) const {}

 protected:
  CObject() = default;

 private:
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

///////////////////////////////////////////////////////////////////////////////
// CString: a counted, zero-terminated byte string (MBCS). The object holds one
// pointer to the characters, preceded in memory by a small header.

struct CStringData {
  long nRefs;  // kept for layout; every CString owns its buffer
  int nDataLength;
  int nAllocLength;
  char* data() { return reinterpret_cast<char*>(this + 1); }
};

class CString {
 public:
  CString();
  CString(const CString& stringSrc);
  CString(CString&& stringSrc) noexcept;
  CString(char ch, int nRepeat = 1);
  CString(LPCSTR lpsz);  // a MAKEINTRESOURCE value loads that string id
  CString(LPCSTR lpch, int nLength);
  CString(LPCWSTR lpsz);  // converted with the ANSI code page
  CString(const unsigned char* psz);
  ~CString();

  int GetLength() const { return GetData()->nDataLength; }
  BOOL IsEmpty() const { return GetLength() == 0; }
  void Empty();
  char GetAt(int nIndex) const { return m_pchData[nIndex]; }
  char operator[](int nIndex) const { return m_pchData[nIndex]; }
  void SetAt(int nIndex, char ch);
  operator LPCSTR() const { return m_pchData; }

  const CString& operator=(const CString& stringSrc);
  const CString& operator=(CString&& stringSrc) noexcept;
  const CString& operator=(char ch);
  const CString& operator=(LPCSTR lpsz);
  const CString& operator=(LPCWSTR lpsz);
  const CString& operator=(const unsigned char* psz);

  const CString& operator+=(const CString& string);
  const CString& operator+=(char ch);
  const CString& operator+=(LPCSTR lpsz);

  friend CString AFXAPI operator+(const CString& string1, const CString& string2);
  friend CString AFXAPI operator+(const CString& string, char ch);
  friend CString AFXAPI operator+(char ch, const CString& string);
  friend CString AFXAPI operator+(const CString& string, LPCSTR lpsz);
  friend CString AFXAPI operator+(LPCSTR lpsz, const CString& string);

  int Compare(LPCSTR lpsz) const;
  int CompareNoCase(LPCSTR lpsz) const;
  int Collate(LPCSTR lpsz) const;
  int CollateNoCase(LPCSTR lpsz) const;

  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCSTR lpszCharSet) const;
  CString SpanExcluding(LPCSTR lpszCharSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  int Remove(char chRemove);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  void TrimRight();
  void TrimRight(char chTarget);
  void TrimRight(LPCSTR lpszTargets);
  void TrimLeft();
  void TrimLeft(char chTarget);
  void TrimLeft(LPCSTR lpszTargets);
  CString& Trim() {
    TrimRight();
    TrimLeft();
    return *this;
  }

  // Searches skip the trail bytes of double-byte characters.
  int Find(char ch) const;
  int Find(char ch, int nStart) const;
  int Find(LPCSTR lpszSub) const;
  int Find(LPCSTR lpszSub, int nStart) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR lpszCharSet) const;

  // Checked like printf: a CString argument must be cast to LPCSTR (a CString passed
  // through "..." arrives as the address of a copy).
  void AFX_CDECL Format(LPCSTR lpszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));
  void AFX_CDECL Format(UINT nFormatID, ...);
  void AFX_CDECL AppendFormat(LPCSTR lpszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));
  void FormatV(LPCSTR lpszFormat, va_list argList);

  BOOL LoadString(UINT nID);
  BSTR AllocSysString() const;
  BSTR SetSysString(BSTR* pbstr) const;

  LPSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  LPSTR LockBuffer() { return m_pchData; }
  void UnlockBuffer() {}

 protected:
  LPSTR m_pchData;

  CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
  void Init();
  void AllocBuffer(int nLen);
  void Release();
  void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
  void ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData);
  void EnsureCapacity(int nLen);
};

bool AFXAPI operator==(const CString& s1, const CString& s2);
bool AFXAPI operator==(const CString& s1, LPCSTR s2);
bool AFXAPI operator==(LPCSTR s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, LPCSTR s2);
bool AFXAPI operator!=(LPCSTR s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, LPCSTR s2);
bool AFXAPI operator>(const CString& s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, const CString& s2);

// True when c starts a double-byte character in the ANSI code page.
BOOL AFXAPI AfxIsLeadByte(unsigned char c);

///////////////////////////////////////////////////////////////////////////////
// Exceptions (thrown as pointers, released with Delete())

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException();
  explicit CException(BOOL bAutoDelete);
  void Delete();
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr);
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

 protected:
  BOOL m_bAutoDelete;
};

class CSimpleException : public CException {
  DECLARE_DYNAMIC(CSimpleException)
 public:
  CSimpleException() = default;
  explicit CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete) {}
};

class CMemoryException : public CSimpleException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() = default;
  explicit CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CResourceException : public CSimpleException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  CResourceException() = default;
  explicit CResourceException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CNotSupportedException : public CSimpleException {
  DECLARE_DYNAMIC(CNotSupportedException)
};

class CUserException : public CSimpleException {
  DECLARE_DYNAMIC(CUserException)
};

class CInvalidArgException : public CSimpleException {
  DECLARE_DYNAMIC(CInvalidArgException)
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };
  explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszArchiveName = nullptr);
  BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
  static int PASCAL OsErrorToException(LONG lOsError);
  static void PASCAL ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  explicit CArchiveException(int cause = 0) : m_cause(cause) {}
  int m_cause;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);
void AFXAPI AfxAbort();

#define TRY try
#define CATCH(class_name, e) catch (class_name * e)
#define AND_CATCH(class_name, e) catch (class_name * e)
#define END_CATCH
#define CATCH_ALL(e) catch (CException * e)
#define AND_CATCH_ALL(e) catch (CException * e)
#define END_CATCH_ALL
#define THROW(e) throw e
#define THROW_LAST() throw

///////////////////////////////////////////////////////////////////////////////
// CFile, CStdioFile

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = (int)0x8000
  };
  enum Attribute {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
  static const HANDLE hFileNull;

  CFile();
  explicit CFile(HANDLE hFile);
  CFile(LPCSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;

  HANDLE m_hFile;
  operator HANDLE() const { return m_hFile; }

  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  void SeekToBegin() { Seek(0, begin); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual void Flush();
  virtual void Close();
  virtual void Abort();
  virtual CString GetFilePath() const;
  virtual CString GetFileName() const;
  static void PASCAL Remove(LPCSTR lpszFileName);
  static void PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);

 protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
  ~CStdioFile() override;

  FILE* m_pStream;

  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override;
  ULONGLONG GetLength() const override;
  void Flush() override;
  void Close() override;
  void Abort() override;
  // Reads one line without its line end; FALSE at end of file.
  virtual BOOL ReadString(CString& rString);
  virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
  virtual void WriteString(LPCSTR lpsz);
};

///////////////////////////////////////////////////////////////////////////////
// CTime, CTimeSpan

class CTimeSpan {
 public:
  CTimeSpan() : m_timeSpan(0) {}
  CTimeSpan(time_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
      : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24 * (time_t)lDays))) {}
  LONGLONG GetDays() const { return m_timeSpan / (24 * 3600); }
  LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
  int GetHours() const { return (int)(GetTotalHours() - GetDays() * 24); }
  LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
  int GetMinutes() const { return (int)(GetTotalMinutes() - GetTotalHours() * 60); }
  LONGLONG GetTotalSeconds() const { return m_timeSpan; }
  int GetSeconds() const { return (int)(GetTotalSeconds() - GetTotalMinutes() * 60); }
  time_t GetTimeSpan() const { return m_timeSpan; }
  CTimeSpan operator-(CTimeSpan t) const { return CTimeSpan(m_timeSpan - t.m_timeSpan); }
  CTimeSpan operator+(CTimeSpan t) const { return CTimeSpan(m_timeSpan + t.m_timeSpan); }
  bool operator==(CTimeSpan t) const { return m_timeSpan == t.m_timeSpan; }
  bool operator<(CTimeSpan t) const { return m_timeSpan < t.m_timeSpan; }
  bool operator>(CTimeSpan t) const { return m_timeSpan > t.m_timeSpan; }

 private:
  time_t m_timeSpan;
};

class CTime {
 public:
  static CTime PASCAL GetCurrentTime();
  CTime() : m_time(0) {}
  CTime(time_t time) : m_time(time) {}
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(const SYSTEMTIME& st, int nDST = -1);
  CTime(const FILETIME& ft, int nDST = -1);

  time_t GetTime() const { return m_time; }
  struct tm* GetLocalTm(struct tm* ptm) const;
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  BOOL GetAsSystemTime(SYSTEMTIME& st) const;
  // strftime-style format in local time.
  CString Format(LPCSTR pFormat) const;
  CString FormatGmt(LPCSTR pFormat) const;

  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
  CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
  bool operator==(CTime t) const { return m_time == t.m_time; }
  bool operator!=(CTime t) const { return m_time != t.m_time; }
  bool operator<(CTime t) const { return m_time < t.m_time; }
  bool operator>(CTime t) const { return m_time > t.m_time; }
  bool operator<=(CTime t) const { return m_time <= t.m_time; }
  bool operator>=(CTime t) const { return m_time >= t.m_time; }

 private:
  time_t m_time;
};

// Minimal archive type for Serialize signatures; the program stores nothing through it.
class CArchive {
 public:
  enum Mode { store = 0, load = 1 };
  BOOL IsStoring() const { return FALSE; }
  BOOL IsLoading() const { return TRUE; }
};

// Resource-module access shared by CString and the window classes.
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// Loads a string into a buffer from the resource module; returns its length (0 when absent).
int AFXAPI AfxLoadString(UINT nIDS, LPSTR lpszBuf, UINT nMaxBuf = 256);
