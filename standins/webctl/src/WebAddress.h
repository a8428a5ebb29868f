// Which addresses the web-browser stand-in opens: web addresses (the tree's one rule),
// "about:blank" and the empty address (a blank page), and the program's own local help
// pages given as an absolute path to an .htm or .html file. Everything else is refused.
#pragma once
#include <string>

namespace webctl {

enum class Target { kBlank, kWeb, kLocalPage, kRefused };

Target Classify(const std::string& url);

}  // namespace webctl
