// The stand-in for the system web-browser control: the class identifier the client creates,
// the members and events its help and tip windows use, and a plain rendering of the page.
#pragma once
#include <windows.h>

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID CLSID_VeskWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// The browser's event interface {34A715A0-6587-11D0-924A-0020AFC7AC4D}.
const IID DIID_VeskWebBrowserEvents = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// Dispatch members (those of the system control that the stand-in answers).
enum : DISPID {
  DISPID_WB_REFRESH = -550,
  DISPID_WB_READYSTATE = -525,
  DISPID_WB_NAVIGATE = 104,
  DISPID_WB_STOP = 106,
  DISPID_WB_LOCATIONNAME = 210,
  DISPID_WB_LOCATIONURL = 211,
  DISPID_WB_BUSY = 212,
  DISPID_WB_PAGETEXT = 0x7005,  // a test's view: the page's text as shown
};

// Events sent to the container.
enum : DISPID {
  DISPID_WBE_TITLECHANGE = 113,
  DISPID_WBE_NAVIGATECOMPLETE2 = 252,
  DISPID_WBE_DOCUMENTCOMPLETE = 259,
  DISPID_WBE_WINDOWCLOSING = 263,
  DISPID_WBE_NAVIGATEERROR = 271,
};

// The window class of the page; its window text is the page's address.
const char kWebPageClass[] = "VeskWebPage";

IUnknown* NewWebControl();
