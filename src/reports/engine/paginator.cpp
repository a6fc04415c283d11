#include "reports/engine/paginator.h"

#include <QPointF>

#include <algorithm>
#include <utility>
#include <vector>

#include "reports/engine/band.h"
#include "reports/engine/detailrowcontext.h"
#include "reports/engine/reportcontrol.h"
#include "reports/engine/reportdefinition.h"

namespace dravin {
namespace {

// Sums of millimetre heights are not exact; a band that fits to within this fits.
constexpr double kTolerance = 1e-6;

std::optional<QRectF> intersected(const std::optional<QRectF>& a, const std::optional<QRectF>& b) {
    if (a && b) {
        return a->intersected(*b);
    }
    return a ? a : b;
}

// The lowest place at most room below the band's top where no line of text is cut;
// zero when there is none.
double cutWithin(const LaidOutBand& band, double room) {
    std::vector<double> candidates{room};
    for (const TextItem& text : band.texts) {
        for (const TextLine& line : text.lines) {
            candidates.push_back(line.rect.top());
            candidates.push_back(line.rect.bottom());
        }
    }
    double best = 0;
    for (double y : candidates) {
        if (y <= best || y > room + kTolerance) {
            continue;
        }
        bool cutsLine = false;
        for (const TextItem& text : band.texts) {
            for (const TextLine& line : text.lines) {
                cutsLine = cutsLine || (line.rect.top() < y - kTolerance &&
                                        line.rect.bottom() > y + kTolerance);
            }
        }
        if (!cutsLine) {
            best = std::min(y, room);
        }
    }
    return best;
}

// Whether lines of text lie on both sides of a cut.
bool hasTextOnBothSides(const LaidOutBand& band, double y) {
    bool above = false;
    bool below = false;
    for (const TextItem& text : band.texts) {
        for (const TextLine& line : text.lines) {
            (line.rect.top() >= y - kTolerance ? below : above) = true;
        }
    }
    return above && below;
}

// The part of a rectangle between two heights, moved up by the upper one.
QRectF slice(const QRectF& r, double from, double to) {
    const double top = std::max(r.top(), from);
    const double bottom = std::min(r.bottom(), to);
    return QRectF(r.left(), top - from, r.width(), std::max(0.0, bottom - top));
}

// The band above the cut and the band below it, each from its own top. Lines of text
// go to the side they lie on; rules are cut in two.
std::pair<LaidOutBand, LaidOutBand> cutAt(const LaidOutBand& band, double cut) {
    LaidOutBand head;
    LaidOutBand rest;
    head.height = cut;
    rest.height = band.height - cut;
    for (const TextItem& text : band.texts) {
        TextItem above = text;
        TextItem below = text;
        above.lines.clear();
        below.lines.clear();
        for (const TextLine& line : text.lines) {
            if (line.rect.top() >= cut - kTolerance) {
                below.lines.push_back({line.text, line.rect.translated(0, -cut)});
            } else {
                above.lines.push_back(line);
            }
        }
        above.box = slice(text.box, 0, cut);
        below.box = slice(text.box, cut, text.box.bottom());
        if (text.clip) {
            above.clip = slice(*text.clip, 0, cut);
            below.clip = slice(*text.clip, cut, text.clip->bottom());
        }
        if (!above.lines.empty()) {
            head.texts.push_back(std::move(above));
        }
        if (!below.lines.empty()) {
            rest.texts.push_back(std::move(below));
        }
    }
    for (const LineItem& item : band.lines) {
        const QLineF& l = item.line;
        const double top = std::min(l.y1(), l.y2());
        const double bottom = std::max(l.y1(), l.y2());
        if (bottom <= cut + kTolerance) {
            head.lines.push_back(item);
        } else if (top >= cut - kTolerance) {
            LineItem moved = item;
            moved.line.translate(0, -cut);
            rest.lines.push_back(moved);
        } else {
            // A vertical rule across the cut goes on from the top of the next part.
            LineItem upper = item;
            LineItem lower = item;
            upper.line = QLineF(l.x1(), top, l.x2(), cut);
            lower.line = QLineF(l.x1(), 0, l.x2(), bottom - cut);
            head.lines.push_back(upper);
            rest.lines.push_back(lower);
        }
    }
    return {std::move(head), std::move(rest)};
}

}  // namespace

Paginator::Paginator(const ReportDefinition& report) : mReport(report) {}

PageModel Paginator::paginate() {
    if (mReport.beforePrint()) {
        mReport.beforePrint()();
    }
    const PageSetup& page = mReport.page();
    mModel = PageModel{page.pageSize(), page.orientation(), page.paperSize(), {}};
    mPrintable = page.printableRect();
    mLayout.emplace(mReport, mMeasurer, mPrintable.width());

    startPage();
    const ReportDataSource* source = mReport.dataSource().get();
    const int rows = source ? source->rowCount() : 0;
    const Band* detail = mReport.band(BandKind::Detail);
    for (int row = 0; row < rows; ++row) {
        DetailRowContext context(row);
        if (mReport.beforeDetail()) {
            mReport.beforeDetail()(context);
        }
        if (detail && !context.suppressed()) {
            placeBody(*detail, row, &context);
        }
    }
    if (const Band* closing = mReport.band(BandKind::Closing)) {
        placeBody(*closing, -1, nullptr);
    }
    return std::move(mModel);
}

void Paginator::startPage() {
    ReportPage& page = mModel.pages.emplace_back();
    page.number = static_cast<int>(mModel.pages.size());
    if (mReport.pageFrame()) {
        const double width = std::max(0.0, mReport.lineWidth());
        const QRectF& r = mPrintable;
        for (const QLineF& side :
             {QLineF(r.topLeft(), r.topRight()), QLineF(r.topRight(), r.bottomRight()),
              QLineF(r.bottomRight(), r.bottomLeft()), QLineF(r.bottomLeft(), r.topLeft())}) {
            page.lines.push_back({side, width, std::nullopt});
        }
    }
    mY = mPrintable.top();
    for (BandKind kind : {BandKind::PageHeader, BandKind::ColumnHeader}) {
        if (const Band* band = mReport.band(kind)) {
            const LaidOutBand laid = layOut(*band, -1, nullptr);
            place(laid, kind, -1, mY, std::nullopt);
            mY += laid.height;
        }
    }
    mBodyBottom = mPrintable.bottom();
    if (const Band* footer = mReport.band(BandKind::PageFooter)) {
        const LaidOutBand laid = layOut(*footer, -1, nullptr);
        mBodyBottom -= laid.height;
        place(laid, BandKind::PageFooter, -1, mBodyBottom, std::nullopt);
    }
    mBodyUsed = false;
}

void Paginator::placeBody(const Band& band, int row, const DetailRowContext* rowContext) {
    LaidOutBand laid = layOut(band, row, rowContext);
    if (mBodyUsed && mY + laid.height > mBodyBottom + kTolerance) {
        startPage();
        laid = layOut(band, row, rowContext);  // the page number may have changed
    }
    // Taller than a fresh page's room: the band goes on over the next pages, cut
    // between lines of text, so that no line is lost.
    while (mY + laid.height > mBodyBottom + kTolerance) {
        const double cut = cutWithin(laid, mBodyBottom - mY);
        if (cut <= kTolerance || !hasTextOnBothSides(laid, cut)) {
            break;
        }
        auto [head, rest] = cutAt(laid, cut);
        place(head, band.kind(), row, mY, std::nullopt);
        startPage();
        laid = std::move(rest);
    }
    std::optional<QRectF> clip;
    if (mY + laid.height > mBodyBottom + kTolerance) {
        clip = QRectF(mPrintable.left(), mY, mPrintable.width(), std::max(0.0, mBodyBottom - mY));
    }
    place(laid, band.kind(), row, mY, clip);
    mY += laid.height;
    mBodyUsed = true;
}

LaidOutBand Paginator::layOut(const Band& band, int row, const DetailRowContext* rowContext) const {
    const ControlContext context{row, static_cast<int>(mModel.pages.size()),
                                 mReport.dataSource().get()};
    return mLayout->layout(band, context, rowContext);
}

void Paginator::place(const LaidOutBand& laid, BandKind kind, int row, double top,
                      const std::optional<QRectF>& clip) {
    ReportPage& page = mModel.pages.back();
    const QPointF offset(mPrintable.left(), top);
    for (LineItem line : laid.lines) {
        line.line.translate(offset);
        line.clip = clip;
        page.lines.push_back(std::move(line));
    }
    for (TextItem text : laid.texts) {
        text.box.translate(offset);
        for (TextLine& line : text.lines) {
            line.rect.translate(offset);
        }
        if (text.clip) {
            text.clip->translate(offset);
        }
        text.clip = intersected(text.clip, clip);
        page.texts.push_back(std::move(text));
    }
    page.bands.push_back(
        {kind, row, QRectF(mPrintable.left(), top, mPrintable.width(), laid.height), bool(clip)});
}

}  // namespace dravin
