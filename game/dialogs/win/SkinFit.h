// Fitting a dialog template's controls inside a skinned frame: the skin takes the whole
// window, so the controls move by the skinned client area's offset and the window grows
// to hold them with the template's margins.
#pragma once
#include "SkinDialog.h"

void FitTemplateIntoSkin(CSkinDialog* pDlg);
