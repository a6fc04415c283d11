#include "reports/engine/textmeasurer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "data/errors.h"

namespace dravin {
namespace {

QImage measuringDevice() {
    if (!QGuiApplication::instance()) {
        throw Error("Οι εκτυπώσεις σελιδοποιούνται μόνο όσο τρέχει το πρόγραμμα.");
    }
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = qRound(TextMeasurer::kDotsPerInch / 0.0254);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    return device;
}

QString withPlainBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

// Where a word may end a line without being broken: after a blank or a hyphen.
bool isCleanBreakAfter(QChar c) {
    return c.isSpace() || c == u'-' || c == QChar(0x00AD) || c == QChar(0x2010);
}

}  // namespace

TextMeasurer::TextMeasurer() : mDevice(measuringDevice()) {}

double TextMeasurer::lineHeight(const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).lineSpacing());
}

double TextMeasurer::textHeight(const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).height());
}

double TextMeasurer::ascent(const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).ascent());
}

double TextMeasurer::width(const QString& text, const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).horizontalAdvance(text));
}

double TextMeasurer::visibleWidth(const QString& text, const QFont& font) const {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) {
        --end;
    }
    return width(text.first(end), font);
}

TextMeasurer::Wrapped TextMeasurer::wrap(const QString& text, const QFont& font,
                                         std::optional<double> wrapWidthMm) const {
    Wrapped out;
    if (text.isEmpty()) {
        return out;
    }
    const QStringList paragraphs = withPlainBreaks(text).split(u'\n');
    for (const QString& paragraph : paragraphs) {
        if (wrapWidthMm && visibleWidth(paragraph, font) > *wrapWidthMm) {
            wrapParagraph(paragraph, font, *wrapWidthMm, out);
        } else {
            out.lines << paragraph;
        }
    }
    return out;
}

double TextMeasurer::pointSizeForTextHeight(QFont font, double heightMm) const {
    font.setHintingPreference(QFont::PreferNoHinting);
    double size = std::floor(font.pointSizeF() * 10) / 10;
    for (int i = 0; i < 200 && size > 1; ++i) {
        font.setPointSizeF(size);
        const double height = textHeight(font);
        if (height <= heightMm + kHeightSlack) {
            break;
        }
        // The height grows with the size; aim just below and check again.
        size = std::max(1.0, std::min(size - 0.1, std::floor(size * heightMm / height * 10) / 10));
    }
    return size;
}

void TextMeasurer::wrapParagraph(const QString& paragraph, const QFont& font, double widthMm,
                                 Wrapped& out) const {
    QTextLayout layout(paragraph, font, &mDevice);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<std::pair<int, int>> spans;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(toDots(widthMm));
        spans.emplace_back(line.textStart(), line.textLength());
    }
    layout.endLayout();
    for (size_t i = 0; i < spans.size(); ++i) {
        QString piece = paragraph.mid(spans[i].first, spans[i].second);
        if (i + 1 < spans.size()) {
            const qsizetype next = spans[i + 1].first;
            if (next > 0 && !isCleanBreakAfter(paragraph.at(next - 1))) {
                out.brokeWord = true;
            }
            while (!piece.isEmpty() && piece.back().isSpace()) {
                piece.chop(1);
            }
        }
        out.lines << piece;
    }
}

}  // namespace dravin
