#pragma once

#include "reports/layouts/tdravinreport03.h"

namespace dravin {

// The full table on A4 landscape in small type (codes 12, 13).
class TDravinReport04 : public TDravinReport03 {
public:
    TDravinReport04(TDravinDataT& data, int variantCode, const ReportOptions& options);
};

}  // namespace dravin
