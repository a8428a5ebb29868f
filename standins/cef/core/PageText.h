// The stand-in browser runtime's plain page model: address parsing, data and
// file addresses, and HTML reduced to a title, text lines and links.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vcef {

struct UrlParts {
  bool valid = false;  // has a scheme
  std::string scheme;  // lower case
  std::string host;    // for scheme://host/...; lower case
  std::string rest;    // everything after the scheme's ':'
};
UrlParts SplitUrl(const std::string& url);

// %XX sequences decoded; malformed ones kept as they stand.
std::string PercentDecode(const std::string& text);

// data:[mime][;charset=..][;base64],payload. False for a malformed address.
bool DecodeDataUrl(const std::string& url, std::string* mime, std::string* body);

// file:///C:/dir/a.htm or file://localhost/C:/... to C:\dir\a.htm. False when there is no local path.
bool FileUrlToPath(const std::string& url, std::string* path);

// A short title taken from the address: the host of a web address, the file name of a file.
std::string TitleFromUrl(const std::string& url);

// A link's address made absolute against the page's address ("/x", "x", "?q", "#f", "//host/x").
// An address that cannot be resolved (the page is a data address) is returned as it stands.
std::string ResolveUrl(const std::string& base, const std::string& href);

// Whether a body is to be read as HTML (by mime type, else by a leading '<').
bool IsHtml(const std::string& mime, const std::string& body);

// The encoding a page's bytes are read in: the charset named by the reply's type
// ("text/html; charset=utf-8"), else by the page's own <meta charset=..> or
// <meta http-equiv=Content-Type content="..; charset=..">, else GBK, the pages' usual one.
// GB2312, GBK and GB18030 are read as GBK; other names are passed over.
enum class PageCharset { kGbk, kUtf8 };
PageCharset CharsetOf(const std::string& contentType, const std::string& body);

// The type without its parameters, lower case ("text/html; charset=x" gives "text/html").
std::string BareMime(const std::string& contentType);

struct PageLink {
  std::string href;
  std::string target;
  std::string text;
};

struct PageText {
  std::string title;  // empty when the page has none
  std::string text;   // lines separated by '\n', blanks collapsed
  std::vector<PageLink> links;
};

// Reduces HTML to its plain text. At most maxText bytes of text and 64 links are kept.
PageText HtmlToText(const std::string& html, size_t maxText = 64 * 1024);

}  // namespace vcef
