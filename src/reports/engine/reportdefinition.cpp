#include "reports/engine/reportdefinition.h"

#include <utility>

namespace dravin {
namespace {

size_t slot(BandKind kind) noexcept {
    return static_cast<size_t>(kind);
}

}  // namespace

ReportDefinition::ReportDefinition() : mFont(QStringLiteral("Arial"), 8) {}

Band& ReportDefinition::addBand(BandKind kind, double heightMm) {
    mBands[slot(kind)] = std::make_unique<Band>(kind, heightMm);
    return *mBands[slot(kind)];
}

Band* ReportDefinition::band(BandKind kind) noexcept {
    return mBands[slot(kind)].get();
}

const Band* ReportDefinition::band(BandKind kind) const noexcept {
    return mBands[slot(kind)].get();
}

ReportControl* ReportDefinition::control(const QString& name) const noexcept {
    for (const auto& b : mBands) {
        if (ReportControl* c = b ? b->control(name) : nullptr) {
            return c;
        }
    }
    return nullptr;
}

void ReportDefinition::setDataSource(std::shared_ptr<const ReportDataSource> source) {
    mSource = std::move(source);
}

}  // namespace dravin
