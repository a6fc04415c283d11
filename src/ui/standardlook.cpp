#include "ui/standardlook.h"

#include <QLocale>
#include <QWidget>

namespace dravin {
namespace {

QString& fontName() {
    static QString name = "MS Sans Serif";
    return name;
}

}  // namespace

QString windowFontName() {
    return fontName();
}

void setWindowFontName(const QString& family) {
    fontName() = family;
}

bool isGreekSystem() {
    return QLocale::system().language() == QLocale::Greek;
}

void applyStandardLook(QWidget* window) {
    const bool greek = isGreekSystem();
    QString family = windowFontName();
    if (!greek && family == QLatin1String("MS Sans Serif")) {
        family = "Arial";
    }
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
        if (!greek) {
            w->setToolTip(QString());
        }
    }
}

}  // namespace dravin
