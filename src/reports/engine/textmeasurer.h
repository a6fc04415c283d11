#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

namespace dravin {

// Measures text in millimetres at one fixed fine resolution, whatever device the
// pages are later painted on, so that line breaks and row heights do not depend on
// the printer or the zoom. Needs a running QGuiApplication.
class TextMeasurer {
public:
    static constexpr int kDotsPerInch = 1200;

    TextMeasurer();

    // From one line's top to the next.
    double lineHeight(const QFont& font) const;
    double ascent(const QFont& font) const;
    // The advance of the text, trailing blanks included (a picture's blanks count).
    double width(const QString& text, const QFont& font) const;
    // The text broken at its line breaks and, with a wrap width, where a line would
    // pass it: at word boundaries, inside a word only when the word alone is wider.
    // Blanks at a wrap are dropped; an empty text has no lines.
    QStringList lines(const QString& text, const QFont& font,
                      std::optional<double> wrapWidthMm) const;

private:
    void wrapParagraph(const QString& paragraph, const QFont& font, double widthMm,
                       QStringList& out) const;
    static double toMm(double dots) noexcept { return dots * 25.4 / kDotsPerInch; }
    static double toDots(double mm) noexcept { return mm * kDotsPerInch / 25.4; }

    QImage mDevice;
};

}  // namespace dravin
