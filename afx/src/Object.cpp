// Object model, exceptions, files and time.
#include <afx.h>

#include <io.h>
#include <cstring>
#include <mutex>
#include <vector>

namespace {
std::vector<CRuntimeClass*>& ClassList() {
  static std::vector<CRuntimeClass*> list;
  return list;
}
std::mutex& ClassListLock() {
  static std::mutex m;
  return m;
}
}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr};
static AFX_CLASSINIT afxInit_CObject(RUNTIME_CLASS(CObject));

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
  std::lock_guard<std::mutex> lock(ClassListLock());
  ClassList().push_back(pNewClass);
}

CObject* CRuntimeClass::CreateObject() {
  if (m_pfnCreateObject == nullptr) return nullptr;
  try {
    return (*m_pfnCreateObject)();
  } catch (CException* e) {
    e->Delete();
    return nullptr;
  } catch (...) {
    return nullptr;
  }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass)
    if (p == pBaseClass) return TRUE;
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  std::lock_guard<std::mutex> lock(ClassListLock());
  for (CRuntimeClass* p : ClassList())
    if (strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  CRuntimeClass* p = FromName(lpszClassName);
  return p ? p->CreateObject() : nullptr;
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
  return (pObject != nullptr && pObject->IsKindOf(pClass)) ? pObject : nullptr;
}

///////////////////////////////////////////////////////////////////////////////
// Exceptions

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

CException::CException() : m_bAutoDelete(TRUE) {}
CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

void CException::Delete() {
  if (m_bAutoDelete > 0) delete this;
}

static BOOL CopyMessage(LPSTR lpszError, UINT nMaxError, LPCSTR text) {
  if (!lpszError || nMaxError == 0) return FALSE;
  lstrcpynA(lpszError, text, (int)nMaxError);
  return TRUE;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError) *lpszError = '\0';
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) {
  char szMessage[512];
  CString text;
  if (GetErrorMessage(szMessage, sizeof(szMessage)))
    text = szMessage;
  else if (nMessageID)
    text.LoadString(nMessageID);
  if (text.IsEmpty()) text = "An unsupported operation was attempted.";
  return ::MessageBoxA(::GetActiveWindow(), text, nullptr, nType);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(lpszError, nMaxError, "Out of memory.");
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(lpszError, nMaxError, "A required resource was unavailable.");
}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  CString s;
  s.Format("File error %d (system error %ld) on '%s'.", m_cause, (long)m_lOsError, (LPCSTR)m_strFileName);
  return CopyMessage(lpszError, nMaxError, s);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case NO_ERROR:
      return none;
    case ERROR_FILE_NOT_FOUND:
      return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
      return accessDenied;
    case ERROR_INVALID_HANDLE:
      return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
      return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
      return badSeek;
    case ERROR_SHARING_VIOLATION:
      return sharingViolation;
    case ERROR_LOCK_VIOLATION:
      return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF:
      return endOfFile;
    default:
      return generic;
  }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void AFXAPI AfxThrowMemoryException() {
  // Preallocated: there may be no memory left to make a new one.
  static CMemoryException s_memoryException(FALSE);
  throw &s_memoryException;
}
void AFXAPI AfxThrowResourceException() { throw new CResourceException(); }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException(); }
void AFXAPI AfxThrowUserException() { throw new CUserException(); }
void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException(); }
void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}
void AFXAPI AfxThrowArchiveException(int cause, LPCSTR) { throw new CArchiveException(cause); }
void AFXAPI AfxAbort() { ::ExitProcess(3); }

///////////////////////////////////////////////////////////////////////////////
// CFile

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}
CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}
CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {
  CFileException* e = new CFileException;
  if (!Open(lpszFileName, nOpenFlags, e)) throw e;
  e->Delete();
}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) {
    ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
  }
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != INVALID_HANDLE_VALUE) Close();
  m_strFileName = lpszFileName;
  DWORD dwAccess = 0;
  switch (nOpenFlags & 3) {
    case modeRead:
      dwAccess = GENERIC_READ;
      break;
    case modeWrite:
      dwAccess = GENERIC_WRITE;
      break;
    default:
      dwAccess = GENERIC_READ | GENERIC_WRITE;
      break;
  }
  DWORD dwShare = 0;
  switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
      dwShare = 0;
      break;
    case shareDenyWrite:
      dwShare = FILE_SHARE_READ;
      break;
    case shareDenyRead:
      dwShare = FILE_SHARE_WRITE;
      break;
    default:
      dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
      break;
  }
  DWORD dwCreate;
  if (nOpenFlags & modeCreate)
    dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  else
    dwCreate = OPEN_EXISTING;
  HANDLE h = ::CreateFileA(lpszFileName, dwAccess, dwShare, nullptr, dwCreate, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (pError) {
      DWORD err = ::GetLastError();
      pError->m_lOsError = (LONG)err;
      pError->m_cause = CFileException::OsErrorToException((LONG)err);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD dwRead = 0;
  if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr))
    CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
  return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD dwWritten = 0;
  if (!::WriteFile(m_hFile, lpBuf, nCount, &dwWritten, nullptr))
    CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
  if (dwWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER li, out;
  li.QuadPart = lOff;
  if (!::SetFilePointerEx(m_hFile, li, &out, nFrom))
    CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
  return (ULONGLONG)out.QuadPart;
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER li, out;
  li.QuadPart = 0;
  if (!::SetFilePointerEx(m_hFile, li, &out, FILE_CURRENT))
    CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
  return (ULONGLONG)out.QuadPart;
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER li;
  if (!::GetFileSizeEx(m_hFile, &li)) CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
  return (ULONGLONG)li.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek((LONGLONG)dwNewLen, begin);
  if (!::SetEndOfFile(m_hFile)) CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::Flush() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::FlushFileBuffers(m_hFile);
}

void CFile::Close() {
  BOOL bError = FALSE;
  if (m_hFile != INVALID_HANDLE_VALUE) bError = !::CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  if (bError) CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::Abort() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
}

CString CFile::GetFilePath() const { return m_strFileName; }

CString CFile::GetFileName() const {
  int n = m_strFileName.ReverseFind('\\');
  int m = m_strFileName.ReverseFind('/');
  if (m > n) n = m;
  return m_strFileName.Mid(n + 1);
}

void PASCAL CFile::Remove(LPCSTR lpszFileName) {
  if (!::DeleteFileA(lpszFileName)) CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

void PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
  if (!::MoveFileA(lpszOldName, lpszNewName)) CFileException::ThrowOsError((LONG)::GetLastError(), lpszOldName);
}

CStdioFile::CStdioFile() : m_pStream(nullptr) {}
CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_pStream(nullptr) {
  CFileException* e = new CFileException;
  if (!Open(lpszFileName, nOpenFlags, e)) throw e;
  e->Delete();
}
CStdioFile::~CStdioFile() {
  if (m_pStream && m_bCloseOnDelete) fclose(m_pStream);
  m_pStream = nullptr;
  m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_pStream) Close();
  m_strFileName = lpszFileName;
  char mode[4] = {0};
  int i = 0;
  if (nOpenFlags & modeCreate) {
    if (nOpenFlags & modeNoTruncate)
      mode[i++] = 'a';
    else
      mode[i++] = 'w';
  } else if (nOpenFlags & modeWrite) {
    mode[i++] = 'a';
  } else {
    mode[i++] = 'r';
  }
  if ((nOpenFlags & modeReadWrite) || ((nOpenFlags & modeCreate) && (nOpenFlags & modeRead))) mode[i++] = '+';
  mode[i++] = (nOpenFlags & typeBinary) ? 'b' : 't';
  m_pStream = fopen(lpszFileName, mode);
  if (!m_pStream) {
    if (pError) {
      pError->m_lOsError = (LONG)::GetLastError();
      pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
      if (pError->m_cause == CFileException::none) pError->m_cause = CFileException::fileNotFound;
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = (HANDLE)_get_osfhandle(_fileno(m_pStream));
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  size_t n = fread(lpBuf, 1, nCount, m_pStream);
  if (n == 0 && ferror(m_pStream)) {
    clearerr(m_pStream);
    AfxThrowFileException(CFileException::generic, -1, m_strFileName);
  }
  return (UINT)n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount) AfxThrowFileException(CFileException::generic, -1, m_strFileName);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  int origin = nFrom == begin ? SEEK_SET : (nFrom == current ? SEEK_CUR : SEEK_END);
  if (_fseeki64(m_pStream, lOff, origin) != 0) AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  return (ULONGLONG)_ftelli64(m_pStream);
}

ULONGLONG CStdioFile::GetPosition() const { return (ULONGLONG)_ftelli64(m_pStream); }

ULONGLONG CStdioFile::GetLength() const {
  long long pos = _ftelli64(m_pStream);
  _fseeki64(m_pStream, 0, SEEK_END);
  long long len = _ftelli64(m_pStream);
  _fseeki64(m_pStream, pos, SEEK_SET);
  return (ULONGLONG)len;
}

void CStdioFile::Flush() {
  if (m_pStream) fflush(m_pStream);
}

void CStdioFile::Close() {
  int nErr = 0;
  if (m_pStream) nErr = fclose(m_pStream);
  m_pStream = nullptr;
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  if (nErr != 0) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CStdioFile::Abort() {
  if (m_pStream && m_bCloseOnDelete) fclose(m_pStream);
  m_pStream = nullptr;
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
}

BOOL CStdioFile::ReadString(CString& rString) {
  rString.Empty();
  if (!m_pStream) return FALSE;
  char buf[256];
  BOOL bAny = FALSE;
  while (fgets(buf, sizeof(buf), m_pStream)) {
    bAny = TRUE;
    size_t n = strlen(buf);
    bool bEol = n > 0 && buf[n - 1] == '\n';
    if (bEol) buf[--n] = '\0';
    if (n > 0 && buf[n - 1] == '\r') buf[--n] = '\0';
    rString += buf;
    if (bEol) break;
  }
  return bAny;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax) {
  if (!m_pStream || !lpsz || nMax == 0) return nullptr;
  return fgets(lpsz, (int)nMax, m_pStream);
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  if (fputs(lpsz, m_pStream) == EOF) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

///////////////////////////////////////////////////////////////////////////////
// CTime

CTime PASCAL CTime::GetCurrentTime() { return CTime(::time(nullptr)); }

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  struct tm t = {};
  t.tm_year = nYear - 1900;
  t.tm_mon = nMonth - 1;
  t.tm_mday = nDay;
  t.tm_hour = nHour;
  t.tm_min = nMin;
  t.tm_sec = nSec;
  t.tm_isdst = nDST;
  m_time = mktime(&t);
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST) {}

CTime::CTime(const FILETIME& ft, int nDST) {
  FILETIME local;
  SYSTEMTIME st;
  m_time = 0;
  if (::FileTimeToLocalFileTime(&ft, &local) && ::FileTimeToSystemTime(&local, &st)) *this = CTime(st, nDST);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  if (!ptm) return nullptr;
  time_t t = m_time;
  if (localtime_s(ptm, &t) != 0) return nullptr;
  return ptm;
}

static struct tm LocalTm(time_t t) {
  struct tm r = {};
  localtime_s(&r, &t);
  return r;
}

int CTime::GetYear() const { return LocalTm(m_time).tm_year + 1900; }
int CTime::GetMonth() const { return LocalTm(m_time).tm_mon + 1; }
int CTime::GetDay() const { return LocalTm(m_time).tm_mday; }
int CTime::GetHour() const { return LocalTm(m_time).tm_hour; }
int CTime::GetMinute() const { return LocalTm(m_time).tm_min; }
int CTime::GetSecond() const { return LocalTm(m_time).tm_sec; }
int CTime::GetDayOfWeek() const { return LocalTm(m_time).tm_wday + 1; }

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
  struct tm t = LocalTm(m_time);
  st.wYear = (WORD)(t.tm_year + 1900);
  st.wMonth = (WORD)(t.tm_mon + 1);
  st.wDayOfWeek = (WORD)t.tm_wday;
  st.wDay = (WORD)t.tm_mday;
  st.wHour = (WORD)t.tm_hour;
  st.wMinute = (WORD)t.tm_min;
  st.wSecond = (WORD)t.tm_sec;
  st.wMilliseconds = 0;
  return TRUE;
}

static CString FormatTm(const struct tm& t, LPCSTR pFormat) {
  if (!pFormat || !*pFormat) return CString();
  char buf[512];
  size_t n = strftime(buf, sizeof(buf), pFormat, &t);
  return CString(buf, (int)n);
}

CString CTime::Format(LPCSTR pFormat) const { return FormatTm(LocalTm(m_time), pFormat); }

CString CTime::FormatGmt(LPCSTR pFormat) const {
  struct tm t = {};
  time_t tt = m_time;
  gmtime_s(&t, &tt);
  return FormatTm(t, pFormat);
}
