#pragma once

#include <QHash>
#include <QString>

#include <optional>

#include "reports/engine/reportdatasource.h"

namespace dravin {

class Table;
struct LookupDef;

// The records of an open table, in key order, as the report's rows: stored fields
// show their display text (the field's display format or the given picture), lookup
// fields their looked-up text. A field the table does not have is an engine error.
class TableDataSource : public ReportDataSource {
public:
    explicit TableDataSource(const Table& table) noexcept : mTable(table) {}

    int rowCount() const override;
    QString text(int row, const QString& field,
                 const std::optional<QString>& picture) const override;

private:
    struct Column {
        int storedIndex = -1;
        const LookupDef* lookup = nullptr;
    };
    Column column(const QString& field) const;

    const Table& mTable;
    mutable QHash<QString, Column> mColumns;
};

}  // namespace dravin
