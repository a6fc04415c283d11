#include "ui/modelview/lookupdelegate.h"

#include <QComboBox>

#include "data/cp1253.h"
#include "data/table.h"

namespace dravin {

LookupDelegate::LookupDelegate(Table& source, const char* keyField, const char* nameField,
                               int visibleRows, QObject* parent)
    : QStyledItemDelegate(parent),
      mSource(source),
      mKeyField(keyField),
      mNameField(nameField),
      mVisibleRows(visibleRows) {}

QWidget* LookupDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex&) const {
    auto* combo = new QComboBox(parent);
    combo->setMaxVisibleItems(mVisibleRows);
    // Styles that open a plain list over the field ignore the number of visible rows;
    // this list drops below it and keeps to that number.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    if (!mSource.isOpen()) {
        return combo;
    }
    const int key = *mSource.def().fieldIndex(mKeyField);
    const int name = *mSource.def().fieldIndex(mNameField);
    for (int row = 0; row < mSource.recordCount(); ++row) {
        const Value k = mSource.rowValue(row, key);
        if (k.isBlank()) {
            continue;
        }
        combo->addItem(
            QString::fromStdString(cp1253::decode(mSource.rowValue(row, name).textBytes())),
            QVariant(k.toInteger()));
    }
    return combo;
}

void LookupDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(combo->findText(index.data(Qt::DisplayRole).toString()));
}

void LookupDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    if (combo->currentIndex() < 0) {
        return;
    }
    const QVariant key = combo->currentData();
    const int keyIndex = *mSource.def().fieldIndex(mKeyField);
    const int row = mSource.locate(keyIndex, Value::integer(key.toInt()));
    if (row >= 0) {
        try {
            mSource.moveTo(row);
        } catch (const std::exception&) {
            // Only where the list stands; the key below is what counts.
        }
    }
    model->setData(index, key, Qt::EditRole);
}

}  // namespace dravin
