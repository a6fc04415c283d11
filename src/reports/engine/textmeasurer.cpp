#include "reports/engine/textmeasurer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTextLayout>
#include <QTextOption>

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

}  // namespace

TextMeasurer::TextMeasurer() : mDevice(measuringDevice()) {}

double TextMeasurer::lineHeight(const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).lineSpacing());
}

double TextMeasurer::ascent(const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).ascent());
}

double TextMeasurer::width(const QString& text, const QFont& font) const {
    return toMm(QFontMetricsF(font, &mDevice).horizontalAdvance(text));
}

QStringList TextMeasurer::lines(const QString& text, const QFont& font,
                                std::optional<double> wrapWidthMm) const {
    QStringList out;
    if (text.isEmpty()) {
        return out;
    }
    const QStringList paragraphs = withPlainBreaks(text).split(u'\n');
    for (const QString& paragraph : paragraphs) {
        if (wrapWidthMm && width(paragraph, font) > *wrapWidthMm) {
            wrapParagraph(paragraph, font, *wrapWidthMm, out);
        } else {
            out << paragraph;
        }
    }
    return out;
}

void TextMeasurer::wrapParagraph(const QString& paragraph, const QFont& font, double widthMm,
                                 QStringList& out) const {
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
            while (!piece.isEmpty() && piece.back().isSpace()) {
                piece.chop(1);
            }
        }
        out << piece;
    }
}

}  // namespace dravin
