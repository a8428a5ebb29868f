#include "WebUrl.h"

#include <cctype>
#include <cstring>

namespace weburl {

namespace {
bool StartsNoCase(const std::string& text, size_t pos, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (pos > text.size() || text.size() - pos < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(text[pos + i])) != prefix[i]) return false;
  return true;
}
}  // namespace

size_t SchemeLength(const std::string& text, size_t pos) {
  if (StartsNoCase(text, pos, "http://")) return 7;
  if (StartsNoCase(text, pos, "https://")) return 8;
  return 0;
}

bool IsWebUrl(const std::string& url) {
  size_t n = SchemeLength(url);
  return n != 0 && url.size() > n;
}

}  // namespace weburl
