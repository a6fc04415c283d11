#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>
#include <vector>

#include "reports/engine/pagemodel.h"
#include "reports/engine/reportdatasource.h"

// Readable Qt strings in failed expectations.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QPointF& p, std::ostream* os) {
    *os << '(' << p.x() << ", " << p.y() << ')';
}
inline void PrintTo(const QSizeF& s, std::ostream* os) {
    *os << s.width() << " x " << s.height();
}
inline void PrintTo(const QRectF& r, std::ostream* os) {
    *os << "QRectF(" << r.left() << ", " << r.top() << ", " << r.width() << ", " << r.height()
        << ')';
}
inline void PrintTo(const QLineF& l, std::ostream* os) {
    *os << "QLineF(" << l.x1() << ", " << l.y1() << ", " << l.x2() << ", " << l.y2() << ')';
}

namespace dravin::test {

// Rows held in memory; a picture formats a field whose text reads as a number.
class MemoryDataSource : public ReportDataSource {
public:
    MemoryDataSource(QStringList fields, std::vector<QStringList> rows);

    int rowCount() const override { return static_cast<int>(mRows.size()); }
    QString text(int row, const QString& field,
                 const std::optional<QString>& picture) const override;

private:
    QStringList mFields;
    std::vector<QStringList> mRows;
};

std::vector<const TextItem*> textsOf(const ReportPage& page, const QString& control);
// The one text the control printed on the page; fails the test otherwise.
const TextItem& onlyText(const ReportPage& page, const QString& control);
std::vector<PlacedBand> bandsOf(const ReportPage& page, BandKind kind);
// Every band of every page, in order.
std::vector<PlacedBand> allBands(const PageModel& model, BandKind kind);

// Output of a poppler tool; fails the test when the tool is missing or fails.
QString runTool(const QString& program, const QStringList& arguments);
// Width × height in points of every page, from pdfinfo.
std::vector<QSizeF> pdfPageSizes(const QString& path);

}  // namespace dravin::test
