#pragma once

#include <QHash>
#include <QString>

#include <optional>

#include "reports/engine/fontoverride.h"

namespace dravin {

// What the event before a detail row may change for that row alone: the band's font
// style, the text of a control of the detail band, or whether the row prints at all.
// A suppressed row takes no space on the page.
class DetailRowContext {
public:
    explicit DetailRowContext(int row) noexcept : mRow(row) {}

    int row() const noexcept { return mRow; }

    void suppress() noexcept { mSuppressed = true; }
    bool suppressed() const noexcept { return mSuppressed; }

    // Replaces the style flags of the detail band's font; controls that set a style
    // of their own keep it.
    void setFontStyle(const FontStyle& style) noexcept { mFontStyle = style; }
    const std::optional<FontStyle>& fontStyle() const noexcept { return mFontStyle; }

    void setText(const QString& controlName, const QString& text);
    std::optional<QString> text(const QString& controlName) const;

private:
    int mRow;
    bool mSuppressed = false;
    std::optional<FontStyle> mFontStyle;
    QHash<QString, QString> mTexts;
};

}  // namespace dravin
