// What the table view's source files share beside the class itself.
#pragma once
#include <windows.h>

#include <string>

#include "TableRules.h"

namespace gameview {
// A string of the resource library, or the view's own text for it when the library has none.
std::string LoadText(int id);
// The controls of the rules' buttons, in the order of tableview::TableButton.
extern const UINT kButtonIds[tableview::BTN_COUNT];
}  // namespace gameview
