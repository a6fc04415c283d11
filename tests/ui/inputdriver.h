#pragma once

#include <QModelIndex>
#include <QString>
#include <Qt>

class QAbstractItemView;
class QWidget;

namespace dravin::test {

// Drives widgets as a person does: real key and mouse events through the event loop,
// each followed by the work the event left queued.
namespace input {

// Runs what the last events queued (moves of the cursor, repaints).
void settle();
// Clicks the middle of a cell of the grid.
void clickCell(QAbstractItemView* view, int row, int column);
// Presses a key where the keyboard focus is (the open editor, else the widget).
void key(QWidget* fallback, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types a text where the keyboard focus is, one key after the other.
void type(QWidget* fallback, const QString& text);
// Types one character (Greek too) into the widget, without waiting.
void typeChar(QWidget* widget, QChar c);
// Clicks a button-like widget with the mouse.
void click(QWidget* widget);

}  // namespace input
}  // namespace dravin::test
