#pragma once

#include <QFont>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

#include "reports/engine/pagemodel.h"

namespace dravin {

class Band;
class DetailRowContext;
class LineControl;
class ReportDefinition;
class TextBoxControl;
class TextMeasurer;
struct ControlContext;

// One band as printed once: its height after growing and its items, placed from the
// band's top-left corner.
struct LaidOutBand {
    double height = 0;
    std::vector<LineItem> lines;
    std::vector<TextItem> texts;
};

// Lays out one printing of a band: texts, font inheritance (report → band → the
// row's style → control), growth for wrapped text, rules.
class BandLayout {
public:
    BandLayout(const ReportDefinition& report, const TextMeasurer& measurer, double bandWidth);

    LaidOutBand layout(const Band& band, const ControlContext& context,
                       const DetailRowContext* row = nullptr) const;

    // The band's font with the row's style, before controls override it.
    QFont bandFont(const Band& band, const DetailRowContext* row) const;

private:
    // The room a text may fill when it shrinks to fit; zero leaves a side free.
    struct Room {
        double width = 0;
        double height = 0;
        bool wraps = false;
        double smallestScale = 0;
    };
    static Room roomOf(const TextBoxControl& control);
    // A text printed by the band, with its own font before any fitting.
    struct Pending {
        const TextBoxControl* control;
        QString text;
        QFont ownFont;
    };
    // The font in which the text fits its room: its own when it fits, else the largest
    // smaller size in tenths of a point.
    QFont fitted(const QString& text, const QFont& font, const Room& room) const;
    bool fits(const QString& text, const QFont& font, const Room& room) const;
    bool fitsRoom(const TextItem& item, bool brokeWord, const Room& room) const;
    // The text as printed in the control's box, or nothing for an empty text.
    // brokeWord, when given, tells whether a word had to be broken inside.
    std::optional<TextItem> layoutText(const TextBoxControl& control, const QString& text,
                                       const QFont& font, const QColor& color,
                                       bool* brokeWord = nullptr) const;
    // Sets auto-sized texts that would run into the text right of them, or past the
    // band's edge, smaller.
    void keepWithinRoom(const std::vector<Pending>& printed, const QColor& color,
                        LaidOutBand& out) const;
    void layoutLine(const LineControl& control, LaidOutBand& out) const;
    void addRules(const Band& band, LaidOutBand& out) const;
    // A rule's own width, else the report's.
    double ruleWidth(std::optional<double> own) const noexcept;

    const ReportDefinition& mReport;
    const TextMeasurer& mMeasurer;
    double mWidth;
    // Headers repeat on every page: each fitting is searched once.
    mutable QHash<QString, double> mFittedSizes;
};

}  // namespace dravin
