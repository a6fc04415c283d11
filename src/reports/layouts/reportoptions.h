#pragma once

#include <QColor>
#include <QFont>

namespace dravin {

// What a table command hands a layout besides the study: the print font as the
// user chose it (family, size, style) and its colour, and the row distance.
struct ReportOptions {
    QFont printFont{QStringLiteral("Courier New"), 8};
    QColor printColor = Qt::black;
    // True when the user chose an explicit row distance; lineSpacing is then the row
    // height in millimetres, taken as given.
    bool useLineSpacing = false;
    double lineSpacing = 0;
};

}  // namespace dravin
