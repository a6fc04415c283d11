#include "ui/modelview/cursorlink.h"

#include <QAbstractItemDelegate>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMetaObject>
#include <QTableView>
#include <QTimer>

#include "ui/modelview/tablemodel.h"

namespace dravin {

CursorLink::CursorLink(Table& table, Runner run, QObject* parent)
    : QObject(parent), mTable(table), mRun(std::move(run)) {}

void CursorLink::addGrid(QTableView* view, TableModel* model) {
    const size_t i = mGrids.size();
    mGrids.push_back({view, model, 0});
    connect(view->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this, i](const QModelIndex& current) {
                if (current.isValid()) {
                    mGrids[i].column = current.column();
                }
            });
    connect(model, &TableModel::cursorMoved, this, [this] { followLater(); });
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, model](const QModelIndex& current) {
                if (current.isValid()) {
                    pick(model, current.row());
                }
            });
}

void CursorLink::pick(const TableModel* model, int row) {
    // Rows that shift under a change of the table, and the grids following the cursor,
    // are not the user's choice.
    if (mFollowing || model->updating() || !mTable.isOpen()) {
        return;
    }
    if (row == model->currentRow()) {
        mMovePending = false;  // back where the cursor is
        return;
    }
    if (row >= mTable.recordCount()) {
        mMovePending = false;
        followLater();
        return;
    }
    mPicked = mTable.bookmarkAt(row);
    if (!mMovePending) {
        mMovePending = true;
        QMetaObject::invokeMethod(this, &CursorLink::moveToPicked, Qt::QueuedConnection);
    }
}

void CursorLink::moveToPicked() {
    if (!mMovePending) {
        return;
    }
    if (!tableSettled()) {
        // An operation under way shows a question or its progress: the pick waits.
        QTimer::singleShot(20, this, &CursorLink::moveToPicked);
        return;
    }
    mMovePending = false;
    const bool alreadyThere =
        mTable.state() != TableState::Insert && mTable.bookmarkAt(mTable.currentRow()) == mPicked;
    if (mTable.isOpen() && !alreadyThere) {
        // Leaving a row posts its edit; a refused post keeps the grids on that record.
        mRun([this] { mTable.gotoBookmark(mPicked); });
    }
    follow();
}

void CursorLink::followLater() {
    if (!mFollowPending) {
        mFollowPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                mFollowPending = false;
                // A suspended table tells its views again when it resumes.
                if (!mMovePending && tableSettled()) {
                    follow();
                }
            },
            Qt::QueuedConnection);
    }
}

bool CursorLink::eventFilter(QObject* watched, QEvent* event) {
    // Down on the record being inserted, the last row, leaves it as it leaves any row:
    // the record is posted.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        for (const Grid& g : mGrids) {
            if (g.view == watched && g.model->pendingRow() >= 0 &&
                g.view->currentIndex().row() == g.model->pendingRow() && tableSettled()) {
                commitEditors();
                mRun([this] { mTable.checkBrowseMode(); });
                follow();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CursorLink::tableSettled() const {
    return !mTable.busy() && !mTable.controlsDisabled();
}

void CursorLink::follow() {
    if (mFollowing || !mTable.isOpen() || mTable.controlsDisabled()) {
        return;
    }
    mFollowing = true;
    for (const Grid& g : mGrids) {
        QTableView* view = g.view;
        const int row = g.model->currentRow();
        if (row < 0 || row >= g.model->rowCount()) {
            continue;
        }
        const QModelIndex current = view->currentIndex();
        const QModelIndex target =
            g.model->index(row, current.isValid() ? current.column() : g.column);
        if (current != target) {
            view->setCurrentIndex(target);
        }
        view->scrollTo(target);
    }
    mFollowing = false;
    emit followed();
}

namespace {

void finishEditor(QTableView* view, bool commit) {
    QWidget* editor = view->indexWidget(view->currentIndex());
    if (!editor) {
        return;
    }
    // The view's own slots, as Return and Escape reach them.
    if (commit) {
        QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection,
                                  Q_ARG(QWidget*, editor));
    }
    QMetaObject::invokeMethod(
        view, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
        Q_ARG(QAbstractItemDelegate::EndEditHint,
              commit ? QAbstractItemDelegate::NoHint : QAbstractItemDelegate::RevertModelCache));
}

}  // namespace

void CursorLink::commitEditors() {
    for (const Grid& g : mGrids) {
        finishEditor(g.view, true);
    }
    if (mMovePending && tableSettled()) {
        moveToPicked();
    }
}

void CursorLink::revertEditors() {
    for (const Grid& g : mGrids) {
        finishEditor(g.view, false);
    }
    mMovePending = false;  // cancelling stays on the record being edited
}

}  // namespace dravin
