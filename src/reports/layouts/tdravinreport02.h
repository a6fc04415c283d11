#pragma once

#include "reports/layouts/tdravinreport00.h"

namespace dravin {

// The expanded table: 15 columns (with the height) on A3 landscape (codes 4, 5) or a
// 420 × 594 mm portrait page (6, 7).
class TDravinReport02 : public TDravinReport00 {
public:
    TDravinReport02(TDravinDataT& data, int variantCode, const ReportOptions& options);
};

}  // namespace dravin
