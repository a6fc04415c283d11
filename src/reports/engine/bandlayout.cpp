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

// Millimetres by which a fitted text may still pass its room.
constexpr double kFitTolerance = 1e-6;
// What a shrinking text keeps free before the text right of it and the band's edge.
constexpr double kRoomGap = 1.0;
// The smallest size a text is set in to fit, in tenths of a point.
constexpr int kSmallestTenths = 10;

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

double insetOf(const TextBoxControl& control) noexcept {
    return std::max(0.0, finiteOr(control.inset(), 0));
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

    // Each text in its own font, and where it shrinks to fit and does not fit its room
    // so, in the largest size that does.
    std::vector<Pending> printed;  // one for each text item
    double together = 1;
    for (const auto& control : band.controls()) {
        const auto* box = dynamic_cast<const TextBoxControl*>(control.get());
        if (!box) {
            continue;
        }
        std::optional<QString> text = row ? row->text(box->name()) : std::nullopt;
        if (!text) {
            text = box->text(context);
        }
        const QFont own = printableFont(box->font().appliedTo(font));
        bool brokeWord = false;
        std::optional<TextItem> item = layoutText(*box, *text, own, color, &brokeWord);
        if (!item) {
            continue;
        }
        if (box->shrinksToFit() && !fitsRoom(*item, brokeWord, roomOf(*box))) {
            const QFont smaller = fitted(*text, own, roomOf(*box));
            item = layoutText(*box, *text, smaller, color);
            together = std::min(together, smaller.pointSizeF() / own.pointSizeF());
        }
        out.texts.push_back(std::move(*item));
        printed.push_back({box, *text, own});
    }
    if (band.shrinksTogether() && together < 1) {
        for (size_t i = 0; i < printed.size(); ++i) {
            const Pending& p = printed[i];
            QFont font = out.texts[i].font;
            const double size = std::floor(p.ownFont.pointSizeF() * together * 10) / 10;
            if (p.control->shrinksToFit() && size < font.pointSizeF()) {
                font.setPointSizeF(std::max(0.1, size));
                if (auto item = layoutText(*p.control, p.text, font, color)) {
                    out.texts[i] = std::move(*item);
                }
            }
        }
    }
    keepWithinRoom(printed, color, out);

    double height = positiveOr(band.height(), mMeasurer.lineHeight(font));
    for (size_t i = 0; i < out.texts.size(); ++i) {
        const TextItem& item = out.texts[i];
        const TextBoxControl& control = *printed[i].control;
        const double designed = positiveOr(control.height(), mMeasurer.lineHeight(item.font));
        if (control.grows() && item.box.height() > designed) {
            height = std::max(height, item.box.bottom());
        }
    }
    out.height = height;
    for (const auto& control : band.controls()) {
        if (const auto* line = dynamic_cast<const LineControl*>(control.get())) {
            layoutLine(*line, out);
        }
    }
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

BandLayout::Room BandLayout::roomOf(const TextBoxControl& control) {
    Room room;
    room.width = std::max(0.0, finiteOr(control.width(), 0) - 2 * insetOf(control));
    room.wraps = control.wordWrap() && !control.autoSize() && room.width > 0;
    room.smallestScale = std::clamp(finiteOr(control.smallestScale(), 0), 0.0, 1.0);
    const double height = finiteOr(control.height(), 0);
    if (!control.grows() && height > 0) {
        room.height = height;
    }
    return room;
}

bool BandLayout::fits(const QString& text, const QFont& font, const Room& room) const {
    const TextMeasurer::Wrapped wrapped =
        mMeasurer.wrap(text, font, room.wraps ? std::optional<double>(room.width) : std::nullopt);
    if (wrapped.brokeWord) {
        return false;
    }
    if (room.width > 0) {
        for (const QString& line : wrapped.lines) {
            if (mMeasurer.visibleWidth(line, font) > room.width + kFitTolerance) {
                return false;
            }
        }
    }
    if (room.height <= 0 || wrapped.lines.isEmpty()) {
        return true;
    }
    // The last line's leading may pass the room; its glyphs may not.
    const double needed =
        (wrapped.lines.size() - 1) * mMeasurer.lineHeight(font) + mMeasurer.textHeight(font);
    return needed <= room.height + TextMeasurer::kHeightSlack;
}

bool BandLayout::fitsRoom(const TextItem& item, bool brokeWord, const Room& room) const {
    if (brokeWord) {
        return false;
    }
    if (room.width > 0) {
        for (const TextLine& line : item.lines) {
            if (line.rect.width() > room.width + kFitTolerance) {
                return false;
            }
        }
    }
    return room.height <= 0 || (item.lines.size() - 1) * mMeasurer.lineHeight(item.font) +
                                       mMeasurer.textHeight(item.font) <=
                                   room.height + TextMeasurer::kHeightSlack;
}

QFont BandLayout::fitted(const QString& text, const QFont& font, const Room& room) const {
    if (room.width <= 0 && room.height <= 0) {
        return font;
    }
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6")
                            .arg(font.key())
                            .arg(room.width)
                            .arg(room.height)
                            .arg(room.wraps)
                            .arg(room.smallestScale)
                            .arg(text);
    QFont result = font;
    if (const auto found = mFittedSizes.constFind(key); found != mFittedSizes.cend()) {
        if (*found > 0) {
            result.setPointSizeF(*found);
        }
        return result;
    }
    // Tenths of a point: the largest that fits, else the smallest allowed, or with a
    // smallest scale its own size (size -1).
    double size = -1;
    int low = std::max(kSmallestTenths,
                       static_cast<int>(std::ceil(font.pointSizeF() * room.smallestScale * 10)));
    int high = std::max(low, static_cast<int>(std::ceil(font.pointSizeF() * 10)));
    QFont trial = font;
    trial.setPointSizeF(low / 10.0);
    if (fits(text, trial, room)) {
        while (high - low > 1) {
            const int middle = (low + high) / 2;
            trial.setPointSizeF(middle / 10.0);
            (fits(text, trial, room) ? low : high) = middle;
        }
        size = low / 10.0;
    } else if (room.smallestScale <= 0) {
        size = low / 10.0;
    }
    if (size > 0) {
        result.setPointSizeF(size);
    }
    mFittedSizes.insert(key, size);
    return result;
}

std::optional<TextItem> BandLayout::layoutText(const TextBoxControl& control, const QString& text,
                                               const QFont& font, const QColor& color,
                                               bool* brokeWord) const {
    const double lineHeight = mMeasurer.lineHeight(font);
    const double left = finiteOr(control.left(), 0);
    const double top = finiteOr(control.top(), 0);
    const double width = std::max(0.0, finiteOr(control.width(), 0));
    const double height = positiveOr(control.height(), lineHeight);
    const Room room = roomOf(control);

    const TextMeasurer::Wrapped wrapped =
        mMeasurer.wrap(text, font, room.wraps ? std::optional<double>(room.width) : std::nullopt);
    if (brokeWord) {
        *brokeWord = wrapped.brokeWord;
    }
    const QStringList& lines = wrapped.lines;
    if (lines.isEmpty()) {
        return std::nullopt;
    }
    // A line's full advance places it; its visible part is what it covers.
    std::vector<double> advances;
    std::vector<double> visible;
    advances.reserve(lines.size());
    visible.reserve(lines.size());
    for (const QString& line : lines) {
        advances.push_back(mMeasurer.width(line, font));
        visible.push_back(!line.isEmpty() && line.back().isSpace()
                              ? mMeasurer.visibleWidth(line, font)
                              : advances.back());
    }

    double boxLeft = left;
    double boxWidth = width;
    if (control.autoSize()) {
        boxWidth = *std::max_element(visible.begin(), visible.end());
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
        double x = alignedLeft(control.alignment(), boxLeft, boxWidth, advances[i]);
        // Trailing blanks move the text left, but not out of its box.
        if (visible[i] <= boxWidth) {
            x = std::clamp(x, boxLeft, boxLeft + boxWidth - visible[i]);
        }
        item.lines.push_back({lines[i], QRectF(x, top + i * lineHeight, visible[i], lineHeight)});
    }
    if (room.wraps && !control.grows()) {
        item.clip = item.box;
    }
    return item;
}

void BandLayout::keepWithinRoom(const std::vector<Pending>& printed, const QColor& color,
                                LaidOutBand& out) const {
    const auto inkOf = [](const TextItem& item) {
        QRectF ink;
        for (const TextLine& line : item.lines) {
            ink = ink.united(line.rect);
        }
        return ink;
    };
    for (size_t i = 0; i < out.texts.size(); ++i) {
        const TextBoxControl& control = *printed[i].control;
        if (!control.autoSize() || !control.shrinksToFit() ||
            control.alignment() != Alignment::Left) {
            continue;
        }
        const TextItem& item = out.texts[i];
        const double left = item.box.left();
        double limit = mWidth - kRoomGap;
        for (size_t j = 0; j < out.texts.size(); ++j) {
            const QRectF ink = inkOf(out.texts[j]);
            if (j == i || ink.isEmpty() || ink.left() <= left + kFitTolerance ||
                ink.bottom() <= item.box.top() + kFitTolerance ||
                ink.top() >= item.box.bottom() - kFitTolerance) {
                continue;
            }
            limit = std::min(limit, ink.left() - kRoomGap);
        }
        if (inkOf(item).right() <= limit + kFitTolerance) {
            continue;
        }
        Room room = roomOf(control);
        room.width = std::max(limit - left, kFitTolerance);
        if (auto refitted = layoutText(control, printed[i].text,
                                       fitted(printed[i].text, printed[i].ownFont, room), color)) {
            out.texts[i] = std::move(*refitted);
        }
    }
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
