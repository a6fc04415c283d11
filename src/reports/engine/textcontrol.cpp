#include "reports/engine/textcontrol.h"

#include <utility>

namespace dravin {

TextControl::TextControl(QString name, QString caption)
    : TextBoxControl(std::move(name)), mCaption(std::move(caption)) {}

QString TextControl::text(const ControlContext&) const {
    return mCaption;
}

}  // namespace dravin
