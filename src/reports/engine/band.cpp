#include "reports/engine/band.h"

namespace dravin {

Band::Band(BandKind kind, double heightMm) noexcept : mKind(kind), mHeight(heightMm) {}

void Band::setEdgeRules(EdgeRules rules, std::optional<double> widthMm) noexcept {
    mEdgeRules = rules;
    mRuleWidth = widthMm;
}

ReportControl* Band::control(const QString& name) const noexcept {
    for (const auto& c : mControls) {
        if (c->name() == name) {
            return c.get();
        }
    }
    return nullptr;
}

}  // namespace dravin
