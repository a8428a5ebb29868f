#include "ThemeBitmapsCore.h"

namespace themebmp {

namespace {
struct Entry {
  int id;
  const char* file;
};
const Entry kThemeBitmaps[] = {
    {136, "icon-5.bmp"},     {155, "VESK32.bmp"},     {166, "showcard.bmp"},   {168, "icon-1.bmp"},
    {169, "player.bmp"},     {171, "JF.bmp"},         {172, "Pass.bmp"},       {173, "Talk_win.bmp"},
    {185, "icon-4.bmp"},     {186, "icon-6.bmp"},     {187, "icon-7.bmp"},     {202, "Farmer.bmp"},
    {211, "advice.bmp"},     {29714, "icon-3-a.bmp"}, {29715, "icon-3-b.bmp"}, {29716, "icon-2-a.bmp"},
    {29717, "icon-2-b.bmp"}, {29718, "BT-jf-no.bmp"}, {29719, "BT-jf-1.bmp"},  {29720, "BT-jf-2.bmp"},
    {29721, "BT-jf-3.bmp"},  {29722, "BT-2-1.bmp"},   {29723, "BT-1-2.bmp"},   {29724, "BT-1-3.bmp"},
    {29725, "BT-1-1.bmp"},
};
}  // namespace

const char* ThemeBitmapFile(int id) {
  for (const Entry& e : kThemeBitmaps)
    if (e.id == id) return e.file;
  return nullptr;
}

std::string ThemeBitmapPath(int id, const std::string& netSkin, const std::string& profilePath,
                            const std::function<bool(const std::string&)>& fileExists) {
  const char* file = ThemeBitmapFile(id);
  if (!file) return std::string();
  const std::string tail = std::string("\\theme\\respic\\") + file;
  const std::string first = netSkin + tail;
  if (!netSkin.empty() && fileExists && fileExists(first)) return first;
  return profilePath + tail;
}

void BlendRows(uint8_t* dst, const uint8_t* image, const uint8_t* mask, int width, int height, int stride) {
  if (!dst || !image || !mask || width <= 0 || height <= 0 || stride < width * 3) return;
  for (int y = 0; y < height; ++y) {
    uint8_t* d = dst + static_cast<size_t>(y) * stride;
    const uint8_t* s = image + static_cast<size_t>(y) * stride;
    const uint8_t* m = mask + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      const unsigned w = m[x * 3];
      for (int c = 0; c < 3; ++c) {
        const unsigned v = (s[x * 3 + c] * w + d[x * 3 + c] * (255u - w)) >> 8;
        d[x * 3 + c] = static_cast<uint8_t>(v);
      }
    }
  }
}

}  // namespace themebmp
