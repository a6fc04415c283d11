#include "reports/engine/detailrowcontext.h"

namespace dravin {

void DetailRowContext::setText(const QString& controlName, const QString& text) {
    mTexts.insert(controlName, text);
}

std::optional<QString> DetailRowContext::text(const QString& controlName) const {
    const auto it = mTexts.constFind(controlName);
    if (it == mTexts.cend()) {
        return std::nullopt;
    }
    return *it;
}

}  // namespace dravin
