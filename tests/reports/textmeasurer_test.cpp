#include "reports/engine/textmeasurer.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>

#include <optional>
#include <ostream>
#include <string>

#include "reporttestsupport.h"

namespace dravin {
namespace {

QFont sans(double points) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

class TextMeasurerTest : public ::testing::Test {
protected:
    TextMeasurer mMeasurer;
    QFont mFont = sans(8);
};

TEST_F(TextMeasurerTest, MeasuresInMillimetresWhateverTheSize) {
    // Liberation Sans has a line spacing of about 1.15 em; 72 points are 25.4 mm.
    EXPECT_NEAR(mMeasurer.lineHeight(sans(72)), 1.149 * 25.4, 0.3);
    // Within the rounding of a size to whole dots at the measuring resolution.
    EXPECT_NEAR(mMeasurer.lineHeight(sans(16)) / mMeasurer.lineHeight(sans(8)), 2.0, 0.02);
    const QString text = QStringLiteral("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ");
    EXPECT_NEAR(mMeasurer.width(text, sans(16)) / mMeasurer.width(text, sans(8)), 2.0, 0.02);
    EXPECT_GT(mMeasurer.ascent(mFont), 0.5 * mMeasurer.lineHeight(mFont));
    EXPECT_LT(mMeasurer.ascent(mFont), mMeasurer.lineHeight(mFont));
}

TEST_F(TextMeasurerTest, TrailingBlanksOfAPictureCount) {
    EXPECT_GT(mMeasurer.width(QStringLiteral("1.50  "), mFont),
              mMeasurer.width(QStringLiteral("1.50"), mFont) + 0.5);
    EXPECT_EQ(mMeasurer.lines(QStringLiteral("1.50  "), mFont, 50.0),
              QStringList{QStringLiteral("1.50  ")});
}

TEST_F(TextMeasurerTest, CourierNewPrintsGreekInLiberationMono) {
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSizeF(10);
    EXPECT_EQ(QFontInfo(courier).family(), QStringLiteral("Liberation Mono"));
    // One fixed advance for Latin and Greek: the Greek glyphs are the font's own.
    EXPECT_NEAR(mMeasurer.width(QStringLiteral("ΩΣΛ"), courier),
                mMeasurer.width(QStringLiteral("iii"), courier), 1e-6);
}

TEST_F(TextMeasurerTest, AWordWiderThanTheBoxBreaksInside) {
    const QString word = QStringLiteral("ΣΥΝΙΔΙΟΚΤΗΣΙΑ");
    const double width = mMeasurer.width(word, mFont) / 3;
    const TextMeasurer::Wrapped wrapped = mMeasurer.wrap(word, mFont, width);
    EXPECT_TRUE(wrapped.brokeWord);
    const QStringList& lines = wrapped.lines;
    EXPECT_GE(lines.size(), 3);
    EXPECT_EQ(lines.join(QString()), word);
    for (const QString& line : lines) {
        EXPECT_LE(mMeasurer.width(line, mFont), width + 1e-9) << line.toStdString();
    }
}

struct BreakCase {
    const char* label;
    const char* text;
    const char* widthOf;  // wrap at the width of this text plus a little; null: no wrap
    QStringList expected;
    bool brokeWord = false;
};

std::ostream& operator<<(std::ostream& os, const BreakCase& c) {
    return os << c.label;
}

class LineBreakTest : public TextMeasurerTest, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(LineBreakTest, BreaksAsExpected) {
    const BreakCase& c = GetParam();
    std::optional<double> width;
    if (c.widthOf) {
        width = mMeasurer.width(QString::fromUtf8(c.widthOf), mFont) + 0.05;
    }
    const TextMeasurer::Wrapped wrapped = mMeasurer.wrap(QString::fromUtf8(c.text), mFont, width);
    EXPECT_EQ(wrapped.lines, c.expected);
    EXPECT_EQ(wrapped.brokeWord, c.brokeWord);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineBreakTest,
    ::testing::Values(
        BreakCase{"Empty", "", "x", {}},
        BreakCase{"Fits", "Αλεξίου Νίκος", "Αλεξίου Νίκος", {"Αλεξίου Νίκος"}},
        BreakCase{"AtWords",
                  "Αλεξίου Νίκος του Γεωργίου",
                  "Αλεξίου Νίκος",
                  {"Αλεξίου Νίκος", "του Γεωργίου"}},
        BreakCase{"BlanksAtTheBreakDropped", "Αλεξίου     Νίκος", "Αλεξίου", {"Αλεξίου", "Νίκος"}},
        BreakCase{"AfterTheHyphen", "οικοπέ-δου", "οικοπέ-", {"οικοπέ-", "δου"}},
        BreakCase{"AfterHyphensBeforeInsideAWord",
                  "ΧΩΡΟΣ-ΧΡΗΣΗ-ΔΩΜΑΤΙΑ",
                  "ΧΩΡΟΣ-ΧΡΗΣΗ-",
                  {"ΧΩΡΟΣ-ΧΡΗΣΗ-", "ΔΩΜΑΤΙΑ"}},
        BreakCase{"InsideAWordOnlyWhenItIsWider", "καθαρός", "καθαρ", {"καθαρ", "ός"}, true},
        // The blanks of a picture move the number but never wrap it.
        BreakCase{"TrailingBlanksDoNotWrap", "1000.00  ", "1000.00", {"1000.00  "}},
        BreakCase{"LineBreaksKept", "α\r\nβ\n\nγ\rδ", nullptr, {"α", "β", "", "γ", "δ"}},
        BreakCase{"NoWrapWithoutWidth",
                  "Αλεξίου Νίκος του Γεωργίου",
                  nullptr,
                  {"Αλεξίου Νίκος του Γεωργίου"}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dravin
