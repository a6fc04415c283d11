#include "reports/engine/fieldcontrol.h"

#include <utility>

#include "reports/engine/reportdatasource.h"

namespace dravin {

FieldControl::FieldControl(QString name, QString field)
    : TextBoxControl(std::move(name)), mField(std::move(field)) {}

void FieldControl::setSource(std::shared_ptr<const ReportDataSource> source, int row) {
    mSource = std::move(source);
    mSourceRow = row;
}

QString FieldControl::text(const ControlContext& context) const {
    const ReportDataSource* source = mSource ? mSource.get() : context.source;
    const int row = mSource ? mSourceRow : (context.row >= 0 ? context.row : 0);
    if (!source || row < 0 || row >= source->rowCount()) {
        return {};
    }
    return source->text(row, mField, mPicture);
}

}  // namespace dravin
