#include "reporttestsupport.h"

#include <QProcess>
#include <QRegularExpression>

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

// Output of a poppler tool; fails the test when the tool is missing or fails.
QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils installed?): "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Width × height in points of every page, from pdfinfo.
std::vector<QSizeF> pdfPageSizes(const QString& path) {
    const QString info = runTool("pdfinfo", {"-f", "1", "-l", "1000", path});
    static const QRegularExpression pageSize(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)");
    std::vector<QSizeF> sizes;
    for (auto it = pageSize.globalMatch(info); it.hasNext();) {
        const auto match = it.next();
        sizes.emplace_back(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    return sizes;
}

}  // namespace dravin::test
