#include "reports/engine/tabledatasource.h"

#include <string>

#include "data/displayformat.h"
#include "data/errors.h"
#include "data/table.h"

namespace dravin {

int TableDataSource::rowCount() const {
    return mTable.recordCount();
}

QString TableDataSource::text(int row, const QString& field,
                              const std::optional<QString>& picture) const {
    const Column c = column(field);
    if (c.lookup) {
        return QString::fromStdString(formatValue(mTable.lookupValue(*c.lookup, row), {}));
    }
    const FieldDef& def = mTable.def().fields[c.storedIndex];
    const std::string format = picture ? picture->toStdString() : def.displayFormat;
    return QString::fromStdString(formatValue(mTable.rowValue(row, c.storedIndex), format));
}

TableDataSource::Column TableDataSource::column(const QString& field) const {
    if (const auto it = mColumns.constFind(field); it != mColumns.cend()) {
        return *it;
    }
    const std::string name = field.toStdString();
    Column c;
    if (const auto index = mTable.def().fieldIndex(name)) {
        c.storedIndex = *index;
    } else if (const LookupDef* lookup = mTable.def().lookup(name)) {
        c.lookup = lookup;
    } else {
        throw EngineError(mTable.componentName() + ": δεν υπάρχει πεδίο «" + name +
                          "» για την εκτύπωση.");
    }
    mColumns.insert(field, c);
    return c;
}

}  // namespace dravin
