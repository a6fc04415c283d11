// The grids and dialogs under a person's hands: every road goes through real key and
// mouse events, and what the grid shows as posted is checked on disk.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QToolButton>
#include <functional>

#include "compute/entryrules.h"
#include "data/tdravindatat.h"
#include "inputdriver.h"
#include "reports/preview/reportpreview.h"
#include "ui/dialogs/tdravinowners.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

using Answer = Prompter::Answer;

// Columns of the first tab.
constexpr int kFloorColumn = 0;
constexpr int kNumberColumn = 2;
constexpr int kRoomsColumn = 4;
constexpr int kAreaColumn = 5;

Value fieldOf(const Table& t, int row, const char* name) {
    return t.rowValue(row, *t.def().fieldIndex(name));
}

int rowsWith(const Table& t, const char* name, const Value& v) {
    int n = 0;
    for (int row = 0; row < t.recordCount(); ++row) {
        n += fieldOf(t, row, name) == v ? 1 : 0;
    }
    return n;
}

int rowOfKey(const Table& spaces, const std::string& key) {
    for (int row = 0; row < spaces.recordCount(); ++row) {
        if (keyOf(spaces, row) == key) {
            return row;
        }
    }
    return -1;
}

class GridInputTest : public ProgramFixture {
public:
    GridInputTest() {
        start(standalone());
        loadDemoStudy();
        mMain->show();
        QApplication::setActiveWindow(mMain.get());
        grid()->setFocus();
        input::settle();
        mRow = spaceAfterTwin(spaces());
        mKey = keyOf(spaces(), mRow);
    }

    Table& spaces() { return mMain->data().DravinT; }
    QTableView* grid() { return mMain->grid(1); }
    QToolButton* button(const char* name) { return mMain->findChild<QToolButton*>(name); }
    void key(Qt::Key k) { input::key(grid(), k); }
    void type(const QString& text) { input::type(grid(), text); }

    TDravinMain& main() { return *mMain; }

    // The space table as the file holds it.
    Table& reopened() {
        spaces().close();
        spaces().open();
        input::settle();
        return spaces();
    }

    int mRow = 0;
    std::string mKey;
};

struct LeaveCase {
    const char* name;
    // Leaves the edited row of the test's grid.
    std::function<void(GridInputTest&, int row)> leave;
};

class LeaveEditedRowTest : public GridInputTest,
                           public ::testing::WithParamInterface<LeaveCase> {};

// Type a value, Tab to the next cell (its editor opens), then leave the row: the value
// is on disk and the grid stands on a record the table stands on.
TEST_P(LeaveEditedRowTest, TypedValueReachesTheDisk) {
    input::clickCell(grid(), mRow, kAreaColumn);
    type("77.25");
    key(Qt::Key_Tab);
    ASSERT_EQ(spaces().state(), TableState::Edit);

    GetParam().leave(*this, mRow);

    EXPECT_EQ(spaces().state(), TableState::Browse);
    EXPECT_EQ(grid()->currentIndex().row(), spaces().currentRow());
    EXPECT_TRUE(mPrompter.messages.empty());
    const int row = rowOfKey(reopened(), mKey);
    ASSERT_GE(row, 0);
    EXPECT_DOUBLE_EQ(fieldOf(spaces(), row, "AreaClear").toReal(), 77.25);
}

INSTANTIATE_TEST_SUITE_P(
    Roads, LeaveEditedRowTest,
    ::testing::Values(
        LeaveCase{"Down", [](GridInputTest& t, int) { t.key(Qt::Key_Down); }},
        LeaveCase{"Up", [](GridInputTest& t, int) { t.key(Qt::Key_Up); }},
        LeaveCase{"Return", [](GridInputTest& t, int) { t.key(Qt::Key_Return); t.key(Qt::Key_Down); }},
        LeaveCase{"ClickOtherRow",
                  [](GridInputTest& t, int row) { input::clickCell(t.grid(), row - 3, 1); }},
        LeaveCase{"NavigatorNext", [](GridInputTest& t, int) { input::click(t.button("nbNext")); }},
        LeaveCase{"NavigatorPrior",
                  [](GridInputTest& t, int) { input::click(t.button("nbPrior")); }},
        LeaveCase{"NavigatorFirst",
                  [](GridInputTest& t, int) { input::click(t.button("nbFirst")); }},
        LeaveCase{"NavigatorLast", [](GridInputTest& t, int) { input::click(t.button("nbLast")); }},
        LeaveCase{"NavigatorPost", [](GridInputTest& t, int) { input::click(t.button("nbPost")); }},
        LeaveCase{"OtherTab",
                  [](GridInputTest& t, int row) {
                      t.main().PageControl1->setCurrentIndex(2);
                      input::clickCell(t.main().grid(2), row + 1, 3);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

class InsertTest : public GridInputTest, public ::testing::WithParamInterface<LeaveCase> {};

// A new space through the navigator: floor and kind picked in their lists by keys,
// number and area typed, then the row left.
TEST_P(InsertTest, NewSpaceReachesTheDisk) {
    const int count = spaces().recordCount();
    input::click(button("nbInsert"));
    ASSERT_EQ(spaces().state(), TableState::Insert);
    const int pending = grid()->model()->rowCount() - 1;
    ASSERT_EQ(grid()->currentIndex().row(), pending);

    key(Qt::Key_Home);  // the floor
    key(Qt::Key_F2);
    key(Qt::Key_Down);  // the first floor of the list
    key(Qt::Key_Tab);   // commits, on to the abbreviation
    key(Qt::Key_Tab);   // the number
    type("77");
    key(Qt::Key_Tab);  // the kind
    key(Qt::Key_F2);
    key(Qt::Key_Down);
    key(Qt::Key_Tab);  // the rooms
    key(Qt::Key_Tab);  // the area
    type("31.5");
    ASSERT_EQ(spaces().state(), TableState::Insert);

    GetParam().leave(*this, 3);

    EXPECT_TRUE(mPrompter.messages.empty()) << mPrompter.messages.front();
    EXPECT_EQ(spaces().state(), TableState::Browse);
    EXPECT_EQ(grid()->currentIndex().row(), spaces().currentRow());
    Table& onDisk = reopened();
    EXPECT_EQ(onDisk.recordCount(), count + 1);
    int found = 0;
    for (int row = 0; row < onDisk.recordCount(); ++row) {
        if (fieldOf(onDisk, row, "NumberXoros") == Value::integer(77)) {
            ++found;
            EXPECT_DOUBLE_EQ(fieldOf(onDisk, row, "AreaClear").toReal(), 31.5);
            EXPECT_FALSE(fieldOf(onDisk, row, "IDfloor").isBlank());
            EXPECT_FALSE(fieldOf(onDisk, row, "IDXoros").isBlank());
        }
    }
    EXPECT_EQ(found, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Roads, InsertTest,
    ::testing::Values(
        LeaveCase{"ClickOtherRow",
                  [](GridInputTest& t, int row) { input::clickCell(t.grid(), row, 1); }},
        LeaveCase{"NavigatorPost", [](GridInputTest& t, int) { input::click(t.button("nbPost")); }},
        LeaveCase{"Up", [](GridInputTest& t, int) { t.key(Qt::Key_Up); }},
        LeaveCase{"Down", [](GridInputTest& t, int) { t.key(Qt::Key_Down); }},
        LeaveCase{"TabThenUp",
                  [](GridInputTest& t, int) {
                      t.key(Qt::Key_Tab);
                      t.key(Qt::Key_Up);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// Leaving a record whose number is taken shows the message and keeps the grid on that
// record; the corrected number is then posted.
TEST_F(GridInputTest, DuplicateNumberThenCorrection) {
    const QString taken = QString::number(fieldOf(spaces(), mRow - 1, "NumberXoros").toInteger());
    input::clickCell(grid(), mRow, kNumberColumn);
    type(taken);
    key(Qt::Key_Return);

    input::clickCell(grid(), 1, kNumberColumn);

    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(spaces().state(), TableState::Edit);
    EXPECT_EQ(grid()->currentIndex().row(), mRow);

    type("98");
    key(Qt::Key_Return);
    input::clickCell(grid(), 1, kNumberColumn);

    EXPECT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(spaces().state(), TableState::Browse);
    EXPECT_EQ(grid()->currentIndex().row(), spaces().currentRow());
    EXPECT_EQ(keyOf(spaces(), spaces().currentRow()), keyOf(spaces(), 1));
    EXPECT_EQ(rowsWith(reopened(), "NumberXoros", Value::integer(98)), 1);
}

TEST_F(GridInputTest, DuplicateNewRecordKeepsTheGridOnIt) {
    const int count = spaces().recordCount();
    const QString taken = QString::number(fieldOf(spaces(), mRow, "NumberXoros").toInteger());
    input::clickCell(grid(), mRow, kNumberColumn);
    input::click(button("nbInsert"));
    const int pending = grid()->model()->rowCount() - 1;
    // The same floor and kind as the record the cursor stood on, by the keys of the lists.
    spaces().field("IDfloor").setValue(fieldOf(spaces(), mRow, "IDfloor"));
    spaces().field("IDXoros").setValue(fieldOf(spaces(), mRow, "IDXoros"));
    input::clickCell(grid(), pending, kNumberColumn);
    type(taken);
    key(Qt::Key_Return);

    input::clickCell(grid(), 2, kNumberColumn);

    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(spaces().state(), TableState::Insert);
    EXPECT_EQ(grid()->currentIndex().row(), pending);
    EXPECT_EQ(spaces().recordCount(), count);

    input::click(button("nbCancel"));
    EXPECT_EQ(spaces().state(), TableState::Browse);
    EXPECT_EQ(grid()->model()->rowCount(), count);
}

TEST_F(GridInputTest, DeleteAsksAndRemovesOnlyOnYes) {
    const int count = spaces().recordCount();
    input::clickCell(grid(), mRow, kNumberColumn);

    mPrompter.script({Answer::No});
    input::click(button("nbDelete"));
    EXPECT_EQ(mPrompter.questions, std::vector<std::string>{kConfirmDeleteMessage});
    EXPECT_EQ(spaces().recordCount(), count);

    mPrompter.script({Answer::Yes});
    input::click(button("nbDelete"));
    EXPECT_EQ(reopened().recordCount(), count - 1);
    EXPECT_EQ(rowOfKey(spaces(), mKey), -1);
    EXPECT_EQ(grid()->currentIndex().row(), spaces().currentRow());
}

TEST_F(GridInputTest, CancelDropsTheTextOfAnOpenEditor) {
    const Value before = fieldOf(spaces(), mRow, "AreaClear");
    input::clickCell(grid(), mRow, kAreaColumn);
    type("55");
    input::click(button("nbCancel"));
    EXPECT_EQ(spaces().state(), TableState::Browse);
    EXPECT_EQ(fieldOf(reopened(), rowOfKey(spaces(), mKey), "AreaClear"), before);
}

// A value typed and confirmed with Return, not yet posted, survives each file command
// that closes the working set: it is posted first.
class FileCommandAfterEditTest : public GridInputTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(FileCommandAfterEditTest, PendingEditIsPostedFirst) {
    const std::string command = GetParam();
    input::clickCell(grid(), mRow, kRoomsColumn);
    type("7");
    key(Qt::Key_Return);
    ASSERT_EQ(spaces().state(), TableState::Edit);

    mFiles->answer(qs(mStudiesDir / "OTHER.DVT"));
    mMain->action(QString::fromStdString(command))->trigger();
    input::settle();
    ASSERT_TRUE(mPrompter.messages.empty()) << mPrompter.messages.front();
    if (command == "SaveAsFile") {
        EXPECT_EQ(fieldOf(spaces(), rowOfKey(spaces(), mKey), "NumberofRooms"), Value::integer(7));
    }
    mFiles->answer(qs(mStudiesDir / "SCRATCH.DVT"));
    mMain->action("OpenFile")->trigger();
    input::settle();
    ASSERT_EQ(mMain->StudyName, "SCRATCH");
    EXPECT_EQ(fieldOf(spaces(), rowOfKey(spaces(), mKey), "NumberofRooms"), Value::integer(7));
}

INSTANTIATE_TEST_SUITE_P(Commands, FileCommandAfterEditTest,
                         ::testing::Values("SaveAsFile", "NewFile", "OpenFile"),
                         [](const auto& info) { return std::string(info.param); });

// After a computation the grid is back on the record it stood on, and shows it.
TEST_F(GridInputTest, ComputeReturnsToTheRecordInView) {
    const int last = spaces().recordCount() - 1;
    input::clickCell(grid(), last, kNumberColumn);
    const std::string key = keyOf(spaces(), spaces().currentRow());

    input::click(mMain->BitBtn7);

    EXPECT_FALSE(mMain->data().DataChanged);
    EXPECT_EQ(keyOf(spaces(), spaces().currentRow()), key);
    EXPECT_EQ(grid()->currentIndex().row(), spaces().currentRow());
    const QRect cell = grid()->visualRect(grid()->currentIndex());
    EXPECT_TRUE(grid()->viewport()->rect().contains(cell.center()));
}

// The floor list shows 14 rows and the kind list 19, whatever the style's habit.
TEST_F(GridInputTest, DropDownListsKeepTheirRowCount) {
    const struct {
        int column;
        int rows;
    } lists[] = {{kFloorColumn, 14}, {3, 19}};
    for (const auto& l : lists) {
        input::clickCell(grid(), 0, l.column + 1);
        key(Qt::Key_Left);
        key(Qt::Key_F2);
        auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
        ASSERT_NE(combo, nullptr) << l.column;
        ASSERT_GT(combo->count(), l.rows) << "the study has fewer entries than the list shows";
        combo->showPopup();
        input::settle();
        QAbstractItemView* list = combo->view();
        const int rowHeight = list->sizeHintForRow(0);
        ASSERT_GT(rowHeight, 0);
        const int shown = list->viewport()->height() / rowHeight;
        EXPECT_GE(shown, l.rows - 1) << l.column;
        EXPECT_LE(shown, l.rows) << l.column;
        combo->hidePopup();
        key(Qt::Key_Escape);
    }
}

// The dialogs are tool windows with only a close box; the main window can be
// minimised and maximised.
TEST_F(GridInputTest, TitleBarButtons) {
    const Qt::WindowFlags main = mMain->windowFlags();
    EXPECT_TRUE(main & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(main & Qt::WindowMaximizeButtonHint);
    TDravinOwners owners(mMain->data(), mPrompter, mMain.get());
    TDravinParam1 floors(mMain.get(), mMain->data());
    for (QWidget* dialog : {static_cast<QWidget*>(&owners), static_cast<QWidget*>(&floors)}) {
        const Qt::WindowFlags f = dialog->windowFlags();
        EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
        EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
    const Qt::WindowFlags wait = mMain->findChild<QWidget*>("TInfoForm")->windowFlags();
    EXPECT_FALSE(wait & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_TRUE(wait & Qt::WindowStaysOnTopHint);
}

// The wait window is drawn, with its text, before the computation's passes start.
TEST_F(GridInputTest, WaitWindowIsDrawnBeforeThePasses) {
    auto* wait = mMain->findChild<QWidget*>("TInfoForm");
    bool shownDuringPasses = false;
    QString text;
    // The first record the passes post is the moment to look.
    spaces().afterPost = [&, previous = spaces().afterPost](Table& t) {
        if (!shownDuringPasses) {
            shownDuringPasses = wait->isVisible();
            text = wait->findChild<QLabel*>("Label1")->text();
        }
        if (previous) {
            previous(t);
        }
    };
    input::click(mMain->BitBtn7);
    EXPECT_TRUE(shownDuringPasses);
    EXPECT_EQ(text, "Υπολογισμοί");
    EXPECT_FALSE(wait->isVisible());
}

// The preview opens zoomed to the page width, within the screen's work area and the
// largest size it may take.
TEST_F(GridInputTest, PreviewOpensAtThePageWidth) {
    int pageWidth = 0;
    int room = 0;
    QRect frame;
    QRect work;
    whenShown("dravin::ReportPreview", [&](QWidget* w) {
        auto* preview = static_cast<ReportPreview*>(w);
        pageWidth = preview->shownPageWidth();
        room = preview->findChild<QScrollArea*>()->viewport()->width();
        frame = preview->frameGeometry();
        work = preview->screen()->availableGeometry();
        preview->accept();
        return true;
    });
    mMain->action("ME01")->trigger();
    EXPECT_GT(pageWidth, room * 9 / 10);
    EXPECT_LE(pageWidth, room);
    EXPECT_LE(frame.width(), 1100);
    EXPECT_LE(frame.height(), 1000);
    EXPECT_TRUE(work.contains(frame)) << work.width() << "x" << work.height() << " " << frame.x() << "," << frame.y() << " " << frame.width()
                                      << "x" << frame.height();
}

// The unlocked parameter dialogs: a typed coefficient, Tab, then a click on another row.
class ParamInputTest : public ProgramFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { start(standalone()); }
};

TEST_P(ParamInputTest, TypedCoefficientIsPostedOnLeavingTheRow) {
    const std::unique_ptr<ParamDialog> d = openParameters(GetParam(), true);
    d->show();
    QApplication::setActiveWindow(d.get());
    input::settle();
    mPrompter.script({Answer::Yes});
    input::click(d->LockBtn);
    ASSERT_FALSE(d->Locked);
    Table& table = *d->Table1;
    ASSERT_GT(table.recordCount(), 2);

    const int column = 3;  // a coefficient in both dialogs
    input::clickCell(d->DBGrid1, 1, column);
    input::type(d->DBGrid1, "1.25");
    input::key(d->DBGrid1, Qt::Key_Tab);
    input::clickCell(d->DBGrid1, 2, 1);

    EXPECT_TRUE(mPrompter.messages.empty());
    EXPECT_EQ(table.state(), TableState::Browse);
    EXPECT_EQ(d->DBGrid1->currentIndex().row(), table.currentRow());
    EXPECT_EQ(d->DBGrid1->model()->index(1, column).data(Qt::EditRole).toString(), "1.25");

    // A new row by the navigator, left at once: nothing typed, nothing stored.
    const int count = table.recordCount();
    input::click(d->navigatorButton("nbInsert"));
    input::clickCell(d->DBGrid1, 0, 1);
    EXPECT_EQ(table.recordCount(), count);
    EXPECT_EQ(table.state(), TableState::Browse);
    d->close();
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ParamInputTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Floors" : "Kinds"; });

TEST_F(ProgramFixture, OwnerTypedThenAnotherChosenIsPosted) {
    start(standalone());
    loadDemoStudy();
    TDravinOwners d(mMain->data(), mPrompter, mMain.get());
    d.show();
    QApplication::setActiveWindow(&d);
    input::settle();
    Table& owners = mMain->data().OwnersT;
    ASSERT_GT(owners.recordCount(), 2);
    input::clickCell(d.DBGrid1, 1, 0);
    const Value id = fieldOf(owners, owners.currentRow(), "ID");
    d.edits[2]->setFocus();
    input::key(d.edits[2], Qt::Key_End);
    input::type(d.edits[2], " 5");
    const std::string address = d.edits[2]->text().toStdString();

    input::clickCell(d.DBGrid1, 0, 0);

    EXPECT_TRUE(mPrompter.messages.empty());
    EXPECT_EQ(owners.state(), TableState::Browse);
    EXPECT_EQ(d.DBGrid1->currentIndex().row(), owners.currentRow());
    owners.close();
    owners.open();
    const int row = owners.locate(*owners.def().fieldIndex("ID"), id);
    ASSERT_GE(row, 0);
    owners.moveTo(row);
    EXPECT_EQ(owners.field("Address").asString(), address);
}

}  // namespace
}  // namespace dravin::test
