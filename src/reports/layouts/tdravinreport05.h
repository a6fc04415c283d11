#pragma once

#include "reports/layouts/tdravinreport03.h"

namespace dravin {

// The full table on A3 landscape (codes 8, 9) or a 420 × 594 mm portrait page (10, 11).
class TDravinReport05 : public TDravinReport03 {
public:
    TDravinReport05(TDravinDataT& data, int variantCode, const ReportOptions& options);
};

}  // namespace dravin
