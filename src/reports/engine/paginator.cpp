#include "reports/engine/paginator.h"

#include <QPointF>

#include <algorithm>
#include <utility>

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
