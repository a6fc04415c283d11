#pragma once

#include "reports/layouts/tdravinreport00.h"

namespace dravin {

// The short table: 14 columns on A4 landscape (codes 0, 1) or A3 portrait (2, 3).
class TDravinReport01 : public TDravinReport00 {
public:
    TDravinReport01(TDravinDataT& data, int variantCode, const ReportOptions& options);
};

}  // namespace dravin
