#include "BrowserRules.h"

#include <cctype>

namespace brellin {

const char kLobbyProtocol[] = "lobbyprotocol://";

namespace {

// Schemes are case-insensitive: "LobbyProtocol://" must be refused as well.
bool StartsWithNoCase(const std::string& text, const char* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

// Leading blanks and control bytes are dropped by browsers before the scheme is read.
std::string TrimLeading(const std::string& url) {
  size_t i = 0;
  while (i < url.size() && static_cast<unsigned char>(url[i]) <= 0x20) ++i;
  return url.substr(i);
}

}  // namespace

PopupSize PopupSizeForScreen(int screenWidth) {
  return PopupSize{screenWidth < kWideScreen ? 820 : 1000, kPopupHeight};
}

PopupDecision DecidePopup(const PopupRequest& req) {
  PopupDecision d;
  if (!req.hasBrowser) return d;  // allowed, placed by the system
  if (req.popupOpen) {
    d.cancel = true;
    return d;
  }
  const PopupSize size = PopupSizeForScreen(req.screenWidth);
  d.positioned = true;
  d.width = size.width;
  d.height = size.height;
  d.x = req.anchorLeft - size.width;
  d.y = req.anchorTop + kPopupHeight / 2;
  d.markOpen = true;
  return d;
}

bool ShouldCancelBrowse(const std::string& url, unsigned transition) {
  if (transition & kTransitionForwardBack) return true;
  return StartsWithNoCase(TrimLeading(url), kLobbyProtocol);
}

bool AllowOsProtocol(const std::string& url) {
  const std::string u = TrimLeading(url);
  for (const char* scheme : {"http://", "https://", "mailto:"})
    if (StartsWithNoCase(u, scheme)) return true;
  return false;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool BuildErrorPage(const std::string& failedUrl, const std::string& errorText, int errorCode, std::string* html) {
  if (errorCode == kErrorAborted) return false;
  // The address and the error text come from the page: escaped so they show as text.
  *html = "<html><body bgcolor=\"white\"><h2>Failed to load URL " + HtmlEscape(failedUrl) + " with error " +
          HtmlEscape(errorText) + " (" + std::to_string(errorCode) + ").</h2></body></html>";
  return true;
}

void OnDoClose(HandlerFlags& flags, size_t openBrowsers) {
  flags.popupOpen = false;
  if (openBrowsers == 1) flags.isClosing = true;
}

}  // namespace brellin
