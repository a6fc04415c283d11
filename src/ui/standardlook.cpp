#include "ui/standardlook.h"

#include <QFont>
#include <QLocale>
#include <QWidget>

namespace dravin {
namespace {

QString& fontName() {
    static QString name = "MS Sans Serif";
    return name;
}

// The designed window font and size. "MS Sans Serif" is no font here: it is drawn in a
// narrow face, so that the designed texts fit the designed sizes.
constexpr int kDesignPointSize = 8;

void substituteWindowFonts() {
    static const bool done = [] {
        QFont::insertSubstitution("MS Sans Serif", "Liberation Sans Narrow");
        return true;
    }();
    (void)done;
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
    substituteWindowFonts();
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
        if (!(w->font().resolveMask() & QFont::SizeResolved)) {
            f.setPointSize(kDesignPointSize);
        }
        w->setFont(f);
        if (!greek) {
            w->setToolTip(QString());
        }
    }
}

}  // namespace dravin
