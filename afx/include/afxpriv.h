// Internal messages and helpers shared by frames, bars and views.
#pragma once

#include "afxwin.h"

// WM_SIZEPARENT, WM_INITIALUPDATE, WM_IDLEUPDATECMDUI, WM_KICKIDLE, WM_DISABLEMODAL and
// AFX_SIZEPARENTPARAMS are declared in afxwin.h.

// Hides a visible top-level window at once. Under Wine a top-level window is an X window,
// and once the window manager holds it (a caption, or shown active) an ordinary hide waits
// up to 2 s for the manager to confirm; on a display without one the wait always runs out.
// There the window is taken off the display by giving it a fresh, unheld X window instead
// (it stays where it was, with its owner), and activation passes to the owner as a hide
// would pass it. Elsewhere, and for child windows, this is ShowWindow(SW_HIDE).
// Returns TRUE when the window was visible.
BOOL AFXAPI AfxHideTopLevel(HWND hWnd);
