#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "data/table.h"

class QTableView;

namespace dravin {

class TableModel;

// Keeps the current row of a table's grids and the table's cursor together. A row the
// user picks moves the cursor once the view is done with the event that picked it (the
// move posts a pending edit, which may move records about); the cursor's moves are shown
// in every grid, and scrolled into view, without calling back into the table.
class CursorLink : public QObject {
    Q_OBJECT
public:
    // Runs a table operation; shows what it throws and returns false.
    using Runner = std::function<bool(const std::function<void()>&)>;

    CursorLink(Table& table, Runner run, QObject* parent);

    void addGrid(QTableView* view, TableModel* model);
    // Commits the text of an open cell editor to the table, as leaving the cell would,
    // and makes a row the user picked current: what a command must see first.
    void commitEditors();
    // Closes an open cell editor and drops its text.
    void revertEditors();
    // Every grid goes to the table's current record.
    void follow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The grids now show the table's current record.
    void followed();

private:
    void pick(const TableModel* model, int row);
    void moveToPicked();
    void followLater();
    bool tableSettled() const;

    Table& mTable;
    Runner mRun;
    struct Grid {
        QTableView* view;
        TableModel* model;
        int column;  // kept across resets of the model, which forget the current cell
    };
    std::vector<Grid> mGrids;
    Table::Bookmark mPicked = 0;
    bool mMovePending = false;
    bool mFollowPending = false;
    bool mFollowing = false;
};

}  // namespace dravin
