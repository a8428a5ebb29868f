// Decisions of the browser library that need no window: popup placement, which
// navigations are refused, the load-error page and the handler's closing flags.
#pragma once

#include <string>

namespace brellin {

constexpr int kPopupHeight = 619;
constexpr int kWideScreen = 1367;  // screens at least this wide get the wide popup
constexpr unsigned kTransitionForwardBack = 0x1000000;
constexpr int kErrorAborted = -3;
extern const char kLobbyProtocol[];  // "lobbyprotocol://"

struct PopupSize {
  int width;
  int height;
};
PopupSize PopupSizeForScreen(int screenWidth);

struct PopupRequest {
  int screenWidth = 0;
  bool hasBrowser = false;  // a panel browser exists; its window rectangle follows
  int anchorLeft = 0;
  int anchorTop = 0;
  bool popupOpen = false;
};

struct PopupDecision {
  bool cancel = false;
  bool positioned = false;  // x, y, width, height are to be applied to the new window
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool markOpen = false;  // the handler's popup-open flag becomes set
};

// One popup at a time, opened to the left of the panel and half a popup height lower.
PopupDecision DecidePopup(const PopupRequest& req);

// True when the navigation must not happen: back/forward, or the lobby's own protocol.
bool ShouldCancelBrowse(const std::string& url, unsigned transition);

// Whether an address no browser handles may be passed to the operating system: only
// web and mail addresses. A page must not start whatever other handler is registered
// (a shell, a file, a program's own scheme); the lobby's own scheme is handled here.
bool AllowOsProtocol(const std::string& url);

// The page shown in place of a failed load; false (no page) for an aborted load.
bool BuildErrorPage(const std::string& failedUrl, const std::string& errorText, int errorCode, std::string* html);

// Text made safe to place inside HTML element content.
std::string HtmlEscape(const std::string& text);

// The client handler's flags, changed as its browsers close.
struct HandlerFlags {
  bool isClosing = false;
  bool popupOpen = false;
};
void OnDoClose(HandlerFlags& flags, size_t openBrowsers);

}  // namespace brellin
