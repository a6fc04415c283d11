#include "reports/layouts/tdravinreport00.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "data/errors.h"
#include "data/tdravindatat.h"
#include "reports/engine/band.h"
#include "reports/engine/fieldcontrol.h"
#include "reports/engine/linecontrol.h"
#include "reports/engine/memocontrol.h"
#include "reports/engine/pagenumbercontrol.h"
#include "reports/engine/paginator.h"
#include "reports/engine/tabledatasource.h"
#include "reports/engine/textcontrol.h"
#include "reports/engine/textmeasurer.h"
#include "reports/layouts/tdravinreport01.h"
#include "reports/layouts/tdravinreport02.h"
#include "reports/layouts/tdravinreport04.h"
#include "reports/layouts/tdravinreport05.h"

namespace dravin {
namespace {

constexpr int kFloorTotalKind = 990;
constexpr double kFooterHeight = 4.2;
constexpr double kHeadingPointSize = 12;
constexpr double kCellInset = 0.5;
constexpr double kNameSmallestScale = 0.75;

LayoutGroup groupOfCode(int code) {
    if (code < 0 || code > 13) {
        throw RangeError("Η παραλλαγή πίνακα " + std::to_string(code) +
                         " δεν υπάρχει· οι παραλλαγές είναι από 0 έως 13.");
    }
    return static_cast<LayoutGroup>(code / 4);
}

PageSetup paperOfCode(int code) {
    switch (code) {
        case 2:
        case 3:
            return PageSetup::a3(QPageLayout::Portrait);
        case 4:
        case 5:
        case 8:
        case 9:
            return PageSetup::a3(QPageLayout::Landscape);
        case 6:
        case 7:
        case 10:
        case 11:
            return PageSetup::custom(420, 594, QPageLayout::Portrait);
        default:
            return PageSetup::a4(QPageLayout::Landscape);
    }
}

// The four style flags at once, as the report's steps set them.
FontStyle styleOf(bool bold, bool underline = false) {
    FontStyle s;
    s.bold = bold;
    s.underline = underline;
    return s;
}

// A caption as wide as its text; given a height, it is set smaller where it would not
// fit that height or the width up to the next text.
TextControl& addLabel(Band& band, const QString& name, const QString& caption, QPointF at,
                      double height = 0) {
    auto& label = band.add<TextControl>(name, caption);
    label.setGeometry(at.x(), at.y(), 0, height);
    label.setAutoSize(true);
    label.setShrinksToFit(true);
    return label;
}

bool isNameField(const char* field) {
    for (const char* name : {"Name1Floor", "NameXoros", "NameOwner"}) {
        if (std::string(field) == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

TDravinReport00::~TDravinReport00() = default;

std::unique_ptr<TDravinReport00> TDravinReport00::create(TDravinDataT& data, int variantCode,
                                                         const ReportOptions& options) {
    switch (groupOfCode(variantCode)) {
        case LayoutGroup::Short:
            return std::make_unique<TDravinReport01>(data, variantCode, options);
        case LayoutGroup::Expanded:
            return std::make_unique<TDravinReport02>(data, variantCode, options);
        case LayoutGroup::FullLarge:
            return std::make_unique<TDravinReport05>(data, variantCode, options);
        case LayoutGroup::FullA4:
            break;
    }
    return std::make_unique<TDravinReport04>(data, variantCode, options);
}

TDravinReport00::TDravinReport00(TDravinDataT& data, int variantCode, LayoutGroup group,
                                 const ReportOptions& options, const FrameDesign& frame)
    : mData(data),
      mOptions(options),
      mLayoutGroup(group),
      mReport(std::make_unique<ReportDefinition>()) {
    if (groupOfCode(variantCode) != group) {
        throw RangeError("Η παραλλαγή πίνακα " + std::to_string(variantCode) +
                         " ανήκει σε άλλη διάταξη.");
    }
    mPaperVariant = variantCode - 4 * static_cast<int>(group);
    mReport->page() = paperOfCode(variantCode);
    mReport->page().setMargins(frame.marginTop, frame.marginBottom, frame.marginLeft,
                               frame.marginRight);
    mReport->setPageFrame(true);
    mReport->setDataSource(std::make_shared<TableDataSource>(data.DravinT));
    mGeneral = std::make_shared<TableDataSource>(data.GenDataT);
    if (const auto index = data.DravinT.def().fieldIndex("IDXoros")) {
        mKindIndex = *index;
    }
    buildFrame(frame);
    mReport->setBeforePrint([this] { mRowCounter = 0; });
    mReport->setBeforeDetail([this](DetailRowContext& row) { beforeDetail(row); });
}

void TDravinReport00::buildFrame(const FrameDesign& f) {
    auto& header = mReport->addBand(BandKind::PageHeader, f.pageHeaderHeight);
    header.setEdgeRules({.bottom = true});
    // Each text of the page header may take the height down to the next text under it
    // and the width up to the text right of it or the frame; a longer one is set smaller.
    const auto rowHeights = [&f](const std::vector<double>& tops) {
        std::vector<double> heights;
        for (size_t i = 0; i < tops.size(); ++i) {
            heights.push_back((i + 1 < tops.size() ? tops[i + 1] : f.pageHeaderHeight) - tops[i]);
        }
        return heights;
    };
    const std::vector<double> labelHeights =
        rowHeights({f.labels[0].y(), f.labels[1].y(), f.labels[2].y(), f.labels[3].y()});
    const std::vector<double> valueHeights =
        rowHeights({f.values[0].y(), f.values[1].y(), f.values[2].y(), f.values[3].y()});
    const std::vector<double> officeHeights = rowHeights(
        {f.office.y(), f.officeValues[0].y(), f.officeValues[1].y(), f.officeValues[2].y()});
    mHeaderRowHeight = f.pageHeaderHeight;
    for (const auto* heights : {&labelHeights, &valueHeights, &officeHeights}) {
        mHeaderRowHeight =
            std::min(mHeaderRowHeight, *std::min_element(heights->begin(), heights->end()));
    }

    static const std::array<const char*, 4> labels = {"Οικοδομή", "Ιδιοκτησία", "Οδός", "Πόλη"};
    for (int i = 0; i < 4; ++i) {
        addLabel(header, QStringLiteral("Label%1").arg(i + 1), QString::fromUtf8(labels[i]),
                 f.labels[i], labelHeights[i]);
    }
    const auto addValue = [this](Band& band, const QString& field, QPointF at,
                                 double height) -> FieldControl& {
        auto& value = band.add<FieldControl>(field, field);
        value.setSource(mGeneral, 0);
        value.setGeometry(at.x(), at.y(), 0, height);
        value.setAutoSize(true);
        value.setShrinksToFit(true);
        return value;
    };
    for (int i = 0; i < 4; ++i) {
        addValue(header, QStringLiteral("Name%1").arg(i + 1), f.values[i], valueHeights[i]);
    }
    auto& title = header.add<TextControl>("Title", QStringLiteral("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ"));
    title.setAlignment(Alignment::Center);
    if (f.titleBox) {
        title.setGeometry(f.title.x() - f.titleBox->width() / 2, f.title.y(), f.titleBox->width(),
                          f.titleBox->height());
    } else {
        title.setGeometry(f.title.x(), f.title.y(), 0, 0);
        title.setAutoSize(true);
    }
    addLabel(header, "Office", QStringLiteral("ΤΕΧΝΙΚΟ ΓΡΑΦΕΙΟ"), f.office, officeHeights[0]);
    for (int i = 0; i < 3; ++i) {
        addValue(header, QStringLiteral("Name%1").arg(i + 5), f.officeValues[i],
                 officeHeights[i + 1]);
    }
    addValue(header, "Name8", f.officeValues[3], officeHeights[3]);

    auto& footer = mReport->addBand(BandKind::PageFooter, kFooterHeight);
    auto& credit = addLabel(
        footer, "Credit",
        QStringLiteral("Πίνακας από το πρόγραμμα Dravin · κατασκευή: ομάδα Dravin"), {1.1, 0.5});
    credit.font().family = QStringLiteral("Small Fonts");
    credit.font().pointSize = 6;
    credit.font().setStyle(styleOf(true));
    auto& page = footer.add<PageNumberControl>("PageNumber", QStringLiteral("Σελ-"));
    page.setGeometry(f.pageNumber.x(), f.pageNumber.y(), 0, 0);
    page.setAutoSize(true);
    page.font().family = QStringLiteral("Arial");
    page.font().pointSize = 8;
    page.font().setStyle(styleOf(true));

    auto& closing = mReport->addBand(BandKind::Closing, f.closingHeight);
    closing.setEdgeRules({.top = true});
    addLabel(closing, "Remarks", QStringLiteral("Γενικές Παρατηρήσεις"), f.remarks,
             f.notes.top() - f.remarks.y());
    auto& notes = closing.add<MemoControl>("Notes");
    notes.setGeometry(f.notes.left(), f.notes.top(), f.notes.width(), f.notes.height());
    addValue(closing, "Name9", f.date, f.engineer.y() - f.date.y());
    addLabel(closing, "Engineer", QStringLiteral("Ο ΜΗΧΑΝΙΚΟΣ"), f.engineer,
             f.closingHeight - f.engineer.y());

    mReport->addBand(BandKind::ColumnHeader, 0);
    mReport->addBand(BandKind::Detail, 0).setEdgeRules({.bottom = true});
}

void TDravinReport00::buildColumnHeader(const HeaderDesign& design) {
    mHeader = design;
    Band& band = *mReport->band(BandKind::ColumnHeader);
    band.setHeight(design.height);
    // The band keeps its height whatever the print font: headings that would not fit
    // it are set smaller, all by the same factor.
    band.setShrinksTogether(true);
    band.setEdgeRules({.top = design.topRule, .bottom = true}, design.ruleWidth);
    const auto vertical = [&](double x, double top) {
        auto& rule = band.add<LineControl>("Rule", LineDirection::Vertical);
        rule.setGeometry(x, top, 0, design.height - top);
        rule.setLineWidth(design.ruleWidth);
    };
    const auto horizontal = [&](const HeaderRule& r) {
        auto& rule = band.add<LineControl>("Rule", LineDirection::Horizontal);
        rule.setGeometry(r.x1, r.y, r.x2 - r.x1, 0);
        rule.setLineWidth(design.ruleWidth);
    };
    const auto coveringY = [](const std::vector<HeaderRule>& lines, double x) {
        for (const auto& l : lines) {
            if (x >= l.x1 - 1 && x <= l.x2 + 1) {
                return l.y;
            }
        }
        return lines.empty() ? 0.0 : lines.front().y;
    };
    for (double x : design.fullRules) {
        vertical(x, 0);
    }
    for (double x : design.groupRules) {
        vertical(x, coveringY(design.groupLines, x));
    }
    for (double x : design.subGroupRules) {
        vertical(x, coveringY(design.subGroupLines, x));
    }
    for (const auto& l : design.groupLines) {
        horizontal(l);
    }
    for (const auto& l : design.subGroupLines) {
        horizontal(l);
    }

    const QRectF printable = mReport->page().printableRect();
    mColumnEdges = {0.0, printable.width()};
    for (const auto* rules : {&design.fullRules, &design.groupRules, &design.subGroupRules}) {
        mColumnEdges.insert(mColumnEdges.end(), rules->begin(), rules->end());
    }
    std::sort(mColumnEdges.begin(), mColumnEdges.end());
    for (size_t c = 0; c + 1 < mColumnEdges.size(); ++c) {
        auto& number = band.add<TextControl>(QStringLiteral("Number%1").arg(c + 1),
                                             QStringLiteral("(%1)").arg(c + 1));
        number.setGeometry(mColumnEdges[c], design.numbersTop,
                           mColumnEdges[c + 1] - mColumnEdges[c],
                           design.height - design.numbersTop);
        number.setAlignment(Alignment::Center);
        number.setShrinksToFit(true);
    }
}

void TDravinReport00::addHeading(const QString& text, int first, int last, double top,
                                 double bottom, Alignment alignment) {
    const double left = mColumnEdges.at(static_cast<size_t>(first - 1));
    const double right = mColumnEdges.at(static_cast<size_t>(last));
    const double inset = alignment == Alignment::Left ? 1.0 : 0.3;
    auto& heading = mReport->band(BandKind::ColumnHeader)
                        ->add<TextControl>(QStringLiteral("Heading%1").arg(first), text);
    heading.setGeometry(left + inset, top, right - left - 2 * inset, bottom - top);
    heading.setAlignment(alignment);
    heading.setWordWrap(true);
    heading.setShrinksToFit(true);
}

double TDravinReport00::groupRuleY(int column) const {
    const double middle = (mColumnEdges.at(static_cast<size_t>(column - 1)) +
                           mColumnEdges.at(static_cast<size_t>(column))) /
                          2;
    for (const auto& l : mHeader.groupLines) {
        if (middle >= l.x1 && middle <= l.x2) {
            return l.y;
        }
    }
    return mHeader.groupLines.empty() ? 0.0 : mHeader.groupLines.front().y;
}

double TDravinReport00::subGroupRuleY(int column) const {
    const double middle = (mColumnEdges.at(static_cast<size_t>(column - 1)) +
                           mColumnEdges.at(static_cast<size_t>(column))) /
                          2;
    for (const auto& l : mHeader.subGroupLines) {
        if (middle >= l.x1 && middle <= l.x2) {
            return l.y;
        }
    }
    return groupRuleY(column);
}

void TDravinReport00::addCells(const std::vector<CellDesign>& cells, const char* fixedHeightField) {
    Band& detail = *mReport->band(BandKind::Detail);
    for (const auto& c : cells) {
        TextBoxControl* cell = nullptr;
        if (c.field == nullptr) {
            cell = &detail.add<TextControl>("Serial");
        } else {
            cell = &detail.add<FieldControl>(c.field, c.field);
        }
        cell->setGeometry(c.left, 0, c.width, 0);
        cell->setAlignment(c.alignment);
        // Numbers and codes are never broken but set smaller to fit. Names wrap at
        // blanks; a word too long for its cell is set somewhat smaller rather than
        // broken, and broken only when that is not enough.
        const bool name = c.field != nullptr && isNameField(c.field);
        cell->setWordWrap(name);
        cell->setShrinksToFit(true);
        if (name) {
            cell->setSmallestScale(kNameSmallestScale);
        }
        // Cells reach a little over the rule of the cell before them.
        cell->setInset(kCellInset);
        const bool fixed = fixedHeightField != nullptr && c.field != nullptr &&
                           std::string(fixedHeightField) == c.field;
        cell->setGrows(!fixed);
        if (c.lastOfColumn && (c.field == nullptr || std::string(c.field) != "NameOwner")) {
            cell->setRightRule(true);
        }
    }
}

void TDravinReport00::finishConstruction() {
    ReportDefinition& r = *mReport;

    // The print font, held within the sizes the layout's columns allow.
    QFont base = mOptions.printFont;
    const double size = base.pointSizeF();
    double limited = size;
    switch (mLayoutGroup) {
        case LayoutGroup::Short:
        case LayoutGroup::FullLarge:
            limited = std::min(size, 8.0);
            break;
        case LayoutGroup::Expanded:
            limited = std::max(size, 10.0);
            break;
        case LayoutGroup::FullA4:
            limited = std::min(size, 6.0);
            break;
    }
    base.setPointSizeF(limited);
    r.setFont(base);
    r.setTextColor(mOptions.printColor);

    for (const char* name : {"Title", "Name9", "Engineer"}) {
        r.control(name)->font().pointSize = kHeadingPointSize;
    }
    Band& header = *r.band(BandKind::PageHeader);
    header.font().setStyle(styleOf(true));
    if (mLayoutGroup == LayoutGroup::FullA4) {
        header.font().pointSize = 8;
    }
    // The page header's rows are fixed: its texts keep to one size that fits them.
    const QFont headerFont = header.font().appliedTo(base);
    const double headerSize = TextMeasurer().pointSizeForTextHeight(headerFont, mHeaderRowHeight);
    if (headerSize < headerFont.pointSizeF()) {
        header.font().pointSize = headerSize;
    }
    for (const char* name : {"Title", "Remarks", "Name9", "Engineer"}) {
        r.control(name)->font().setStyle(styleOf(true, true));
    }

    mRowCounter = 0;

    if (mOptions.useLineSpacing) {
        mRowHeight = mOptions.lineSpacing;
    } else {
        switch (mLayoutGroup) {
            case LayoutGroup::Short:
                mRowHeight = limited > 6 ? 8 : 6;
                break;
            case LayoutGroup::Expanded:
                mRowHeight = limited == 10 ? 8 : 10;
                break;
            case LayoutGroup::FullLarge:
                mRowHeight = 8;
                break;
            case LayoutGroup::FullA4:
                mRowHeight = 6;
                break;
        }
    }
    // A distance of zero or less leaves rows one line high rather than failing.
    const double cellHeight = std::max(mRowHeight, 0.0);
    Band& detail = *r.band(BandKind::Detail);
    for (const auto& control : detail.controls()) {
        control->setTop(0);
        control->setHeight(cellHeight);
    }
    detail.setHeight(cellHeight);

    r.band(BandKind::ColumnHeader)->font().setStyle(styleOf(true));

    auto* notes = dynamic_cast<MemoControl*>(r.control("Notes"));
    // The closing band sets no font of its own, so the box takes the base font as it
    // is; naming the family again would bypass the print font's substitution.
    notes->font() = FontOverride{};
    QString text;
    Table& general = mData.GenDataT;
    if (general.isOpen() && !general.isEmpty()) {
        general.first();
        text = QString::fromStdString(general.field("Notes1").asString());
    }
    notes->setContent(text);
}

PageModel TDravinReport00::generate() {
    return Paginator(*mReport).paginate();
}

void TDravinReport00::beforeDetail(DetailRowContext& row) {
    const Value kind = mKindIndex >= 0 ? mData.DravinT.rowValue(row.row(), mKindIndex) : Value();
    const int id = kind.isBlank() ? 0 : kind.toInteger();
    if (id < kFloorTotalKind) {
        row.setFontStyle(styleOf(false));
        ++mRowCounter;
        row.setText("Serial", QString::asprintf("%3d", mRowCounter));
        return;
    }
    row.setFontStyle(styleOf(true));
    row.setText("Serial", QString());
    if (id == kFloorTotalKind && !printsFloorTotals()) {
        row.suppress();
    }
}

}  // namespace dravin
