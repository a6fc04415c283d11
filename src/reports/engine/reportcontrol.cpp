#include "reports/engine/reportcontrol.h"

#include <utility>

namespace dravin {

ReportControl::ReportControl(QString name) : mName(std::move(name)) {}

ReportControl::~ReportControl() = default;

void ReportControl::setGeometry(double left, double top, double width, double height) noexcept {
    mLeft = left;
    mTop = top;
    mWidth = width;
    mHeight = height;
}

void ReportControl::setRightRule(bool on, std::optional<double> widthMm) noexcept {
    mRightRule = on;
    mRightRuleWidth = widthMm;
}

}  // namespace dravin
