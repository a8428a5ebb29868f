// cardsheetgen: draws the five card sheets of QKCards.dll from the readable description
// in cards/art/cardsheets.txt and writes them as Windows BMP files.
//
//   cardsheetgen <description> <output folder>
//
// Everything is vector drawing (suits, stroke glyphs, court figures) rendered with an
// anti-aliasing scanline filler, so each size is drawn for itself rather than scaled.
// Host tool: standard C++ only.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- geometry
struct Pt {
  double x, y;
};
using Contour = std::vector<Pt>;
using Path = std::vector<Contour>;

struct Col {
  float r, g, b;
};

Col Mix(Col a, Col b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

double Area(const Contour& c) {
  double a = 0;
  for (size_t i = 0; i < c.size(); ++i) {
    const Pt& p = c[i];
    const Pt& q = c[(i + 1) % c.size()];
    a += p.x * q.y - q.x * p.y;
  }
  return a / 2;
}

// All contours of one shape wind the same way so that the non-zero rule unites them.
void Orient(Contour& c) {
  if (Area(c) < 0) std::reverse(c.begin(), c.end());
}

Contour Ellipse(double cx, double cy, double rx, double ry, int n = 0) {
  if (n == 0) n = std::max(16, static_cast<int>(std::max(rx, ry) * 4));
  Contour c;
  for (int i = 0; i < n; ++i) {
    double a = 2 * M_PI * i / n;
    c.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return c;
}

void Cubic(Contour& c, Pt p1, Pt p2, Pt p3, int n = 16) {
  Pt p0 = c.back();
  for (int i = 1; i <= n; ++i) {
    double t = static_cast<double>(i) / n, u = 1 - t;
    c.push_back({u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
                 u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y});
  }
}

Contour RoundRect(double x0, double y0, double x1, double y1, double r) {
  Contour c;
  r = std::min({r, (x1 - x0) / 2, (y1 - y0) / 2});
  const int n = std::max(4, static_cast<int>(r * 2));
  auto arc = [&](double cx, double cy, double a0) {
    for (int i = 0; i <= n; ++i) {
      double a = a0 + (M_PI / 2) * i / n;
      c.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
  };
  arc(x1 - r, y1 - r, 0);
  arc(x0 + r, y1 - r, M_PI / 2);
  arc(x0 + r, y0 + r, M_PI);
  arc(x1 - r, y0 + r, 3 * M_PI / 2);
  return c;
}

// A stroked polyline as a union of segment quads and round joints.
Path Stroke(const std::vector<Pt>& line, double width, bool closed) {
  Path p;
  const double h = width / 2;
  const size_t n = line.size();
  if (n == 0) return p;
  for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
    Pt a = line[i], b = line[(i + 1) % n];
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len < 1e-9) continue;
    double nx = -dy / len * h, ny = dx / len * h;
    Contour q{{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    Orient(q);
    p.push_back(q);
  }
  for (const Pt& v : line) {
    Contour c = Ellipse(v.x, v.y, h, h, std::max(8, static_cast<int>(h * 6)));
    Orient(c);
    p.push_back(c);
  }
  return p;
}

// Affine map applied to paths built in a local unit frame.
struct Xf {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;  // x' = a x + c y + e, y' = b x + d y + f
  Pt operator()(Pt p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
};

Xf Place(double cx, double cy, double scale, bool flip) {
  double s = flip ? -scale : scale;
  return Xf{s, 0, 0, s, cx, cy};
}

Path Map(const Path& in, const Xf& xf) {
  Path out = in;
  for (auto& c : out)
    for (auto& p : c) p = xf(p);
  return out;
}

void Append(Path& to, const Path& from) { to.insert(to.end(), from.begin(), from.end()); }

// ---------------------------------------------------------------- raster
struct Image {
  int w = 0, h = 0;
  std::vector<Col> px;
  Image(int w_, int h_, Col c) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, c) {}
  Col& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
};

struct Clip {
  int x0, y0, x1, y1;
};

// Anti-aliased coverage of a path (non-zero rule) over the clip: exact horizontally,
// eight sub-scanlines vertically.
std::vector<float> Coverage(const Path& path, const Clip& clip, Clip& box) {
  double minx = 1e9, miny = 1e9, maxx = -1e9, maxy = -1e9;
  for (const auto& c : path)
    for (const auto& p : c) {
      minx = std::min(minx, p.x);
      maxx = std::max(maxx, p.x);
      miny = std::min(miny, p.y);
      maxy = std::max(maxy, p.y);
    }
  box.x0 = std::max(clip.x0, static_cast<int>(std::floor(minx)));
  box.y0 = std::max(clip.y0, static_cast<int>(std::floor(miny)));
  box.x1 = std::min(clip.x1, static_cast<int>(std::ceil(maxx)) + 1);
  box.y1 = std::min(clip.y1, static_cast<int>(std::ceil(maxy)) + 1);
  if (box.x1 <= box.x0 || box.y1 <= box.y0) return {};
  const int bw = box.x1 - box.x0;
  std::vector<float> cov(static_cast<size_t>(bw) * (box.y1 - box.y0), 0.f);
  const int kSub = 8;
  std::vector<std::pair<double, int>> xs;
  for (int y = box.y0; y < box.y1; ++y) {
    float* row = &cov[static_cast<size_t>(y - box.y0) * bw];
    for (int s = 0; s < kSub; ++s) {
      double sy = y + (s + 0.5) / kSub;
      xs.clear();
      for (const auto& c : path) {
        for (size_t i = 0; i < c.size(); ++i) {
          Pt p = c[i], q = c[(i + 1) % c.size()];
          if ((p.y <= sy && q.y > sy) || (q.y <= sy && p.y > sy)) {
            double x = p.x + (sy - p.y) * (q.x - p.x) / (q.y - p.y);
            xs.push_back({x, p.y < q.y ? 1 : -1});
          }
        }
      }
      std::sort(xs.begin(), xs.end());
      int wind = 0;
      double start = 0;
      for (const auto& e : xs) {
        int before = wind;
        wind += e.second;
        if (before == 0 && wind != 0) start = e.first;
        if (before != 0 && wind == 0) {
          double a = std::max(start, static_cast<double>(box.x0)), b = std::min(e.first, static_cast<double>(box.x1));
          for (int i = static_cast<int>(std::floor(a)); i < b && i < box.x1; ++i) {
            double o = std::min(b, i + 1.0) - std::max(a, static_cast<double>(i));
            if (o > 0) row[i - box.x0] += static_cast<float>(o / kSub);
          }
        }
      }
    }
  }
  return cov;
}

void Fill(Image& img, const Path& path, Col col, const Clip& clip, float alpha = 1.f) {
  Clip box;
  std::vector<float> cov = Coverage(path, clip, box);
  const int bw = box.x1 - box.x0;
  for (size_t i = 0; i < cov.size(); ++i) {
    float a = std::min(cov[i], 1.f) * alpha;
    if (a <= 0) continue;
    Col& p = img.at(box.x0 + static_cast<int>(i % bw), box.y0 + static_cast<int>(i / bw));
    p = Mix(p, col, a);
  }
}

void FillShaded(Image& img, const Path& path, const std::function<Col(double, double)>& shade, const Clip& clip) {
  Clip box;
  std::vector<float> cov = Coverage(path, clip, box);
  const int bw = box.x1 - box.x0;
  for (size_t i = 0; i < cov.size(); ++i) {
    float a = std::min(cov[i], 1.f);
    if (a <= 0) continue;
    int x = box.x0 + static_cast<int>(i % bw), y = box.y0 + static_cast<int>(i / bw);
    // 3 x 3 samples per pixel keep fine patterns smooth.
    float r = 0, g = 0, b = 0;
    for (int sy = 0; sy < 3; ++sy)
      for (int sx = 0; sx < 3; ++sx) {
        Col c = shade(x + (sx + 0.5) / 3, y + (sy + 0.5) / 3);
        r += c.r;
        g += c.g;
        b += c.b;
      }
    img.at(x, y) = Mix(img.at(x, y), Col{r / 9, g / 9, b / 9}, a);
  }
}

// ---------------------------------------------------------------- description
struct Glyph {
  double advance = 10;
  std::vector<std::vector<Pt>> lines;
  std::vector<bool> closed;
};

struct Style {
  double rank = 0.12, suit = 0.09, indexx = 0.09, indexy = 0.05, pip = 0.15, ace = 0.3, stroke = 0.17;
  double area[4] = {0.3, 0.16, 0.7, 0.84};
  double frame[4] = {0.2, 0.1, 0.8, 0.9};
};

struct Sheet {
  int type = 0, id = 0, cw = 0, ch = 0, bpp = 24, radius = 4;
  std::string style;
};

struct Description {
  std::vector<Sheet> sheets;
  std::map<std::string, Style> styles;
  std::map<std::string, Col> colours;
  std::map<int, std::vector<Pt>> pips;
  std::map<std::string, Glyph> glyphs;

  Col colour(const std::string& name) const {
    auto it = colours.find(name);
    if (it == colours.end()) throw std::runtime_error("description: no colour " + name);
    return it->second;
  }
  const Glyph& glyph(const std::string& name) const {
    auto it = glyphs.find(name);
    if (it == glyphs.end()) throw std::runtime_error("description: no glyph " + name);
    return it->second;
  }
};

std::map<std::string, std::string> KeyValues(std::istringstream& in) {
  std::map<std::string, std::string> kv;
  std::string tok;
  while (in >> tok) {
    size_t eq = tok.find('=');
    if (eq == std::string::npos) throw std::runtime_error("description: expected key=value, got " + tok);
    kv[tok.substr(0, eq)] = tok.substr(eq + 1);
  }
  return kv;
}

std::vector<double> Numbers(const std::string& s) {
  std::vector<double> v;
  std::string t = s;
  std::replace(t.begin(), t.end(), ',', ' ');
  std::replace(t.begin(), t.end(), 'x', ' ');
  std::istringstream in(t);
  double d;
  while (in >> d) v.push_back(d);
  return v;
}

Glyph ParseGlyph(const std::string& body) {
  Glyph g;
  std::istringstream in(body);
  std::string cmd;
  auto num = [&]() {
    double d;
    if (!(in >> d)) throw std::runtime_error("description: glyph needs a number");
    return d;
  };
  while (in >> cmd) {
    if (cmd == "M") {
      double x = num(), y = num();
      g.lines.push_back({{x, y}});
      g.closed.push_back(false);
    } else if (cmd == "L") {
      double x = num(), y = num();
      g.lines.back().push_back({x, y});
    } else if (cmd == "C") {
      double a = num(), b = num(), c = num(), d = num(), e = num(), f = num();
      Cubic(g.lines.back(), {a, b}, {c, d}, {e, f});
    } else if (cmd == "E") {
      double cx = num(), cy = num(), rx = num(), ry = num();
      g.lines.push_back(Ellipse(cx, cy, rx, ry, 40));
      g.closed.push_back(true);
    } else {
      throw std::runtime_error("description: unknown glyph command " + cmd);
    }
  }
  return g;
}

Description Load(const std::string& file) {
  std::ifstream f(file);
  if (!f) throw std::runtime_error("cannot open " + file);
  Description d;
  std::string line;
  while (std::getline(f, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string what;
    if (!(in >> what)) continue;
    if (what == "sheet") {
      auto kv = KeyValues(in);
      Sheet s;
      s.type = std::stoi(kv.at("type"));
      s.id = std::stoi(kv.at("id"));
      auto cell = Numbers(kv.at("cell"));
      s.cw = static_cast<int>(cell.at(0));
      s.ch = static_cast<int>(cell.at(1));
      s.bpp = std::stoi(kv.at("bpp"));
      s.style = kv.at("style");
      s.radius = std::stoi(kv.at("radius"));
      d.sheets.push_back(s);
    } else if (what == "style") {
      std::string name;
      in >> name;
      auto kv = KeyValues(in);
      Style s;
      s.rank = std::stod(kv.at("rank"));
      s.suit = std::stod(kv.at("suit"));
      s.indexx = std::stod(kv.at("indexx"));
      s.indexy = std::stod(kv.at("indexy"));
      s.pip = std::stod(kv.at("pip"));
      s.ace = std::stod(kv.at("ace"));
      s.stroke = std::stod(kv.at("stroke"));
      auto a = Numbers(kv.at("area")), fr = Numbers(kv.at("frame"));
      for (int i = 0; i < 4; ++i) {
        s.area[i] = a.at(i);
        s.frame[i] = fr.at(i);
      }
      d.styles[name] = s;
    } else if (what == "colour") {
      std::string name, eq, rest;
      in >> name >> eq;
      std::getline(in, rest);
      auto v = Numbers(rest);
      d.colours[name] = Col{static_cast<float>(v.at(0)), static_cast<float>(v.at(1)), static_cast<float>(v.at(2))};
    } else if (what == "pips") {
      int rank;
      std::string eq, p;
      in >> rank >> eq;
      while (in >> p) {
        auto v = Numbers(p);
        d.pips[rank].push_back({v.at(0), v.at(1)});
      }
    } else if (what == "glyph") {
      std::string name, w, colon, rest;
      in >> name >> w >> colon;
      std::getline(in, rest);
      Glyph g = ParseGlyph(rest);
      g.advance = std::stod(w.substr(2));
      d.glyphs[name] = g;
    } else {
      throw std::runtime_error("description: unknown line " + line);
    }
  }
  if (d.sheets.size() != 5) throw std::runtime_error("description: five sheets expected");
  return d;
}

// ---------------------------------------------------------------- shapes
// Suits in a unit frame: x and y from -1 to 1, y down.
Path Heart() {
  Path p;
  p.push_back(Ellipse(-0.47, -0.42, 0.52, 0.52, 48));
  p.push_back(Ellipse(0.47, -0.42, 0.52, 0.52, 48));
  Contour c{{0, -0.5}, {-0.99, -0.42}};
  Cubic(c, {-0.99, 0.02}, {-0.42, 0.46}, {0, 0.98});
  Cubic(c, {0.42, 0.46}, {0.99, 0.02}, {0.99, -0.42});
  p.push_back(c);
  for (auto& k : p) Orient(k);
  return p;
}

Path Stem() {
  Contour c{{0, 0.2}};
  Cubic(c, {0.04, 0.62}, {0.18, 0.9}, {0.42, 1.0});
  c.push_back({-0.42, 1.0});
  Cubic(c, {-0.18, 0.9}, {-0.04, 0.62}, {0, 0.2});
  Orient(c);
  return {c};
}

Path Spade() {
  Path p = Map(Heart(), Xf{0.9, 0, 0, -0.82, 0, -0.18});
  for (auto& k : p) Orient(k);
  Append(p, Stem());
  return p;
}

Path Club() {
  Path p;
  p.push_back(Ellipse(0, -0.55, 0.4, 0.4, 40));
  p.push_back(Ellipse(-0.52, 0.1, 0.4, 0.4, 40));
  p.push_back(Ellipse(0.52, 0.1, 0.4, 0.4, 40));
  p.push_back(Ellipse(0, -0.05, 0.26, 0.3, 24));
  for (auto& k : p) Orient(k);
  Append(p, Stem());
  return p;
}

Path Diamond() {
  Contour c{{0, -1}};
  Cubic(c, {0.22, -0.62}, {0.47, -0.29}, {0.78, 0});
  Cubic(c, {0.47, 0.29}, {0.22, 0.62}, {0, 1});
  Cubic(c, {-0.22, 0.62}, {-0.47, 0.29}, {-0.78, 0});
  Cubic(c, {-0.47, -0.29}, {-0.22, -0.62}, {0, -1});
  Orient(c);
  return {c};
}

Path Suit(int row) {
  switch (row) {
    case 1:
      return Spade();
    case 2:
      return Heart();
    case 3:
      return Diamond();
    default:
      return Club();
  }
}

Path Star(double cx, double cy, double r, int points = 5) {
  Contour c;
  for (int i = 0; i < points * 2; ++i) {
    double a = -M_PI / 2 + M_PI * i / points, rr = (i % 2) ? r * 0.42 : r;
    c.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
  }
  Orient(c);
  return {c};
}

// A glyph as a stroked path, its cap height h, centred on cx with its top at `top`.
Path GlyphPath(const Glyph& g, double cx, double top, double h, double strokePx, double squeeze = 1.0) {
  const double s = h / 14.0;
  // Wide glyphs (the "10") are narrowed to the common width so that indexes line up.
  const double sx = s * squeeze * std::min(1.0, 10.0 / g.advance) * (g.advance > 10 ? 1.2 : 1.0);
  Path p;
  for (size_t i = 0; i < g.lines.size(); ++i) {
    std::vector<Pt> line;
    for (Pt q : g.lines[i]) line.push_back({cx + (q.x - g.advance / 2) * sx, top + q.y * s});
    Append(p, Stroke(line, strokePx, g.closed[i]));
  }
  return p;
}

const char* kRanks[] = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

// ---------------------------------------------------------------- card painter
class CardArtist {
 public:
  CardArtist(const Description& d, const Sheet& s, Image& img) : d_(d), s_(s), st_(d.styles.at(s.style)), img_(img) {
    W = s.cw;
    H = s.ch;
  }

  void DrawSheet() {
    for (int row = 1; row <= 4; ++row)
      for (int col = 1; col <= 14; ++col) DrawCell(col, row);
  }

 private:
  const Description& d_;
  const Sheet& s_;
  const Style& st_;
  Image& img_;
  int W, H;
  int ox_ = 0, oy_ = 0;
  Clip clip_{};
  std::vector<bool> mask_;

  Col SuitColour(int row) const { return (row == 2 || row == 3) ? d_.colour("red") : d_.colour("black"); }
  bool Full() const { return s_.style != "compact"; }
  // A path given in cell coordinates, placed into the sheet.
  Path Cell(const Path& p) const { return Map(p, Xf{1, 0, 0, 1, static_cast<double>(ox_), static_cast<double>(oy_)}); }
  void FillCell(const Path& p, Col c, float alpha = 1.f) { Fill(img_, Cell(p), c, clip_, alpha); }
  // Point reflection through the cell centre: the lower half of a printed card.
  Path Turn(const Path& p) const { return Map(p, Xf{-1, 0, 0, -1, static_cast<double>(W), static_cast<double>(H)}); }
  double StrokePx(double glyphH) const { return std::max(1.05, st_.stroke * glyphH); }

  void ComputeMask() {
    Image tmp(W, H, Col{0, 0, 0});
    Fill(tmp, {RoundRect(0, 0, W, H, s_.radius + 0.35)}, Col{1, 1, 1}, Clip{0, 0, W, H});
    mask_.assign(static_cast<size_t>(W) * H, false);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) mask_[static_cast<size_t>(y) * W + x] = tmp.at(x, y).r >= 0.5f;
  }
  bool Opaque(int x, int y) const {
    return x >= 0 && y >= 0 && x < W && y < H && mask_[static_cast<size_t>(y) * W + x];
  }

  void DrawCell(int col, int row) {
    ox_ = (col - 1) * W;
    oy_ = (row - 1) * H;
    clip_ = Clip{ox_, oy_, ox_ + W, oy_ + H};
    ComputeMask();
    if (col == 14 && row == 4) {
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) img_.at(ox_ + x, oy_ + y) = Opaque(x, y) ? Col{0, 0, 0} : Col{255, 255, 255};
      return;
    }
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) img_.at(ox_ + x, oy_ + y) = d_.colour("paper");
    if (col == 14 && row == 3)
      DrawBack();
    else if (col == 14)
      DrawJoker(row == 1);
    else
      DrawFace(col, row);
    Finish();
  }

  // Outline along the mask's edge, then black wherever the mask is transparent.
  void Finish() {
    const Col edge = d_.colour("edge");
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        Col& p = img_.at(ox_ + x, oy_ + y);
        if (!Opaque(x, y)) {
          p = Col{0, 0, 0};
        } else if (!Opaque(x - 1, y) || !Opaque(x + 1, y) || !Opaque(x, y - 1) || !Opaque(x, y + 1)) {
          p = edge;
        } else if (H >= 90 &&
                   (!Opaque(x - 1, y - 1) || !Opaque(x + 1, y + 1) || !Opaque(x + 1, y - 1) || !Opaque(x - 1, y + 1))) {
          p = Mix(p, edge, 0.5f);
        }
      }
  }

  void DrawIndex(const std::string& rank, int row, Col c, bool turned) {
    const double rh = st_.rank * H;
    const double sw = StrokePx(rh);
    const double cx = std::max(st_.indexx * W, rh * 0.36 + sw / 2 + 1.2);
    const double top = std::max(st_.indexy * H, sw / 2 + 1.4);
    Path p = GlyphPath(d_.glyph(rank), cx, top, rh, sw);
    const double ss = st_.suit * H;
    Append(p, Map(Suit(row), Place(cx, top + rh + sw / 2 + ss * 0.62, ss / 2, false)));
    FillCell(turned ? Turn(p) : p, c);
  }

  void DrawPip(int row, double cx, double cy, double size, bool flip) {
    FillCell(Map(Suit(row), Place(cx, cy, size / 2, flip)), SuitColour(row));
  }

  void DrawFace(int col, int row) {
    const Col c = SuitColour(row);
    DrawIndex(kRanks[col], row, c, false);
    if (Full()) DrawIndex(kRanks[col], row, c, true);
    if (col >= 11) {
      DrawCourt(col, row);
      return;
    }
    if (!Full() || col == 1) {
      const double size = (col == 1 ? st_.ace : st_.pip) * H * (col == 1 && row == 1 && Full() ? 1.15 : 1.0);
      const double cx = Full() ? W / 2.0 : st_.area[0] * W, cy = Full() ? H / 2.0 : st_.area[1] * H;
      DrawPip(row, cx, cy, size, false);
      if (col == 1 && row == 1 && Full()) {
        // The ace of spades carries a paper-white flourish inside its pip.
        FillCell(Star(cx, cy - size * 0.08, size * 0.16), d_.colour("paper"));
      }
      return;
    }
    const double x0 = st_.area[0] * W, y0 = st_.area[1] * H, x1 = st_.area[2] * W, y1 = st_.area[3] * H;
    for (const Pt& q : d_.pips.at(col)) {
      DrawPip(row, x0 + q.x * (x1 - x0), y0 + q.y * (y1 - y0), st_.pip * H, q.y > 0.55);
    }
  }

  // Court cards: a framed, double-ended figure on the large sheets; a gold-framed pip on the small.
  void DrawCourt(int col, int row) {
    const Col suit = SuitColour(row);
    if (!Full()) {
      const double size = st_.pip * H, cx = st_.area[0] * W, cy = st_.area[1] * H;
      const double fx0 = cx - size * 0.62, fy0 = cy - size * 0.7, fx1 = std::min(W - 2.0, cx + size * 0.62),
                   fy1 = std::min(H - 2.0, cy + size * 0.7);
      FillCell({RoundRect(fx0, fy0, fx1, fy1, 2)}, d_.colour("gold"));
      FillCell({RoundRect(fx0 + 1, fy0 + 1, fx1 - 1, fy1 - 1, 1.5)}, d_.colour("courtbg"));
      DrawPip(row, cx, cy, size * 0.8, false);
      DrawCrown(col, cx, fy0 + 0.5, size * 0.5);
      return;
    }
    const double fx0 = std::round(st_.frame[0] * W), fy0 = std::round(st_.frame[1] * H),
                 fx1 = std::round(st_.frame[2] * W), fy1 = std::round(st_.frame[3] * H);
    const double fw = fx1 - fx0, fh = fy1 - fy0;
    FillCell({RoundRect(fx0, fy0, fx1, fy1, 1.5)}, suit);
    const double lw = std::max(1.0, H / 110.0);
    FillCell({RoundRect(fx0 + lw, fy0 + lw, fx1 - lw, fy1 - lw, 1)}, d_.colour("courtbg"));
    const Clip saved = clip_;
    clip_ = Clip{ox_ + static_cast<int>(fx0 + lw), oy_ + static_cast<int>(fy0 + lw), ox_ + static_cast<int>(fx1 - lw),
                 oy_ + static_cast<int>(fy1 - lw)};
    // Half figure in frame units (0..1 across, 0..0.5 down), drawn twice.
    auto frame = [&](const Path& p) { return Map(p, Xf{fw, 0, 0, fh, fx0, fy0}); };
    auto both = [&](const Path& p, Col c) {
      Path q = frame(p);
      FillCell(q, c);
      FillCell(Turn(q), c);
    };
    DrawFigure(col, row, fw, fh, both);
    // Dividing line and the corner pips of the frame.
    FillCell({Contour{{fx0, fy0 + fh / 2 - lw / 2},
                      {fx1, fy0 + fh / 2 - lw / 2},
                      {fx1, fy0 + fh / 2 + lw / 2},
                      {fx0, fy0 + fh / 2 + lw / 2}}},
             suit, 0.6f);
    clip_ = saved;
    const double ps = std::min(fw, fh) * 0.2;
    Path pip = Map(Suit(row), Place(fx0 + lw + ps * 0.6, fy0 + lw + ps * 0.65, ps / 2, false));
    FillCell(pip, suit);
    FillCell(Turn(pip), suit);
  }

  template <class Both>
  void DrawFigure(int col, int row, double fw, double fh, Both both) {
    const Col red = d_.colour("red"), blue = d_.colour("blue"), gold = d_.colour("gold"), skin = d_.colour("skin"),
              ink = d_.colour("black");
    const bool redSuit = row == 2 || row == 3;
    const Col robe = (col == 12) == redSuit ? blue : red;
    const Col trim = (col == 12) == redSuit ? red : blue;
    auto poly = [](std::initializer_list<Pt> pts) {
      Contour c(pts);
      Orient(c);
      return Path{c};
    };
    // Shoulders and robe.
    Contour body{{0.06, 0.5}, {0.06, 0.43}};
    Cubic(body, {0.08, 0.33}, {0.2, 0.3}, {0.34, 0.29});
    body.push_back({0.66, 0.29});
    Cubic(body, {0.8, 0.3}, {0.92, 0.33}, {0.94, 0.43});
    body.push_back({0.94, 0.5});
    Orient(body);
    both({body}, robe);
    both(poly({{0.42, 0.29}, {0.58, 0.29}, {0.62, 0.5}, {0.38, 0.5}}), gold);
    both(poly({{0.47, 0.3}, {0.53, 0.3}, {0.55, 0.5}, {0.45, 0.5}}), trim);
    both(poly({{0.1, 0.4}, {0.36, 0.33}, {0.37, 0.37}, {0.1, 0.45}}), trim);
    both(poly({{0.9, 0.4}, {0.64, 0.33}, {0.63, 0.37}, {0.9, 0.45}}), trim);
    // Collar.
    Contour collar = Ellipse(0.5, 0.29, 0.17, 0.035, 32);
    Orient(collar);
    both({collar}, gold);
    // Hair behind the head (the queen's is long).
    if (col == 12) {
      both({Ellipse(0.5, 0.2, 0.17, 0.12, 40)}, Col{150, 90, 40});
      both(poly({{0.33, 0.2}, {0.42, 0.2}, {0.42, 0.31}, {0.31, 0.31}}), Col{150, 90, 40});
      both(poly({{0.58, 0.2}, {0.67, 0.2}, {0.69, 0.31}, {0.58, 0.31}}), Col{150, 90, 40});
    } else if (col == 11) {
      both({Ellipse(0.5, 0.17, 0.14, 0.09, 40)}, Col{120, 70, 30});
    }
    // Face.
    both({Ellipse(0.5, 0.2, 0.12, 0.085, 40)}, skin);
    if (col == 13) {
      Contour beard{{0.38, 0.2}};
      Cubic(beard, {0.38, 0.3}, {0.46, 0.31}, {0.5, 0.315});
      Cubic(beard, {0.54, 0.31}, {0.62, 0.3}, {0.62, 0.2});
      beard.push_back({0.58, 0.24});
      beard.push_back({0.42, 0.24});
      Orient(beard);
      both({beard}, Col{235, 235, 235});
      both({Ellipse(0.5, 0.245, 0.07, 0.012, 16)}, Col{120, 110, 100});
    }
    both({Ellipse(0.455, 0.19, 0.014, 0.01, 12)}, ink);
    both({Ellipse(0.545, 0.19, 0.014, 0.01, 12)}, ink);
    if (col != 13) both({Ellipse(0.5, 0.237, 0.03, 0.008, 12)}, red);
    // Headwear.
    if (col == 13) {
      both(poly({{0.36, 0.135}, {0.36, 0.05}, {0.42, 0.09}, {0.5, 0.03}, {0.58, 0.09}, {0.64, 0.05}, {0.64, 0.135}}),
           gold);
      both({Ellipse(0.5, 0.11, 0.022, 0.014, 12)}, red);
      both({Ellipse(0.42, 0.115, 0.015, 0.01, 12)}, blue);
      both({Ellipse(0.58, 0.115, 0.015, 0.01, 12)}, blue);
    } else if (col == 12) {
      both(poly({{0.39, 0.125}, {0.42, 0.07}, {0.46, 0.1}, {0.5, 0.055}, {0.54, 0.1}, {0.58, 0.07}, {0.61, 0.125}}),
           gold);
      both({Ellipse(0.5, 0.1, 0.015, 0.011, 12)}, red);
    } else {
      Contour cap{{0.35, 0.13}};
      Cubic(cap, {0.36, 0.04}, {0.64, 0.04}, {0.65, 0.13});
      Orient(cap);
      both({cap}, robe);
      both(poly({{0.35, 0.12}, {0.65, 0.12}, {0.65, 0.14}, {0.35, 0.14}}), gold);
      Contour feather{{0.62, 0.09}};
      Cubic(feather, {0.72, 0.02}, {0.82, 0.02}, {0.86, 0.04});
      Cubic(feather, {0.8, 0.06}, {0.72, 0.08}, {0.64, 0.11});
      Orient(feather);
      both({feather}, gold);
    }
    // What each figure holds.
    if (col == 13) {
      both(Stroke({{0.78, 0.48}, {0.86, 0.12}}, 0.025, false), Col{170, 170, 180});
      both(poly({{0.75, 0.4}, {0.86, 0.42}, {0.855, 0.44}, {0.745, 0.42}}), gold);
    } else if (col == 12) {
      both(Stroke({{0.8, 0.47}, {0.82, 0.2}}, 0.015, false), Col{40, 130, 50});
      both({Ellipse(0.82, 0.18, 0.045, 0.03, 20)}, red);
      both({Ellipse(0.82, 0.18, 0.017, 0.012, 12)}, gold);
    } else {
      both(Stroke({{0.2, 0.48}, {0.18, 0.1}}, 0.02, false), Col{120, 80, 40});
      both(poly({{0.18, 0.1}, {0.1, 0.13}, {0.1, 0.18}, {0.185, 0.16}}), Col{170, 170, 180});
    }
    // Hands on what they hold, and the suit as an emblem on the chest.
    const Col skinCol = d_.colour("skin");
    if (col == 11)
      both({Ellipse(0.2, 0.43, 0.045, 0.03, 16)}, skinCol);
    else
      both({Ellipse(0.79, 0.44, 0.045, 0.03, 16)}, skinCol);
    const double e = std::min(fw, fh) * 0.075;
    both({Ellipse(0.5, 0.42, e / fw * 1.25, e / fh * 1.25, 24)}, Col{255, 255, 255});
    both(Map(Suit(row), Xf{e / fw * 0.9, 0, 0, e / fh * 0.9, 0.5, 0.42}), SuitColour(row));
    // Gold studs along the robe's trim.
    for (double x : {0.2, 0.3, 0.7, 0.8}) both({Ellipse(x, 0.47, 0.018, 0.012, 10)}, gold);
  }

  // A small crown or cap over the framed pip of a court card on the small sheets.
  void DrawCrown(int col, double cx, double bottom, double w) {
    const Col gold = d_.colour("gold");
    const double h = w * 0.55;
    Contour c;
    if (col == 13) {
      c = {{cx - w / 2, bottom}, {cx - w / 2, bottom - h},        {cx - w / 4, bottom - h * 0.45},
           {cx, bottom - h},     {cx + w / 4, bottom - h * 0.45}, {cx + w / 2, bottom - h},
           {cx + w / 2, bottom}};
    } else if (col == 12) {
      c = {{cx - w * 0.4, bottom},
           {cx - w * 0.3, bottom - h * 0.7},
           {cx, bottom - h},
           {cx + w * 0.3, bottom - h * 0.7},
           {cx + w * 0.4, bottom}};
    } else {
      c = {{cx - w * 0.4, bottom}};
      Cubic(c, {cx - w * 0.4, bottom - h}, {cx + w * 0.4, bottom - h}, {cx + w * 0.4, bottom});
    }
    Orient(c);
    FillCell({c}, gold);
    (void)col;
  }

  void DrawJokerText(bool colour, bool turned) {
    const std::string word = "JOKER";
    const double avail = Full() ? H * 0.58 : H - 2 * std::max(2.0, st_.indexy * H);
    const double lh = std::min(st_.rank * H * 0.8, avail / (word.size() + (word.size() - 1) * 0.18));
    const double sw = std::max(1.0, st_.stroke * lh * 0.95);
    const double cx = std::max(st_.indexx * W * (Full() ? 1.0 : 0.8), lh * 0.36 + sw / 2 + 1.2);
    double top = std::max(st_.indexy * H, sw / 2 + 1.4);
    Path p;
    for (char ch : word) {
      Append(p, GlyphPath(d_.glyph(std::string(1, ch)), cx, top, lh, sw, 0.95));
      top += lh * 1.18;
    }
    FillCell(turned ? Turn(p) : p, colour ? d_.colour("red") : d_.colour("black"));
  }

  void DrawJoker(bool colour) {
    DrawJokerText(colour, false);
    if (Full()) DrawJokerText(colour, true);
    const Col grey1{90, 90, 96}, grey2{150, 150, 156}, grey3{205, 205, 210};
    const Col c1 = colour ? d_.colour("red") : grey1, c2 = colour ? d_.colour("gold") : grey3,
              c3 = colour ? d_.colour("blue") : grey2, face = colour ? d_.colour("skin") : Col{236, 236, 238},
              ink = d_.colour("black");
    // The jester: head, three-pointed cap with bells, a ruff; drawn in a unit frame.
    const double cx = Full() ? W * 0.55 : W * 0.62, cy = Full() ? H * 0.5 : H * 0.6;
    const double s = Full() ? W * 0.36 : W * 0.42;
    Xf xf{s, 0, 0, s, cx, cy};
    auto put = [&](Contour c, Col col) {
      Orient(c);
      FillCell(Map({c}, xf), col);
    };
    // Ruff: alternating points around the neck.
    Contour ruff;
    for (int i = 0; i <= 12; ++i) {
      double a = M_PI * i / 12, r = (i % 2) ? 0.62 : 0.8;
      ruff.push_back({-r * std::cos(a), 0.42 + r * 0.45 * std::sin(a)});
    }
    put(ruff, c2);
    put(Ellipse(0, 0.2, 0.48, 0.52, 48), face);
    // Cap: three drooping points.
    Contour left{{-0.5, -0.1}};
    Cubic(left, {-0.7, -0.45}, {-1.0, -0.55}, {-1.05, -0.15});
    Cubic(left, {-0.85, -0.6}, {-0.3, -0.9}, {-0.05, -0.3});
    put(left, c1);
    Contour mid{{-0.35, -0.2}};
    Cubic(mid, {-0.3, -0.7}, {-0.1, -1.1}, {0.12, -1.2});
    Cubic(mid, {0.05, -0.85}, {0.3, -0.5}, {0.35, -0.2});
    put(mid, c3);
    Contour right{{0.05, -0.3}};
    Cubic(right, {0.3, -0.9}, {0.85, -0.6}, {1.05, -0.15});
    Cubic(right, {1.0, -0.55}, {0.7, -0.45}, {0.5, -0.1});
    put(right, c1);
    put(Contour{{-0.55, -0.12}, {0.55, -0.12}, {0.52, 0.0}, {-0.52, 0.0}}, c2);
    put(Ellipse(-1.05, -0.12, 0.1, 0.1, 20), c2);
    put(Ellipse(0.12, -1.2, 0.1, 0.1, 20), c2);
    put(Ellipse(1.05, -0.12, 0.1, 0.1, 20), c2);
    // Face details.
    put(Ellipse(-0.18, 0.15, 0.06, 0.06, 16), ink);
    put(Ellipse(0.18, 0.15, 0.06, 0.06, 16), ink);
    Contour smile{{-0.24, 0.36}};
    Cubic(smile, {-0.12, 0.5}, {0.12, 0.5}, {0.24, 0.36});
    Cubic(smile, {0.12, 0.44}, {-0.12, 0.44}, {-0.24, 0.36});
    put(smile, c1);
    put(Ellipse(-0.3, 0.3, 0.07, 0.05, 16), colour ? Col{240, 150, 150} : grey3);
    put(Ellipse(0.3, 0.3, 0.07, 0.05, 16), colour ? Col{240, 150, 150} : grey3);
    if (Full()) {
      FillCell(Star(cx - s * 0.1, H * 0.83, s * 0.16), c2);
      FillCell(Star(cx + s * 0.55, H * 0.8, s * 0.11), c3);
      FillCell(Star(cx - s * 0.7, H * 0.2, s * 0.1), c3);
    }
  }

  void DrawBack() {
    const double m = std::max(2.0, std::round(W * 0.07));
    const Col rim = d_.colour("backrim"), b1 = d_.colour("back1"), b2 = d_.colour("back2"), gold = d_.colour("gold");
    FillCell({RoundRect(m - 1, m - 1, W - m + 1, H - m + 1, s_.radius * 0.6 + 1)}, rim);
    const double period = std::max(4.0, W / 8.0);
    const double ox = ox_ + W / 2.0, oy = oy_ + H / 2.0;
    auto shade = [&](double x, double y) -> Col {
      double u = (x - ox + y - oy) / period, v = (x - ox - (y - oy)) / period;
      double fu = u - std::floor(u), fv = v - std::floor(v);
      double du = std::min(fu, 1 - fu), dv = std::min(fv, 1 - fv);
      const double line = 0.09;
      if (du < line || dv < line) return b2;
      if (std::abs(fu - 0.5) + std::abs(fv - 0.5) < 0.16) return Mix(b2, Col{255, 255, 255}, 0.35f);
      return b1;
    };
    FillShaded(img_, Cell({RoundRect(m, m, W - m, H - m, s_.radius * 0.6)}), shade, clip_);
    // Centre medallion.
    const double rx = W * 0.22, ry = H * 0.16;
    FillCell({Ellipse(W / 2.0, H / 2.0, rx + std::max(1.0, W / 60.0), ry + std::max(1.0, W / 60.0))}, gold);
    FillCell({Ellipse(W / 2.0, H / 2.0, rx, ry)}, b1);
    FillCell(Star(W / 2.0, H / 2.0 + ry * 0.08, std::min(rx, ry) * 0.8), gold);
  }
};

// ---------------------------------------------------------------- BMP output
uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.f, 255.f))); }

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

std::vector<uint8_t> Header(int w, int h, int bpp, uint32_t colours) {
  const uint32_t stride = ((w * bpp + 31) / 32) * 4;
  const uint32_t bits = 14 + 40 + colours * 4;
  std::vector<uint8_t> b{'B', 'M'};
  Put32(b, bits + stride * h);
  Put32(b, 0);
  Put32(b, bits);
  Put32(b, 40);
  Put32(b, w);
  Put32(b, h);
  Put16(b, 1);
  Put16(b, bpp);
  Put32(b, 0);
  Put32(b, stride * h);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, colours);
  Put32(b, colours);
  return b;
}

// 8-bit sheets: the most used colours (5 bits per channel) form the palette; black and
// white are exact entries so that masks and transparent cells stay exact.
std::vector<uint8_t> Encode8(Image& img) {
  struct Bin {
    double r = 0, g = 0, b = 0;
    long n = 0;
  };
  std::vector<Bin> bins(32768);
  auto key = [](uint8_t r, uint8_t g, uint8_t b) { return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3); };
  for (const Col& c : img.px) {
    uint8_t r = Byte(c.r), g = Byte(c.g), b = Byte(c.b);
    Bin& bin = bins[key(r, g, b)];
    bin.r += r;
    bin.g += g;
    bin.b += b;
    ++bin.n;
  }
  std::vector<int> order;
  for (int i = 0; i < 32768; ++i)
    if (bins[i].n) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return bins[a].n > bins[b].n; });
  std::vector<std::array<uint8_t, 3>> pal{{0, 0, 0}, {255, 255, 255}};
  for (int i : order) {
    if (pal.size() == 256) break;
    const Bin& b = bins[i];
    std::array<uint8_t, 3> c{static_cast<uint8_t>(b.r / b.n), static_cast<uint8_t>(b.g / b.n),
                             static_cast<uint8_t>(b.b / b.n)};
    if (std::find(pal.begin(), pal.end(), c) == pal.end()) pal.push_back(c);
  }
  while (pal.size() < 256) pal.push_back({0, 0, 0});
  std::vector<int> cache(32768 * 8, -1);
  auto nearest = [&](uint8_t r, uint8_t g, uint8_t b) {
    if (r == 0 && g == 0 && b == 0) return 0;
    if (r == 255 && g == 255 && b == 255) return 1;
    int best = 0;
    long bestD = 1L << 40;
    for (int i = 0; i < 256; ++i) {
      long dr = r - pal[i][0], dg = g - pal[i][1], db = b - pal[i][2];
      long dd = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
      if (dd < bestD) {
        bestD = dd;
        best = i;
      }
    }
    return best;
  };
  std::vector<uint8_t> out = Header(img.w, img.h, 8, 256);
  for (const auto& c : pal) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    out.push_back(0);
  }
  const int stride = ((img.w * 8 + 31) / 32) * 4;
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      const Col& c = img.at(x, y);
      uint8_t r = Byte(c.r), g = Byte(c.g), b = Byte(c.b);
      int idx;
      if ((r == 0 && g == 0 && b == 0) || (r == 255 && g == 255 && b == 255)) {
        idx = nearest(r, g, b);
      } else {
        int k = key(r, g, b);
        if (cache[k] < 0) cache[k] = nearest(r, g, b);
        idx = cache[k];
      }
      out.push_back(static_cast<uint8_t>(idx));
    }
    for (int p = img.w; p < stride; ++p) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> Encode24(Image& img) {
  std::vector<uint8_t> out = Header(img.w, img.h, 24, 0);
  const int stride = ((img.w * 24 + 31) / 32) * 4;
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      const Col& c = img.at(x, y);
      out.push_back(Byte(c.b));
      out.push_back(Byte(c.g));
      out.push_back(Byte(c.r));
    }
    for (int p = img.w * 3; p < stride; ++p) out.push_back(0);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cardsheetgen <description> <output folder>\n");
    return 2;
  }
  try {
    Description d = Load(argv[1]);
    for (const Sheet& s : d.sheets) {
      Image img(s.cw * 14, s.ch * 4, Col{0, 0, 0});
      CardArtist(d, s, img).DrawSheet();
      std::vector<uint8_t> bytes = s.bpp == 8 ? Encode8(img) : Encode24(img);
      std::string path = std::string(argv[2]) + "/cards" + std::to_string(s.type) + ".bmp";
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (!out) throw std::runtime_error("cannot write " + path);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cardsheetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
