// A page as the stand-in browsers show it: its address, title, text and links, painted
// plainly (an optional address bar, the title in bold, the text, then one link a line).
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "PageText.h"

namespace vcef {

struct PlainPage {
  std::string address;
  std::string title;  // the page's own, else one taken from the address
  std::string text;
  std::vector<PageLink> links;  // absolute addresses
};

using PlacedLinks = std::vector<std::pair<RECT, PageLink>>;

// The page of `body` (of type `mime`) loaded from `url`.
PlainPage MakePlainPage(const std::string& url, const std::string& mime, const std::string& body);

// Paints the page into `target` (w x h), off screen first; `placed` gets where each link went.
void PaintPlainPage(HDC target, int w, int h, const PlainPage& page, bool addressBar, PlacedLinks* placed);

// The link under (x, y) of the last paint; nullptr when there is none.
const PageLink* LinkAt(const PlacedLinks& placed, int x, int y);

}  // namespace vcef
