#pragma once

#include <QString>

namespace dravin {

// The process-wide print settings: the font every report starts from.
struct PrintSettings {
    QString fontFamily = "Courier New";
    int fontPointSize = 8;

    static PrintSettings& instance();
};

}  // namespace dravin
