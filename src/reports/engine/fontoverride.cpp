#include "reports/engine/fontoverride.h"

#include <cmath>

namespace dravin {

void FontOverride::setStyle(const FontStyle& style) {
    bold = style.bold;
    italic = style.italic;
    underline = style.underline;
    strikeOut = style.strikeOut;
}

bool FontOverride::isEmpty() const noexcept {
    return !family && !pointSize && !bold && !italic && !underline && !strikeOut && !color;
}

QFont FontOverride::appliedTo(QFont base) const {
    if (family) {
        base.setFamilies({*family});
    }
    if (pointSize && std::isfinite(*pointSize) && *pointSize > 0) {
        base.setPointSizeF(*pointSize);
    }
    if (bold) {
        base.setBold(*bold);
    }
    if (italic) {
        base.setItalic(*italic);
    }
    if (underline) {
        base.setUnderline(*underline);
    }
    if (strikeOut) {
        base.setStrikeOut(*strikeOut);
    }
    return base;
}

}  // namespace dravin
