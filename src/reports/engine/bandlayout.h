#pragma once

#include <QFont>

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
    struct Grown {
        double bottom;
        bool grew;
    };
    Grown layoutText(const TextBoxControl& control, const QFont& bandFont, const QColor& color,
                     const ControlContext& context, const DetailRowContext* row,
                     LaidOutBand& out) const;
    void layoutLine(const LineControl& control, LaidOutBand& out) const;
    void addRules(const Band& band, LaidOutBand& out) const;
    // A rule's own width, else the report's.
    double ruleWidth(std::optional<double> own) const noexcept;

    const ReportDefinition& mReport;
    const TextMeasurer& mMeasurer;
    double mWidth;
};

}  // namespace dravin
