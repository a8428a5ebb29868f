// The tooltip's text markup: a tokenizer and one layout routine that serves both the
// measuring pass (line widths and heights, overall size) and the drawing pass, over a
// canvas interface so the arithmetic runs without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vesk {
namespace odctrls {

struct TipToken {
  enum Kind { kText, kTag } kind = kText;
  std::string text;  // kText: the run; kTag: the name, lower-cased, without "/"
  bool closing = false;
  bool hasValue = false;
  std::string value;
  std::vector<std::pair<std::string, std::string>> attrs;  // names lower-cased
  const std::string* Attr(const char* name) const;
};

// Bounds on what one markup text can make the tooltip do.
const size_t kTipMaxInput = 8192;
const size_t kTipMaxTokens = 2048;
const size_t kTipMaxLines = 512;
const int kTipMaxRepeat = 64;    // br and t counts
const int kTipMaxExtent = 4096;  // pixel lengths and image sizes
const size_t kTipMaxAttrs = 8;
const size_t kTipMaxField = 256;  // tag names, values, attributes

std::vector<TipToken> TokenizeTip(const std::string& markup);
// strtol with base detection (decimal, 0x hexadecimal, leading 0 octal); empty: def.
long TipNumber(const std::string& value, long def);

struct TipFont {
  int weight = 400;
  bool italic = false, underline = false, strike = false;
};

enum { kTipAlignLeft = 0, kTipAlignCentre = 1, kTipAlignRight = 2 };

class TipCanvas {
 public:
  virtual ~TipCanvas() = default;
  virtual void MeasureText(const std::string& text, const TipFont& font, int* cx, int* cy) = 0;
  virtual int FontHeight(const TipFont& font) = 0;
  virtual int AverageCharWidth(const TipFont& font) = 0;
  // Size of an image tag (img, ilst, icon, bmp); 0 x 0 when it cannot be loaded.
  virtual void ImageSize(const TipToken& tag, int* cx, int* cy) = 0;
  virtual void DrawText(int x, int y, const std::string& text, const TipFont& font, uint32_t colour, bool opaque,
                        uint32_t background) = 0;
  virtual void DrawLine(int x1, int x2, int y, uint32_t colour) = 0;
  virtual void DrawImage(const TipToken& tag, int x, int y, int cx, int cy) = 0;
};

class TipLayout {
 public:
  static constexpr int kColourCount = 25, kText = 16, kBkBegin = 17;
  // Measuring pass: fills the line arrays, returns the widest line and the summed heights.
  void Measure(const std::vector<TipToken>& tokens, TipCanvas& canvas, int* cx, int* cy);
  // Drawing pass into the rectangle's left/top, with the arrays of the last Measure.
  void Draw(const std::vector<TipToken>& tokens, TipCanvas& canvas, int left, int top, int width);

  TipFont m_baseFont;
  uint32_t m_colours[kColourCount] = {};
  std::vector<unsigned> m_lineWidths, m_lineHeights;

 private:
  void Run(const std::vector<TipToken>& tokens, TipCanvas& canvas, bool draw, int left, int top, int width, int* cx,
           int* cy);
};

}  // namespace odctrls
}  // namespace vesk
