#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "data/tdravindatat.h"
#include "support/childprocess.h"
#include "support/unprivileged.h"
#include "ui/dialogs/tdravinparam1.h"
#include "ui/dialogs/tdravinparam2.h"
#include "ui/dialogs/tformlockclosehelplow.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

using Answer = Prompter::Answer;

const QColor kLightYellow(255, 255, 225);
const char* const kMoves[] = {"nbFirst", "nbPrior", "nbNext", "nbLast"};
const char* const kEdits[] = {"nbInsert", "nbDelete", "nbEdit", "nbPost", "nbCancel"};

QColor gridColour(const ParamDialog& d) {
    return d.DBGrid1->palette().color(QPalette::Base);
}

// Which navigator buttons the dialog offers (hidden ones are not offered).
int offeredButtons(const ParamDialog& d) {
    int n = 0;
    for (auto* b : d.DBNavigator1->findChildren<QToolButton*>()) {
        n += b->isHidden() ? 0 : 1;
    }
    return n;
}

double realAt(const Table& t, int id, const char* keyField, const char* field) {
    const int row = t.locate(*t.def().fieldIndex(keyField), Value::integer(id));
    EXPECT_GE(row, 0) << id;
    return t.rowValue(row, *t.def().fieldIndex(field)).toReal();
}

class ParamDialogTest : public ProgramFixture {
protected:
    void SetUp() override { start(standalone()); }

    std::unique_ptr<ParamDialog> open(bool floors, bool study) {
        return openParameters(floors, study);
    }

    void unlock(ParamDialog& d) {
        mPrompter.script({Answer::Yes});
        d.LockBtn->click();
        ASSERT_FALSE(d.Locked);
    }
};

struct Binding {
    bool floors;
    bool study;
    const char* caption;
    const char* help;
};

class ParamDialogBinding : public ParamDialogTest, public ::testing::WithParamInterface<Binding> {};

TEST_P(ParamDialogBinding, OpensLockedOnItsTable) {
    const Binding& b = GetParam();
    auto d = open(b.floors, b.study);
    TDravinDataT& data = mMain->data();
    Table* expected = b.floors ? (b.study ? &data.FloorT : &data.FloorTo)
                               : (b.study ? &data.XorosT : &data.XorosTo);
    d->show();
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8(b.caption));
    EXPECT_EQ(d->Table1, expected);
    EXPECT_TRUE(expected->isOpen());
    EXPECT_TRUE(expected->readOnly());
    EXPECT_TRUE(d->Locked);
    EXPECT_EQ(gridColour(*d), kLightYellow);
    EXPECT_EQ(offeredButtons(*d), 4);
    for (const char* name : kMoves) {
        EXPECT_FALSE(d->navigatorButton(name)->isHidden()) << name;
    }
    EXPECT_EQ(d->DBGrid1->model()->rowCount(), expected->recordCount());
    const auto flags = d->DBGrid1->model()->flags(d->DBGrid1->model()->index(0, 3));
    EXPECT_FALSE(flags & Qt::ItemIsEditable);
    // Close, lock and help from left to right; no print button offered.
    EXPECT_LT(d->CloseBtn->x(), d->LockBtn->x());
    EXPECT_LT(d->LockBtn->x(), d->HelpBtn->x());
    EXPECT_FALSE(d->PrintBtn->isVisible());

    d->HelpBtn->click();
    ASSERT_EQ(mHelp->shown.size(), 1u);
    EXPECT_EQ(mHelp->shown.back().second, b.help);
}

INSTANTIATE_TEST_SUITE_P(
    All, ParamDialogBinding,
    ::testing::Values(Binding{true, false, "Παράμετροι ανά όροφο (Προγράμματος)", "Parameters_02"},
                      Binding{true, true, "Παράμετροι ανά όροφο (Οικοδομής)", "Parameters_02"},
                      Binding{false, false, "Παράμετροι ανά χώρο (Προγράμματος)", "Parameters_07"},
                      Binding{false, true, "Παράμετροι ανά χώρο (Οικοδομής)", "Parameters_07"}));

TEST_F(ParamDialogTest, ColumnTitles) {
    const std::pair<bool, QStringList> cases[] = {
        {true,
         {"No#", "Ονομασία", "Συντ/ση", "Σ. Αντ. Αξίας-1", "Σ. Κοινοχρ-1", "Σ. Ασανσέρ-1",
          "Υψος[m]"}},
        {false,
         {"No#", "Ονομασία", "Σ. Αντ.Αξ-2", "Σ. Αντ.Αξ-3", "Σ. Κοινοχρ-2", "Σ. Κοινοχρ-3",
          "Σ. Ασανσ-2"}},
    };
    for (const auto& [floors, titles] : cases) {
        auto d = open(floors, false);
        QStringList shown;
        for (int c = 0; c < d->DBGrid1->model()->columnCount(); ++c) {
            shown << d->DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
        }
        EXPECT_EQ(shown, titles);
    }
}

TEST_F(ParamDialogTest, NoOrCancelKeepsItLocked) {
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        auto d = open(true, true);
        mPrompter.script({answer});
        d->LockBtn->click();
        ASSERT_EQ(mPrompter.questions.size(), 1u);
        EXPECT_EQ(mPrompter.questions.back(), TFormLockCloseHelpLow::kUnlockQuestion);
        EXPECT_TRUE(d->Locked);
        EXPECT_FALSE(d->LockBtn->isChecked());
        EXPECT_EQ(d->LockBtn->text(), "Κλειστό");
        EXPECT_TRUE(d->Table1->readOnly());
        EXPECT_EQ(offeredButtons(*d), 4);
        EXPECT_EQ(gridColour(*d), kLightYellow);
        mPrompter.questions.clear();
    }
}

TEST_F(ParamDialogTest, YesUnlocksAndRelockingAsksNothing) {
    auto d = open(false, false);
    unlock(*d);
    EXPECT_TRUE(d->LockBtn->isChecked());
    EXPECT_EQ(d->LockBtn->text(), "Ανοιχτό");
    EXPECT_EQ(gridColour(*d), QColor(Qt::white));
    EXPECT_EQ(offeredButtons(*d), 9);
    for (const char* name : kEdits) {
        EXPECT_FALSE(d->navigatorButton(name)->isHidden()) << name;
    }
    EXPECT_FALSE(d->Table1->readOnly());
    EXPECT_TRUE(d->Table1->isOpen());
    EXPECT_TRUE(d->DBGrid1->model()->flags(d->DBGrid1->model()->index(0, 2)) & Qt::ItemIsEditable);

    d->LockBtn->click();  // a further question would fail the test
    EXPECT_EQ(mPrompter.questions.size(), 1u);
    EXPECT_TRUE(d->Locked);
    EXPECT_FALSE(d->LockBtn->isChecked());
    EXPECT_EQ(d->LockBtn->text(), "Κλειστό");
    EXPECT_TRUE(d->Table1->readOnly());
    EXPECT_EQ(offeredButtons(*d), 4);
    EXPECT_EQ(gridColour(*d), kLightYellow);
}

// The table stays open when the dialog goes, writable or not as the lock left it.
TEST_F(ParamDialogTest, TableKeepsTheLockOfTheClosedDialog) {
    for (bool unlocked : {false, true}) {
        auto d = open(true, false);
        if (unlocked) {
            unlock(*d);
        }
        d->CloseBtn->click();
        EXPECT_EQ(d->result(), QDialog::Accepted);
        d.reset();
        EXPECT_TRUE(mMain->data().FloorTo.isOpen());
        EXPECT_EQ(mMain->data().FloorTo.readOnly(), !unlocked);
    }
}

// Another program reading the master table: unlocking is refused with its message and
// the dialog stays locked on the table, still open for reading.
TEST_F(ParamDialogTest, UnlockRefusedWhileAnotherProgramReadsTheMasters) {
    Table& master = mMain->data().FloorTo;
    test::ChildProcess other(
        {TABLE_HOLDER, master.directory().string(), master.tableName(), "read"});
    ASSERT_EQ(other.readLine(), "open");
    auto d = open(true, false);
    mPrompter.script({Answer::Yes});
    d->LockBtn->click();
    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_NE(mPrompter.messages[0].find("είναι ανοιχτό σε άλλο πρόγραμμα."), std::string::npos)
        << mPrompter.messages[0];
    EXPECT_TRUE(d->Locked);
    EXPECT_EQ(d->LockBtn->text(), "Κλειστό");
    EXPECT_TRUE(master.isOpen());
    EXPECT_TRUE(master.readOnly());
    other.closeInput();
    EXPECT_EQ(other.wait(), 0);
    unlock(*d);
    EXPECT_FALSE(master.readOnly());
}

// The master tables of an installation whose data folder takes no writes: unlocking asks
// nothing and says in one sentence that they cannot be changed; the study's own table,
// elsewhere, still unlocks.
TEST_F(ParamDialogTest, UnlockOfReadOnlyMastersSaysTheyCannotBeChanged) {
    finish();
    ReadOnlyBind readOnly(mDataDir);
    if (!readOnly.active()) {
        GTEST_SKIP() << readOnly.reason();
    }
    start(standalone());
    ASSERT_TRUE(mMain->data().FloorTo.isOpen());
    for (const bool floors : {true, false}) {
        mPrompter.messages.clear();
        auto d = open(floors, false);
        d->LockBtn->click();  // a question would fail the test
        EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kMastersReadOnlyMessage});
        EXPECT_TRUE(d->Locked);
        EXPECT_FALSE(d->LockBtn->isChecked());
        EXPECT_EQ(d->LockBtn->text(), "Κλειστό");
        EXPECT_TRUE(d->Table1->isOpen());
        EXPECT_TRUE(d->Table1->readOnly());
    }
    auto study = open(true, true);
    unlock(*study);
    EXPECT_FALSE(mMain->data().FloorT.readOnly());
}

// Without a scripted prompter the question is a message box over the window's upper left.
TEST_F(ParamDialogTest, UnlockQuestionPlacement) {
    TDravinParam1 d(mMain.get(), mMain->data());
    d.SelectTable(false);
    d.setGeometry(120, 80, 480, 320);
    d.show();
    const QRect frame = d.frameGeometry();
    const QPoint expected(frame.left() + frame.width() / 8, frame.top() + frame.height() / 4);
    QPoint placed;
    QString text;
    whenShown("QMessageBox", [&](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        placed = box->pos();
        text = box->text();
        box->button(QMessageBox::No)->click();
        return true;
    });
    d.LockBtn->click();
    EXPECT_EQ(placed, expected);
    EXPECT_TRUE(text.startsWith("Προσοχή!, Μόνιμες αλλαγές")) << text.toStdString();
    EXPECT_TRUE(d.Locked);
}

struct Widths {
    bool floors;
    int clientWidth;
    std::vector<int> widths;
};

class ParamDialogWidths : public ParamDialogTest, public ::testing::WithParamInterface<Widths> {};

TEST_P(ParamDialogWidths, ColumnWidths) {
    const Widths& w = GetParam();
    auto d = open(w.floors, false);
    d->applyColumnWidths(w.clientWidth);
    std::vector<int> applied;
    for (int c = 0; c < 7; ++c) {
        applied.push_back(d->DBGrid1->columnWidth(c));
    }
    EXPECT_EQ(applied, w.widths);
}

INSTANTIATE_TEST_SUITE_P(
    All, ParamDialogWidths,
    ::testing::Values(Widths{true, 500, {39, 104, 49, 79, 79, 79, 48}},
                      Widths{false, 500, {34, 154, 59, 59, 59, 59, 58}},
                      // 2.5 rounds down and 3.5 up (halves to even); 0.5 gives 0, never below.
                      Widths{true, 25, {1, 4, 1, 3, 3, 3, 0}},
                      Widths{true, 35, {2, 6, 3, 5, 5, 5, 2}},
                      Widths{true, 5, {0, 0, 0, 0, 0, 0, 0}}));

TEST_F(ParamDialogTest, RefusedPostKeepsTheRowInEditMode) {
    auto d = open(true, false);
    unlock(*d);
    QAbstractItemModel* model = d->DBGrid1->model();
    // Floor 0 takes the number of floor -1, already present.
    ASSERT_TRUE(model->setData(model->index(1, 0), "-1", Qt::EditRole));
    d->navigatorButton("nbPost")->click();
    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_NE(mPrompter.messages.back().find("Παραβίαση κλειδιού"), std::string::npos);
    EXPECT_EQ(d->Table1->state(), TableState::Edit);

    // Nor does closing the dialog or locking it drop the typed value.
    d->CloseBtn->click();
    EXPECT_EQ(mPrompter.messages.size(), 2u);
    EXPECT_NE(d->result(), QDialog::Accepted);
    d->LockBtn->click();
    EXPECT_EQ(mPrompter.messages.size(), 3u);
    EXPECT_FALSE(d->Locked);
    EXPECT_TRUE(d->LockBtn->isChecked());
    EXPECT_EQ(d->Table1->state(), TableState::Edit);

    d->navigatorButton("nbCancel")->click();
    d->CloseBtn->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(mMain->data().FloorTo.recordCount(), 4);
}

// A master value changed here reaches a study only when the study is created or its
// parameters are initialised again.
TEST_F(ParamDialogTest, MasterChangeReachesNewAndReinitialisedStudies) {
    TDravinDataT& data = mMain->data();
    ASSERT_TRUE(data.FloorT.isOpen());
    const double before = realAt(data.FloorT, 1, "IDFloor", "Coef1");
    {
        auto d = open(true, false);
        unlock(*d);
        QAbstractItemModel* model = d->DBGrid1->model();
        const int row =
            data.FloorTo.locate(*data.FloorTo.def().fieldIndex("IDFloor"), Value::integer(1));
        ASSERT_TRUE(model->setData(model->index(row, 3), "1.75", Qt::EditRole));
        d->navigatorButton("nbPost")->click();
        EXPECT_TRUE(mPrompter.messages.empty());
        d->CloseBtn->click();
    }
    EXPECT_DOUBLE_EQ(realAt(data.FloorTo, 1, "IDFloor", "Coef1"), 1.75);
    EXPECT_DOUBLE_EQ(realAt(data.FloorT, 1, "IDFloor", "Coef1"), before);

    data.InitFloorParameters();
    EXPECT_DOUBLE_EQ(realAt(data.FloorT, 1, "IDFloor", "Coef1"), 1.75);

    data.OpenStudy(mStudiesDir, "NEWSTUDY");
    EXPECT_DOUBLE_EQ(realAt(data.FloorT, 1, "IDFloor", "Coef1"), 1.75);
}

// The lock of the base class acts on the listed kinds of control, never on the button bar.
TEST(LockFormTest, CreationAndLockStateByControlClass) {
    TFormLockCloseHelpLow form;
    EXPECT_TRUE(form.Locked);
    EXPECT_EQ(form.LockBtn->text(), "Κλειστό");
    EXPECT_EQ(form.LockBtn->toolTip(), "κλείδωμα αλλαγών τιμών");
    EXPECT_FALSE(form.LockBtn->font().bold());
    EXPECT_EQ(form.LockBtn->font().family(), form.CloseBtn->font().family());
    EXPECT_EQ(form.PrintBtn->text(), "Εκτ/ση");
    EXPECT_EQ(form.PrintBtn->toolTip(), "εκτύπωση");

    auto* layout = new QVBoxLayout(form.Panel1);
    auto* edit = new QLineEdit;
    auto* check = new QCheckBox;
    auto* button = new QPushButton;
    auto* combo = new QComboBox;
    auto* radio = new QRadioButton;
    auto* memo = new QPlainTextEdit;
    auto* strings = new QTableWidget(2, 2);
    auto* dataGrid = new QTableView;
    for (QWidget* w : std::initializer_list<QWidget*>{edit, check, button, combo, radio, memo,
                                                      strings, dataGrid}) {
        layout->addWidget(w);
    }
    const QColor face = form.palette().color(QPalette::Button);
    const QColor white(Qt::white);
    for (bool locked : {true, false, true}) {
        locked ? form.ShowLocked() : form.ShowUnlocked();
        SCOPED_TRACE(locked ? "locked" : "unlocked");
        for (QWidget* w :
             std::initializer_list<QWidget*>{edit, check, button, combo, radio, memo}) {
            EXPECT_EQ(w->isEnabled(), !locked) << w->metaObject()->className();
        }
        for (QWidget* w : std::initializer_list<QWidget*>{edit, memo, strings}) {
            EXPECT_EQ(w->palette().color(QPalette::Base), locked ? face : white)
                << w->metaObject()->className();
        }
        EXPECT_EQ(strings->selectionBehavior(),
                  locked ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
        EXPECT_EQ(strings->editTriggers() == QAbstractItemView::NoEditTriggers, locked);
        EXPECT_TRUE(dataGrid->isEnabled());
        EXPECT_TRUE(form.LockBtn->isEnabled());
        EXPECT_TRUE(form.CloseBtn->isEnabled());
        EXPECT_TRUE(form.HelpBtn->isEnabled());
    }
}

// Printing where no printer exists says so and changes nothing.
TEST(LockFormTest, PrintWithoutPrinter) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "a printer is installed";
    }
    ScriptedPrompter prompter;
    TFormLockCloseHelpLow form;
    form.setPrompter(&prompter);
    form.show();
    form.PrintBtnClick();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages.back(),
              "Δεν υπάρχει διαθέσιμος εκτυπωτής· το παράθυρο δεν τυπώθηκε.");
    EXPECT_TRUE(form.Locked);
    EXPECT_TRUE(form.Panel2->isVisible());
}

}  // namespace
}  // namespace dravin::test
