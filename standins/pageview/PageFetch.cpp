#include "PageFetch.h"

#include <wininet.h>

#include <algorithm>

#include "PageText.h"
#include "vcef/Vcef.h"

namespace vcef {
namespace {
constexpr DWORD kMaxFileBytes = 1024 * 1024;
}

std::wstring ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  UINT cp = CP_UTF8;
  int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) {
    cp = CP_ACP;
    n = MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  }
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::wstring ToWide(const std::string& text, bool utf8) {
  if (text.empty()) return std::wstring();
  const UINT cp = utf8 ? CP_UTF8 : 936;
  int n = MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string ContentType(const Fetched& f) { return f.charset.empty() ? f.mime : f.mime + "; charset=" + f.charset; }

std::string MimeFromPath(const std::string& path) {
  size_t dot = path.find_last_of('.');
  std::string ext = dot == std::string::npos ? std::string() : path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (ext == "htm" || ext == "html") return "text/html";
  if (ext == "txt" || ext == "ini" || ext == "log") return "text/plain";
  return std::string();
}

Fetched ReadLocalFile(const std::string& path) {
  Fetched f;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    f.code = GetLastError() == ERROR_ACCESS_DENIED ? ERR_ACCESS_DENIED : ERR_FILE_NOT_FOUND;
    return f;
  }
  f.body.resize(kMaxFileBytes);
  DWORD got = 0;
  BOOL ok = ReadFile(h, &f.body[0], kMaxFileBytes, &got, nullptr);
  CloseHandle(h);
  if (!ok) {
    f.code = ERR_ACCESS_DENIED;
    f.body.clear();
    return f;
  }
  f.body.resize(got);  // larger files show their first megabyte
  f.mime = MimeFromPath(path);
  return f;
}

bool FetchHttp(const std::string& url, Fetched* out) {
  HINTERNET net = InternetOpenA("vcef", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!net) return false;
  DWORD timeout = 5000;
  InternetSetOptionA(net, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
  InternetSetOptionA(net, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
  HINTERNET req = InternetOpenUrlA(net, url.c_str(), nullptr, 0,
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0);
  bool ok = false;
  if (req) {
    DWORD status = 0, len = sizeof status;
    HttpQueryInfoA(req, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &len, nullptr);
    char type[128] = "";
    DWORD typeLen = sizeof type - 1;
    if (!HttpQueryInfoA(req, HTTP_QUERY_CONTENT_TYPE, type, &typeLen, nullptr)) type[0] = 0;
    std::string body;
    char buf[8192];
    DWORD got = 0;
    const DWORD start = GetTickCount();
    // Only what has arrived is read, so that a page trickling in meets the time limit
    // between reads instead of waiting for a full buffer.
    DWORD ready = 0;
    while (body.size() < kMaxFileBytes && GetTickCount() - start < kFetchMillis &&
           InternetQueryDataAvailable(req, &ready, 0, 0) && ready > 0 &&
           InternetReadFile(req, buf, std::min<DWORD>(ready, sizeof buf), &got) && got > 0)
      body.append(buf, std::min<size_t>(got, kMaxFileBytes - body.size()));
    if (status == 200) {
      std::string mime = BareMime(type);
      out->mime = mime.empty() ? "text/html" : mime;
      std::string full = type;
      for (char& c : full) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
      const size_t at = full.find("charset=");
      if (at != std::string::npos) out->charset = full.substr(at + 8, full.find(';', at) - at - 8);
      out->body = body;
      ok = true;
    }
    InternetCloseHandle(req);
  }
  InternetCloseHandle(net);
  return ok;
}

}  // namespace vcef
