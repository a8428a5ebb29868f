// Untrusted texts through the tooltip markup (both passes), the formatted text lines and
// the edit buffer: the first byte picks the parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EditBuffer.h"
#include "TipMarkup.h"
#include "TxtMovLines.h"

using namespace vesk::odctrls;

namespace {
struct Canvas : TipCanvas {
  void MeasureText(const std::string& t, const TipFont&, int* cx, int* cy) override {
    *cx = static_cast<int>(t.size()) * 7;
    *cy = 12;
  }
  int FontHeight(const TipFont& f) override { return f.weight / 40; }
  int AverageCharWidth(const TipFont&) override { return 6; }
  void ImageSize(const TipToken& t, int* cx, int* cy) override {
    *cx = static_cast<int>(TipNumber(t.value, 0));
    *cy = static_cast<int>(TipNumber(t.Attr("cy") ? *t.Attr("cy") : "", 0));
  }
  void DrawText(int, int, const std::string&, const TipFont&, uint32_t, bool, uint32_t) override {}
  void DrawLine(int, int, int, uint32_t) override {}
  void DrawImage(const TipToken&, int, int, int, int) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 3) {
    case 0: {
      Canvas canvas;
      TipLayout layout;
      int cx = 0, cy = 0;
      auto tokens = TokenizeTip(text);
      layout.Measure(tokens, canvas, &cx, &cy);
      layout.Draw(tokens, canvas, 0, 0, 300);
      break;
    }
    case 1: {
      TxtMovLines lines;
      lines.SetText(text);
      lines.Layout(0, 0, [](const std::string& s) { return TxtSize{static_cast<int>(s.size()), 12}; });
      lines.SetHover(true, static_cast<int>(size), 6);
      lines.MarkVisited();
      break;
    }
    default: {
      EditBuffer edit;
      edit.m_maxLength = static_cast<int>(data[0]) - 2;
      for (unsigned char c : text) {
        bool changed = false;
        if (c < 0x30)
          edit.Key(c, c & 1, c & 2, &changed);
        else
          edit.Char(c);
        if (!edit.IsBoundary(edit.m_caret)) __builtin_trap();
        if (edit.m_maxLength >= 0 && edit.Length() > edit.m_maxLength) __builtin_trap();
      }
      edit.Paste(text);
      break;
    }
  }
  return 0;
}
