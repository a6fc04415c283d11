#include "reporttestsupport.h"

#include <gtest/gtest.h>

#include <utility>

#include "data/displayformat.h"

namespace dravin::test {

MemoryDataSource::MemoryDataSource(QStringList fields, std::vector<QStringList> rows)
    : mFields(std::move(fields)), mRows(std::move(rows)) {}

QString MemoryDataSource::text(int row, const QString& field,
                               const std::optional<QString>& picture) const {
    const qsizetype column = mFields.indexOf(field);
    if (row < 0 || row >= rowCount() || column < 0 || column >= mRows[row].size()) {
        return {};
    }
    const QString& text = mRows[row][column];
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    if (picture && isNumber) {
        return QString::fromStdString(formatNumber(value, picture->toStdString()));
    }
    return text;
}

std::vector<const TextItem*> textsOf(const ReportPage& page, const QString& control) {
    std::vector<const TextItem*> found;
    for (const TextItem& item : page.texts) {
        if (item.control == control) {
            found.push_back(&item);
        }
    }
    return found;
}

const TextItem& onlyText(const ReportPage& page, const QString& control) {
    const auto found = textsOf(page, control);
    if (found.size() != 1) {
        ADD_FAILURE() << control.toStdString() << " printed " << found.size() << " times on page "
                      << page.number;
        static const TextItem none{};
        return found.empty() ? none : *found.front();
    }
    return *found.front();
}

std::vector<PlacedBand> bandsOf(const ReportPage& page, BandKind kind) {
    std::vector<PlacedBand> found;
    for (const PlacedBand& band : page.bands) {
        if (band.kind == kind) {
            found.push_back(band);
        }
    }
    return found;
}

std::vector<PlacedBand> allBands(const PageModel& model, BandKind kind) {
    std::vector<PlacedBand> found;
    for (const ReportPage& page : model.pages) {
        for (const PlacedBand& band : bandsOf(page, kind)) {
            found.push_back(band);
        }
    }
    return found;
}

}  // namespace dravin::test
