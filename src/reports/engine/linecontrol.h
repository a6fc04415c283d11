#pragma once

#include <QString>

#include <optional>

#include "reports/engine/reportcontrol.h"

namespace dravin {

enum class LineDirection { Horizontal, Vertical };

// A straight rule: a horizontal one along the top edge of the control's box (as long
// as its width), a vertical one along its left edge (as long as its height).
class LineControl : public ReportControl {
public:
    LineControl(QString name, LineDirection direction);

    LineDirection direction() const noexcept { return mDirection; }
    void setDirection(LineDirection d) noexcept { mDirection = d; }
    // Without a width the report's line width applies.
    std::optional<double> lineWidth() const noexcept { return mLineWidth; }
    void setLineWidth(std::optional<double> widthMm) noexcept { mLineWidth = widthMm; }

private:
    LineDirection mDirection;
    std::optional<double> mLineWidth;
};

}  // namespace dravin
