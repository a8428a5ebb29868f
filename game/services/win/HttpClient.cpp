#include "HttpClient.h"

#include <cstdio>
#include <vector>

#include "ServicesCore.h"

namespace {

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  int wn = ::MultiByteToWideChar(from, 0, text.data(), int(text.size()), nullptr, 0);
  if (wn <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(wn));
  ::MultiByteToWideChar(from, 0, text.data(), int(text.size()), wide.data(), wn);
  int n = ::WideCharToMultiByte(to, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  ::WideCharToMultiByte(to, 0, wide.data(), wn, &out[0], n, nullptr, nullptr);
  return out;
}

// The status code of the raw headers' first line ("HTTP/1.1 404 Not Found"), 0 when unreadable.
int StatusOf(const std::string& headers) {
  size_t sp = headers.find(' ');
  if (sp == std::string::npos) return 0;
  return atoi(headers.c_str() + sp + 1);
}

}  // namespace

std::string AnsiToUtf8(const std::string& ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }
std::string Utf8ToAnsi(const std::string& utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

BOOL CHttpClient::SplitUrl(LPCSTR lpszUrl, std::string* pHost, std::string* pPage, int* pPort) {
  return ::SplitUrl(lpszUrl ? lpszUrl : "", pHost, pPage, pPort) ? TRUE : FALSE;
}

BOOL CHttpClient::Request(LPCSTR lpszUrl, BOOL bPost, LPCSTR lpszHeaders, LPCSTR lpszBody, std::string* pReply) {
  Close();
  m_strHeaders.clear();
  try {
    if (!SplitUrl(lpszUrl, &m_strHost, &m_strPage, &m_nPort)) throw HTTP_ERR_SETUP;
    printf("lpUrl:%s,\nstrHostName:%s,\nstrPageName:%s,\nport:%d\n", lpszUrl, m_strHost.c_str(), m_strPage.c_str(),
           m_nPort);
    fflush(stdout);
    m_hSession = ::InternetOpenA("Http-connect", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!m_hSession) throw HTTP_ERR_OPEN;
    m_hConnect = ::InternetConnectA(m_hSession, m_strHost.c_str(), INTERNET_PORT(m_nPort), nullptr, nullptr,
                                    INTERNET_SERVICE_HTTP, 0, 0);
    if (!m_hConnect) throw HTTP_ERR_CONNECT;
    m_hRequest = ::HttpOpenRequestA(m_hConnect, bPost ? "POST" : "GET", m_strPage.c_str(), "HTTP/1.1", nullptr, nullptr,
                                    INTERNET_FLAG_RELOAD, 0);
    if (!m_hRequest) throw HTTP_ERR_OPEN;
    DWORD headerLen = lpszHeaders ? DWORD(strlen(lpszHeaders)) : 0;
    DWORD bodyLen = (bPost && lpszBody) ? DWORD(strlen(lpszBody)) : 0;
    if (!::HttpSendRequestA(m_hRequest, headerLen ? lpszHeaders : nullptr, headerLen,
                            bodyLen ? const_cast<LPSTR>(lpszBody) : nullptr, bodyLen))
      throw HTTP_ERR_SEND;
    char headers[4096];
    DWORD size = sizeof headers - 1;
    if (!::HttpQueryInfoA(m_hRequest, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &size, nullptr)) throw HTTP_ERR_HEADERS;
    m_strHeaders.assign(headers, size < sizeof headers ? size : sizeof headers - 1);
    // Only the status decides: "404" inside another header (a length, a date) is no failure.
    int status = StatusOf(m_strHeaders);
    if (status == 404 || status < 200 || status > 299) throw HTTP_ERR_NOT_FOUND;
    std::string body;
    char piece[4096];
    for (;;) {
      DWORD got = 0;
      if (!::InternetReadFile(m_hRequest, piece, sizeof piece, &got) || got == 0) break;
      body.append(piece, got);
      if (body.size() > kMaxReply) throw HTTP_ERR_TOO_LARGE;
    }
    if (pReply) *pReply = Utf8ToAnsi(body);
    m_nLastError = HTTP_ERR_NONE;
    return TRUE;
  } catch (HttpInterfaceError e) {
    m_nLastError = e;
    return FALSE;
  }
}

void CHttpClient::Close() {
  if (m_hRequest) ::InternetCloseHandle(m_hRequest);
  if (m_hConnect) ::InternetCloseHandle(m_hConnect);
  if (m_hSession) ::InternetCloseHandle(m_hSession);
  m_hRequest = m_hConnect = m_hSession = nullptr;
}
