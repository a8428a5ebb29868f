// Opening an address that came from outside: only a web address goes to the shell, so
// nothing received can start a program or open a local file.
#pragma once
#include <string>

namespace weburl {

// Opens URL in the shell's browser when it is a web address; true when the shell took it.
bool OpenWebAddress(const std::string& url);

}  // namespace weburl
