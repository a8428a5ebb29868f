// Which addresses the web-browser stand-in opens: web addresses (the tree's one rule),
// "about:blank" and the empty address (a blank page), and the program's own local help
// pages given as an absolute path to an .htm or .html file. Everything else is refused.
#pragma once
#include <string>

namespace webctl {

enum class Target { kBlank, kWeb, kLocalPage, kRefused };

Target Classify(const std::string& url);

// Whether a link of the page at `from` may be followed to `to`: never to a refused address,
// and to a local page only from a local page (a web page cannot make the browser show a
// file of this machine).
bool MayFollow(const std::string& from, const std::string& to);

}  // namespace webctl
