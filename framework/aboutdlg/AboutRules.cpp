#include "AboutRules.h"

namespace aboutbox {

Size2 AboutWindowSize(int border, int captionHeight, int extraHeight) {
  Size2 s;
  s.w = 2 * border + 332;
  s.h = border + captionHeight + extraHeight;
  return s;
}

std::pair<std::string, std::string> AboutTexts(const VersionTexts& v) {
  // A program without a build text shows no dangling "Build".
  std::string first = v.product + "\n" + v.description + " " + v.version + (v.build.empty() ? "" : " Build" + v.build);
  std::string second = v.copyright + "\n" + v.company;
  return {first, second};
}

std::string FillOneString(const std::string& format, const std::string& value) {
  size_t slot = std::string::npos;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == 's' && slot == std::string::npos) {
      slot = i;
      ++i;
      continue;
    }
    return format;  // another conversion, a second %s or a lone % at the end
  }
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (i == slot) {
      out += value;
      ++i;
    } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

}  // namespace aboutbox
