// Page bytes are untrusted: the plain renderer's reduction must take anything.
#include "PageText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string html(reinterpret_cast<const char*>(data), size);
  vcef::PageText p = vcef::HtmlToText(html, 4096);
  if (p.text.size() > 4096 || p.links.size() > 64) std::abort();
  vcef::IsHtml("", html);
  // The same bytes as a reply's content type and as the page that names its charset.
  vcef::CharsetOf(html, html);
  vcef::BareMime(html);
  return 0;
}
