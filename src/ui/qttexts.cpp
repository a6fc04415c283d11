#include "ui/qttexts.h"

#include <QCoreApplication>
#include <QTranslator>

namespace dravin {

void installGreekQtTexts() {
    // Never deleted: the application object may outlive any owner the library could give it.
    static QTranslator* const translator = [] {
        auto* t = new QTranslator;
        if (!t->load(QStringLiteral(":/translations/qt_el.qm"))) {
            qWarning("dravin: λείπουν από το πρόγραμμα τα ελληνικά κείμενα του Qt");
        }
        return t;
    }();
    QCoreApplication::removeTranslator(translator);
    QCoreApplication::installTranslator(translator);
}

}  // namespace dravin
