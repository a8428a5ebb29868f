#include "PanelUrl.h"

#include <cstring>

#include "ServicesCore.h"

namespace panelurl {

// Unlike the tier query's encoding, only a space becomes '+': tabs and line breaks in a name
// are sent as their bytes.
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

std::string Substitute(const std::string& tmpl, const std::string& encodedName, const std::string& encodedTicket) {
  return ::ReplaceAll(::ReplaceAll(tmpl, "%UserName%", encodedName), "%Ticket%", encodedTicket);
}

std::string RoomText(const uint8_t* view, size_t viewSize) {
  if (!view || viewSize < kRoomTextOffset + kRoomTextSize) return std::string();
  const char* p = reinterpret_cast<const char*>(view + kRoomTextOffset);
  return std::string(p, strnlen(p, kRoomTextSize));
}

}  // namespace panelurl
