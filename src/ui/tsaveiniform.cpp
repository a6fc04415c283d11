#include "ui/tsaveiniform.h"

#include <QGuiApplication>

#include "ui/helpsystem.h"
#include "ui/standardlook.h"

namespace dravin {

TSaveIniForm::TSaveIniForm(QWidget* owner)
    // A sizeable tool window: a narrow title bar with only a close box.
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      mHelpFile(HelpSystem::helpFile()) {
    setObjectName("TSaveIniForm");
    resize(399, 282);
    setWindowTitle(QString());
    setSizeGripEnabled(true);
    if (owner) {
        setWindowIcon(owner->windowIcon());
    }
}

TSaveIniForm::~TSaveIniForm() {
    HelpSystem::setHelpFile(mHelpFile);
}

void TSaveIniForm::showEvent(QShowEvent* event) {
    if (!mLookApplied) {
        // Applied once every control of the concrete window exists.
        applyStandardLook(this);
        mLookApplied = true;
    }
    while (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
    QDialog::showEvent(event);
    FormShow();
}

void TSaveIniForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

}  // namespace dravin
