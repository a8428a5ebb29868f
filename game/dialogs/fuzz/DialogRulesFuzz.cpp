// Typed folders and filter texts come from the player or a profile: any bytes must give
// a clean answer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "DialogRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  std::string cleaned;
  if (dialogs::CheckFolder(s, &cleaned) == dialogs::FolderCheck::Ok) {
    if (cleaned.empty() || cleaned.size() > 259) __builtin_trap();
    std::string again;
    if (dialogs::CheckFolder(cleaned, &again) != dialogs::FolderCheck::Ok || again != cleaned) __builtin_trap();
  }
  std::string block = dialogs::FilterBlock(s);
  if (block.empty() || block.back() != '\0') __builtin_trap();
  return 0;
}
