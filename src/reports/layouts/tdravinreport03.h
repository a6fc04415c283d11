#pragma once

#include <QString>

#include <array>
#include <utility>

#include "reports/layouts/tdravinreport00.h"

namespace dravin {

// The two full tables' common part: their 24 columns with the height and every
// coefficient, laid out at the positions of one of them.
class TDravinReport03 : public TDravinReport00 {
public:
    // Left and width of the 27 detail cells, in the order the columns print.
    using CellPositions = std::array<std::pair<double, double>, 27>;

protected:
    TDravinReport03(TDravinDataT& data, int variantCode, LayoutGroup group,
                    const ReportOptions& options, const FrameDesign& frame,
                    const HeaderDesign& header, const CellPositions& cells,
                    const QString& areaKoinHeading);
};

}  // namespace dravin
