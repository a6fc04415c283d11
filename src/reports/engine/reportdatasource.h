#pragma once

#include <QString>

#include <optional>

namespace dravin {

// The rows a report prints, as display texts. Keeps the engine free of the table
// engine, so a report can also run over rows held in memory.
class ReportDataSource {
public:
    virtual ~ReportDataSource() = default;

    virtual int rowCount() const = 0;
    // The text a field shows in a row: blank shows nothing; the picture, when given,
    // replaces the field's own display format.
    virtual QString text(int row, const QString& field,
                         const std::optional<QString>& picture) const = 0;
};

}  // namespace dravin
