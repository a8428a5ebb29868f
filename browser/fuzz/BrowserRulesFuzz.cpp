// Page addresses and error texts come from the network: the rules must take any bytes.
#include "BrowserRules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string in(reinterpret_cast<const char*>(data), size);
  size_t cut = in.find('\n');
  std::string url = in.substr(0, cut);
  std::string text = cut == std::string::npos ? std::string() : in.substr(cut + 1);
  unsigned transition = size ? data[0] * 0x10101u : 0;
  brellin::ShouldCancelBrowse(url, transition);
  brellin::AllowOsProtocol(url);
  std::string html;
  if (brellin::BuildErrorPage(url, text, static_cast<int>(size % 400) - 350, &html)) {
    // Nothing from the inputs may open an element of its own.
    if (html.find("<", 1) != std::string::npos) {
      size_t body = html.find("<h2>") + 4;
      size_t end = html.rfind("</h2>");
      if (html.substr(body, end - body).find('<') != std::string::npos) std::abort();
    }
  }
  return 0;
}
