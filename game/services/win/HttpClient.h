// A small WinINet client for one request at a time: the ranked-tier query and the chat view's
// panel request.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

// Why a request failed (the request routine catches it and reports failure).
enum HttpInterfaceError {
  HTTP_ERR_NONE = 0,
  HTTP_ERR_OPEN = 1,       // InternetOpenA or HttpOpenRequestA
  HTTP_ERR_CONNECT = 2,    // InternetConnectA
  HTTP_ERR_SEND = 3,       // HttpSendRequestA
  HTTP_ERR_HEADERS = 4,    // the response headers cannot be queried
  HTTP_ERR_NOT_FOUND = 5,  // the status line says 404 (or any other failure status)
  HTTP_ERR_TOO_LARGE = 6,  // the reply grew beyond the limit
  HTTP_ERR_SETUP = 14,     // the address cannot be split into host, page and port
};

class CHttpClient {
 public:
  CHttpClient() = default;
  ~CHttpClient() { Close(); }
  CHttpClient(const CHttpClient&) = delete;
  CHttpClient& operator=(const CHttpClient&) = delete;

  static BOOL SplitUrl(LPCSTR lpszUrl, std::string* pHost, std::string* pPage, int* pPort);
  // The reply body in the ANSI code page, or FALSE (GetLastHttpError tells why).
  BOOL Request(LPCSTR lpszUrl, BOOL bPost, LPCSTR lpszHeaders, LPCSTR lpszBody, std::string* pReply);
  void Close();
  int GetLastHttpError() const { return m_nLastError; }
  const std::string& GetRawHeaders() const { return m_strHeaders; }

  // A reply is a few kilobytes; a server that streams without end is cut off here.
  static const size_t kMaxReply = 1u << 20;

 private:
  HINTERNET m_hSession = nullptr;
  HINTERNET m_hConnect = nullptr;
  HINTERNET m_hRequest = nullptr;
  std::string m_strHost, m_strPage;
  int m_nPort = 80;
  int m_nLastError = 0;
  std::string m_strHeaders;
};

// Code-page conversions of the client's texts.
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);
