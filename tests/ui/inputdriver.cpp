#include "inputdriver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace dravin::test::input {

namespace {

QWidget* target(QWidget* fallback) {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : fallback;
}

}  // namespace

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

void clickCell(QAbstractItemView* view, int row, int column) {
    const QModelIndex index = view->model()->index(row, column);
    const bool wasCurrent = view->currentIndex() == index;
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(index).center());
    // A click on the current cell opens its editor once no double click can follow.
    if (wasCurrent) {
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    }
    settle();
}

void key(QWidget* fallback, Qt::Key k, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(target(fallback), k, modifiers);
    settle();
}

void typeChar(QWidget* widget, QChar c) {
    if (c.unicode() < 128) {
        QTest::keyClicks(widget, QString(c));
        return;
    }
    // No key of the US layout: the text alone, as an input method gives it.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void type(QWidget* fallback, const QString& text) {
    // The first key may open an editor, which takes the keys after it.
    for (const QChar c : text) {
        typeChar(target(fallback), c);
    }
    settle();
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    settle();
}

}  // namespace dravin::test::input
