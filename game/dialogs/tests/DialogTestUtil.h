// Small helpers of the dialog tests: visible controls and their texts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "WinProbe.h"

inline std::string ItemText(HWND dlg, int id) {
  char text[512] = "";
  ::GetDlgItemTextA(dlg, id, text, sizeof text);
  return text;
}

inline bool ItemVisible(HWND dlg, int id) {
  HWND c = ::GetDlgItem(dlg, id);
  return c && ::IsWindowVisible(c);
}

// Ids of the visible ones among `ids`, in the given order.
inline std::vector<int> VisibleOf(HWND dlg, std::initializer_list<int> ids) {
  std::vector<int> out;
  for (int id : ids)
    if (ItemVisible(dlg, id)) out.push_back(id);
  return out;
}

inline RECT ItemRect(HWND dlg, int id) {
  RECT r = {};
  HWND c = ::GetDlgItem(dlg, id);
  if (!c) return r;
  ::GetWindowRect(c, &r);
  ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline bool Inside(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// A player's click: the pointer goes over the visible button, then it is clicked (the
// skinned buttons only fire under the pointer). False when no such button shows.
inline bool ClickVisible(HWND dlg, const std::string& text) {
  HWND b = winprobe::FindButton(dlg, text);
  if (!b || !::IsWindowVisible(b)) return false;
  RECT r;
  ::GetWindowRect(b, &r);
  ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::PostMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
  ::PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
  return true;
}

// Closes a dialog that a failed step left open, so a test fails instead of hanging.
// One guard at a time: an earlier dialog's guard must not fire into the next dialog.
inline void CloseLater(HWND dlg, UINT ms = 20000) {
  static HWND s_dlg;
  static UINT_PTR s_timer;
  if (s_timer) ::KillTimer(nullptr, s_timer);
  s_dlg = dlg;
  s_timer = ::SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (id == s_timer) s_timer = 0;
    if (::IsWindow(s_dlg)) ::PostMessageA(s_dlg, WM_CLOSE, 0, 0);
  });
}
