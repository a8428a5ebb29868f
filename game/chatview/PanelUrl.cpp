#include "PanelUrl.h"

#include <cstring>

namespace panelurl {

std::string UrlEncode(const std::string& bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~') {
      out += char(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string RegisterServer(const std::string& value) {
  size_t comma = value.find(',');
  if (comma == std::string::npos || comma == 0) return value;
  return value.substr(0, comma);
}

namespace {
void ReplaceAll(std::string& s, const std::string& what, const std::string& with) {
  size_t pos = 0;
  while ((pos = s.find(what, pos)) != std::string::npos) {
    s.replace(pos, what.size(), with);
    pos += with.size();
  }
}
}  // namespace

std::string Substitute(const std::string& tmpl, const std::string& encodedName, const std::string& encodedTicket) {
  std::string s = tmpl;
  ReplaceAll(s, "%UserName%", encodedName);
  ReplaceAll(s, "%Ticket%", encodedTicket);
  return s;
}

std::string RoomText(const uint8_t* view, size_t viewSize) {
  if (!view || viewSize < kRoomTextOffset + kRoomTextSize) return std::string();
  const char* p = reinterpret_cast<const char*>(view + kRoomTextOffset);
  return std::string(p, strnlen(p, kRoomTextSize));
}

}  // namespace panelurl
