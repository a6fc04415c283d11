#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "data/errors.h"
#include "reports/engine/reportrenderer.h"
#include "reports/engine/textcontrol.h"
#include "reports/layouts/tdravinreport00.h"
#include "reports/layouts/tdravinreport01.h"
#include "reports/layouts/tdravinreport02.h"
#include "reports/layouts/tdravinreport04.h"
#include "reports/layouts/tdravinreport05.h"
#include "reporttestsupport.h"
#include "support/studyfixture.h"

namespace dravin {
namespace {

using test::pdfPageSizes;
using test::runTool;

constexpr int kFloorTotal = 990;
constexpr int kGrandTotal = 991;
constexpr int kGrandTotalFloor = 110;

// Texts as a reader sees them: every run of blanks and line breaks one blank.
QString simplified(const QString& text) {
    return text.simplified();
}

// The text items printed inside a placed band.
std::vector<const TextItem*> textsIn(const ReportPage& page, const PlacedBand& band) {
    std::vector<const TextItem*> found;
    for (const auto& t : page.texts) {
        // A box on the band's bottom edge belongs to the next band.
        const double top = t.box.top();
        if (top > band.rect.top() - 0.01 && top < band.rect.bottom() - 0.01 &&
            t.box.left() > band.rect.left() - 0.01 && t.box.left() < band.rect.right()) {
            found.push_back(&t);
        }
    }
    return found;
}

const TextItem* textIn(const ReportPage& page, const PlacedBand& band, const QString& control) {
    for (const TextItem* t : textsIn(page, band)) {
        if (t->control == control) {
            return t;
        }
    }
    return nullptr;
}

// Every heading of the column header on a page, lines joined by blanks.
QStringList headingTexts(const ReportPage& page) {
    QStringList texts;
    for (const auto& band : test::bandsOf(page, BandKind::ColumnHeader)) {
        for (const TextItem* t : textsIn(page, band)) {
            texts << simplified(t->text());
        }
    }
    return texts;
}

// A study with two floors of spaces, their floor totals and the grand total, as a
// computation leaves them.
class LayoutTest : public test::StudyFixture {
protected:
    LayoutTest() {
        mData.OpenStudy(mStudiesDir, "T");
        Table& g = mData.GenDataT;
        g.first();
        g.edit();
        g.field("Name1").setString("Πολυκατοικία Ηρώων");
        g.field("Name5").setString("Γραφείο Μελετών Α.Ε.");
        g.field("Name9").setString("Αθήνα, 3 Μαρτίου 2026");
        g.field("Notes1").setString("Οι χώροι μετρήθηκαν επί τόπου.");
        g.post();
        addOwner("Παπαδόπουλος Γεώργιος", 1);
        addOwner("Ιωάννου Μαρία", 2);
        mOptions.printFont = QFont(QStringLiteral("Liberation Sans"), 8);
    }

    // Ordinary spaces on floors 0 and 1, each floor followed by its total row.
    void addTwoFloors(int spacesPerFloor = 3) {
        for (int floor : {0, 1}) {
            for (int n = 1; n <= spacesPerFloor; ++n) {
                addSpace(floor, 10, n, 50 + n, 1 + n % 2);
            }
            addSpace(floor, kFloorTotal, 0, 150, 0);
        }
        addSpace(kGrandTotalFloor, kGrandTotal, 0, 300, 0);
    }

    std::unique_ptr<TDravinReport00> build(int code) {
        return TDravinReport00::create(mData, code, mOptions);
    }

    QString pdfPath(const char* name = "table.pdf") const {
        return QString::fromStdString((mTemp / name).string());
    }

    ReportOptions mOptions;
};

// All detail rows of a model, with the page they fell on.
struct PrintedRow {
    const ReportPage* page;
    PlacedBand band;
};
std::vector<PrintedRow> printedRows(const PageModel& model) {
    std::vector<PrintedRow> rows;
    for (const auto& page : model.pages) {
        for (const auto& band : test::bandsOf(page, BandKind::Detail)) {
            rows.push_back({&page, band});
        }
    }
    return rows;
}

struct VariantCase {
    int code;
    LayoutGroup group;
    QSizeF paperMm;  // as printed
    bool floorTotals;
};
std::ostream& operator<<(std::ostream& os, const VariantCase& c) {
    return os << "code " << c.code;
}

class VariantTest : public LayoutTest, public ::testing::WithParamInterface<VariantCase> {};

TEST_P(VariantTest, PaperOrientationAndTotalRows) {
    const VariantCase& c = GetParam();
    addTwoFloors();
    auto layout = build(c.code);
    EXPECT_EQ(layout->layoutGroup(), c.group);
    EXPECT_EQ(layout->variantCode(), c.code);
    EXPECT_EQ(layout->paperVariant(), c.code - 4 * static_cast<int>(c.group));

    const PageModel model = layout->generate();
    EXPECT_NEAR(model.paperSize.width(), c.paperMm.width(), 0.5);
    EXPECT_NEAR(model.paperSize.height(), c.paperMm.height(), 0.5);

    // Six ordinary rows numbered 1…6; total rows bold and unnumbered.
    const auto rows = printedRows(model);
    ASSERT_EQ(rows.size(), c.floorTotals ? 9u : 7u);
    int ordinary = 0;
    for (const auto& r : rows) {
        const QString kind =
            mData.DravinT.rowValue(r.band.row, 1).isBlank()
                ? QString()
                : QString::number(mData.DravinT.rowValue(r.band.row, 1).toInteger());
        const TextItem* serial = textIn(*r.page, r.band, "Serial");
        const TextItem* area = textIn(*r.page, r.band, "AreaClear");
        ASSERT_NE(area, nullptr);
        if (kind.toInt() < kFloorTotal) {
            ++ordinary;
            ASSERT_NE(serial, nullptr);
            EXPECT_EQ(serial->text(), QString::asprintf("%3d", ordinary));
            EXPECT_FALSE(area->font.bold());
        } else {
            EXPECT_TRUE(serial == nullptr || serial->text().isEmpty());
            EXPECT_TRUE(area->font.bold());
            EXPECT_TRUE(c.floorTotals || kind.toInt() == kGrandTotal);
        }
    }
    EXPECT_EQ(ordinary, 6);
    EXPECT_EQ(mData.DravinT.rowValue(rows.back().band.row, 1).toInteger(), kGrandTotal);
    // A left-out row takes no space: rows follow each other without gaps.
    for (size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].page == rows[i - 1].page) {
            EXPECT_NEAR(rows[i].band.rect.top(), rows[i - 1].band.rect.bottom(), 0.01);
        }
    }
}

constexpr QSizeF kA4Landscape{297, 210};
constexpr QSizeF kA3Portrait{297, 420};
constexpr QSizeF kA3Landscape{420, 297};
constexpr QSizeF kA2Portrait{420, 594};

INSTANTIATE_TEST_SUITE_P(
    AllCodes, VariantTest,
    ::testing::Values(VariantCase{0, LayoutGroup::Short, kA4Landscape, false},
                      VariantCase{1, LayoutGroup::Short, kA4Landscape, true},
                      VariantCase{2, LayoutGroup::Short, kA3Portrait, false},
                      VariantCase{3, LayoutGroup::Short, kA3Portrait, true},
                      VariantCase{4, LayoutGroup::Expanded, kA3Landscape, false},
                      VariantCase{5, LayoutGroup::Expanded, kA3Landscape, true},
                      VariantCase{6, LayoutGroup::Expanded, kA2Portrait, false},
                      VariantCase{7, LayoutGroup::Expanded, kA2Portrait, true},
                      VariantCase{8, LayoutGroup::FullLarge, kA3Landscape, false},
                      VariantCase{9, LayoutGroup::FullLarge, kA3Landscape, true},
                      VariantCase{10, LayoutGroup::FullLarge, kA2Portrait, false},
                      VariantCase{11, LayoutGroup::FullLarge, kA2Portrait, true},
                      VariantCase{12, LayoutGroup::FullA4, kA4Landscape, false},
                      VariantCase{13, LayoutGroup::FullA4, kA4Landscape, true}));

TEST_F(LayoutTest, RefusesCodesOfNoLayoutOrOfAnother) {
    EXPECT_THROW(build(-1), RangeError);
    EXPECT_THROW(build(14), RangeError);
    EXPECT_THROW(TDravinReport01(mData, 4, mOptions), RangeError);
    EXPECT_THROW(TDravinReport02(mData, 3, mOptions), RangeError);
    EXPECT_THROW(TDravinReport04(mData, 8, mOptions), RangeError);
    EXPECT_THROW(TDravinReport05(mData, 12, mOptions), RangeError);
}

TEST_F(LayoutTest, PdfPagesHaveThePaperOfTheirCode) {
    addTwoFloors();
    const struct {
        int code;
        QSizeF points;
    } cases[] = {{1, {842, 595}}, {2, {842, 1191}}, {5, {1191, 842}}, {10, {1191, 1684}}};
    for (const auto& c : cases) {
        ReportRenderer(build(c.code)->generate()).writePdf(pdfPath());
        const auto sizes = pdfPageSizes(pdfPath());
        ASSERT_EQ(sizes.size(), 1u) << "code " << c.code;
        EXPECT_NEAR(sizes[0].width(), c.points.width(), 1.5) << "code " << c.code;
        EXPECT_NEAR(sizes[0].height(), c.points.height(), 1.5) << "code " << c.code;
    }
}

struct FontCase {
    int code;
    double printSize;
    double baseSize;
    double rowHeight;
    double pageHeaderSize;
    // Above this size the fixed rows of the page header and the column header hold
    // their texts only in a smaller size.
    double headersHold = 99;
};
std::ostream& operator<<(std::ostream& os, const FontCase& c) {
    return os << "code " << c.code << " at " << c.printSize << " pt";
}

class FontTest : public LayoutTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(FontTest, SizesAndRowHeightFollowTheLayoutsLimits) {
    const FontCase& c = GetParam();
    addTwoFloors(1);
    mOptions.printFont.setPointSizeF(c.printSize);
    mOptions.printFont.setItalic(true);
    auto layout = build(c.code);
    EXPECT_DOUBLE_EQ(layout->report().font().pointSizeF(), c.baseSize);
    EXPECT_DOUBLE_EQ(layout->rowHeight(), c.rowHeight);

    const PageModel model = layout->generate();
    const ReportPage& page = model.pages.front();
    const auto rows = printedRows(model);
    ASSERT_FALSE(rows.empty());
    EXPECT_NEAR(rows.front().band.rect.height(), c.rowHeight, 0.01);
    const TextItem* area = textIn(page, rows.front().band, "AreaClear");
    ASSERT_NE(area, nullptr);
    EXPECT_DOUBLE_EQ(area->font.pointSizeF(), c.baseSize);
    EXPECT_FALSE(area->font.italic());  // ordinary rows are plain

    // The page header is bold alone; title, date and engineer 12-point bold underlined.
    const TextItem& label = test::onlyText(page, "Label1");
    const double headerSize = std::min(c.pageHeaderSize, c.headersHold);
    if (c.pageHeaderSize <= c.headersHold) {
        EXPECT_DOUBLE_EQ(label.font.pointSizeF(), c.pageHeaderSize);
    } else {
        EXPECT_LT(label.font.pointSizeF(), c.pageHeaderSize);
        EXPECT_GE(label.font.pointSizeF(), headerSize);
    }
    EXPECT_TRUE(label.font.bold());
    EXPECT_FALSE(label.font.italic());
    for (const char* name : {"Title", "Name9", "Engineer"}) {
        const TextItem& t = test::onlyText(page, name);
        EXPECT_DOUBLE_EQ(t.font.pointSizeF(), 12) << name;
        EXPECT_TRUE(t.font.bold() && t.font.underline()) << name;
    }
    const TextItem& remarks = test::onlyText(page, "Remarks");
    EXPECT_TRUE(remarks.font.bold() && remarks.font.underline());
    EXPECT_DOUBLE_EQ(remarks.font.pointSizeF(), c.baseSize);
    const TextItem& number = test::onlyText(page, "Number1");
    EXPECT_TRUE(number.font.bold());
    EXPECT_FALSE(number.font.italic());
    if (c.baseSize <= c.headersHold) {
        EXPECT_DOUBLE_EQ(number.font.pointSizeF(), c.baseSize);
    } else {
        // Headings and numbers shrink together; the rows keep the print size.
        EXPECT_LT(number.font.pointSizeF(), c.baseSize);
        EXPECT_GE(number.font.pointSizeF(), c.headersHold);
        EXPECT_DOUBLE_EQ(test::onlyText(page, "Heading1").font.pointSizeF(),
                         number.font.pointSizeF());
    }
    EXPECT_DOUBLE_EQ(test::onlyText(page, "Notes").font.pointSizeF(), c.baseSize);
    // The footer keeps its own fonts.
    EXPECT_DOUBLE_EQ(test::onlyText(page, "PageNumber").font.pointSizeF(), 8);
    EXPECT_DOUBLE_EQ(test::onlyText(page, "Credit").font.pointSizeF(), 6);
}

INSTANTIATE_TEST_SUITE_P(
    PrintFonts, FontTest,
    ::testing::Values(FontCase{0, 8, 8, 8, 8}, FontCase{4, 8, 10, 8, 10}, FontCase{8, 8, 8, 8, 8},
                      FontCase{12, 8, 6, 6, 8}, FontCase{1, 12, 8, 8, 8},
                      FontCase{5, 12, 12, 10, 12, 11}, FontCase{9, 12, 8, 8, 8},
                      FontCase{13, 12, 6, 6, 8}, FontCase{2, 6, 6, 6, 6}, FontCase{6, 6, 10, 8, 10},
                      FontCase{10, 6, 6, 8, 6}, FontCase{12, 6, 6, 6, 8}, FontCase{3, 14, 8, 8, 8},
                      FontCase{7, 14, 14, 10, 14, 11}, FontCase{11, 14, 8, 8, 8},
                      FontCase{13, 14, 6, 6, 8}));

TEST_F(LayoutTest, ExplicitLineSpacingSetsEveryLayoutsRows) {
    addTwoFloors(1);
    mOptions.useLineSpacing = true;
    mOptions.lineSpacing = 5.5;
    mOptions.printFont.setPointSizeF(12);
    for (int code : {1, 5, 9, 13}) {
        auto layout = build(code);
        EXPECT_DOUBLE_EQ(layout->rowHeight(), 5.5) << code;
        for (const auto& r : printedRows(layout->generate())) {
            EXPECT_NEAR(r.band.rect.height(), 5.5, 0.01) << code;
        }
    }
}

TEST_F(LayoutTest, RowDistanceOfZeroOrLessStillPrints) {
    addTwoFloors(1);
    mOptions.useLineSpacing = true;
    for (double spacing : {0.0, -4.0}) {
        mOptions.lineSpacing = spacing;
        const auto rows = printedRows(build(1)->generate());
        ASSERT_EQ(rows.size(), 5u);
        for (const auto& r : rows) {
            EXPECT_GT(r.band.rect.height(), 0);
        }
    }
}

TEST_F(LayoutTest, SerialNumbersRestartWhenGeneratedAgain) {
    addTwoFloors();
    addSpace(40, 10, 1, 20, 0);  // the future row is an ordinary row too
    auto layout = build(1);
    for (int run = 0; run < 2; ++run) {
        QStringList serials;
        const PageModel model = layout->generate();
        for (const auto& r : printedRows(model)) {
            const TextItem* s = textIn(*r.page, r.band, "Serial");
            serials << (s ? s->text() : QString());
        }
        EXPECT_EQ(serials.join('|'), "  1|  2|  3||  4|  5|  6||  7|") << "run " << run;
        EXPECT_EQ(layout->rowCounter(), 7);
    }
}

TEST_F(LayoutTest, EmptyStudyPrintsOnePageWithHeadersClosingAndPageNumber) {
    for (int code : {0, 4, 8, 12}) {
        const ReportRenderer renderer(build(code)->generate());
        ASSERT_EQ(renderer.pageCount(), 1) << code;
        const ReportPage& page = renderer.model().pages.front();
        EXPECT_EQ(test::bandsOf(page, BandKind::Detail).size(), 0u);
        EXPECT_EQ(test::bandsOf(page, BandKind::ColumnHeader).size(), 1u);
        EXPECT_EQ(test::bandsOf(page, BandKind::Closing).size(), 1u);
        renderer.writePdf(pdfPath());
        const QString text = runTool("pdftotext", {"-enc", "UTF-8", pdfPath(), "-"});
        for (const char* expected :
             {"ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ", "Πολυκατοικία Ηρώων", "ΙΔΙΟΚΤΗΤΗΣ", "Γενικές Παρατηρήσεις",
              "Οι χώροι μετρήθηκαν επί τόπου.", "Ο ΜΗΧΑΝΙΚΟΣ", "Σελ-1"}) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected)))
                << code << ": " << expected << "\n"
                << text.toStdString();
        }
        EXPECT_FALSE(text.contains("Σελ-2"));
    }
}

TEST_F(LayoutTest, LongOwnerNameWrapsAndGrowsOnlyItsRow) {
    addOwner("ΠΑΠΑΧΡΙΣΤΟΔΟΥΛΟΥ-ΚΩΝΣΤΑΝΤΙΝΙΔΗ ΑΛΕΞΑΝΔΡΑ", 3);
    addSpace(0, 10, 1, 40, 1);
    addSpace(0, 10, 2, 40, 3);
    addSpace(0, 10, 3, 40, 2);
    for (int code : {1, 5, 9, 13}) {
        const PageModel model = build(code)->generate();
        const auto rows = printedRows(model);
        ASSERT_EQ(rows.size(), 3u);
        const double row = rows[0].band.rect.height();
        EXPECT_GT(rows[1].band.rect.height(), row + 0.1) << code;
        EXPECT_NEAR(rows[2].band.rect.height(), row, 0.01) << code;
        const TextItem* owner = textIn(*rows[1].page, rows[1].band, "NameOwner");
        ASSERT_NE(owner, nullptr);
        EXPECT_GT(owner->lines.size(), 1u) << code;
    }
}

TEST_F(LayoutTest, HeadersOnEveryPageAndClosingOnceAfterTheGrandTotal) {
    addTwoFloors(40);
    const PageModel model = build(1)->generate();
    ASSERT_GT(model.pages.size(), 2u);
    for (const auto& page : model.pages) {
        EXPECT_EQ(test::bandsOf(page, BandKind::PageHeader).size(), 1u);
        EXPECT_EQ(test::bandsOf(page, BandKind::ColumnHeader).size(), 1u);
        EXPECT_EQ(test::bandsOf(page, BandKind::PageFooter).size(), 1u);
        EXPECT_EQ(test::onlyText(page, "PageNumber").text(),
                  QStringLiteral("Σελ-%1").arg(page.number));
    }
    const auto closing = test::allBands(model, BandKind::Closing);
    ASSERT_EQ(closing.size(), 1u);
    // After the grand total row: further down its page, or on the last page.
    ASSERT_EQ(test::bandsOf(model.pages.back(), BandKind::Closing).size(), 1u);
    const auto rows = printedRows(model);
    EXPECT_EQ(mData.DravinT.rowValue(rows.back().band.row, 0).toInteger(), kGrandTotalFloor);
    if (rows.back().page == &model.pages.back()) {
        EXPECT_GE(closing.front().rect.top(), rows.back().band.rect.bottom() - 0.01);
    }
}

TEST_F(LayoutTest, HeadingsReadAsDesigned) {
    const QStringList shortHeadings = headingTexts(build(0)->generate().pages.front());
    for (const char* h : {"α/α", "ΟΡΟΦΟΣ", "ΧΩΡΟΣ-ΧΡΗΣΗ-ΔΩΜΑΤΙΑ", "ΕΠΙΦΑΝΕΙΑ τ.μ", "αναλ. Κ.Χ.",
                          "ΟΓΚΟΣ κ.μ.", "ο/οο οικοπέ- δου", "τ.μ. οικοπέ- δου", "ο/οο K.X",
                          "ο/οο Ανελκυ- στήρα", "ΙΔΙΟΚΤΗΤΗΣ", "(1)", "(14)"}) {
        EXPECT_TRUE(shortHeadings.contains(QString::fromUtf8(h))) << h;
    }
    EXPECT_FALSE(shortHeadings.contains("(15)"));
    // "K.X" in Latin capitals, unlike the Greek "Κ.Χ." of the other headings.
    EXPECT_FALSE(shortHeadings.contains(QString::fromUtf8("ο/οο Κ.Χ")));

    const QStringList expanded = headingTexts(build(4)->generate().pages.front());
    for (const char* h : {"Υψος μ.", "αναλογ. Κ.Χ.", "ο/οο K.X.", "(15)"}) {
        EXPECT_TRUE(expanded.contains(QString::fromUtf8(h))) << h;
    }

    const QStringList fullA4 = headingTexts(build(12)->generate().pages.front());
    const QStringList fullLarge = headingTexts(build(8)->generate().pages.front());
    EXPECT_TRUE(fullA4.contains(QString::fromUtf8("αναλ. Κ.Χ. τ.μ.")));
    EXPECT_FALSE(fullA4.contains(QString::fromUtf8("αναλ. Κ.Χ.")));
    EXPECT_TRUE(fullLarge.contains(QString::fromUtf8("αναλ. Κ.Χ.")));
    EXPECT_FALSE(fullLarge.contains(QString::fromUtf8("αναλ. Κ.Χ. τ.μ.")));
    for (const QStringList* full : {&fullA4, &fullLarge}) {
        for (const char* h :
             {"Συν 1", "Συν 2", "Σ 4", "Συντ. Αντ. Αξίας", "Κοινόχρηστα", "Ανελκυστήρας",
              "Συντ. Κοιν. 3", "Συντ. Ανελκ. 2", "αναλ. Κ.Χ. κ.μ.", "(24)"}) {
            EXPECT_TRUE(full->contains(QString::fromUtf8(h))) << h;
        }
        EXPECT_FALSE(full->contains("(25)"));
    }
}

TEST_F(LayoutTest, CellsStandWhereDesignedWithTheirRules) {
    addTwoFloors(1);
    struct {
        int code;
        const char* cell;
        double left;
        double width;
    } cases[] = {{0, "NameOwner", 242.4, 34.1},
                 {4, "Height", 160.6, 19.8},
                 {12, "XCoef5", 238.7, 7.9},
                 {8, "XCoef5", 316.2, 11.4}};
    for (const auto& c : cases) {
        auto layout = build(c.code);
        const ReportControl* cell = layout->report().control(c.cell);
        ASSERT_NE(cell, nullptr) << c.cell;
        EXPECT_DOUBLE_EQ(cell->left(), c.left);
        EXPECT_DOUBLE_EQ(cell->width(), c.width);
        EXPECT_DOUBLE_EQ(cell->height(), layout->rowHeight());
        EXPECT_EQ(cell->rightRule(), std::string(c.cell) != "NameOwner");
    }
    auto expanded = build(4);
    EXPECT_FALSE(expanded->report().control("Name2Floor")->rightRule());
    EXPECT_TRUE(expanded->report().control("NumberofRooms")->rightRule());
    EXPECT_FALSE(dynamic_cast<TextBoxControl*>(expanded->report().control("Height"))->grows());
    EXPECT_TRUE(dynamic_cast<TextBoxControl*>(expanded->report().control("AreaClear"))->grows());
}

TEST_F(LayoutTest, PdfTextIsRealGreekTextAndPngsShowTheSamePages) {
    addTwoFloors(40);
    const ReportRenderer renderer(build(9)->generate());
    renderer.writePdf(pdfPath());
    const QStringList pages =
        runTool("pdftotext", {"-enc", "UTF-8", pdfPath(), "-"}).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), renderer.pageCount());
    for (int i = 0; i < renderer.pageCount(); ++i) {
        EXPECT_TRUE(pages[i].contains("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ"));
        EXPECT_TRUE(pages[i].contains("ΣΥΝΙΔΙΟΚΤΗΣΙΑ"));
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Σελ-%1").arg(i + 1)));
    }
    EXPECT_TRUE(pages.front().contains("Παπαδόπουλος Γεώργιος"));
    EXPECT_TRUE(pages.back().contains("Ο ΜΗΧΑΝΙΚΟΣ"));
    const QString fonts = runTool("pdffonts", {pdfPath()});
    EXPECT_TRUE(fonts.contains("LiberationSans")) << fonts.toStdString();
    EXPECT_EQ(static_cast<int>(renderer.pageImages(30).size()), renderer.pageCount());
}

}  // namespace
}  // namespace dravin
