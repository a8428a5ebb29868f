#include "PlainPage.h"

#include "PageFetch.h"

namespace vcef {
namespace {
constexpr int kBarHeight = 24;

HFONT MakeFont(int height, int weight, bool underline = false) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "SimSun");
}

void FillSolid(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void DrawWide(HDC dc, const std::wstring& w, RECT* r, UINT flags) {
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), r, flags);
}

// The address bar along the top; returns where the page below it starts.
int PaintAddressBar(HDC dc, int w, const std::string& address, HFONT font) {
  FillSolid(dc, RECT{0, 0, w, kBarHeight}, RGB(236, 238, 242));
  FillSolid(dc, RECT{0, kBarHeight - 1, w, kBarHeight}, RGB(160, 166, 176));
  SelectObject(dc, font);
  SetTextColor(dc, RGB(30, 30, 30));
  RECT addr{6, 0, w - 4, kBarHeight - 1};
  DrawWide(dc, ToWide(address), &addr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  return kBarHeight;
}

// The links one a line from `y` down; only those between `top` and `h` are drawn and placed.
// Returns the bottom of the last one.
int PaintLinks(HDC dc, int w, int top, int h, int y, const PlainPage& page, PlacedLinks* placed) {
  for (const PageLink& l : page.links) {
    if (y + 18 > top && y < h) {
      RECT lr{16, y, w - 8, y + 18};
      const std::wstring label = l.text.empty() ? ToWide(l.href) : ToWide(l.text, page.utf8);
      DrawWide(dc, label, &lr, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER);
      RECT hit = lr;
      DrawWide(dc, label, &hit, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
      if (hit.right > lr.right) hit.right = lr.right;
      hit.bottom = lr.bottom;
      if (hit.top < top) hit.top = top;
      if (placed) placed->push_back({hit, l});
    }
    y += 20;
  }
  return y;
}
}  // namespace

PlainPage MakePlainPage(const std::string& url, const std::string& type, const std::string& body) {
  PlainPage page;
  page.address = url;
  page.utf8 = CharsetOf(type, body) == PageCharset::kUtf8;
  const std::string mime = BareMime(type);
  if (IsHtml(mime, body)) {
    PageText text = HtmlToText(body);
    page.title = text.title;
    page.text = text.text;
    for (PageLink& l : text.links) {
      if (l.href.empty()) continue;
      l.href = ResolveUrl(url, l.href);
      page.links.push_back(l);
    }
  } else {
    page.text = body.substr(0, 64 * 1024);
  }
  if (page.title.empty()) page.title = TitleFromUrl(url);
  return page;
}

void PaintPlainPage(HDC target, int w, int h, const PlainPage& page, bool addressBar, PlacedLinks* placed, int scroll,
                    int* contentHeight) {
  if (placed) placed->clear();
  if (contentHeight) *contentHeight = 0;
  if (w <= 0 || h <= 0) return;
  // Drawn off screen and copied in one go: no flicker, and WM_PRINTCLIENT gets the same picture.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  FillSolid(dc, RECT{0, 0, w, h}, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  HFONT small = MakeFont(12, FW_NORMAL), bold = MakeFont(16, FW_BOLD), body = MakeFont(14, FW_NORMAL);
  HFONT linkFont = MakeFont(14, FW_NORMAL, true);
  HGDIOBJ oldFont = SelectObject(dc, small);
  const int top = addressBar ? PaintAddressBar(dc, w, page.address, small) : 0;
  // The page below the bar, moved up by the scroll position.
  IntersectClipRect(dc, 0, top, w, h);
  const int y0 = top - (scroll > 0 ? scroll : 0);

  SelectObject(dc, bold);
  SetTextColor(dc, RGB(0, 0, 0));
  RECT titleRect{8, y0 + 6, w - 8, y0 + 28};
  DrawWide(dc, ToWide(page.title, page.utf8), &titleRect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

  SelectObject(dc, body);
  SetTextColor(dc, RGB(40, 40, 40));
  const std::wstring text = ToWide(page.text, page.utf8);
  const UINT textFlags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL;
  RECT measured{8, y0 + 34, w - 8, y0 + 34};
  if (page.layoutWidth != w) {
    DrawWide(dc, text, &measured, textFlags | DT_CALCRECT);
    page.layoutWidth = w;
    page.layoutHeight = measured.bottom - measured.top;
  }
  measured.right = w - 8;
  measured.bottom = measured.top + page.layoutHeight;
  if (measured.bottom > top && measured.top < h) DrawWide(dc, text, &measured, textFlags);

  // The page's links, one a line under the text, to be clicked.
  SelectObject(dc, linkFont);
  SetTextColor(dc, RGB(0, 60, 200));
  const int bottom = PaintLinks(dc, w, top, h, (text.empty() ? measured.top : measured.bottom) + 10, page, placed);
  if (contentHeight) *contentHeight = bottom + 8 - y0;

  SelectObject(dc, oldFont);
  for (HFONT f : {small, bold, body, linkFont}) DeleteObject(f);
  BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBmp);
  DeleteObject(bmp);
  DeleteDC(dc);
}

const PageLink* LinkAt(const PlacedLinks& placed, int x, int y) {
  POINT pt{x, y};
  for (const auto& e : placed)
    if (PtInRect(&e.first, pt)) return &e.second;
  return nullptr;
}

}  // namespace vcef
