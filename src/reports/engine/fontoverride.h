#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

namespace dravin {

// The four style flags that are set together when a band or a row is made
// "bold alone" or "plain".
struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontStyle&) const = default;
};

// What a band or a control sets of its font; whatever is left unset comes from
// the level above (report → band → control).
struct FontOverride {
    std::optional<QString> family;
    std::optional<double> pointSize;  // sizes of zero or below are ignored
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<bool> strikeOut;
    std::optional<QColor> color;

    void setStyle(const FontStyle& style);
    bool isEmpty() const noexcept;

    QFont appliedTo(QFont base) const;
    QColor colorOver(const QColor& base) const { return color.value_or(base); }
};

}  // namespace dravin
