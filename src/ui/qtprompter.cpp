#include "ui/qtprompter.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace dravin {
namespace {

// A message box shows the normal cursor even while a command is busy.
class NormalCursor {
public:
    NormalCursor() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalCursor() { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace

QString programName() {
    return QStringLiteral("Πίνακας Χιλιοστών");
}

QString messageText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void QtPrompter::inform(const std::string& text) {
    NormalCursor cursor;
    QMessageBox::information(mParent, programName(), messageText(text));
}

void QtPrompter::error(const std::string& text) {
    NormalCursor cursor;
    QMessageBox::critical(mParent, programName(), messageText(text));
}

Prompter::Answer QtPrompter::confirm(const std::string& text, bool withCancel) {
    NormalCursor cursor;
    const auto buttons = withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                    : QMessageBox::Yes | QMessageBox::No;
    const auto answer =
        QMessageBox::question(mParent, programName(), messageText(text), buttons, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        return Answer::Yes;
    }
    return answer == QMessageBox::Cancel ? Answer::Cancel : Answer::No;
}

}  // namespace dravin
