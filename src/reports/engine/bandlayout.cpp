#include "reports/engine/bandlayout.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

#include "reports/engine/band.h"
#include "reports/engine/detailrowcontext.h"
#include "reports/engine/linecontrol.h"
#include "reports/engine/reportdefinition.h"
#include "reports/engine/textboxcontrol.h"
#include "reports/engine/textmeasurer.h"

namespace dravin {
namespace {

double finiteOr(double v, double fallback) noexcept {
    return std::isfinite(v) ? v : fallback;
}

double positiveOr(double v, double fallback) noexcept {
    return std::isfinite(v) && v > 0 ? v : fallback;
}

// Unhinted glyphs measure the same at every resolution, so a line measured once fits
// on the printer and in a small preview alike.
QFont printableFont(QFont font) {
    font.setHintingPreference(QFont::PreferNoHinting);
    if (!(font.pointSizeF() > 0)) {
        font.setPointSizeF(font.pixelSize() > 0 ? font.pixelSize() * 0.75 : 8.0);
    }
    return font;
}

double alignedLeft(Alignment alignment, double boxLeft, double boxWidth, double width) noexcept {
    switch (alignment) {
        case Alignment::Left:
            break;
        case Alignment::Right:
            return boxLeft + boxWidth - width;
        case Alignment::Center:
            return boxLeft + (boxWidth - width) / 2;
    }
    return boxLeft;
}

}  // namespace

BandLayout::BandLayout(const ReportDefinition& report, const TextMeasurer& measurer,
                       double bandWidth)
    : mReport(report), mMeasurer(measurer), mWidth(std::max(0.0, finiteOr(bandWidth, 0))) {}

QFont BandLayout::bandFont(const Band& band, const DetailRowContext* row) const {
    FontOverride font = band.font();
    if (row && row->fontStyle()) {
        font.setStyle(*row->fontStyle());
    }
    return printableFont(font.appliedTo(mReport.font()));
}

LaidOutBand BandLayout::layout(const Band& band, const ControlContext& context,
                               const DetailRowContext* row) const {
    LaidOutBand out;
    const QFont font = bandFont(band, row);
    const QColor color = band.font().colorOver(mReport.textColor());
    double height = positiveOr(band.height(), mMeasurer.lineHeight(font));
    for (const auto& control : band.controls()) {
        if (const auto* text = dynamic_cast<const TextBoxControl*>(control.get())) {
            const Grown grown = layoutText(*text, font, color, context, row, out);
            if (grown.grew) {
                height = std::max(height, grown.bottom);
            }
        } else if (const auto* line = dynamic_cast<const LineControl*>(control.get())) {
            layoutLine(*line, out);
        }
    }
    out.height = height;
    for (const auto& control : band.controls()) {
        if (control->rightRule()) {
            const double x = finiteOr(control->left(), 0) + finiteOr(control->width(), 0);
            const double top = finiteOr(control->top(), 0);
            out.lines.push_back(
                {QLineF(x, top, x, height), ruleWidth(control->rightRuleWidth()), std::nullopt});
        }
    }
    addRules(band, out);
    return out;
}

BandLayout::Grown BandLayout::layoutText(const TextBoxControl& control, const QFont& bandFont,
                                         const QColor& color, const ControlContext& context,
                                         const DetailRowContext* row, LaidOutBand& out) const {
    std::optional<QString> text = row ? row->text(control.name()) : std::nullopt;
    if (!text) {
        text = control.text(context);
    }
    const QFont font = printableFont(control.font().appliedTo(bandFont));
    const double lineHeight = mMeasurer.lineHeight(font);
    const double left = finiteOr(control.left(), 0);
    const double top = finiteOr(control.top(), 0);
    const double width = std::max(0.0, finiteOr(control.width(), 0));
    const double height = positiveOr(control.height(), lineHeight);
    const bool wraps = control.wordWrap() && !control.autoSize() && width > 0;

    const QStringList lines =
        mMeasurer.lines(*text, font, wraps ? std::optional<double>(width) : std::nullopt);
    if (lines.isEmpty()) {
        return {top + height, false};
    }
    std::vector<double> widths;
    widths.reserve(lines.size());
    for (const QString& line : lines) {
        widths.push_back(mMeasurer.width(line, font));
    }

    double boxLeft = left;
    double boxWidth = width;
    if (control.autoSize()) {
        boxWidth = *std::max_element(widths.begin(), widths.end());
        boxLeft = alignedLeft(control.alignment(), left, width, boxWidth);
    }
    const double needed = lines.size() * lineHeight;
    const bool grew = control.grows() && needed > height;
    const double boxHeight = grew ? needed : height;

    TextItem item{control.name(),
                  font,
                  control.font().colorOver(color),
                  QRectF(boxLeft, top, boxWidth, boxHeight),
                  mMeasurer.ascent(font),
                  {},
                  std::nullopt};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double x = alignedLeft(control.alignment(), boxLeft, boxWidth, widths[i]);
        item.lines.push_back({lines[i], QRectF(x, top + i * lineHeight, widths[i], lineHeight)});
    }
    if (wraps && !control.grows()) {
        item.clip = item.box;
    }
    out.texts.push_back(std::move(item));
    return {top + boxHeight, grew};
}

void BandLayout::layoutLine(const LineControl& control, LaidOutBand& out) const {
    const double left = finiteOr(control.left(), 0);
    const double top = finiteOr(control.top(), 0);
    const QLineF line = control.direction() == LineDirection::Horizontal
                            ? QLineF(left, top, left + finiteOr(control.width(), 0), top)
                            : QLineF(left, top, left, top + finiteOr(control.height(), 0));
    out.lines.push_back({line, ruleWidth(control.lineWidth()), std::nullopt});
}

double BandLayout::ruleWidth(std::optional<double> own) const noexcept {
    return positiveOr(own.value_or(-1), std::max(0.0, finiteOr(mReport.lineWidth(), 0)));
}

void BandLayout::addRules(const Band& band, LaidOutBand& out) const {
    const EdgeRules rules = band.edgeRules();
    const double width = ruleWidth(band.ruleWidth());
    const double h = out.height;
    if (rules.top) {
        out.lines.push_back({QLineF(0, 0, mWidth, 0), width, std::nullopt});
    }
    if (rules.bottom) {
        out.lines.push_back({QLineF(0, h, mWidth, h), width, std::nullopt});
    }
    if (rules.left) {
        out.lines.push_back({QLineF(0, 0, 0, h), width, std::nullopt});
    }
    if (rules.right) {
        out.lines.push_back({QLineF(mWidth, 0, mWidth, h), width, std::nullopt});
    }
}

}  // namespace dravin
