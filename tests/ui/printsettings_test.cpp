#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <ostream>
#include <string>

#include "reports/layouts/tdravinreport00.h"
#include "support/studyfixture.h"
#include "ui/dialogs/numbertext.h"
#include "ui/dialogs/printsetup.h"
#include "ui/dialogs/tdravinlinespace.h"
#include "ui/printsettings.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

// ------------------------------------------------------------------ number text

struct NumberTextCase {
    const char* typed;
    const char* cleaned;
    double result;
    const char* message;  // the bracketed text of the error message, none when null
};
std::ostream& operator<<(std::ostream& os, const NumberTextCase& c) {
    return os << '"' << c.typed << '"';
}

class NumberTextTest : public ::testing::TestWithParam<NumberTextCase> {};

TEST_P(NumberTextTest, ReadsTypedTextWithTheFallBackOfEight) {
    const NumberTextCase& c = GetParam();
    std::string cleaned = c.typed;
    CleanNumberText(cleaned);
    EXPECT_EQ(cleaned, c.cleaned);

    ScriptedPrompter prompter;
    EXPECT_DOUBLE_EQ(ParseNumberText(c.typed, 8.0, prompter), c.result);
    if (c.message) {
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0],
                  std::string("Προσοχή!, αριθμητικά δεδομένα[") + c.message + "]");
    } else {
        EXPECT_TRUE(prompter.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    TypedTexts, NumberTextTest,
    ::testing::Values(
        NumberTextCase{"  8.00", "8.00", 8.0, nullptr}, NumberTextCase{"8,5", "8.5", 8.5, nullptr},
        NumberTextCase{"7.25 mm", "7.25", 7.25, nullptr},
        NumberTextCase{"1.234,5", "1.2345", 1.2345, nullptr},
        NumberTextCase{"1,234.5", "1.2345", 1.2345, nullptr},
        NumberTextCase{"-3", "-3", -3.0, nullptr}, NumberTextCase{"3-", "3", 3.0, nullptr},
        NumberTextCase{"1e1", "1e1", 10.0, nullptr}, NumberTextCase{"abc", "", 0.0, nullptr},
        NumberTextCase{"", "", 0.0, nullptr}, NumberTextCase{"e", "e", 8.0, "e"},
        // Signs inside the text are dropped, also in the exponent.
        NumberTextCase{"1e-3", "1e3", 1000.0, nullptr}, NumberTextCase{"--3", "-3", -3.0, nullptr},
        NumberTextCase{"+2.5", "2.5", 2.5, nullptr}, NumberTextCase{"2,5,7", "2.57", 2.57, nullptr},
        NumberTextCase{"12 εκ.", "12.", 12.0, nullptr}, NumberTextCase{".", ".", 0.0, nullptr},
        // Unreadable after cleaning: the text of the message is the last one tried.
        NumberTextCase{"1e2e3", "1e2e3", 8.0, "1e2e3"}, NumberTextCase{"1.5e", "1.5e", 8.0, "1,5e"},
        NumberTextCase{"-", "-", 8.0, "-"}, NumberTextCase{"1e999", "1e999", 8.0, "1e999"}));

TEST(NumberTextTest, DeleteCharsRemovesEveryOccurrence) {
    std::string s = " 1 2  3 ";
    DeleteChars(s, ' ');
    EXPECT_EQ(s, "123");
    DeleteChars(s, 'x');
    EXPECT_EQ(s, "123");
}

// ------------------------------------------------------------------ line spacing

TEST(LineSpacingTest, CaptionsAndControls) {
    ScriptedPrompter prompter;
    TDravinLineSpace d(nullptr, prompter);
    EXPECT_EQ(d.windowTitle(), "Απόσταση γραμμών τεύχους");
    EXPECT_EQ(d.size(), QSize(324, 172));
    EXPECT_EQ(d.RadioButton1->text(), "Χρήση προκαθορισμένων αποστάσεων");
    EXPECT_EQ(d.RadioButton2->text(), "Καθορισμός της απόστασης  σε mm ");
    EXPECT_EQ(d.CloseBtn->text(), "Επ/φή");
    EXPECT_EQ(d.HelpBtn->text(), "Βοήθεια");
    EXPECT_EQ(d.Edit1->geometry(), QRect(242, 56, 59, 21));
    EXPECT_EQ(d.findChild<QLineEdit*>("Edit1"), d.Edit1);
}

TEST(LineSpacingTest, DistanceRoundTripsInSinglePrecision) {
    ScriptedPrompter prompter;
    bool use = true;
    float distance = 8.0f;
    {
        TDravinLineSpace d(nullptr, prompter);
        d.LoadSpacing(use, distance);
        EXPECT_EQ(d.Edit1->text(), "  8.00");
        EXPECT_TRUE(d.RadioButton2->isChecked());
        EXPECT_TRUE(d.Edit1->isEnabled());
        d.Edit1->setText("8.3");
        d.ReadSpacing(use, distance);
    }
    EXPECT_TRUE(use);
    EXPECT_EQ(distance, 8.3f);
    TDravinLineSpace again(nullptr, prompter);
    again.LoadSpacing(use, distance);
    EXPECT_EQ(again.Edit1->text(), "  8.30");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(LineSpacingTest, FirstOptionDisablesTheTextBoxButItsNumberIsStored) {
    ScriptedPrompter prompter;
    TDravinLineSpace d(nullptr, prompter);
    d.LoadSpacing(false, 8.0f);
    EXPECT_TRUE(d.RadioButton1->isChecked());
    EXPECT_FALSE(d.Edit1->isEnabled());
    d.RadioButton2->click();
    EXPECT_TRUE(d.Edit1->isEnabled());
    d.Edit1->setText("6,5 mm");
    d.RadioButton1->click();
    EXPECT_FALSE(d.Edit1->isEnabled());

    bool use = true;
    float distance = 0;
    d.ReadSpacing(use, distance);
    EXPECT_FALSE(use);
    EXPECT_EQ(distance, 6.5f);
}

TEST(LineSpacingTest, UnreadableTextKeepsTheDistanceButTakesTheOption) {
    ScriptedPrompter prompter;
    TDravinLineSpace d(nullptr, prompter);
    d.LoadSpacing(false, 7.5f);
    d.RadioButton2->click();
    d.Edit1->setText("e");
    bool use = false;
    float distance = 0;
    d.ReadSpacing(use, distance);
    EXPECT_TRUE(use);
    EXPECT_EQ(distance, 7.5f);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Προσοχή!, αριθμητικά δεδομένα[e]"});
}

TEST(LineSpacingTest, ClosingWithTheCloseBoxStillReadsTheDialog) {
    ScriptedPrompter prompter;
    bool use = false;
    float distance = 8.0f;
    whenShown("dravin::TDravinLineSpace", [](QWidget* w) {
        auto* d = static_cast<TDravinLineSpace*>(w);
        d->RadioButton2->click();
        d->Edit1->setText("9,25");
        d->close();
        return true;
    });
    chooseLineSpacing(nullptr, prompter, use, distance);
    EXPECT_TRUE(use);
    EXPECT_EQ(distance, 9.25f);
}

// ------------------------------------------------------------------ font and printer

class PrintSettingsTest : public StudyFixture {
protected:
    PrintSettingsTest() { mData.OpenStudy(mStudiesDir, "T"); }

    double printedSize(const PrintSettings& settings, int code) {
        const auto layout =
            TDravinReport00::create(mData, code, reportOptions(settings, false, 8.0f));
        return layout->report().font().pointSizeF();
    }
};

TEST_F(PrintSettingsTest, ChosenFontReachesEveryLayoutWithinItsLimits) {
    PrintSettings settings;
    QString family;
    whenShown("QFontDialog", [&family](QWidget* w) {
        auto* d = static_cast<QFontDialog*>(w);
        QFont f = d->currentFont();
        f.setPointSize(14);
        d->setCurrentFont(f);
        family = d->currentFont().family();
        d->accept();
        return true;
    });
    ASSERT_TRUE(choosePrintFont(nullptr, settings));
    EXPECT_EQ(settings.fontPointSize, 14);
    EXPECT_EQ(QFontInfo(QFont(settings.fontFamily)).family(), family);

    const struct {
        int code;
        double size;
    } layouts[] = {{0, 8}, {3, 8}, {8, 8}, {12, 6}, {13, 6}, {4, 14}, {7, 14}};
    for (const auto& l : layouts) {
        EXPECT_DOUBLE_EQ(printedSize(settings, l.code), l.size) << "code " << l.code;
    }
}

// A font named as the host names it opens the dialog on the family it prints with;
// OK without a change keeps the name and the size.
TEST_F(PrintSettingsTest, FontDialogOpensOnThePrintFont) {
    PrintSettings settings;
    settings.fontFamily = "Courier New";
    settings.fontPointSize = 10;
    QFont shown;
    whenShown("QFontDialog", [&shown](QWidget* w) {
        auto* d = static_cast<QFontDialog*>(w);
        shown = d->currentFont();
        d->accept();
        return true;
    });
    ASSERT_TRUE(choosePrintFont(nullptr, settings));
    EXPECT_EQ(shown.family(), QFontInfo(QFont("Courier New")).family());
    EXPECT_EQ(shown.pointSize(), 10);
    EXPECT_EQ(settings.fontFamily, "Courier New");
    EXPECT_EQ(settings.fontPointSize, 10);
}

TEST_F(PrintSettingsTest, CancelledFontDialogChangesNothing) {
    PrintSettings settings;
    settings.fontFamily = "Liberation Sans";
    settings.fontPointSize = 9;
    whenShown("QFontDialog", [](QWidget* w) {
        static_cast<QFontDialog*>(w)->reject();
        return true;
    });
    EXPECT_FALSE(choosePrintFont(nullptr, settings));
    EXPECT_EQ(settings.fontFamily, "Liberation Sans");
    EXPECT_EQ(settings.fontPointSize, 9);
}

TEST_F(PrintSettingsTest, ReportOptionsCarryFontAndRowDistance) {
    PrintSettings settings;
    settings.fontFamily = "Liberation Sans";
    settings.fontPointSize = 11;
    const ReportOptions options = reportOptions(settings, true, 8.3f);
    EXPECT_EQ(options.printFont.family(), "Liberation Sans");
    EXPECT_EQ(options.printFont.pointSize(), 11);
    EXPECT_TRUE(options.useLineSpacing);
    EXPECT_EQ(static_cast<float>(options.lineSpacing), 8.3f);
}

TEST(PrintSettingsPrinterTest, NoPrinterIsSaidAndNothingChosen) {
    ScriptedPrompter prompter;
    EXPECT_EQ(choosePrinter(nullptr, "Office", prompter, {}), std::nullopt);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{kNoPrinterMessage});
}

// The manual is not installed with the test program: both commands end quietly.
class PrintSettingsManualTest : public ProgramFixture {};

TEST_F(PrintSettingsManualTest, MissingManualFilesAreOpenedSilently) {
    TDravinMain& main = start(standalone());
    for (const char* item : {"bookdoc", "bookPDF"}) {
        main.action(item)->trigger();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << item;
    }
    EXPECT_TRUE(mPrompter.messages.empty());
}

}  // namespace
}  // namespace dravin::test
