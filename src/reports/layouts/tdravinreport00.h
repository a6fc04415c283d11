#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "data/tabledef.h"
#include "reports/engine/pagemodel.h"
#include "reports/engine/reportdefinition.h"
#include "reports/layouts/reportoptions.h"

namespace dravin {

class Band;
class TDravinDataT;
class TableDataSource;

enum class LayoutGroup { Short = 0, Expanded = 1, FullLarge = 2, FullA4 = 3 };

// The apportionment table as a banded report over the study's space table: the frame
// every layout shares (page header, closing block, footer, the row events) and the
// means to lay out a layout's columns. A layout is built for one variant code and
// holds references to the study's tables, which must outlive it.
class TDravinReport00 {
public:
    virtual ~TDravinReport00();
    TDravinReport00(const TDravinReport00&) = delete;
    TDravinReport00& operator=(const TDravinReport00&) = delete;

    // The layout that prints the variant code (0–13); other codes are a range error.
    static std::unique_ptr<TDravinReport00> create(TDravinDataT& data, int variantCode,
                                                   const ReportOptions& options);

    ReportDefinition& report() noexcept { return *mReport; }
    const ReportDefinition& report() const noexcept { return *mReport; }

    LayoutGroup layoutGroup() const noexcept { return mLayoutGroup; }
    int paperVariant() const noexcept { return mPaperVariant; }
    int variantCode() const noexcept { return static_cast<int>(mLayoutGroup) * 4 + mPaperVariant; }
    bool printsFloorTotals() const noexcept { return mPaperVariant == 1 || mPaperVariant == 3; }
    // The serial number of the last ordinary row generated.
    int rowCounter() const noexcept { return mRowCounter; }
    double rowHeight() const noexcept { return mRowHeight; }

    // Generates the pages, as a print or a preview does; numbering restarts each time.
    PageModel generate();

    // Where the frame's texts stand in a layout, in millimetres within their bands.
    struct FrameDesign {
        double marginTop = 10;
        double marginBottom = 10;
        double marginLeft = 10;
        double marginRight = 10;
        double pageHeaderHeight = 0;
        std::array<QPointF, 4> labels;  // "Οικοδομή", "Ιδιοκτησία", "Οδός", "Πόλη"
        std::array<QPointF, 4> values;  // Name1 … Name4
        QPointF title;                  // centre line, top
        std::optional<QSizeF> titleBox;
        QPointF office;
        std::array<QPointF, 4> officeValues;  // Name5, Name6, Name7, Name8
        QPointF pageNumber;
        double closingHeight = 0;
        QPointF remarks;
        QRectF notes;
        QPointF date;
        QPointF engineer;
    };

    // A horizontal rule of the column header, at y from x1 to x2.
    struct HeaderRule {
        double y;
        double x1;
        double x2;
    };
    // The column header's rules: vertical ones over the full height, from a group
    // rule down and from a sub-group rule down, and the group and sub-group rules.
    struct HeaderDesign {
        double height = 0;
        std::vector<double> fullRules;
        std::vector<double> groupRules;
        std::vector<double> subGroupRules;
        std::vector<HeaderRule> groupLines;
        std::vector<HeaderRule> subGroupLines;
        double numbersTop = 0;
        std::optional<double> ruleWidth;  // of every rule of the band; report's width if none
        bool topRule = false;
    };

    struct CellDesign {
        const char* field;  // null for the serial number
        double left;
        double width;
        Alignment alignment = Alignment::Center;
        bool lastOfColumn = true;
    };

protected:
    // Checks the code against the layout's group and builds the frame.
    TDravinReport00(TDravinDataT& data, int variantCode, LayoutGroup group,
                    const ReportOptions& options, const FrameDesign& frame);

    // The column header's rules and the "(n)" row; columns lie between the rules.
    void buildColumnHeader(const HeaderDesign& design);
    // A heading over columns first…last (1-based), between top and bottom.
    void addHeading(const QString& text, int first, int last, double top, double bottom,
                    Alignment alignment = Alignment::Center);
    // The y of the group (or sub-group) rule over a column.
    double groupRuleY(int column) const;
    double subGroupRuleY(int column) const;
    void addCells(const std::vector<CellDesign>& cells, const char* fixedHeightField = nullptr);

    // The construction steps after the design: paper, fonts, row height, notes.
    // Each concrete layout runs it last in its constructor.
    void finishConstruction();

private:
    void buildFrame(const FrameDesign& frame);
    void beforeDetail(DetailRowContext& row);

    TDravinDataT& mData;
    ReportOptions mOptions;
    LayoutGroup mLayoutGroup;
    int mPaperVariant = 0;
    int mRowCounter = 0;
    double mRowHeight = 0;
    double mHeaderRowHeight = 0;  // the least height between rows of the page header
    int mKindIndex = -1;
    std::unique_ptr<ReportDefinition> mReport;
    std::shared_ptr<const TableDataSource> mGeneral;
    std::vector<double> mColumnEdges;
    HeaderDesign mHeader;
};

}  // namespace dravin
