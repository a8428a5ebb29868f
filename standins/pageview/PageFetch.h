// Page bodies for the stand-in browsers: a local file or a web page through WinINet, each
// bounded to its first megabyte, a web page also to what arrives within its time.
#pragma once
#include <windows.h>

#include <string>

namespace vcef {

struct Fetched {
  int code = 0;  // a runtime error code (ERR_...), 0 when the body is there
  bool needsProtocolHandler = false;
  std::string mime;     // without parameters
  std::string charset;  // the reply's "charset=" parameter, as sent ("" when none)
  std::string body;
};

// The type a local file is read as, from its extension ("" when unknown).
std::string MimeFromPath(const std::string& path);

// ERR_FILE_NOT_FOUND or ERR_ACCESS_DENIED when the file cannot be read.
Fetched ReadLocalFile(const std::string& path);

// Status 200 gives the body and its type; false otherwise (or when nothing answers in 5 s).
// A page still arriving after kFetchMillis, or past its first megabyte, is cut there: a page
// that never ends shows what came.
constexpr DWORD kFetchMillis = 10000;
bool FetchHttp(const std::string& url, Fetched* out);

// The content type to hand to MakePlainPage: the type with the reply's charset.
std::string ContentType(const Fetched& f);

// Text of the stand-ins' own (addresses, notes): UTF-8 when it is valid UTF-8, else GBK.
std::wstring ToWide(const std::string& text);
// Page text in the encoding the page was read in.
std::wstring ToWide(const std::string& text, bool utf8);

}  // namespace vcef
