#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <utility>

#include "reports/engine/textboxcontrol.h"

namespace dravin {

class ReportDataSource;

// The display text of a field. Without a source of its own it reads the report's
// data: in the detail band the row being printed, in other bands the first row. With
// a source of its own (the general-data record of a page header) it always reads
// that source's given row.
class FieldControl : public TextBoxControl {
public:
    FieldControl(QString name, QString field);

    const QString& field() const noexcept { return mField; }
    void setField(QString field) { mField = std::move(field); }

    // A picture that replaces the field's own display format.
    const std::optional<QString>& picture() const noexcept { return mPicture; }
    void setPicture(std::optional<QString> picture) { mPicture = std::move(picture); }

    void setSource(std::shared_ptr<const ReportDataSource> source, int row = 0);
    const std::shared_ptr<const ReportDataSource>& source() const noexcept { return mSource; }

    QString text(const ControlContext& context) const override;

private:
    QString mField;
    std::optional<QString> mPicture;
    std::shared_ptr<const ReportDataSource> mSource;
    int mSourceRow = 0;
};

}  // namespace dravin
