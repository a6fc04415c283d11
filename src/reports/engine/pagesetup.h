#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>

namespace dravin {

enum class Paper { A4, A3, Custom };

// The paper of a report: A4, A3 or a custom width × length (given upright, as the
// paper stands in portrait), the orientation and the margins, all in millimetres.
class PageSetup {
public:
    PageSetup() = default;  // A4 portrait, 10 mm margins
    static PageSetup a4(QPageLayout::Orientation orientation);
    static PageSetup a3(QPageLayout::Orientation orientation);
    static PageSetup custom(double widthMm, double lengthMm, QPageLayout::Orientation orientation);

    Paper paper() const noexcept { return mPaper; }
    void setPaper(Paper paper) noexcept { mPaper = paper; }
    // Chooses the custom paper; a width or length that is not above zero is refused.
    void setCustomSize(double widthMm, double lengthMm);
    QSizeF customSize() const noexcept { return mCustomSize; }

    QPageLayout::Orientation orientation() const noexcept { return mOrientation; }
    void setOrientation(QPageLayout::Orientation o) noexcept { mOrientation = o; }

    // Left, top, right, bottom; negative margins count as zero.
    QMarginsF margins() const noexcept { return mMargins; }
    void setMargins(const QMarginsF& marginsMm);
    void setMargins(double top, double bottom, double left, double right);

    QPageSize pageSize() const;
    // The paper as printed, turned by the orientation.
    QSizeF paperSize() const;
    // The paper less the margins; never of negative size.
    QRectF printableRect() const;

private:
    Paper mPaper = Paper::A4;
    QSizeF mCustomSize{420.0, 594.0};
    QPageLayout::Orientation mOrientation = QPageLayout::Portrait;
    QMarginsF mMargins{10.0, 10.0, 10.0, 10.0};
};

}  // namespace dravin
