#include "ui/tdravinmain.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <cmath>

#include "compute/entryrules.h"
#include "data/tdravindatat.h"
#include "ui/tinfoform.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

class MainWindowTest : public ProgramFixture {
protected:
    MainWindowTest() { start(standalone()); }

    TDravinMain& main() { return *mMain; }
    Table& spaces() { return mMain->data().DravinT; }
    QAbstractItemModel* model(int grid) { return main().grid(grid)->model(); }
    std::vector<int> widths(int grid) {
        std::vector<int> w;
        for (int c = 0; c < model(grid)->columnCount(); ++c) {
            w.push_back(main().grid(grid)->columnWidth(c));
        }
        return w;
    }
    int spaceRow() { return spaceAfterTwin(spaces()); }
};

TEST_F(MainWindowTest, ColumnWidthsForWidth1000) {
    main().applyColumnWidths(1000);

    EXPECT_EQ(widths(1), (std::vector<int>{149, 49, 59, 189, 69, 119, 69, 109, 159}));
    const std::vector<int> last = widths(5);
    ASSERT_EQ(last.size(), 11u);
    EXPECT_EQ(last[9], 89);
    EXPECT_EQ(last[10], 88);
}

TEST_F(MainWindowTest, FirstTabTitles) {
    const char* titles[] = {"Οροφος",         "Οροφ",   "Αρ. Χωρ.",      "Χώρος",     "Αρ. Δωμ. ",
                            "Καθ. Εμβαδό m2", "Υψος m", "Καθ. Ογκος m3", "Ιδιοκτήτης"};
    ASSERT_EQ(model(1)->columnCount(), 9);
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(model(1)->headerData(c, Qt::Horizontal), titles[c]) << c;
    }
    EXPECT_EQ(main().PageControl1->count(), 5);
    EXPECT_EQ(main().PageControl1->tabText(0), "Ονομασίες-Εμβαδά");
    EXPECT_EQ(main().PageControl1->currentIndex(), 0);
}

// Each grid's columns follow the grid's inner width, whichever tab is showing when
// the window changes size.
TEST_F(MainWindowTest, ColumnsFollowTheWindowSize) {
    main().resize(1100, 600);
    main().show();
    const auto expectFirstTabFits = [this] {
        const int w = main().grid(1)->viewport()->width();
        EXPECT_EQ(main().grid(1)->columnWidth(0), static_cast<int>(std::nearbyint(w * 0.15)) - 1)
            << "W = " << w;
        EXPECT_EQ(main().grid(1)->columnWidth(8), static_cast<int>(std::nearbyint(w * 0.16)) - 1)
            << "W = " << w;
    };
    expectFirstTabFits();

    main().PageControl1->setCurrentIndex(4);
    main().resize(800, 600);
    main().PageControl1->setCurrentIndex(0);
    expectFirstTabFits();
}

TEST_F(MainWindowTest, AutomaticComputationSwitch) {
    QAction* n34 = main().action("N34");
    ASSERT_TRUE(main().AutoCompute);
    n34->trigger();
    EXPECT_TRUE(n34->isChecked());
    EXPECT_FALSE(main().AutoCompute);
    n34->trigger();
    EXPECT_FALSE(n34->isChecked());
    EXPECT_TRUE(main().AutoCompute);
}

TEST_F(MainWindowTest, CaptionAndButtons) {
    main().show();
    EXPECT_EQ(main().windowTitle(), "Πίνακας Χιλιοστών [" + qs(mStudiesDir) + "\\SCRATCH]");
    EXPECT_EQ(main().CloseBtn->text(), "Εξοδος");
    EXPECT_EQ(main().HelpBtn->text(), "Βοήθεια");
    EXPECT_EQ(main().BitBtn7->text(), "Υπολ/σμοί");
    EXPECT_FALSE(main().extraPRBtn->isVisible());
}

// The legislation button is never reachable in the main window.
TEST_F(MainWindowTest, LegislationButtonIsOutOfReach) {
    main().show();
    QWidget* panel = main().LoveBtn->parentWidget();
    const QPoint centre = main().LoveBtn->geometry().center();
    EXPECT_NE(panel->childAt(centre), main().LoveBtn);
}

TEST_F(MainWindowTest, HelpTopics) {
    HelpSystem::setHelpFile("TELVO704.HLP");
    main().HelpBtn->click();
    main().action("N18")->trigger();
    HelpSystem::setHelpFile(QString());
    main().HelpBtn->click();  // an empty name goes to the viewer all the same

    using Shown = std::pair<QString, QString>;
    EXPECT_EQ(mHelp->shown,
              (std::vector<Shown>{
                  {"TELVO704.HLP", "InData_09"}, {"TELVO704.HLP", "Contents"}, {"", "InData_09"}}));
}

TEST_F(MainWindowTest, AboutWindowOverTheMainWindow) {
    bool shown = false;
    whenShown("dravin::TDravinAbout", [&](QWidget* w) {
        shown = w->parentWidget() == &main() && w->isModal();
        w->findChild<QPushButton*>("OKButton")->click();
        return true;
    });
    main().action("N20")->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(MainWindowTest, ComputeReturnsTheGridsToTheirRecord) {
    loadDemoStudy();
    main().show();
    const int row = spaceRow();
    main().grid(1)->setCurrentIndex(model(1)->index(row, 3));
    QCoreApplication::processEvents();  // a picked row becomes current after the event
    ASSERT_EQ(spaces().currentRow(), row);
    const std::string key = keyOf(spaces(), row);
    const int before = spaces().recordCount();

    main().BitBtn7->click();

    EXPECT_FALSE(main().data().DataChanged);
    EXPECT_GT(spaces().recordCount(), before);  // the total rows came in
    EXPECT_EQ(keyOf(spaces(), spaces().currentRow()), key);
    for (int g = 1; g <= 5; ++g) {
        EXPECT_EQ(main().grid(g)->currentIndex().row(), spaces().currentRow()) << "DBGrid" << g;
    }
    EXPECT_EQ(main().grid(1)->currentIndex().column(), 3);
    // The wait window showed just below the toolbar, a third of the way across.
    const auto* wait = main().findChild<TInfoForm*>();
    EXPECT_FALSE(wait->isVisible());
    EXPECT_EQ(wait->pos(), QPoint(main().mapToGlobal(QPoint(0, 0)).x() + main().width() / 3,
                                  main().Panel1->mapToGlobal(QPoint(0, 0)).y()));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(mPrompter.messages.empty());
}

TEST_F(MainWindowTest, EscapeDoesNotEndTheRun) {
    main().show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(main().grid(1), &escape);
    EXPECT_TRUE(main().isVisible());
}

// ------------------------------------------------------------------ closing

class ClosingTest : public MainWindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    void closeWindow() {
        if (std::string(GetParam()) == "CloseBtn") {
            main().CloseBtn->click();
        } else {
            main().action(GetParam())->trigger();
        }
    }
};

TEST_P(ClosingTest, PendingEditIsPostedFirst) {
    loadDemoStudy();
    main().show();
    const int row = spaceRow();
    const std::string key = keyOf(spaces(), row);
    ASSERT_TRUE(model(1)->setData(model(1)->index(row, 5), "123.45"));
    ASSERT_EQ(spaces().state(), TableState::Edit);

    closeWindow();

    EXPECT_FALSE(main().isVisible());
    EXPECT_EQ(spaces().state(), TableState::Browse);
    const int area = *spaces().def().fieldIndex("AreaClear");
    EXPECT_EQ(keyOf(spaces(), spaces().currentRow()), key);
    EXPECT_EQ(spaces().rowValue(spaces().currentRow(), area).toReal(), 123.45);
}

TEST_P(ClosingTest, EditThatCannotBePostedKeepsTheWindowOpen) {
    loadDemoStudy();
    main().show();
    const int row = spaceRow();
    const QVariant taken = model(1)->index(row - 1, 2).data(Qt::EditRole);
    ASSERT_TRUE(model(1)->setData(model(1)->index(row, 2), taken));

    closeWindow();

    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(spaces().state(), TableState::Edit);
}

// Printing where no printer exists fails with one message and neither computes nor
// changes anything.
TEST_F(MainWindowTest, PrintingWithoutAPrinterChangesNothing) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "a printer is installed here";
    }
    loadDemoStudy();
    const int records = spaces().recordCount();
    ASSERT_TRUE(main().data().DataChanged);
    ASSERT_TRUE(main().AutoCompute);

    main().action("MP01")->trigger();

    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_TRUE(main().data().DataChanged);
    EXPECT_EQ(spaces().recordCount(), records);  // no total rows: nothing was computed
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTest, ::testing::Values("CloseBtn", "ExitofProgram"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace dravin::test
