#include "ui/tinfoform.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace dravin {

TInfoForm::TInfoForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      mLabel(new QLabel(this)) {
    setObjectName("TInfoForm");
    setWindowTitle("Αναμονή");
    setFixedSize(316, 87);
    setPalette(QPalette(Qt::white));
    setAutoFillBackground(true);
    mLabel->setObjectName("Label1");
    mLabel->setGeometry(8, 4, 233, 79);
    mLabel->setAlignment(Qt::AlignCenter);
    mLabel->setWordWrap(true);
    QFont font = mLabel->font();
    font.setBold(true);
    font.setPixelSize(13);
    mLabel->setFont(font);
    mLabel->setStyleSheet("color: blue;");
}

TInfoForm::~TInfoForm() {
    while (mBusyDepth > 0) {
        setBusy(false);
    }
}

void TInfoForm::ShowInfo(int x, int y, const QString& text) {
    if (x != 0 && y != 0) {
        move(x, y);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    SetInfoText(text);
    show();
    repaint();
}

void TInfoForm::SetInfoText(const QString& text) {
    // Text after the marker "(*)" is not shown.
    const int marker = text.indexOf(QLatin1String("(*)"));
    mLabel->setText(marker >= 0 ? text.left(marker) : text);
    repaint();
}

QString TInfoForm::infoText() const {
    return mLabel->text();
}

void TInfoForm::setBusy(bool busy) {
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ++mBusyDepth;
    } else if (mBusyDepth > 0) {
        QGuiApplication::restoreOverrideCursor();
        --mBusyDepth;
    }
}

void TInfoForm::showMessage(const std::string& text) {
    ShowInfo(mPlace.x(), mPlace.y(), QString::fromStdString(text));
}

void TInfoForm::setText(const std::string& text) {
    SetInfoText(QString::fromStdString(text));
}

void TInfoForm::close() {
    hide();
}

}  // namespace dravin
