// pageview_paint_bench [KB] [ROUNDS]: how long the stand-in browsers take to read a page of
// KB kilobytes (100 by default) and to paint its visible part (780 x 550, the help window's
// page): the first paint, then later ones at the top and scrolled, in milliseconds per paint.
// Run under Wine; prints one line per measure.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PlainPage.h"

namespace {

// A page like the help page, repeated: headings, paragraphs of Chinese text (GBK), a table
// and links.
std::string MakePage(size_t bytes) {
  const std::string block =
      "<h2>\xBD\xD0\xB7\xD6</h2><p>\xB7\xA2\xC5\xC6\xBA\xF3\xA3\xAC\xCD\xE6\xBC\xD2\xB0\xB4\xCB\xB3\xD0\xF2\xBD\xD0"
      "\xB7\xD6\xA3\xAC\xC3\xBF\xC8\xCB\xD2\xBB\xB4\xCE\xBB\xFA\xBB\xE1\xA1\xA3</p>"
      "<table><tr><td>\xB5\xA5\xD5\xC5</td><td>K</td></tr><tr><td>\xB6\xD4\xD7\xD3</td><td>9 9</td></tr></table>"
      "<p><a href=\"http://127.0.0.1/next\">\xCF\xC2\xD2\xBB\xD2\xB3</a></p>\n";
  std::string page = "<html><head><title>Bench</title></head><body>";
  while (page.size() < bytes) page += block;
  return page + "</body></html>";
}

double Millis(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
  return 1000.0 * double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t kb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
  const std::string html = MakePage(kb * 1024);
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);

  QueryPerformanceCounter(&t0);
  vcef::PlainPage page;
  for (int i = 0; i < rounds; ++i) page = vcef::MakePlainPage("http://127.0.0.1/bench", "text/html", html);
  QueryPerformanceCounter(&t1);
  std::printf("read %zu KB page: %.2f ms\n", html.size() / 1024, Millis(t0, t1, f) / rounds);

  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 780, 550);
  HGDIOBJ old = SelectObject(mem, bmp);
  int height = 0;
  {
    // The first paint also loads the fonts and lays the text out; later ones only draw.
    vcef::PlacedLinks placed;
    QueryPerformanceCounter(&t0);
    vcef::PaintPlainPage(mem, 780, 550, page, false, &placed, 0, &height);
    QueryPerformanceCounter(&t1);
    std::printf("first paint 780x550: %.2f ms\n", Millis(t0, t1, f));
  }
  for (int scroll : {0, -1}) {
    vcef::PlacedLinks placed;
    const int at = scroll < 0 ? height / 2 : 0;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) vcef::PaintPlainPage(mem, 780, 550, page, false, &placed, at, &height);
    QueryPerformanceCounter(&t1);
    std::printf("paint 780x550 at %d of %d px: %.2f ms\n", at, height, Millis(t0, t1, f) / rounds);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return 0;
}
