#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <array>
#include <functional>
#include <memory>

#include "reports/engine/band.h"
#include "reports/engine/detailrowcontext.h"
#include "reports/engine/pagesetup.h"
#include "reports/engine/reportdatasource.h"

namespace dravin {

// A banded report: the paper, the base font that bands and controls inherit, at most
// one band of each kind, the rows of the detail band and the two events. The events
// may change properties of bands and controls but must not add or remove any.
class ReportDefinition {
public:
    using BeforePrint = std::function<void()>;
    using BeforeDetail = std::function<void(DetailRowContext&)>;

    ReportDefinition();
    ReportDefinition(const ReportDefinition&) = delete;
    ReportDefinition& operator=(const ReportDefinition&) = delete;

    PageSetup& page() noexcept { return mPage; }
    const PageSetup& page() const noexcept { return mPage; }

    // The base font; 8-point Arial until set.
    const QFont& font() const noexcept { return mFont; }
    void setFont(const QFont& font) { mFont = font; }
    const QColor& textColor() const noexcept { return mTextColor; }
    void setTextColor(const QColor& color) { mTextColor = color; }

    // The width of rules that do not give their own, in millimetres.
    double lineWidth() const noexcept { return mLineWidth; }
    void setLineWidth(double mm) noexcept { mLineWidth = mm; }
    // A frame around the printable area of every page.
    bool pageFrame() const noexcept { return mPageFrame; }
    void setPageFrame(bool on) noexcept { mPageFrame = on; }

    // Adds the band of a kind, replacing one there was.
    Band& addBand(BandKind kind, double heightMm);
    Band* band(BandKind kind) noexcept;
    const Band* band(BandKind kind) const noexcept;
    // The first control of that name in any band, or null.
    ReportControl* control(const QString& name) const noexcept;

    const std::shared_ptr<const ReportDataSource>& dataSource() const noexcept { return mSource; }
    void setDataSource(std::shared_ptr<const ReportDataSource> source);

    // Runs each time the report is generated, before the first page.
    const BeforePrint& beforePrint() const noexcept { return mBeforePrint; }
    void setBeforePrint(BeforePrint handler) { mBeforePrint = std::move(handler); }
    // Runs before each detail row.
    const BeforeDetail& beforeDetail() const noexcept { return mBeforeDetail; }
    void setBeforeDetail(BeforeDetail handler) { mBeforeDetail = std::move(handler); }

private:
    PageSetup mPage;
    QFont mFont;
    QColor mTextColor = Qt::black;
    double mLineWidth = 0.2;
    bool mPageFrame = false;
    std::array<std::unique_ptr<Band>, 5> mBands;
    std::shared_ptr<const ReportDataSource> mSource;
    BeforePrint mBeforePrint;
    BeforeDetail mBeforeDetail;
};

}  // namespace dravin
