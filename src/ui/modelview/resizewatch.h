#pragma once

#include <functional>

class QWidget;

namespace dravin {

// Calls back with the widget's width whenever it changes size. A grid's client area
// settles only once its window is laid out, after the window's own resize.
void watchWidth(QWidget* widget, std::function<void(int width)> changed);

}  // namespace dravin
