#pragma once

namespace dravin {

// Once per process, before the first run: the window font from the executable's
// ".DefaultINI" file. Number and date formats need nothing: the program formats and
// parses them itself with "." as decimal separator, " " for thousands, "dd/MM/yyyy".
void applyLoadTimeSettings();

}  // namespace dravin
