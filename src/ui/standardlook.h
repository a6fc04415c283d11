#pragma once

#include <QString>

class QWidget;

namespace dravin {

// The window font chosen when the library loads ("MS Sans Serif", "Arial", "Segoe UI").
QString windowFontName();
void setWindowFontName(const QString& family);

// True on a system whose default language is Greek.
bool isGreekSystem();

// The look every window of the program shares: the window font (with "MS Sans Serif"
// replaced by "Arial" on a system that is not Greek) on the window and its controls,
// sizes and styles as designed; tooltips off on a system that is not Greek.
void applyStandardLook(QWidget* window);

}  // namespace dravin
