#pragma once

#include <QStyledItemDelegate>

namespace dravin {

class Table;

// The drop-down list of a lookup column (floor, kind of space, owner): lists the
// records of the source table by their name and hands the picked record's key to the
// model; the source table is left on the picked record.
class LookupDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    LookupDelegate(Table& source, const char* keyField, const char* nameField, int visibleRows,
                   QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    Table& mSource;
    const char* mKeyField;
    const char* mNameField;
    int mVisibleRows;
};

}  // namespace dravin
