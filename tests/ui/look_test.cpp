// The designed texts fit their designed sizes in the window font of a Greek system.
// This program runs with a Greek locale (greek_main.cpp).

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QRadioButton>
#include <QLineEdit>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

#include "data/tdravindatat.h"
#include "inputdriver.h"
#include "ui/dialogs/tdravinlinespace.h"
#include "ui/dialogs/tdravinowners.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "ui/standardlook.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

// Every column title of the grid is drawn whole within its column.
void expectTitlesWhole(QTableView* grid, const std::string& where) {
    QHeaderView* header = grid->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const QFontMetrics metrics(header->font());
    for (int c = 0; c < header->count(); ++c) {
        const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_LE(metrics.horizontalAdvance(title.trimmed()) + 2 * margin,
                  header->sectionSize(c))
            << where << " column " << c << " \"" << title.toStdString() << "\"";
    }
}

class LookTest : public ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(isGreekSystem()) << "this program runs with a Greek locale";
        start(standalone());
        loadDemoStudy();
        mMain->show();  // at its designed size
        input::settle();
    }
};

TEST_F(LookTest, WindowFontIsTheNarrowFaceAtTheDesignedSize) {
    const QFont font = mMain->grid(1)->horizontalHeader()->font();
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans Narrow");
    EXPECT_EQ(font.pointSize(), 8);
}

TEST_F(LookTest, MainWindowTitlesAreWholeOnEveryTab) {
    for (int tab = 0; tab < mMain->PageControl1->count(); ++tab) {
        mMain->PageControl1->setCurrentIndex(tab);
        input::settle();
        auto* grid = qobject_cast<QTableView*>(mMain->PageControl1->currentWidget());
        ASSERT_NE(grid, nullptr);
        expectTitlesWhole(grid, grid->objectName().toStdString());
    }
}

TEST_F(LookTest, DialogTitlesAreWhole) {
    TDravinParam1 floors(mMain.get(), mMain->data());
    floors.SelectTable(true);
    TDravinParam2 kinds(mMain.get(), mMain->data());
    kinds.SelectTable(true);
    TDravinOwners owners(mMain->data(), mPrompter, mMain.get());
    for (auto [dialog, grid] : {std::pair<QWidget*, QTableView*>{&floors, floors.DBGrid1},
                                {&kinds, kinds.DBGrid1},
                                {&owners, owners.DBGrid1}}) {
        dialog->show();
        input::settle();
        expectTitlesWhole(grid, dialog->metaObject()->className());
        dialog->hide();
    }
}

// The owners' grid sizes its columns from its real width, once laid out.
TEST_F(LookTest, OwnerColumnsFillTheirGrid) {
    TDravinOwners owners(mMain->data(), mPrompter, mMain.get());
    owners.show();
    input::settle();
    const int w = owners.DBGrid1->viewport()->width();
    EXPECT_GT(w, 200);
    EXPECT_EQ(owners.DBGrid1->columnWidth(0), TDravinOwners::nameColumnWidth(w));
    EXPECT_EQ(owners.DBGrid1->columnWidth(1), TDravinOwners::idColumnWidth(w));
}

// "… σε mm" ends before the edit box begins.
TEST_F(LookTest, LineSpacingUnitIsNotHidden) {
    TDravinLineSpace spacing(mMain.get(), mPrompter);
    spacing.show();
    input::settle();
    QRadioButton* choice = spacing.RadioButton2;
    const int textWidth = QFontMetrics(choice->font()).horizontalAdvance(choice->text().trimmed());
    const int indicator = choice->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          choice->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    EXPECT_LE(choice->x() + indicator + textWidth, spacing.Edit1->x());
}

}  // namespace
}  // namespace dravin::test
