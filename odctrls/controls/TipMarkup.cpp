#include "TipMarkup.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vesk {
namespace odctrls {

const std::string* TipToken::Attr(const char* name) const {
  for (const auto& a : attrs)
    if (a.first == name) return &a.second;
  return nullptr;
}

static std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

long TipNumber(const std::string& value, long def) {
  if (value.empty()) return def;
  errno = 0;
  long n = std::strtol(value.c_str(), nullptr, 0);
  if (errno == ERANGE) return def;
  return n;
}

namespace {

struct Tokenizer {
  const std::string& in;
  const size_t end;  // the part of the text that is read
  size_t pos = 0;
  std::vector<TipToken> out;
  std::string run;

  explicit Tokenizer(const std::string& s) : in(s), end(std::min(s.size(), kTipMaxInput)) {}
  // A NUL byte is text, never one of the stops (strchr would find the terminator).
  bool Stops(const char* stops) const { return in[pos] != '\0' && std::strchr(stops, in[pos]) != nullptr; }
  bool Full() const { return out.size() >= kTipMaxTokens; }
  void FlushRun() {
    if (!run.empty() && !Full()) {
      TipToken t;
      t.text = run;
      out.push_back(t);
    }
    run.clear();
  }
  void Push(const char* tag) {
    FlushRun();
    if (Full()) return;
    TipToken t;
    t.kind = TipToken::kTag;
    t.text = tag;
    out.push_back(t);
  }
  std::string Field(const char* stops) {
    std::string f;
    while (pos < end && !Stops(stops)) {
      if (f.size() < kTipMaxField) f += in[pos];
      ++pos;
    }
    return f;
  }
  void Tag() {
    ++pos;  // '<'
    TipToken t;
    t.kind = TipToken::kTag;
    std::string name = Lower(Field("=> \t\r\n"));
    if (!name.empty() && name[0] == '/') {
      t.closing = true;
      name.erase(0, 1);
    }
    t.text = name;
    if (pos < end && in[pos] == '=') {
      ++pos;
      t.hasValue = true;
      t.value = Field("> ");
    }
    while (pos < end && in[pos] != '>') {
      if (in[pos] == ' ') {
        ++pos;
        continue;
      }
      std::string an = Lower(Field("=> "));
      std::string av;
      if (pos < end && in[pos] == '=') {
        ++pos;
        av = Field("> ");
      }
      if (t.attrs.size() < kTipMaxAttrs) t.attrs.emplace_back(an, av);
    }
    if (pos < end) ++pos;  // '>'
    FlushRun();
    if (!Full()) out.push_back(t);
  }
  void Go() {
    while (pos < end && !Full()) {
      char c = in[pos];
      if (c == '<' && pos + 1 < end && in[pos + 1] == '<') {
        run += '<';
        pos += 2;
      } else if (c == '<') {
        Tag();
      } else if (c == '\r') {
        ++pos;
      } else if (c == '\n' || c == '\t') {
        Push(c == '\n' ? "br" : "t");
        ++pos;
      } else {
        // A two-byte character travels whole, so a trail byte equal to '<' is never a tag.
        size_t step = (static_cast<unsigned char>(c) >= 0x80 && pos + 1 < end) ? 2 : 1;
        run.append(in, pos, step);
        pos += step;
      }
    }
    FlushRun();
  }
};

int Count(const TipToken& t) {
  long n = TipNumber(t.value, 1);
  if (n < 1) n = 1;
  return static_cast<int>(std::min<long>(n, kTipMaxRepeat));
}

int Extent(long v) { return static_cast<int>(std::max<long>(0, std::min<long>(v, kTipMaxExtent))); }

}  // namespace

std::vector<TipToken> TokenizeTip(const std::string& markup) {
  Tokenizer t(markup);
  t.Go();
  return t.out;
}

void TipLayout::Measure(const std::vector<TipToken>& tokens, TipCanvas& canvas, int* cx, int* cy) {
  m_lineWidths.clear();
  m_lineHeights.clear();
  Run(tokens, canvas, false, 0, 0, 0, cx, cy);
}

void TipLayout::Draw(const std::vector<TipToken>& tokens, TipCanvas& canvas, int left, int top, int width) {
  int cx = 0, cy = 0;
  Run(tokens, canvas, true, left, top, width, &cx, &cy);
}

void TipLayout::Run(const std::vector<TipToken>& tokens, TipCanvas& canvas, bool draw, int left, int top, int width,
                    int* outCx, int* outCy) {
  TipFont font = m_baseFont;
  uint32_t colour = m_colours[kText], background = m_colours[kBkBegin];
  bool opaque = false;
  int align = kTipAlignLeft;
  const int baseHeight = canvas.FontHeight(m_baseFont);
  size_t line = 0;
  int x = 0, y = 0, lineHeight = baseHeight, widest = 0;

  auto lineWidth = [&](size_t l) { return l < m_lineWidths.size() ? static_cast<int>(m_lineWidths[l]) : 0; };
  auto storedHeight = [&](size_t l) {
    return l < m_lineHeights.size() ? static_cast<int>(m_lineHeights[l]) : baseHeight;
  };
  auto startLine = [&]() {
    x = 0;
    if (draw && align != kTipAlignLeft) {
      int free = std::max(0, width - lineWidth(line));
      x = align == kTipAlignCentre ? free / 2 : free;
    }
    lineHeight = draw ? storedHeight(line) : baseHeight;
  };
  auto endLine = [&](int count) {
    if (!draw) {
      if (m_lineWidths.size() < kTipMaxLines) {
        m_lineWidths.push_back(static_cast<unsigned>(x));
        m_lineHeights.push_back(static_cast<unsigned>(lineHeight));
      }
      widest = std::max(widest, x);
    }
    y += lineHeight * count;
    ++line;
  };
  auto grow = [&](int h) {
    if (!draw) lineHeight = std::max(lineHeight, h);
  };

  startLine();
  bool atLineStart = true;
  for (const TipToken& t : tokens) {
    const bool wasAtStart = atLineStart;
    atLineStart = false;
    if (t.kind == TipToken::kText) {
      int w = 0, h = 0;
      canvas.MeasureText(t.text, font, &w, &h);
      if (draw) {
        canvas.DrawText(left + x, top + y + lineHeight - canvas.FontHeight(font), t.text, font, colour, opaque,
                        background);
      }
      grow(h);
      x += w;
      continue;
    }
    const std::string& n = t.text;
    atLineStart = wasAtStart || (n == "br" && !t.closing);
    if (n == "b") {
      font.weight = t.closing ? m_baseFont.weight : std::min(2 * m_baseFont.weight, 900);
    } else if (n == "i") {
      font.italic = !t.closing;
    } else if (n == "u") {
      font.underline = !t.closing;
    } else if (n == "s") {
      font.strike = !t.closing;
    } else if (n == "br" && !t.closing) {
      if (line >= kTipMaxLines) break;
      endLine(Count(t));
      startLine();
    } else if (n == "t" && !t.closing) {
      int stop = std::max(1, 4 * canvas.AverageCharWidth(font));
      x = (x / stop + Count(t)) * stop;
    } else if (n == "ct") {
      colour = t.closing ? m_colours[kText] : static_cast<uint32_t>(TipNumber(t.value, m_colours[kText]));
    } else if (n == "cti") {
      long i = t.closing ? kText : TipNumber(t.value, kText);
      if (i >= 0 && i < kColourCount) colour = m_colours[i];
    } else if (n == "cb" || n == "cbi") {
      if (t.closing) {
        opaque = false;
      } else if (n == "cb") {
        background = static_cast<uint32_t>(TipNumber(t.value, m_colours[kBkBegin]));
        opaque = true;
      } else {
        long i = TipNumber(t.value, kBkBegin);
        if (i >= 0 && i < kColourCount) {
          background = m_colours[i];
          opaque = true;
        }
      }
    } else if (n == "al" || n == "al_l") {
      align = kTipAlignLeft;
    } else if (n == "al_c" || n == "al_r") {
      align = n == "al_c" ? kTipAlignCentre : kTipAlignRight;
    } else if (n == "hr" && !t.closing) {
      int length;
      if (!t.value.empty() && t.value.back() == '%') {
        long pct = std::max<long>(0, std::min<long>(TipNumber(t.value.substr(0, t.value.size() - 1), 100), 100));
        length = static_cast<int>(static_cast<long long>(width) * pct / 100);
      } else {
        length = Extent(TipNumber(t.value, 100));
      }
      if (draw) canvas.DrawLine(left + x, left + x + length, top + y + lineHeight / 2, colour);
      // A share of the rectangle is known only when drawing, so it takes no room on the line.
      if (t.value.empty() || t.value.back() != '%') x += length;
    } else if ((n == "img" || n == "ilst" || n == "icon" || n == "bmp") && !t.closing) {
      int w = 0, h = 0;
      canvas.ImageSize(t, &w, &h);
      w = Extent(w);
      h = Extent(h);
      if (draw && w > 0 && h > 0) canvas.DrawImage(t, left + x, top + y + lineHeight - h, w, h);
      grow(h);
      x += w;
    }
    // Alignment at a line's start applies to that line.
    if ((n == "al" || n == "al_l" || n == "al_c" || n == "al_r") && atLineStart) startLine();
  }
  endLine(1);
  *outCx = widest;
  *outCy = y;
}

}  // namespace odctrls
}  // namespace vesk
