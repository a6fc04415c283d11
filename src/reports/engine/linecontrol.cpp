#include "reports/engine/linecontrol.h"

#include <utility>

namespace dravin {

LineControl::LineControl(QString name, LineDirection direction)
    : ReportControl(std::move(name)), mDirection(direction) {}

}  // namespace dravin
