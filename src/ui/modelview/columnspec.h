#pragma once

#include <QColor>
#include <QString>
#include <Qt>

namespace dravin {

// One grid column: the field it shows, its title, its share of the grid width and its look.
struct ColumnSpec {
    enum class Look { Normal, Coefficient, Result };
    const char* field;
    QString title;
    double share;
    bool readOnly = false;
    Look look = Look::Normal;
    bool centred = true;
    bool titleLeft = false;

    QColor background() const {
        switch (look) {
            case Look::Coefficient:
                return QColor(255, 255, 225);
            case Look::Result:
                return QColor(255, 255, 244);
            case Look::Normal:
                break;
        }
        return {};
    }
};

}  // namespace dravin
