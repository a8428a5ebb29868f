// Voice lists read from sound.ini: split any text and choose from it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "VoiceChoice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  auto list = vesk::SplitVoiceList(text);
  for (const std::string& name : list)
    if (name.find(',') != std::string::npos) std::abort();
  size_t k = 0;
  auto random = [&]() { return static_cast<unsigned>(size > 0 ? data[k++ % size] * 7919u : 0u); };
  auto exists = [](const std::string& p) { return p.size() % 3 != 0; };
  vesk::VoiceChooser chooser;
  std::string path;
  for (int phase : {3, 5, 7})
    for (int i = 0; i < 3; ++i) chooser.Choose(list, phase, 50, "G\\sound", random, exists, path);
  return 0;
}
