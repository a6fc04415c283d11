#include "reports/engine/paginator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "reports/engine/fieldcontrol.h"
#include "reports/engine/memocontrol.h"
#include "reports/engine/pagenumbercontrol.h"
#include "reports/engine/reportdefinition.h"
#include "reports/engine/textcontrol.h"
#include "reports/engine/textmeasurer.h"
#include "reporttestsupport.h"

namespace dravin {
namespace {

using test::allBands;
using test::bandsOf;
using test::MemoryDataSource;
using test::onlyText;
using test::textsOf;

// A4 portrait with 10 mm margins: page header 10–30, column header 30–40, footer
// 282–287, so detail rows of 8 mm run from 40 and 30 of them fit in the 242 mm between.
constexpr double kBodyTop = 40;
constexpr double kBodyBottom = 282;

class PaginatorTest : public ::testing::Test {
protected:
    PaginatorTest() {
        mReport.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
        mReport.page() = PageSetup::a4(QPageLayout::Portrait);

        auto& header = mReport.addBand(BandKind::PageHeader, 20);
        auto& title = header.add<TextControl>("Title", "ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ");
        title.setGeometry(95, 9.5, 0, 5);
        title.setAutoSize(true);
        title.setAlignment(Alignment::Center);

        auto& columns = mReport.addBand(BandKind::ColumnHeader, 10);
        columns.add<TextControl>("OwnerHeading", "ΙΔΙΟΚΤΗΤΗΣ").setGeometry(10, 2, 30, 5);
        columns.setEdgeRules({.bottom = true});

        auto& detail = mReport.addBand(BandKind::Detail, 8);
        detail.add<TextControl>("Serial").setGeometry(1, 0, 8, 8);
        auto& name = detail.add<FieldControl>("Name", "Name");
        name.setGeometry(10, 0, 30, 8);
        name.setWordWrap(true);
        name.setGrows(true);
        name.setRightRule(true);
        auto& area = detail.add<FieldControl>("Area", "Area");
        area.setGeometry(40, 0, 20, 8);
        area.setPicture(QStringLiteral("###0.00"));
        area.setAlignment(Alignment::Right);
        detail.setEdgeRules({.bottom = true});

        auto& closing = mReport.addBand(BandKind::Closing, 30);
        closing.setEdgeRules({.top = true});
        closing.add<MemoControl>("Notes", "Γενικές παρατηρήσεις").setGeometry(2, 12, 150, 10);

        auto& footer = mReport.addBand(BandKind::PageFooter, 5);
        auto& page = footer.add<PageNumberControl>("Page", "Σελ-");
        page.setGeometry(170, -0.5, 0, 4);
        page.setAutoSize(true);
    }

    void setRows(std::vector<QStringList> rows) {
        mReport.setDataSource(
            std::make_shared<MemoryDataSource>(QStringList{"Name", "Area", "Kind"}, rows));
    }
    void setRows(int count) {
        std::vector<QStringList> rows;
        for (int i = 0; i < count; ++i) {
            rows.push_back({QStringLiteral("Χώρος %1").arg(i), "12.5", "10"});
        }
        setRows(rows);
    }
    Band& detail() { return *mReport.band(BandKind::Detail); }
    PageModel paginate() { return Paginator(mReport).paginate(); }

    static std::vector<int> rowsOf(const PageModel& model) {
        std::vector<int> rows;
        for (const PlacedBand& band : allBands(model, BandKind::Detail)) {
            rows.push_back(band.row);
        }
        return rows;
    }
    // Every placed detail row starts where the one before it ended, or at the top of a page.
    static void expectRowsFollowEachOther(const PageModel& model) {
        for (const ReportPage& page : model.pages) {
            double y = kBodyTop;
            for (const PlacedBand& band : bandsOf(page, BandKind::Detail)) {
                EXPECT_NEAR(band.rect.top(), y, 1e-9) << "row " << band.row;
                EXPECT_GT(band.rect.height(), 0) << "row " << band.row;
                y = band.rect.bottom();
            }
        }
    }

    ReportDefinition mReport;
};

TEST_F(PaginatorTest, PlacesBandsInMillimetresFromThePapersCorner) {
    setRows(3);
    const PageModel model = paginate();
    ASSERT_EQ(model.pages.size(), 1u);
    EXPECT_EQ(model.paperSize, QSizeF(210, 297));
    const ReportPage& page = model.pages[0];
    ASSERT_EQ(page.bands.size(), 7u);
    EXPECT_EQ(page.bands[0].rect, QRectF(10, 10, 190, 20));  // page header
    EXPECT_EQ(page.bands[1].rect, QRectF(10, 30, 190, 10));  // column header
    EXPECT_EQ(page.bands[2].rect, QRectF(10, 282, 190, 5));  // footer, at the bottom margin
    EXPECT_EQ(page.bands[2].kind, BandKind::PageFooter);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(page.bands[3 + row].kind, BandKind::Detail);
        EXPECT_EQ(page.bands[3 + row].row, row);
        EXPECT_EQ(page.bands[3 + row].rect, QRectF(10, 40 + 8 * row, 190, 8));
    }
    EXPECT_EQ(page.bands[6].kind, BandKind::Closing);
    EXPECT_EQ(page.bands[6].rect, QRectF(10, 64, 190, 30));

    EXPECT_NEAR(onlyText(page, "Title").box.center().x(), 105, 1e-9);
    EXPECT_EQ(onlyText(page, "Title").box.top(), 19.5);
    const auto names = textsOf(page, "Name");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1]->text(), "Χώρος 1");
    EXPECT_EQ(names[1]->box, QRectF(20, 48, 30, 8));
    EXPECT_EQ(textsOf(page, "Area")[2]->text(), "12.50");
    EXPECT_NEAR(textsOf(page, "Area")[2]->lines[0].rect.right(), 70, 1e-9);
    EXPECT_EQ(onlyText(page, "Page").text(), "Σελ-1");
    EXPECT_EQ(onlyText(page, "Page").box.topLeft(), QPointF(180, 281.5));
}

TEST_F(PaginatorTest, EveryPageHasItsHeadersAndFooterAndTheClosingBlockComesOnceAtTheEnd) {
    setRows(65);
    const PageModel model = paginate();
    ASSERT_EQ(model.pages.size(), 3u);
    const size_t perPage[] = {30, 30, 5};
    for (size_t i = 0; i < 3; ++i) {
        const ReportPage& page = model.pages[i];
        EXPECT_EQ(page.number, static_cast<int>(i + 1));
        EXPECT_EQ(bandsOf(page, BandKind::PageHeader).size(), 1u);
        EXPECT_EQ(bandsOf(page, BandKind::ColumnHeader).size(), 1u);
        EXPECT_EQ(bandsOf(page, BandKind::PageFooter).size(), 1u);
        EXPECT_EQ(bandsOf(page, BandKind::Detail).size(), perPage[i]);
        EXPECT_EQ(onlyText(page, "Page").text(), QStringLiteral("Σελ-%1").arg(i + 1));
        EXPECT_EQ(onlyText(page, "Title").text(), "ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ");
    }
    std::vector<int> expectedRows(65);
    for (int i = 0; i < 65; ++i) {
        expectedRows[i] = i;
    }
    EXPECT_EQ(rowsOf(model), expectedRows);
    expectRowsFollowEachOther(model);
    const auto closing = allBands(model, BandKind::Closing);
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(bandsOf(model.pages[2], BandKind::Closing).size(), 1u);
    EXPECT_EQ(closing[0].rect.top(), kBodyTop + 5 * 8);
}

TEST_F(PaginatorTest, AClosingBlockThatDoesNotFitStartsAPageOfItsOwn) {
    setRows(30);  // fills the first page to 280 mm
    const PageModel model = paginate();
    ASSERT_EQ(model.pages.size(), 2u);
    const ReportPage& last = model.pages[1];
    EXPECT_TRUE(bandsOf(last, BandKind::Detail).empty());
    ASSERT_EQ(bandsOf(last, BandKind::Closing).size(), 1u);
    EXPECT_EQ(bandsOf(last, BandKind::Closing)[0].rect.top(), kBodyTop);
    EXPECT_EQ(bandsOf(last, BandKind::PageHeader).size(), 1u);
    EXPECT_EQ(onlyText(last, "Page").text(), "Σελ-2");
}

TEST_F(PaginatorTest, NoRowsPrintOnePageWithHeadersClosingBlockAndPageOne) {
    for (const bool withSource : {true, false}) {
        if (withSource) {
            setRows(0);
        } else {
            mReport.setDataSource(nullptr);
        }
        const PageModel model = paginate();
        ASSERT_EQ(model.pages.size(), 1u);
        const ReportPage& page = model.pages[0];
        EXPECT_EQ(bandsOf(page, BandKind::PageHeader).size(), 1u);
        EXPECT_EQ(bandsOf(page, BandKind::ColumnHeader).size(), 1u);
        EXPECT_TRUE(bandsOf(page, BandKind::Detail).empty());
        ASSERT_EQ(bandsOf(page, BandKind::Closing).size(), 1u);
        EXPECT_EQ(bandsOf(page, BandKind::Closing)[0].rect.top(), kBodyTop);
        EXPECT_EQ(onlyText(page, "Notes").text(), "Γενικές παρατηρήσεις");
        EXPECT_EQ(onlyText(page, "Page").text(), "Σελ-1");
    }
}

TEST_F(PaginatorTest, AWrappedCellGrowsItsRowAndTheOtherRowsKeepTheirHeight) {
    setRows({{"Α1", "1", "10"},
             {"Παπαδοπούλου Αικατερίνη και Αλεξίου Κωνσταντίνος", "2", "10"},
             {"Α3", "3", "10"}});
    const PageModel model = paginate();
    const auto rows = allBands(model, BandKind::Detail);
    ASSERT_EQ(rows.size(), 3u);
    const TextItem& name = *textsOf(model.pages[0], "Name")[1];
    ASSERT_GT(name.lines.size(), 2u);
    const double grown = name.lines.size() * TextMeasurer().lineHeight(name.font);
    EXPECT_EQ(rows[0].rect.height(), 8);
    EXPECT_NEAR(rows[1].rect.height(), grown, 1e-9);
    EXPECT_EQ(rows[2].rect.height(), 8);
    expectRowsFollowEachOther(model);
    // The row's bottom rule and the cell's right rule follow the grown row.
    bool bottomRule = false;
    bool rightRule = false;
    for (const LineItem& line : model.pages[0].lines) {
        bottomRule |= line.line == QLineF(10, rows[1].rect.bottom(), 200, rows[1].rect.bottom());
        rightRule |= line.line == QLineF(50, rows[1].rect.top(), 50, rows[1].rect.bottom());
    }
    EXPECT_TRUE(bottomRule);
    EXPECT_TRUE(rightRule);
}

// As the layouts do: numbering restarts with every generation, total rows print in
// bold without a number, floor totals may be left out.
TEST_F(PaginatorTest, TheEventsNumberStyleAndSuppressRows) {
    setRows({{"Α1", "1", "10"},
             {"Α2", "2", "10"},
             {"Σύνολο ορόφου", "3", "990"},
             {"Β1", "4", "10"},
             {"Γενικό σύνολο", "10", "991"}});
    const auto source = mReport.dataSource();
    std::vector<std::string> events;
    int counter = -1;
    mReport.setBeforePrint([&] {
        events.push_back("print");
        counter = 0;
    });
    mReport.setBeforeDetail([&](DetailRowContext& row) {
        events.push_back("row " + std::to_string(row.row()));
        const int kind = source->text(row.row(), "Kind", std::nullopt).toInt();
        if (kind < 990) {
            row.setFontStyle({});
            row.setText("Serial", QString::asprintf("%3d", ++counter));
        } else {
            row.setFontStyle({.bold = true});
            if (kind == 990) {
                row.suppress();
            }
        }
    });

    for (int run = 0; run < 2; ++run) {
        events.clear();
        const PageModel model = paginate();
        EXPECT_EQ(events,
                  (std::vector<std::string>{"print", "row 0", "row 1", "row 2", "row 3", "row 4"}));
        EXPECT_EQ(rowsOf(model), (std::vector<int>{0, 1, 3, 4}));
        expectRowsFollowEachOther(model);
        const ReportPage& page = model.pages[0];
        const auto serials = textsOf(page, "Serial");
        ASSERT_EQ(serials.size(), 3u);  // the grand total has no number
        EXPECT_EQ(serials[0]->text(), "  1");
        EXPECT_EQ(serials[2]->text(), "  3");
        const auto names = textsOf(page, "Name");
        ASSERT_EQ(names.size(), 4u);
        EXPECT_FALSE(names[2]->font.bold());
        EXPECT_EQ(names[3]->text(), "Γενικό σύνολο");
        EXPECT_TRUE(names[3]->font.bold());
    }
}

class RowHeightTest : public PaginatorTest, public ::testing::WithParamInterface<double> {};

TEST_P(RowHeightTest, ZeroOrBelowLaysRowsOutOneLineHigh) {
    detail().setHeight(GetParam());
    for (const auto& control : detail().controls()) {
        control->setHeight(GetParam());
        control->setTop(0);
    }
    setRows(200);
    const PageModel model = paginate();
    const auto rows = allBands(model, BandKind::Detail);
    ASSERT_EQ(rows.size(), 200u);
    const double line = TextMeasurer().lineHeight(textsOf(model.pages[0], "Name")[0]->font);
    for (const PlacedBand& row : rows) {
        EXPECT_NEAR(row.rect.height(), line, 1e-9);
        EXPECT_FALSE(row.clipped);
    }
    expectRowsFollowEachOther(model);
    EXPECT_EQ(model.pages.size(),
              static_cast<size_t>(std::ceil(200 / std::floor((kBodyBottom - kBodyTop) / line))));
}

INSTANTIATE_TEST_SUITE_P(Heights, RowHeightTest,
                         ::testing::Values(0.0, -8.0, std::nan(""),
                                           -std::numeric_limits<double>::infinity()));

class TallBandTest : public PaginatorTest, public ::testing::WithParamInterface<double> {};

TEST_P(TallBandTest, StandsAloneOnAPageClippedToTheRoomThere) {
    detail().setHeight(GetParam());
    setRows(3);
    const PageModel model = paginate();
    ASSERT_EQ(model.pages.size(), 4u);  // the closing block follows on a page of its own
    for (int i = 0; i < 3; ++i) {
        const ReportPage& page = model.pages[i];
        const auto rows = bandsOf(page, BandKind::Detail);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].row, i);
        EXPECT_TRUE(rows[0].clipped);
        const QRectF body(10, kBodyTop, 190, kBodyBottom - kBodyTop);
        ASSERT_TRUE(onlyText(page, "Name").clip);
        EXPECT_EQ(*onlyText(page, "Name").clip, body);
        EXPECT_EQ(bandsOf(page, BandKind::PageFooter).size(), 1u);
    }
    EXPECT_FALSE(bandsOf(model.pages[3], BandKind::Closing).empty());
}

INSTANTIATE_TEST_SUITE_P(Heights, TallBandTest, ::testing::Values(243.0, 500.0, 1e12));

// Every line of the closing block's notes, in the order printed over all pages.
QStringList printedNotes(const PageModel& model) {
    QStringList lines;
    for (const ReportPage& page : model.pages) {
        for (const TextItem* notes : textsOf(page, "Notes")) {
            for (const TextLine& line : notes->lines) {
                EXPECT_GE(line.rect.top(), kBodyTop - 1e-9) << line.text.toStdString();
                EXPECT_LE(line.rect.bottom(), kBodyBottom + 1e-9) << line.text.toStdString();
                lines << line.text;
            }
        }
    }
    return lines;
}

class LongNotesTest : public PaginatorTest, public ::testing::WithParamInterface<int> {};

TEST_P(LongNotesTest, ClosingBlockGoesOnOverThePagesWithEveryLineOnce) {
    QStringList notes;
    for (int i = 1; i <= GetParam(); ++i) {
        notes << QStringLiteral("Σημείωση %1").arg(i);
    }
    mReport.band(BandKind::Closing)->controlAs<MemoControl>("Notes")->setLines(notes);
    setRows(25);  // the first page has room for no more than a few lines
    const PageModel model = paginate();

    EXPECT_EQ(printedNotes(model), notes);
    const auto closing = allBands(model, BandKind::Closing);
    ASSERT_GT(closing.size(), 1u);
    for (const PlacedBand& part : closing) {
        EXPECT_FALSE(part.clipped);
    }
    // It starts on a page of its own and goes on from the top of each page after it.
    const size_t first = model.pages.size() - closing.size();
    for (size_t p = first; p < model.pages.size(); ++p) {
        const ReportPage& page = model.pages[p];
        ASSERT_EQ(bandsOf(page, BandKind::Closing).size(), 1u) << "page " << page.number;
        EXPECT_NEAR(bandsOf(page, BandKind::Closing)[0].rect.top(), kBodyTop, 1e-9);
        EXPECT_EQ(bandsOf(page, BandKind::PageHeader).size(), 1u);
        EXPECT_EQ(onlyText(page, "Page").text(), QStringLiteral("Σελ-%1").arg(page.number));
    }
    EXPECT_EQ(textsOf(model.pages[first], "Notes").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Lines, LongNotesTest, ::testing::Values(80, 150, 400));

TEST_F(PaginatorTest, ARowTallerThanAPageGoesOnWithItsRulesAndTheNextRowFollows) {
    std::vector<QStringList> rows = {{QStringLiteral("Χώρος 0"), "1", "10"}};
    QStringList words;
    for (int i = 0; i < 300; ++i) {
        words << QStringLiteral("Ιδιοκτήτης%1").arg(i);
    }
    rows.push_back({words.join(' '), "2", "10"});
    rows.push_back({QStringLiteral("Χώρος 2"), "3", "10"});
    setRows(rows);
    const PageModel model = paginate();

    QStringList printed;
    for (const ReportPage& page : model.pages) {
        for (const TextItem* name : textsOf(page, "Name")) {
            for (const TextLine& line : name->lines) {
                EXPECT_LE(line.rect.bottom(), kBodyBottom + 1e-9);
                printed << line.text;
            }
        }
    }
    EXPECT_EQ(printed.join(' '), QStringLiteral("Χώρος 0 ") + words.join(' ') + " Χώρος 2");
    const auto parts = allBands(model, BandKind::Detail);
    ASSERT_GT(parts.size(), 4u);
    EXPECT_EQ(parts.back().row, 2);
    for (const PlacedBand& part : parts) {
        EXPECT_FALSE(part.clipped);
    }
    // The cell's right rule runs on every page the row covers, within the body.
    for (size_t p = 1; p + 1 < model.pages.size(); ++p) {
        bool rule = false;
        for (const LineItem& line : model.pages[p].lines) {
            rule = rule || (line.line.x1() == 50 && line.line.y1() == kBodyTop &&
                            line.line.y2() <= kBodyBottom + 1e-9);
        }
        EXPECT_TRUE(rule) << "page " << p + 1;
    }
}

TEST_F(PaginatorTest, HeadersThatFillThePageStillEnd) {
    mReport.band(BandKind::PageHeader)->setHeight(400);
    setRows(5);
    const PageModel model = paginate();
    EXPECT_EQ(model.pages.size(), 6u);
    EXPECT_EQ(rowsOf(model), (std::vector<int>{0, 1, 2, 3, 4}));
    for (const PlacedBand& row : allBands(model, BandKind::Detail)) {
        EXPECT_TRUE(row.clipped);
    }
}

TEST_F(PaginatorTest, AFrameSurroundsThePrintableAreaOfEveryPage) {
    mReport.setPageFrame(true);
    mReport.setLineWidth(0.4);
    setRows(40);
    const PageModel model = paginate();
    ASSERT_EQ(model.pages.size(), 2u);
    for (const ReportPage& page : model.pages) {
        int sides = 0;
        for (const LineItem& line : page.lines) {
            const QRectF r(10, 10, 190, 277);
            for (const QLineF& side :
                 {QLineF(r.topLeft(), r.topRight()), QLineF(r.topRight(), r.bottomRight()),
                  QLineF(r.bottomRight(), r.bottomLeft()), QLineF(r.bottomLeft(), r.topLeft())}) {
                sides += line.line == side && line.width == 0.4;
            }
        }
        EXPECT_EQ(sides, 4) << "page " << page.number;
    }
}

}  // namespace
}  // namespace dravin
