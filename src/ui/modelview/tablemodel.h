#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "data/table.h"
#include "ui/modelview/columnspec.h"

namespace dravin {

// A grid's view of a table component: one row per record in key order, plus the
// pending record while one is being inserted. Edits go to the table, which applies
// the field rules; the model never writes a file itself. The table tells the model of
// its changes once they are whole; the model keeps the row count its views know and
// turns each change into the begin/end pair they expect, moving a record whose key
// changed (and the pending record when it is placed) so that the current cell and an
// open editor go with it.
class TableModel : public QAbstractTableModel, private TableObserver {
    Q_OBJECT
public:
    TableModel(Table& table, std::vector<ColumnSpec> columns, QObject* parent = nullptr);
    ~TableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    Table& table() const noexcept { return mTable; }
    const ColumnSpec& column(int c) const { return mColumns[static_cast<size_t>(c)]; }
    const std::vector<ColumnSpec>& columns() const noexcept { return mColumns; }
    // The row that shows the record being inserted, or -1.
    int pendingRow() const;
    // The model row of the table's current record.
    int currentRow() const;
    // True while the model passes a change of the table on to its views: their reactions
    // must not move the table's cursor then.
    bool updating() const noexcept { return mUpdating; }

signals:
    // The table's cursor moved (the view follows it).
    void cursorMoved(int row);
    // An edit was refused; the text says why.
    void failed(const QString& message);

private:
    void tableAboutToReset(const Table&) override;
    void tableReset(const Table&) override;
    void rowInserted(const Table&, int row) override;
    void rowRemoved(const Table&, int row) override;
    void rowMoved(const Table&, int from, int to) override;
    void rowChanged(const Table&, int row) override;
    void stateChanged(const Table&) override;
    void cursorChanged(const Table&) override;

    void placePending(int row);
    void moveRow(int from, int to);
    bool isEditedRow(int row) const;
    Value valueAt(int row, int column) const;
    void store(const QModelIndex& index, const QVariant& value);

    Table& mTable;
    std::vector<ColumnSpec> mColumns;
    int mRows = 0;  // the records the views know of
    bool mShowsPending = false;
    bool mResetting = false;
    bool mUpdating = false;
};

}  // namespace dravin
