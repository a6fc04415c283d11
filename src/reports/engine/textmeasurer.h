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
    // Positions are designed to a tenth of a millimetre: glyphs may reach that far past
    // the height they are given.
    static constexpr double kHeightSlack = 0.1;

    TextMeasurer();

    // From one line's top to the next.
    double lineHeight(const QFont& font) const;
    // From a line's top to the foot of its lowest glyphs: the line height less leading.
    double textHeight(const QFont& font) const;
    double ascent(const QFont& font) const;
    // The advance of the text, trailing blanks included (a picture's blanks count).
    double width(const QString& text, const QFont& font) const;
    // The advance of what prints of the text: without its trailing blanks.
    double visibleWidth(const QString& text, const QFont& font) const;

    struct Wrapped {
        QStringList lines;
        // A word was broken where it has neither a blank nor a hyphen.
        bool brokeWord = false;
    };
    // The text broken at its line breaks and, with a wrap width, where a line's visible
    // part would pass it: at blanks and after hyphens, inside a word only when the word
    // alone is wider. Blanks at a wrap are dropped; an empty text has no lines.
    Wrapped wrap(const QString& text, const QFont& font, std::optional<double> wrapWidthMm) const;
    QStringList lines(const QString& text, const QFont& font,
                      std::optional<double> wrapWidthMm) const {
        return wrap(text, font, wrapWidthMm).lines;
    }

    // The largest size, in tenths of a point and not above the font's own, at which a
    // line's glyphs are at most that high (with the slack).
    double pointSizeForTextHeight(QFont font, double heightMm) const;

private:
    void wrapParagraph(const QString& paragraph, const QFont& font, double widthMm,
                       Wrapped& out) const;
    static double toMm(double dots) noexcept { return dots * 25.4 / kDotsPerInch; }
    static double toDots(double mm) noexcept { return mm * kDotsPerInch / 25.4; }

    QImage mDevice;
};

}  // namespace dravin
