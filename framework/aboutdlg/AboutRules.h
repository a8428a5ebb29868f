// Size and texts of the about box, without windows.
#pragma once

#include <string>
#include <utility>

namespace aboutbox {

struct Size2 {
  int w = 0, h = 0;
};
// Width 2 x border + 332; height border + caption + extra (85 for the framework's box).
Size2 AboutWindowSize(int border, int captionHeight, int extraHeight);

struct VersionTexts {
  std::string product, description, version, build, copyright, company;
};
// "%s\n%s %s Build%s" and "%s\n%s", assembled without a format string; " Build" is left
// out when the build text is empty.
std::pair<std::string, std::string> AboutTexts(const VersionTexts& v);
// A caption format with one %s (and %% for a per-cent sign) filled with `value`; a format
// with any other conversion is used as it stands.
std::string FillOneString(const std::string& format, const std::string& value);

}  // namespace aboutbox
