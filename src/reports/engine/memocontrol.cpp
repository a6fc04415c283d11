#include "reports/engine/memocontrol.h"

#include <utility>

namespace dravin {

MemoControl::MemoControl(QString name, QString text)
    : TextBoxControl(std::move(name)), mText(std::move(text)) {
    setWordWrap(true);
    setGrows(true);
}

QString MemoControl::text(const ControlContext&) const {
    return mText;
}

}  // namespace dravin
