#include "ui/modelview/tablemodel.h"

#include <cmath>

#include "data/cp1253.h"
#include "data/displayformat.h"
#include "data/errors.h"

namespace dravin {
namespace {

bool editing(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

// Numbers are typed with "." as the decimal separator, as they are shown.
Value parseNumber(const QString& text, const FieldDef& f) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return Value();
    }
    bool ok = false;
    if (f.type == FieldType::Integer) {
        const int v = t.toInt(&ok);
        if (!ok) {
            throw RangeError("Το «" + t.toStdString() + "» δεν είναι ακέραιος αριθμός.");
        }
        return Value::integer(v);
    }
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        throw RangeError("Το «" + t.toStdString() + "» δεν είναι αριθμός.");
    }
    return Value::real(v);
}

}  // namespace

TableModel::TableModel(Table& table, std::vector<ColumnSpec> columns, QObject* parent)
    : QAbstractTableModel(parent), mTable(table), mColumns(std::move(columns)) {
    mRows = mTable.isOpen() ? mTable.recordCount() : 0;
    mShowsPending = mTable.state() == TableState::Insert;
    mTable.addObserver(this);
}

TableModel::~TableModel() {
    mTable.removeObserver(this);
}

int TableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return mRows + (mShowsPending ? 1 : 0);
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(mColumns.size());
}

int TableModel::pendingRow() const {
    return mShowsPending ? mRows : -1;
}

int TableModel::currentRow() const {
    return mShowsPending ? pendingRow() : mTable.currentRow();
}

bool TableModel::isEditedRow(int row) const {
    return editing(mTable) && row == currentRow();
}

Value TableModel::valueAt(int row, int column) const {
    const char* name = mColumns[static_cast<size_t>(column)].field;
    // The record being edited shows what the user typed, not yet posted.
    if (isEditedRow(row)) {
        return const_cast<Table&>(mTable).field(name).value();
    }
    if (row >= mTable.recordCount()) {
        return Value();
    }
    if (const auto idx = mTable.def().fieldIndex(name)) {
        return mTable.rowValue(row, *idx);
    }
    if (const LookupDef* l = mTable.def().lookup(name)) {
        return mTable.lookupValue(*l, row);
    }
    return Value();
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || !mTable.isOpen()) {
        return {};
    }
    const ColumnSpec& c = column(index.column());
    switch (role) {
        case Qt::DisplayRole: {
            const auto idx = mTable.def().fieldIndex(c.field);
            const std::string picture = idx ? mTable.def().fields[*idx].displayFormat : "";
            return QString::fromStdString(
                formatValue(valueAt(index.row(), index.column()), picture));
        }
        case Qt::EditRole: {
            const Value v = valueAt(index.row(), index.column());
            if (v.isBlank()) {
                return QString();
            }
            if (v.isText()) {
                return QString::fromStdString(cp1253::decode(v.textBytes()));
            }
            return v.isInteger() ? QString::number(v.toInteger())
                                 : QString::number(v.toReal(), 'g', 15);
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue((c.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                                       Qt::AlignVCenter);
        case Qt::BackgroundRole: {
            const QColor colour = c.background();
            return colour.isValid() ? QVariant(colour) : QVariant();
        }
        default:
            return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    const ColumnSpec& c = column(section);
    if (role == Qt::DisplayRole) {
        return c.title;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue((c.titleLeft ? Qt::AlignLeft : Qt::AlignHCenter) |
                                   Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !column(index.column()).readOnly && !mTable.readOnly()) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    // Called from inside the view's event handling: nothing may escape.
    try {
        store(index, value);
    } catch (const AbortError&) {
        return false;  // the rules already told the user
    } catch (const std::exception& e) {
        emit failed(QString::fromStdString(e.what()));
        return false;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

void TableModel::store(const QModelIndex& index, const QVariant& value) {
    const ColumnSpec& c = column(index.column());
    if (index.row() != pendingRow()) {
        if (mShowsPending || index.row() != mTable.currentRow()) {
            mTable.moveTo(index.row());  // posts the edit of another record first
        }
        mTable.edit();
    }
    if (const LookupDef* l = mTable.def().lookup(c.field)) {
        // A lookup column is edited through its key: the delegate hands the key over.
        mTable.field(l->keyField)
            .setValue(value.isNull() ? Value() : Value::integer(value.toInt()));
    } else {
        Field f = mTable.field(c.field);
        if (f.def()->isText()) {
            f.setString(value.toString().toStdString());
        } else {
            f.setValue(parseNumber(value.toString(), *f.def()));
        }
    }
}

void TableModel::tableAboutToReset(const Table&) {
    if (!mResetting) {
        mResetting = true;
        mUpdating = true;
        beginResetModel();
    }
}

void TableModel::tableReset(const Table&) {
    mRows = mTable.isOpen() ? mTable.recordCount() : 0;
    mShowsPending = mTable.state() == TableState::Insert;
    if (mResetting) {
        mResetting = false;
        endResetModel();
        mUpdating = false;
    }
    emit cursorMoved(currentRow());
}

namespace {

// Marks the model busy while a change is passed to the views.
class Updating {
public:
    explicit Updating(bool& flag) : mFlag(flag), mWas(flag) { mFlag = true; }
    ~Updating() { mFlag = mWas; }
    Updating(const Updating&) = delete;
    Updating& operator=(const Updating&) = delete;

private:
    bool& mFlag;
    bool mWas;
};

}  // namespace

void TableModel::rowInserted(const Table&, int row) {
    Updating updating(mUpdating);
    if (mShowsPending) {
        placePending(row);
        return;
    }
    beginInsertRows({}, row, row);
    ++mRows;
    endInsertRows();
}

void TableModel::placePending(int row) {
    // The record being inserted takes its place among the others.
    const int pending = mRows;
    const bool moves = row != pending && beginMoveRows({}, pending, pending, {}, row);
    ++mRows;
    mShowsPending = false;
    if (moves) {
        endMoveRows();
    }
    rowChanged(mTable, row);
}

void TableModel::rowRemoved(const Table&, int row) {
    Updating updating(mUpdating);
    beginRemoveRows({}, row, row);
    --mRows;
    endRemoveRows();
}

void TableModel::rowMoved(const Table&, int from, int to) {
    Updating updating(mUpdating);
    moveRow(from, to);
}

void TableModel::moveRow(int from, int to) {
    // Qt counts the destination before the move.
    if (from != to && beginMoveRows({}, from, from, {}, to > from ? to + 1 : to)) {
        endMoveRows();
    }
    rowChanged(mTable, to);
}

void TableModel::rowChanged(const Table&, int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

void TableModel::stateChanged(const Table&) {
    Updating updating(mUpdating);
    const bool pending = mTable.state() == TableState::Insert;
    if (pending && !mShowsPending) {
        beginInsertRows({}, mRows, mRows);
        mShowsPending = true;
        endInsertRows();
    } else if (!pending && mShowsPending) {
        beginRemoveRows({}, mRows, mRows);
        mShowsPending = false;
        endRemoveRows();
    } else if (mTable.currentRow() >= 0) {
        rowChanged(mTable, mTable.currentRow());
    }
}

void TableModel::cursorChanged(const Table&) {
    emit cursorMoved(currentRow());
}

}  // namespace dravin
