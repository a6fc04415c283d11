#include "reports/engine/bandlayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <string>

#include "reports/engine/band.h"
#include "reports/engine/detailrowcontext.h"
#include "reports/engine/fieldcontrol.h"
#include "reports/engine/linecontrol.h"
#include "reports/engine/memocontrol.h"
#include "reports/engine/pagenumbercontrol.h"
#include "reports/engine/reportdefinition.h"
#include "reports/engine/textcontrol.h"
#include "reports/engine/textmeasurer.h"
#include "reporttestsupport.h"

namespace dravin {
namespace {

using test::MemoryDataSource;

constexpr double kBandWidth = 277;

class BandLayoutTest : public ::testing::Test {
protected:
    BandLayoutTest() { mReport.setFont(QFont(QStringLiteral("Liberation Sans"), 8)); }

    LaidOutBand layOut(const ControlContext& context = {}, const DetailRowContext* row = nullptr) {
        return BandLayout(mReport, mMeasurer, kBandWidth).layout(mBand, context, row);
    }
    static const TextItem& item(const LaidOutBand& laid, const QString& control) {
        for (const TextItem& t : laid.texts) {
            if (t.control == control) {
                return t;
            }
        }
        ADD_FAILURE() << control.toStdString() << " printed nothing";
        static const TextItem none{};
        return none;
    }
    double lineHeight(const TextItem& t) const { return mMeasurer.lineHeight(t.font); }
    static QFont printable(QFont font) {
        font.setHintingPreference(QFont::PreferNoHinting);
        return font;
    }
    double width(const QString& text, const TextItem& t) const {
        return mMeasurer.width(text, t.font);
    }

    ReportDefinition mReport;
    TextMeasurer mMeasurer;
    Band mBand{BandKind::Detail, 8};
};

TEST_F(BandLayoutTest, FontsInheritFromReportToBandToControl) {
    mReport.setTextColor(Qt::darkBlue);
    mBand.font().bold = true;
    mBand.add<TextControl>("Plain", "α");
    auto& big = mBand.add<TextControl>("Big", "β");
    big.font().pointSize = 12;
    big.font().underline = true;
    big.font().color = Qt::red;
    mBand.add<TextControl>("Mono", "γ").font().family = QStringLiteral("Liberation Mono");

    const LaidOutBand laid = layOut();
    const QFont plain = item(laid, "Plain").font;
    EXPECT_EQ(plain.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(plain.pointSizeF(), 8);
    EXPECT_TRUE(plain.bold());
    EXPECT_FALSE(plain.underline());
    EXPECT_EQ(item(laid, "Plain").color, QColor(Qt::darkBlue));
    const QFont bigFont = item(laid, "Big").font;
    EXPECT_EQ(bigFont.pointSizeF(), 12);
    EXPECT_TRUE(bigFont.bold());
    EXPECT_TRUE(bigFont.underline());
    EXPECT_EQ(item(laid, "Big").color, QColor(Qt::red));
    EXPECT_EQ(item(laid, "Mono").font.family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(item(laid, "Mono").font.bold());
}

TEST_F(BandLayoutTest, TheRowStyleReplacesTheBandStyleButNotAControlsOwn) {
    mBand.font().bold = true;
    mBand.font().italic = true;
    mBand.add<TextControl>("Cell", "α");
    mBand.add<TextControl>("Marked", "β").font().bold = true;
    DetailRowContext row(0);
    row.setFontStyle({});

    const LaidOutBand laid = layOut({}, &row);
    EXPECT_FALSE(item(laid, "Cell").font.bold());
    EXPECT_FALSE(item(laid, "Cell").font.italic());
    EXPECT_TRUE(item(laid, "Marked").font.bold());
}

TEST_F(BandLayoutTest, TheRowMayReplaceAControlsText) {
    mBand.add<TextControl>("Serial", "");
    mBand.add<TextControl>("Other", "x");
    DetailRowContext row(4);
    row.setText("Serial", "  5");

    const LaidOutBand laid = layOut({}, &row);
    EXPECT_EQ(item(laid, "Serial").text(), "  5");
    EXPECT_EQ(item(laid, "Other").text(), "x");
    EXPECT_EQ(layOut().texts.size(), 1u);  // an empty text prints nothing
}

struct AlignCase {
    Alignment alignment;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const AlignCase& c) {
    return os << static_cast<int>(c.alignment) << " '" << c.text << "'";
}

class AlignmentTest : public BandLayoutTest, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(AlignmentTest, PlacesTheLineInTheBox) {
    const AlignCase& c = GetParam();
    auto& cell = mBand.add<TextControl>("Cell", QString::fromUtf8(c.text));
    cell.setGeometry(100, 1, 30, 8);
    cell.setAlignment(c.alignment);

    const LaidOutBand laid = layOut();
    const TextItem& t = item(laid, "Cell");
    ASSERT_EQ(t.lines.size(), 1u);
    const QRectF line = t.lines[0].rect;
    // The blanks of a picture place the line but print nothing.
    const double advance = width(t.lines[0].text, t);
    EXPECT_NEAR(line.width(), width(t.lines[0].text.trimmed(), t), 1e-9);
    EXPECT_EQ(line.top(), 1);
    const double expectedLeft = c.alignment == Alignment::Left    ? 100
                                : c.alignment == Alignment::Right ? 130 - advance
                                                                  : 115 - advance / 2;
    EXPECT_NEAR(line.left(), expectedLeft, 1e-9);
    EXPECT_EQ(t.box, QRectF(100, 1, 30, 8));
}

INSTANTIATE_TEST_SUITE_P(Alignments, AlignmentTest,
                         ::testing::Values(AlignCase{Alignment::Left, "12.50"},
                                           AlignCase{Alignment::Right, "12.50"},
                                           AlignCase{Alignment::Center, "12.50"},
                                           AlignCase{Alignment::Center, "12.50  "}));

TEST_F(BandLayoutTest, TrailingBlanksNeverPushTheDigitsPastTheBox) {
    // As in a narrow per-mille cell: wider than the box with its blanks, not without.
    auto& cell = mBand.add<TextControl>("Cell", QStringLiteral("1000.00  "));
    const double digits = mMeasurer.width(QStringLiteral("1000.00"), mReport.font());
    cell.setGeometry(50, 0, digits + 0.2, 8);
    cell.setAlignment(Alignment::Center);
    const LaidOutBand laid = layOut();
    const TextItem& t = item(laid, "Cell");
    ASSERT_EQ(t.lines.size(), 1u);
    EXPECT_GE(t.lines[0].rect.left(), 50 - 1e-9);
    EXPECT_LE(t.lines[0].rect.right(), 50 + digits + 0.2 + 1e-9);
    EXPECT_EQ(t.text(), "1000.00  ");
}

struct FitCase {
    const char* label;
    const char* text;
    double width;
    double height;  // zero: the box grows
    bool wraps;
    bool shrinks;  // whether the text does not fit at 8 points
};
std::ostream& operator<<(std::ostream& os, const FitCase& c) {
    return os << c.label;
}

class ShrinkToFitTest : public BandLayoutTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(ShrinkToFitTest, SetsTheTextInTheLargestSizeThatFitsItsBox) {
    const FitCase& c = GetParam();
    auto& cell = mBand.add<TextControl>("Cell", QString::fromUtf8(c.text));
    cell.setGeometry(10, 0, c.width, c.height);
    cell.setAlignment(Alignment::Center);
    cell.setWordWrap(c.wraps);
    cell.setGrows(c.height == 0);
    cell.setShrinksToFit(true);
    cell.setInset(0.5);
    const LaidOutBand laid = layOut();
    const TextItem& t = item(laid, "Cell");
    const double size = t.font.pointSizeF();
    if (!c.shrinks) {
        EXPECT_EQ(size, 8);
        return;
    }
    EXPECT_LT(size, 8);
    EXPECT_GE(size, 1);
    // Whole words, clear of the inset, within the height…
    EXPECT_EQ(t.text().simplified().remove(' '),
              QString::fromUtf8(c.text).simplified().remove(' '));
    for (const TextLine& line : t.lines) {
        EXPECT_GE(line.rect.left(), 10.5 - 1e-6) << line.text.toStdString();
        EXPECT_LE(line.rect.right(), 10 + c.width - 0.5 + 1e-6) << line.text.toStdString();
    }
    EXPECT_FALSE(mMeasurer.wrap(t.text(), t.font, c.width - 1).brokeWord);
    if (c.height > 0) {
        EXPECT_LE((t.lines.size() - 1) * lineHeight(t) + mMeasurer.textHeight(t.font),
                  c.height + TextMeasurer::kHeightSlack);
    }
    // …and a tenth of a point more would not fit.
    QFont larger = t.font;
    larger.setPointSizeF(size + 0.1);
    const TextMeasurer::Wrapped wrapped =
        mMeasurer.wrap(QString::fromUtf8(c.text), larger,
                       c.wraps ? std::optional<double>(c.width - 1) : std::nullopt);
    bool fits = !wrapped.brokeWord;
    for (const QString& line : wrapped.lines) {
        fits = fits && mMeasurer.visibleWidth(line, larger) <= c.width - 1 + 1e-6;
    }
    if (c.height > 0) {
        fits = fits && (wrapped.lines.size() - 1) * mMeasurer.lineHeight(larger) +
                               mMeasurer.textHeight(larger) <=
                           c.height + TextMeasurer::kHeightSlack;
    }
    EXPECT_FALSE(fits);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShrinkToFitTest,
    ::testing::Values(FitCase{"NumberThatFits", "123.45", 20, 0, false, false},
                      FitCase{"NumberWiderThanItsCell", "99999.99", 8, 0, false, true},
                      FitCase{"WordWiderThanItsHeadingBox", "καθαρός", 7, 0, true, true},
                      FitCase{"HeadingTallerThanItsBox", "ο/οο\nΑνελκυ-\nστήρα", 20, 7, true, true},
                      FitCase{"HeadingThatWrapsToFitItsBox", "ΠΟΣΟΣΤΑ ΔΑΠΑΝΩΝ", 16, 8, true,
                              false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BandLayoutTest, ANameShrinksALittleRatherThanBreakAWordAndBreaksItWhenThatIsNotEnough) {
    const QString floor = QStringLiteral("Υπόγειο");
    const QString owner(40, QChar(0x03A0));  // forty capital pi, no blank to break at
    const double floorWidth = mMeasurer.width(floor, printable(mReport.font()));
    for (const QString& text : {floor, owner}) {
        auto& cell = mBand.add<FieldControl>(text == floor ? "Floor" : "Owner", "Name");
        cell.setGeometry(10, 0, floorWidth * 0.9, 8);
        cell.setWordWrap(true);
        cell.setGrows(true);
        cell.setShrinksToFit(true);
        cell.setSmallestScale(0.75);
    }
    auto rows = std::make_shared<MemoryDataSource>(QStringList{"Name"},
                                                   std::vector<QStringList>{{floor}, {owner}});
    const LaidOutBand first = layOut({.row = 0, .source = rows.get()});
    const TextItem& shrunk = item(first, "Floor");
    EXPECT_LT(shrunk.font.pointSizeF(), 8);
    EXPECT_GE(shrunk.font.pointSizeF(), 6);
    EXPECT_EQ(shrunk.lines.size(), 1u);
    const LaidOutBand second = layOut({.row = 1, .source = rows.get()});
    const TextItem& broken = item(second, "Owner");
    EXPECT_EQ(broken.font.pointSizeF(), 8);
    EXPECT_GT(broken.lines.size(), 2u);
    EXPECT_EQ(broken.text().remove(u'\n'), owner);
}

TEST_F(BandLayoutTest, TextsOfABandThatShrinksTogetherShareOneSize) {
    mBand.setShrinksTogether(true);
    auto& tight = mBand.add<TextControl>("Tight", QStringLiteral("ΣΥΝΙΔΙΟΚΤΗΣΙΑ"));
    tight.setGeometry(0, 0, 12, 5);
    auto& roomy = mBand.add<TextControl>("Roomy", QStringLiteral("α/α"));
    roomy.setGeometry(20, 0, 30, 5);
    auto& fixed = mBand.add<TextControl>("Fixed", QStringLiteral("(1)"));
    fixed.setGeometry(60, 0, 30, 5);
    for (TextControl* t : {&tight, &roomy}) {
        t->setWordWrap(true);
        t->setShrinksToFit(true);
    }
    const LaidOutBand laid = layOut();
    EXPECT_LT(item(laid, "Tight").font.pointSizeF(), 8);
    EXPECT_EQ(item(laid, "Roomy").font.pointSizeF(), item(laid, "Tight").font.pointSizeF());
    EXPECT_EQ(item(laid, "Fixed").font.pointSizeF(), 8);  // it does not shrink at all
}

TEST_F(BandLayoutTest, AnAutoSizedTextThatShrinksKeepsClearOfTheTextRightOfItAndTheEdge) {
    // Capital omicrons: the value alone is wider than the band.
    auto& label = mBand.add<TextControl>("Label", QString(30, QChar(0x039F)));
    label.setGeometry(2.1, 0.5, 0, 4.5);
    auto& value = mBand.add<TextControl>("Value", QString(150, QChar(0x039F)));
    value.setGeometry(25.9, 0.5, 0, 4.5);
    auto& below = mBand.add<TextControl>("Below", QStringLiteral("Ιδιοκτησία"));
    below.setGeometry(10, 5.0, 0, 4.5);  // on the next row: no obstacle
    for (TextControl* t : {&label, &value, &below}) {
        t->setAutoSize(true);
        t->setShrinksToFit(true);
    }
    const LaidOutBand laid = layOut();
    const TextItem& l = item(laid, "Label");
    const TextItem& v = item(laid, "Value");
    EXPECT_LT(l.font.pointSizeF(), 8);
    EXPECT_LE(l.lines[0].rect.right(), 25.9 - 1 + 1e-6);
    EXPECT_LT(v.font.pointSizeF(), 8);
    EXPECT_LE(v.lines[0].rect.right(), kBandWidth - 1 + 1e-6);
    EXPECT_GT(v.lines[0].rect.right(), kBandWidth - 10);  // it takes the room it has
    EXPECT_EQ(item(laid, "Below").font.pointSizeF(), 8);
}

TEST_F(BandLayoutTest, AnAutoSizedBoxIsAsWideAsItsTextAndAnchoredByItsAlignment) {
    auto& label = mBand.add<TextControl>("Label", "Οικοδομή");
    label.setGeometry(2.1, 0.5, 0, 4);
    label.setAutoSize(true);
    auto& title = mBand.add<TextControl>("Title", "ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ");
    title.setGeometry(131.0, 9.5, 0, 5);
    title.setAutoSize(true);
    title.setAlignment(Alignment::Center);

    const LaidOutBand laid = layOut();
    const TextItem& l = item(laid, "Label");
    EXPECT_EQ(l.box.left(), 2.1);
    EXPECT_NEAR(l.box.width(), width("Οικοδομή", l), 1e-9);
    const TextItem& t = item(laid, "Title");
    EXPECT_NEAR(t.box.center().x(), 131.0, 1e-9);
    EXPECT_NEAR(t.lines[0].rect.center().x(), 131.0, 1e-9);
    EXPECT_GT(t.box.width(), 20);
}

TEST_F(BandLayoutTest, AWrappingCellGrowsItsRow) {
    auto& owner = mBand.add<FieldControl>("Owner", "NameOwner");
    owner.setGeometry(242.4, 0, 34.1, 8);
    owner.setWordWrap(true);
    owner.setGrows(true);
    owner.setRightRule(true);
    mBand.add<TextControl>("Serial", "1").setGeometry(1.1, 0, 7.1, 8);
    mBand.setEdgeRules({.bottom = true});
    MemoryDataSource source({"NameOwner"},
                            {{"Παπαδοπούλου Αικατερίνη και Αλεξίου Κωνσταντίνος του Γεωργίου"}});

    const LaidOutBand laid = layOut({.row = 0, .pageNumber = 1, .source = &source});
    const TextItem& t = item(laid, "Owner");
    ASSERT_GE(t.lines.size(), 3u);
    for (const TextLine& line : t.lines) {
        EXPECT_LE(line.rect.right(), t.box.right() + 1e-9);
    }
    const double grown = t.lines.size() * lineHeight(t);
    EXPECT_GT(grown, 8);
    EXPECT_NEAR(t.box.height(), grown, 1e-9);
    EXPECT_NEAR(laid.height, grown, 1e-9);
    EXPECT_FALSE(t.clip);
    EXPECT_EQ(item(laid, "Serial").box.height(), 8);  // other cells keep the row height
    // The bottom rule and the cell's right rule follow the grown row.
    ASSERT_EQ(laid.lines.size(), 2u);
    EXPECT_EQ(laid.lines[0].line, QLineF(242.4 + 34.1, 0, 242.4 + 34.1, laid.height));
    EXPECT_EQ(laid.lines[1].line, QLineF(0, laid.height, kBandWidth, laid.height));
}

TEST_F(BandLayoutTest, AWrappingCellThatDoesNotGrowIsCutAtItsBox) {
    auto& height = mBand.add<TextControl>("Height", "πολύ ψηλό ύψος με πολλές λέξεις");
    height.setGeometry(160.6, 0, 12, 8);
    height.setWordWrap(true);
    auto& label = mBand.add<TextControl>("Label", "ένα μακρύ κείμενο που δεν αναδιπλώνεται");
    label.setGeometry(10, 0, 5, 8);

    const LaidOutBand laid = layOut();
    EXPECT_EQ(laid.height, 8);
    const TextItem& h = item(laid, "Height");
    EXPECT_GT(h.lines.size() * lineHeight(h), 8);
    ASSERT_TRUE(h.clip);
    EXPECT_EQ(*h.clip, QRectF(160.6, 0, 12, 8));
    const TextItem& l = item(laid, "Label");  // runs past its box rather than being lost
    EXPECT_EQ(l.lines.size(), 1u);
    EXPECT_FALSE(l.clip);
}

TEST_F(BandLayoutTest, AGrowingBoxMayShrinkNothing) {
    auto& notes = mBand.add<MemoControl>("Notes", "μία γραμμή");
    notes.setGeometry(2.1, 12.7, 177.5, 16.7);
    mBand.setHeight(32.3);
    const LaidOutBand laid = layOut();
    EXPECT_EQ(laid.height, 32.3);
    EXPECT_EQ(item(laid, "Notes").box, QRectF(2.1, 12.7, 177.5, 16.7));
}

class NoHeightTest : public BandLayoutTest, public ::testing::WithParamInterface<double> {};

TEST_P(NoHeightTest, IsOneLineHigh) {
    mBand.setHeight(GetParam());
    auto& cell = mBand.add<FieldControl>("Owner", "NameOwner");
    cell.setGeometry(10, 0, 40, GetParam());
    cell.setWordWrap(true);
    cell.setGrows(true);
    MemoryDataSource source({"NameOwner"}, {{"Αλεξίου"}});

    const LaidOutBand laid = layOut({.row = 0, .source = &source});
    const TextItem& t = item(laid, "Owner");
    EXPECT_NEAR(laid.height, lineHeight(t), 1e-9);
    EXPECT_NEAR(t.box.height(), lineHeight(t), 1e-9);
    EXPECT_EQ(t.lines.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Heights, NoHeightTest,
                         ::testing::Values(0.0, -5.5, std::nan(""),
                                           std::numeric_limits<double>::infinity()));

TEST_F(BandLayoutTest, FieldsReadTheRowOrTheirOwnSource) {
    auto rows = std::make_shared<MemoryDataSource>(QStringList{"Area"},
                                                   std::vector<QStringList>{{"1.5"}, {"22.125"}});
    auto general = std::make_shared<MemoryDataSource>(QStringList{"Name1"},
                                                      std::vector<QStringList>{{"Οικοδομή Α"}});
    mBand.add<FieldControl>("Area", "Area").setPicture(QStringLiteral("###0.00  "));
    auto& building = mBand.add<FieldControl>("Building", "Name1");
    building.setSource(general);
    mBand.add<FieldControl>("Missing", "NoSuchField");

    const ControlContext second{.row = 1, .pageNumber = 1, .source = rows.get()};
    LaidOutBand laid = layOut(second);
    EXPECT_EQ(item(laid, "Area").text(), "22.13  ");
    EXPECT_EQ(item(laid, "Building").text(), "Οικοδομή Α");
    EXPECT_EQ(laid.texts.size(), 2u);
    // Outside the detail band a field reads the first row.
    EXPECT_EQ(item(layOut({.row = -1, .source = rows.get()}), "Area").text(), "1.50  ");
    // A row past the end prints nothing.
    EXPECT_EQ(layOut({.row = 2, .source = rows.get()}).texts.size(), 1u);
}

TEST_F(BandLayoutTest, PageNumberFollowsItsPrefix) {
    mBand.add<PageNumberControl>("Page", "Σελ-").setGeometry(239.2, -0.5, 0, 4);
    EXPECT_EQ(item(layOut({.pageNumber = 3}), "Page").text(), "Σελ-3");
    EXPECT_EQ(item(layOut({.pageNumber = 12}), "Page").text(), "Σελ-12");
}

TEST_F(BandLayoutTest, LinesAndRulesTakeTheirOwnWidthOrTheReports) {
    mReport.setLineWidth(0.3);
    mBand.setHeight(27.8);
    auto& rule = mBand.add<LineControl>("Group", LineDirection::Horizontal);
    rule.setGeometry(78.1, 9.7, 46.5, 0);
    auto& column = mBand.add<LineControl>("Column", LineDirection::Vertical);
    column.setGeometry(93.5, 9.7, 0, 18.1);
    column.setLineWidth(0.6);
    mBand.setEdgeRules({.top = true, .bottom = true, .left = true, .right = true}, 0.5);

    const LaidOutBand laid = layOut();
    ASSERT_EQ(laid.lines.size(), 6u);
    EXPECT_EQ(laid.lines[0].line, QLineF(78.1, 9.7, 78.1 + 46.5, 9.7));
    EXPECT_EQ(laid.lines[0].width, 0.3);
    EXPECT_EQ(laid.lines[1].line, QLineF(93.5, 9.7, 93.5, 9.7 + 18.1));
    EXPECT_EQ(laid.lines[1].width, 0.6);
    EXPECT_EQ(laid.lines[2].line, QLineF(0, 0, kBandWidth, 0));
    EXPECT_EQ(laid.lines[3].line, QLineF(0, 27.8, kBandWidth, 27.8));
    EXPECT_EQ(laid.lines[4].line, QLineF(0, 0, 0, 27.8));
    EXPECT_EQ(laid.lines[5].line, QLineF(kBandWidth, 0, kBandWidth, 27.8));
    for (size_t i = 2; i < 6; ++i) {
        EXPECT_EQ(laid.lines[i].width, 0.5);
    }
}

}  // namespace
}  // namespace dravin
