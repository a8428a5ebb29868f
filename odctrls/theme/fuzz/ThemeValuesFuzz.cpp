// Theme values come from INI files and packages that anyone can edit.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ThemeValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* t = text.c_str();
  (void)vesk::odtheme::ParseColorOrInt(t, 1);
  int x = 0, y = 0;
  (void)vesk::odtheme::ParsePoint(t, &x, &y);
  vesk::odtheme::ImageSpec spec;
  // States or frames below 1 load nothing, so only loadable specs reach the frame arithmetic.
  if (vesk::odtheme::ParseImageSpec(t, &spec) && spec.kind == 0 && spec.stateCount >= 1 && spec.framesPerState >= 1) {
    (void)vesk::odtheme::FrameRect(spec.cellCount, 16, spec.stateCount, spec.framesPerState, false, spec.stateCount - 1,
                                   0);
  }
  (void)vesk::odtheme::ResolveResFile("C:\\a\\b.ini", text);
  return 0;
}
