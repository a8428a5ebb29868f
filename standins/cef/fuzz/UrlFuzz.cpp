// Addresses come from pages and the server: every address helper must take anything.
#include "PageText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string url(reinterpret_cast<const char*>(data), size);
  vcef::SplitUrl(url);
  std::string mime, body, path;
  vcef::DecodeDataUrl(url, &mime, &body);
  vcef::FileUrlToPath(url, &path);
  vcef::TitleFromUrl(url);
  vcef::PercentDecode(url);
  size_t half = url.size() / 2;
  vcef::ResolveUrl(url.substr(0, half), url.substr(half));
  return 0;
}
