#pragma once

#include <QString>

namespace dravin {

// The process-wide print settings: the font every report starts from.
struct PrintSettings {
    QString fontFamily = "Courier New";
    int fontPointSize = 8;
    QString printerName;  // empty: the system's default printer

    static PrintSettings& instance();
};

}  // namespace dravin
