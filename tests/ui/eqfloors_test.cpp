#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include "compute/entryrules.h"
#include "data/tdravindatat.h"
#include "ui/dialogs/tdravineqfloors.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

struct FloorText {
    const char* text;
    int floor;
};

class EqFloorTextTest : public ::testing::TestWithParam<FloorText> {};

TEST_P(EqFloorTextTest, ReadsAsAFloorInRange) {
    EXPECT_EQ(TDravinEqFloors::floorOf(GetParam().text), GetParam().floor);
}

INSTANTIATE_TEST_SUITE_P(Texts, EqFloorTextTest,
                         ::testing::Values(FloorText{"5", 5}, FloorText{" 2 ", 2},
                                           FloorText{"", -3}, FloorText{"-", -3},
                                           FloorText{"x1", -3}, FloorText{"25", 20},
                                           FloorText{"-7", -3}, FloorText{"-3", -3}));

class EqFloorsTest : public ProgramFixture {
protected:
    EqFloorsTest() {
        start(standalone());
        loadDemoStudy();
    }

    Table& spaces() { return mMain->data().DravinT; }
    int column(const char* name) { return *spaces().def().fieldIndex(name); }
    int spacesOn(int floor) {
        int n = 0;
        for (int r = 0; r < spaces().recordCount(); ++r) {
            n += spaces().rowValue(r, column("IDfloor")) == Value::integer(floor) ? 1 : 0;
        }
        return n;
    }
    // A floor of the master table without spaces in the study.
    int emptyFloor() {
        Table& master = mMain->data().FloorTo;
        const bool readOnly = master.readOnly();
        master.close();
        master.setReadOnly(false);
        master.open();
        master.insert();
        master.field("IDFloor").setInteger(TDravinEqFloors::kMaxFloor);
        master.field("Name1").setString("Εικοστός");
        master.field("Name2").setString("Κ");
        master.post();
        master.close();
        master.setReadOnly(readOnly);
        master.open();
        return TDravinEqFloors::kMaxFloor;
    }
};

TEST_F(EqFloorsTest, CaptionsAndRanges) {
    TDravinEqFloors dialog(mMain->data(), mPrompter, mMain.get());
    EXPECT_EQ(dialog.windowTitle(), "Επανάληψη χώρων ορόφου");
    EXPECT_EQ(dialog.Label1->text(), "Αρχικός όροφος");
    EXPECT_EQ(dialog.Label2->text(), "Ιδιος όροφος");
    EXPECT_EQ(dialog.BitBtn1->text(), "Επανάληψη ορόφου");
    EXPECT_EQ(dialog.CloseBtn->text(), "Επ/φή");
    EXPECT_EQ(dialog.HelpBtn->text(), "Βοήθεια");
    for (QSpinBox* spin : {dialog.SpinEdit1, dialog.SpinEdit2}) {
        EXPECT_EQ(spin->minimum(), -3);
        EXPECT_EQ(spin->maximum(), 20);
        EXPECT_EQ(spin->value(), 0);
    }
    dialog.HelpBtn->click();
    ASSERT_EQ(mHelp->shown.size(), 1u);
    EXPECT_EQ(mHelp->shown.front().second, "InData_11");
}

TEST_F(EqFloorsTest, RepeatsInTurnAndLeavesTheSpacesFromTheFirstRecord) {
    const int source = spaces().rowValue(0, column("IDfloor")).toInteger();
    const int target = emptyFloor();
    ASSERT_EQ(spacesOn(target), 0);
    const int copies = spacesOn(source);
    ASSERT_GT(copies, 0);
    const int before = spaces().recordCount();

    TDravinEqFloors dialog(mMain->data(), mPrompter, mMain.get());
    dialog.show();
    dialog.SpinEdit1->setValue(source);
    dialog.SpinEdit2->setValue(source);
    dialog.BitBtn1->click();  // equal floors: nothing
    EXPECT_EQ(spaces().recordCount(), before);

    dialog.SpinEdit2->setValue(target);
    dialog.BitBtn1->click();
    EXPECT_TRUE(dialog.isVisible());
    const int added = spaces().recordCount() - before;
    EXPECT_GT(added, 0);
    EXPECT_LE(added, copies);  // total rows are not repeated
    EXPECT_TRUE(mPrompter.messages.empty());
    spaces().last();
    EXPECT_EQ(spaces().field("Name2Floor").asString(), "Κ");
    EXPECT_TRUE(spaces().field("IDowner").isNull());

    // A second time the first copy is refused; nothing more is added.
    dialog.BitBtn1->click();
    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(spaces().recordCount(), before + added);

    spaces().last();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    dialog.CloseBtn->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(spaces().isOpen());
    EXPECT_EQ(spaces().currentRow(), 0);
    EXPECT_EQ(spaces().recordCount(), before + added);
    for (Table* t : {&mMain->data().FloorT, &mMain->data().XorosT, &spaces()}) {
        EXPECT_FALSE(t->controlsDisabled());
    }
    EXPECT_EQ(mMain->grid(1)->model()->rowCount(), before + added);
}

TEST_F(EqFloorsTest, LeavingByTheCloseBoxAlsoReopensTheSpaces) {
    TDravinEqFloors dialog(mMain->data(), mPrompter, mMain.get());
    dialog.show();
    spaces().last();
    ASSERT_GT(spaces().currentRow(), 0);
    dialog.close();
    EXPECT_EQ(spaces().currentRow(), 0);
}

}  // namespace
}  // namespace dravin::test
