#include "reports/engine/pagesetup.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "data/errors.h"

namespace dravin {
namespace {

double nonNegative(double v) noexcept {
    return std::isfinite(v) && v > 0 ? v : 0.0;
}

}  // namespace

PageSetup PageSetup::a4(QPageLayout::Orientation orientation) {
    PageSetup p;
    p.mPaper = Paper::A4;
    p.mOrientation = orientation;
    return p;
}

PageSetup PageSetup::a3(QPageLayout::Orientation orientation) {
    PageSetup p;
    p.mPaper = Paper::A3;
    p.mOrientation = orientation;
    return p;
}

PageSetup PageSetup::custom(double widthMm, double lengthMm, QPageLayout::Orientation orientation) {
    PageSetup p;
    p.setCustomSize(widthMm, lengthMm);
    p.mOrientation = orientation;
    return p;
}

void PageSetup::setCustomSize(double widthMm, double lengthMm) {
    if (!(std::isfinite(widthMm) && std::isfinite(lengthMm) && widthMm > 0 && lengthMm > 0)) {
        throw RangeError(
            "Το πλάτος και το μήκος της σελίδας πρέπει να είναι πάνω από μηδέν "
            "χιλιοστά (δόθηκαν " +
            std::to_string(widthMm) + " × " + std::to_string(lengthMm) + ").");
    }
    mPaper = Paper::Custom;
    mCustomSize = QSizeF(widthMm, lengthMm);
}

void PageSetup::setMargins(const QMarginsF& marginsMm) {
    mMargins = QMarginsF(nonNegative(marginsMm.left()), nonNegative(marginsMm.top()),
                         nonNegative(marginsMm.right()), nonNegative(marginsMm.bottom()));
}

void PageSetup::setMargins(double top, double bottom, double left, double right) {
    setMargins(QMarginsF(left, top, right, bottom));
}

QPageSize PageSetup::pageSize() const {
    switch (mPaper) {
        case Paper::A4:
            return QPageSize(QPageSize::A4);
        case Paper::A3:
            return QPageSize(QPageSize::A3);
        case Paper::Custom:
            break;
    }
    return QPageSize(mCustomSize, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

QSizeF PageSetup::paperSize() const {
    const QSizeF upright = pageSize().size(QPageSize::Millimeter);
    return mOrientation == QPageLayout::Landscape ? upright.transposed() : upright;
}

QRectF PageSetup::printableRect() const {
    const QSizeF paper = paperSize();
    const double width = std::max(0.0, paper.width() - mMargins.left() - mMargins.right());
    const double height = std::max(0.0, paper.height() - mMargins.top() - mMargins.bottom());
    return QRectF(mMargins.left(), mMargins.top(), width, height);
}

}  // namespace dravin
