#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

#include "reports/engine/band.h"

namespace dravin {

// The pages of a generated report, every position in millimetres from the paper's
// top-left corner. Text is already broken into lines and each line placed, so every
// device prints the same pages.

struct TextLine {
    QString text;
    QRectF rect;  // the line's box: aligned within the control's box, one line high
};

struct TextItem {
    QString control;  // name of the control that printed it
    QFont font;
    QColor color;
    QRectF box;         // the control's box as laid out, grown if it grew
    double ascent = 0;  // from the top of a line to its baseline
    std::vector<TextLine> lines;
    std::optional<QRectF> clip;

    QString text() const;  // the lines, joined by line breaks
};

struct LineItem {
    QLineF line;
    double width = 0;
    std::optional<QRectF> clip;
};

// Where one band was printed; row is the detail row, -1 for other bands.
struct PlacedBand {
    BandKind kind = BandKind::Detail;
    int row = -1;
    QRectF rect;
    bool clipped = false;
};

struct ReportPage {
    int number = 0;
    std::vector<PlacedBand> bands;
    std::vector<LineItem> lines;
    std::vector<TextItem> texts;
};

struct PageModel {
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF paperSize;  // as printed, orientation applied
    std::vector<ReportPage> pages;

    // The paper with no margins: positions of the model are from the paper's corner.
    QPageLayout pageLayout() const;
};

}  // namespace dravin
