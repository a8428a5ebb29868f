// Which addresses from the server, theme files or chat texts may be opened: web addresses
// only, so that nothing received can name a program or a local file to start.
#pragma once
#include <cstddef>
#include <string>

namespace weburl {

// Length of "http://" or "https://" (in any case) at `pos` of `text`; 0 when neither is there.
size_t SchemeLength(const std::string& text, size_t pos = 0);

// True for "http://" or "https://" (in any case) followed by at least one character.
bool IsWebUrl(const std::string& url);

}  // namespace weburl
