#include "reports/engine/pagenumbercontrol.h"

#include <utility>

namespace dravin {

PageNumberControl::PageNumberControl(QString name, QString prefix)
    : TextBoxControl(std::move(name)), mPrefix(std::move(prefix)) {}

QString PageNumberControl::text(const ControlContext& context) const {
    return mPrefix + QString::number(context.pageNumber);
}

}  // namespace dravin
