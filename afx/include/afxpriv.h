// Internal messages and helpers shared by frames, bars and views.
#pragma once

#include "afxwin.h"

// WM_SIZEPARENT, WM_INITIALUPDATE, WM_IDLEUPDATECMDUI, WM_KICKIDLE, WM_DISABLEMODAL and
// AFX_SIZEPARENTPARAMS are declared in afxwin.h.
