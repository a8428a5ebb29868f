#include "OpenWebAddress.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "WebUrl.h"

namespace weburl {

bool OpenWebAddress(const std::string& url) {
  if (!IsWebUrl(url)) return false;
  // ShellExecute reports success with a value above 32.
  return reinterpret_cast<intptr_t>(::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) >
         32;
}

}  // namespace weburl
