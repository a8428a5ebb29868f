// A page as the stand-in browsers show it: its address, title, text and links, painted
// plainly (an optional address bar, the title in bold, the text, then one link a line),
// scrolled by whole pixels below the address bar.
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
  bool utf8 = false;            // the bytes' encoding: UTF-8, else GBK
  // The text's laid-out height at one width, kept by the paint: a paint of a scrolled page
  // then draws without laying the whole text out twice.
  mutable int layoutWidth = -1;
  mutable int layoutHeight = 0;
};

using PlacedLinks = std::vector<std::pair<RECT, PageLink>>;

// The page of `body` loaded from `url`; `type` is the reply's content type, parameters and all
// (its charset, else the page's meta charset, else GBK decides how the text is read).
PlainPage MakePlainPage(const std::string& url, const std::string& type, const std::string& body);

// Paints the page into `target` (w x h), off screen first, its content moved up by `scroll`
// pixels; `placed` gets where each visible link went, `contentHeight` how tall the whole page is.
void PaintPlainPage(HDC target, int w, int h, const PlainPage& page, bool addressBar, PlacedLinks* placed,
                    int scroll = 0, int* contentHeight = nullptr);

// The link under (x, y) of the last paint; nullptr when there is none.
const PageLink* LinkAt(const PlacedLinks& placed, int x, int y);

}  // namespace vcef
