// Page bodies for the stand-in browsers: a local file or a web page through WinINet, each
// bounded to its first megabyte.
#pragma once
#include <windows.h>

#include <string>

namespace vcef {

struct Fetched {
  int code = 0;  // a runtime error code (ERR_...), 0 when the body is there
  bool needsProtocolHandler = false;
  std::string mime;
  std::string body;
};

// The type a local file is read as, from its extension ("" when unknown).
std::string MimeFromPath(const std::string& path);

// ERR_FILE_NOT_FOUND or ERR_ACCESS_DENIED when the file cannot be read.
Fetched ReadLocalFile(const std::string& path);

// Status 200 gives the body and its type; false otherwise (or when nothing answers in 5 s).
bool FetchHttp(const std::string& url, Fetched* out);

// Pages are mostly UTF-8; anything that is not is read in the system code page (GBK).
std::wstring ToWide(const std::string& text);

}  // namespace vcef
