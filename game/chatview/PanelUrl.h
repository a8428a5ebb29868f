// The live panel's address: the template's "%UserName%" and "%Ticket%" filled in, and the
// pieces it is built from. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace panelurl {

// Letters, digits and "-_.~" stay; a space becomes '+'; every other byte "%XX".
std::string UrlEncode(const std::string& bytes);
// The registration server of a "RegisterIP" value: the part before its first comma, or
// the whole value when there is no comma after the first character.
std::string RegisterServer(const std::string& value);
// Every "%UserName%" becomes the encoded name, every "%Ticket%" the encoded ticket.
std::string Substitute(const std::string& tmpl, const std::string& encodedName, const std::string& encodedTicket);

// The lobby's room text in its shared block: the zero-terminated text at offset 23720,
// at most 256 bytes; empty when the mapped view is too small to hold it.
const size_t kRoomTextOffset = 23720;
const size_t kRoomTextSize = 256;
std::string RoomText(const uint8_t* view, size_t viewSize);

// The chat height kept in the profile: at most 150.
inline int CapChatHeight(int height) { return height > 150 ? 150 : height; }

}  // namespace panelurl
