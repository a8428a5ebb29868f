#include "WebAddress.h"

#include <cctype>

#include "WebUrl.h"

namespace webctl {
namespace {
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool EndsWith(const std::string& s, const char* tail) {
  const std::string t(tail);
  return s.size() > t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// "C:\dir\page.htm": a drive letter and a backslash; no "..", no stream names, no wildcards.
bool IsLocalPage(const std::string& url) {
  if (url.size() < 4 || !std::isalpha(static_cast<unsigned char>(url[0])) || url[1] != ':' || url[2] != '\\')
    return false;
  if (url.find("..") != std::string::npos || url.find_first_of(":*?\"<>|/", 2) != std::string::npos) return false;
  const std::string low = Lower(url);
  return EndsWith(low, ".htm") || EndsWith(low, ".html");
}
}  // namespace

Target Classify(const std::string& url) {
  if (url.empty() || Lower(url) == "about:blank") return Target::kBlank;
  if (weburl::IsWebUrl(url)) return Target::kWeb;
  if (IsLocalPage(url)) return Target::kLocalPage;
  return Target::kRefused;
}

bool MayFollow(const std::string& from, const std::string& to) {
  switch (Classify(to)) {
    case Target::kRefused:
      return false;
    case Target::kLocalPage:
      return Classify(from) == Target::kLocalPage;
    default:
      return true;
  }
}

}  // namespace webctl
