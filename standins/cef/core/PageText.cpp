#include "PageText.h"

#include <cctype>
#include <cstdint>

namespace vcef {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string LowerCopy(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+' || c == '-') return 62;
  if (c == '/' || c == '_') return 63;
  return -1;
}

bool DecodeBase64(const std::string& in, std::string* out) {
  uint32_t acc = 0;
  int bits = 0;
  size_t pad = 0;
  for (char c : in) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (c == '=') {
      ++pad;
      continue;
    }
    if (pad) return false;  // data after padding
    int v = Base64Value(c);
    if (v < 0) return false;
    acc = (acc << 6) | static_cast<uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out->push_back(static_cast<char>((acc >> bits) & 0xFF));
    }
  }
  return pad <= 2;
}

void AppendUtf8(uint32_t cp, std::string* out) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one entity starting at '&'; returns the bytes consumed (0: not an entity).
size_t DecodeEntity(const std::string& s, size_t at, std::string* out) {
  // Entities are short: look no further than that, so a page of bare '&' stays linear.
  size_t semi;
  size_t limit = at + 11 < s.size() ? at + 11 : s.size();
  for (semi = at + 1; semi < limit && s[semi] != ';'; ++semi) {
  }
  if (semi >= limit || semi == at + 1) return 0;
  std::string name = s.substr(at + 1, semi - at - 1);
  if (name[0] == '#') {
    uint32_t cp = 0;
    bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
    size_t i = hex ? 2 : 1;
    if (i >= name.size()) return 0;
    for (; i < name.size(); ++i) {
      int v = hex ? HexValue(name[i]) : (std::isdigit(static_cast<unsigned char>(name[i])) ? name[i] - '0' : -1);
      if (v < 0) return 0;
      cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(v);
      if (cp > 0x10FFFF) cp = 0x110000;  // stays out of range, no overflow
    }
    AppendUtf8(cp, out);
    return semi - at + 1;
  }
  static const struct {
    const char* name;
    const char* text;
  } kNamed[] = {{"amp", "&"},  {"lt", "<"},   {"gt", ">"},         {"quot", "\""},
                {"apos", "'"}, {"nbsp", " "}, {"copy", "\xC2\xA9"}};
  for (const auto& e : kNamed) {
    if (name == e.name) {
      *out += e.text;
      return semi - at + 1;
    }
  }
  return 0;
}

std::string DecodeEntities(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '&') {
      size_t used = DecodeEntity(s, i, &out);
      if (used) {
        i += used;
        continue;
      }
    }
    out.push_back(s[i++]);
  }
  return out;
}

// Appends text with runs of blanks collapsed, as a browser lays out normal text.
void AppendCollapsed(const std::string& text, std::string* out, size_t maxText) {
  for (char c : text) {
    if (out->size() >= maxText) return;
    bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
    if (blank) {
      if (out->empty() || out->back() == ' ' || out->back() == '\n') continue;
      out->push_back(' ');
    } else {
      out->push_back(c);
    }
  }
}

void NewLine(std::string* out, size_t maxText) {
  while (!out->empty() && out->back() == ' ') out->pop_back();
  if (out->size() >= maxText) return;
  if (!out->empty() && out->back() != '\n') out->push_back('\n');
}

// The value of attribute `name` inside a tag's text (after the tag name).
std::string Attribute(const std::string& tag, const char* name) {
  std::string lower = LowerCopy(tag);
  std::string key(name);
  size_t pos = 0;
  while ((pos = lower.find(key, pos)) != std::string::npos) {
    bool startOk = pos > 0 && (std::isspace(static_cast<unsigned char>(lower[pos - 1])) || lower[pos - 1] == '/');
    size_t i = pos + key.size();
    while (i < lower.size() && std::isspace(static_cast<unsigned char>(lower[i]))) ++i;
    if (!startOk || i >= lower.size() || lower[i] != '=') {
      pos += key.size();
      continue;
    }
    ++i;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size()) return std::string();
    if (tag[i] == '"' || tag[i] == '\'') {
      size_t end = tag.find(tag[i], i + 1);
      if (end == std::string::npos) end = tag.size();
      return DecodeEntities(tag.substr(i + 1, end - i - 1));
    }
    size_t end = i;
    while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>') ++end;
    return DecodeEntities(tag.substr(i, end - i));
  }
  return std::string();
}

bool IsBlockTag(const std::string& name) {
  static const char* kBlocks[] = {"br", "p",  "div",   "h1", "h2",  "h3",         "h4",    "h5",   "h6",   "li", "ul",
                                  "ol", "tr", "table", "hr", "pre", "blockquote", "title", "body", "form", "dt", "dd"};
  for (const char* b : kBlocks)
    if (name == b) return true;
  return false;
}

}  // namespace

UrlParts SplitUrl(const std::string& url) {
  UrlParts p;
  size_t colon = url.find(':');
  if (colon == std::string::npos || colon == 0) return p;
  if (!std::isalpha(static_cast<unsigned char>(url[0]))) return p;
  for (size_t i = 1; i < colon; ++i) {
    char c = url[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return p;
  }
  // A single letter before ':' is a drive, not a scheme.
  if (colon == 1) return p;
  p.valid = true;
  p.scheme = LowerCopy(url.substr(0, colon));
  p.rest = url.substr(colon + 1);
  if (p.rest.compare(0, 2, "//") == 0) {
    size_t end = p.rest.find_first_of("/?#", 2);
    std::string authority = p.rest.substr(2, end == std::string::npos ? std::string::npos : end - 2);
    size_t at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);
    size_t port = authority.rfind(':');
    if (port != std::string::npos && authority.find(']') == std::string::npos) authority = authority.substr(0, port);
    p.host = LowerCopy(authority);
  }
  return p;
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool DecodeDataUrl(const std::string& url, std::string* mime, std::string* body) {
  UrlParts p = SplitUrl(url);
  if (!p.valid || p.scheme != "data") return false;
  size_t comma = p.rest.find(',');
  if (comma == std::string::npos) return false;
  std::string header = LowerCopy(p.rest.substr(0, comma));
  std::string payload = p.rest.substr(comma + 1);
  size_t hash = payload.find('#');
  if (hash != std::string::npos) payload.resize(hash);
  bool base64 = false;
  size_t semi = header.find(';');
  *mime = header.substr(0, semi);
  if (mime->empty()) *mime = "text/plain";
  while (semi != std::string::npos) {
    size_t next = header.find(';', semi + 1);
    std::string param = header.substr(semi + 1, next == std::string::npos ? std::string::npos : next - semi - 1);
    if (param == "base64") base64 = true;
    semi = next;
  }
  body->clear();
  std::string decoded = PercentDecode(payload);
  if (!base64) {
    *body = decoded;
    return true;
  }
  return DecodeBase64(decoded, body);
}

bool FileUrlToPath(const std::string& url, std::string* path) {
  UrlParts p = SplitUrl(url);
  if (!p.valid || p.scheme != "file") return false;
  std::string rest = p.rest;
  size_t cut = rest.find_first_of("?#");
  if (cut != std::string::npos) rest.resize(cut);
  if (rest.compare(0, 2, "//") == 0) {
    size_t slash = rest.find('/', 2);
    std::string host = LowerCopy(rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2));
    if (!host.empty() && host != "localhost") {
      // A share: \\host\path.
      *path = "\\\\" + PercentDecode(rest.substr(2));
      for (char& c : *path)
        if (c == '/') c = '\\';
      return true;
    }
    rest = slash == std::string::npos ? std::string() : rest.substr(slash);
  }
  std::string decoded = PercentDecode(rest);
  while (decoded.size() > 1 && decoded[0] == '/' && decoded[1] == '/') decoded.erase(0, 1);
  // "/C:/dir" becomes "C:/dir"; a path without a drive stays rooted on the current drive.
  if (decoded.size() >= 3 && decoded[0] == '/' && std::isalpha(static_cast<unsigned char>(decoded[1])) &&
      (decoded[2] == ':' || decoded[2] == '|'))
    decoded.erase(0, 1);
  if (decoded.size() >= 2 && decoded[1] == '|') decoded[1] = ':';
  if (decoded.empty()) return false;
  for (char& c : decoded)
    if (c == '/') c = '\\';
  *path = decoded;
  return true;
}

std::string TitleFromUrl(const std::string& url) {
  UrlParts p = SplitUrl(url);
  if (!p.valid) return url;
  if (p.scheme == "file") {
    std::string path;
    if (!FileUrlToPath(url, &path)) return url;
    size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() ? path : name;
  }
  if (p.scheme == "data" || p.scheme == "about") return url.size() > 64 ? url.substr(0, 64) : url;
  if (!p.host.empty()) return p.host;
  return url;
}

std::string ResolveUrl(const std::string& base, const std::string& href) {
  size_t start = 0;
  while (start < href.size() && static_cast<unsigned char>(href[start]) <= 0x20) ++start;
  std::string link = href.substr(start);
  if (SplitUrl(link).valid) return link;
  UrlParts b = SplitUrl(base);
  if (!b.valid || b.rest.compare(0, 2, "//") != 0) return link;  // no hierarchy to resolve against
  if (link.compare(0, 2, "//") == 0) return b.scheme + ":" + link;
  size_t authorityEnd = b.rest.find_first_of("/?#", 2);
  std::string origin = b.scheme + ":" + b.rest.substr(0, authorityEnd);
  std::string path = authorityEnd == std::string::npos ? std::string("/") : b.rest.substr(authorityEnd);
  if (link.empty()) return base.substr(0, base.find('#'));
  if (link[0] == '#') return base.substr(0, base.find('#')) + link;
  size_t query = path.find_first_of("?#");
  std::string pathOnly = path.substr(0, query);
  if (pathOnly.empty() || pathOnly[0] != '/') pathOnly = "/" + pathOnly;
  if (link[0] == '?') return origin + pathOnly + link;
  if (link[0] == '/') return origin + link;
  return origin + pathOnly.substr(0, pathOnly.rfind('/') + 1) + link;
}

namespace {

// "charset=NAME" inside `text` (a type or a meta tag's content): NAME lower case, or "".
std::string CharsetParam(const std::string& text) {
  const std::string lower = LowerCopy(text);
  size_t at = lower.find("charset");
  while (at != std::string::npos) {
    size_t i = at + 7;
    while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t')) ++i;
    if (i < lower.size() && lower[i] == '=') {
      ++i;
      while (i < lower.size() && (lower[i] == ' ' || lower[i] == '"' || lower[i] == '\'')) ++i;
      size_t end = i;
      while (end < lower.size() &&
             (std::isalnum(static_cast<unsigned char>(lower[end])) || lower[end] == '-' || lower[end] == '_'))
        ++end;
      if (end > i) return lower.substr(i, end - i);
    }
    at = lower.find("charset", at + 7);
  }
  return std::string();
}

bool IsUtf8Name(const std::string& name) { return name == "utf-8" || name == "utf8"; }

bool IsGbkName(const std::string& name) {
  return name == "gbk" || name == "gb2312" || name == "gb18030" || name == "x-gbk" || name == "cp936" ||
         name == "windows-936";
}

}  // namespace

std::string BareMime(const std::string& contentType) {
  std::string m = LowerCopy(contentType.substr(0, contentType.find(';')));
  while (!m.empty() && (m.back() == ' ' || m.back() == '\t')) m.pop_back();
  size_t start = m.find_first_not_of(" \t");
  return start == std::string::npos ? std::string() : m.substr(start);
}

PageCharset CharsetOf(const std::string& contentType, const std::string& body) {
  const std::string named = CharsetParam(contentType);
  if (IsUtf8Name(named)) return PageCharset::kUtf8;
  if (IsGbkName(named)) return PageCharset::kGbk;
  // The page's own word, where a browser looks for it: a meta tag near the start.
  const std::string head = LowerCopy(body.substr(0, 4096));
  for (size_t at = head.find("<meta"); at != std::string::npos; at = head.find("<meta", at + 5)) {
    size_t end = head.find('>', at);
    if (end == std::string::npos) break;
    const std::string meta = CharsetParam(head.substr(at, end - at));
    if (IsUtf8Name(meta)) return PageCharset::kUtf8;
    if (!meta.empty()) return PageCharset::kGbk;
  }
  return PageCharset::kGbk;
}

bool IsHtml(const std::string& mime, const std::string& body) {
  std::string m = LowerCopy(mime);
  if (m == "text/html" || m == "application/xhtml+xml") return true;
  if (!m.empty() && m != "application/octet-stream") return false;
  for (char c : body) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '<';
  }
  return false;
}

PageText HtmlToText(const std::string& html, size_t maxText) {
  PageText page;
  std::string& out = page.text;
  bool inTitle = false;
  int linkIndex = -1;
  size_t i = 0;
  while (i < html.size()) {
    if (html[i] != '<') {
      size_t next = html.find('<', i);
      if (next == std::string::npos) next = html.size();
      std::string chunk = DecodeEntities(html.substr(i, next - i));
      if (inTitle) {
        AppendCollapsed(chunk, &page.title, 512);
      } else {
        AppendCollapsed(chunk, &out, maxText);
        if (linkIndex >= 0) AppendCollapsed(chunk, &page.links[linkIndex].text, 256);
      }
      i = next;
      continue;
    }
    if (html.compare(i, 4, "<!--") == 0) {
      size_t end = html.find("-->", i + 4);
      i = end == std::string::npos ? html.size() : end + 3;
      continue;
    }
    size_t end = html.find('>', i + 1);
    if (end == std::string::npos) break;  // an unclosed tag ends the page
    std::string tag = html.substr(i + 1, end - i - 1);
    i = end + 1;
    bool closing = !tag.empty() && tag[0] == '/';
    size_t nameStart = closing ? 1 : 0;
    size_t nameEnd = nameStart;
    while (nameEnd < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[nameEnd])) || tag[nameEnd] == '!'))
      ++nameEnd;
    std::string name = LowerCopy(tag.substr(nameStart, nameEnd - nameStart));
    if (!closing && (name == "script" || name == "style")) {
      // Script text may hold '<' and '>': skip straight to the closing tag.
      std::string closeTag = "</" + name;
      size_t close = std::string::npos;
      for (size_t k = i; k + closeTag.size() <= html.size(); ++k) {
        if (html[k] == '<' && LowerCopy(html.substr(k, closeTag.size())) == closeTag) {
          close = k;
          break;
        }
      }
      size_t after = close == std::string::npos ? std::string::npos : html.find('>', close);
      i = after == std::string::npos ? html.size() : after + 1;
      continue;
    }
    if (name == "title") {
      inTitle = !closing;
      continue;
    }
    if (name == "a") {
      if (!closing && page.links.size() < 64) {
        PageLink link;
        link.href = Attribute(tag, "href");
        link.target = Attribute(tag, "target");
        page.links.push_back(link);
        linkIndex = static_cast<int>(page.links.size()) - 1;
      } else if (closing) {
        linkIndex = -1;
      }
      continue;
    }
    if (IsBlockTag(name)) NewLine(&out, maxText);
    if (name == "td" || name == "th") AppendCollapsed(" ", &out, maxText);
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '\n')) out.pop_back();
  while (!page.title.empty() && page.title.back() == ' ') page.title.pop_back();
  for (PageLink& l : page.links)
    while (!l.text.empty() && l.text.back() == ' ') l.text.pop_back();
  return page;
}

}  // namespace vcef
