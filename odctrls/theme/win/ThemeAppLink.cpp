// The program's start-up calls these; they load and release the owner-drawn theme.
#include <windows.h>

#include "ODTheme.h"

BOOL LoadOwnerDrawnTheme(const char* path, int mode) { return LoadTheme(path, mode) ? TRUE : FALSE; }

void UnloadOwnerDrawnTheme() { UnloadTheme(); }
