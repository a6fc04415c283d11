#include "ui/tinfoform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWindow>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QScreen>
#include <QStyle>

namespace dravin {

TInfoForm::TInfoForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
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
    PrepareAnimation();
}

// The animation is INI/Wait01.gif beside the program, when present; otherwise a still
// picture stands in its place.
void TInfoForm::PrepareAnimation() {
    auto* picture = new QLabel(this);
    picture->setGeometry(246, 0, 64, 64);
    const QString file = QDir(QCoreApplication::applicationDirPath()).filePath("INI/Wait01.gif");
    if (QFileInfo::exists(file)) {
        picture->setObjectName("Animate1");
        mMovie = new QMovie(file, QByteArray(), this);
        picture->setMovie(mMovie);
    } else {
        picture->setObjectName("Image1");
        picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    }
    picture->setAlignment(Qt::AlignCenter);
    picture->move(246, (height() - picture->height()) / 2);
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
    if (mMovie) {
        mMovie->start();
    }
    paintNow();
}

void TInfoForm::paintNow() {
    // A window just shown is drawn once the display has mapped it; the work that follows
    // holds the event loop, so wait for that here (briefly: no display may answer).
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
