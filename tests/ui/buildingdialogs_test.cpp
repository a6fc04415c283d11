#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <functional>
#include <memory>

#include "data/tdravindatat.h"
#include "ui/dialogs/tdravinembada.h"
#include "ui/dialogs/tdravinmemo.h"
#include "ui/dialogs/tdravinnames1.h"
#include "ui/dialogs/tdravinowners.h"
#include "ui/qtprompter.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

class BuildingDialogsTest : public ProgramFixture {
protected:
    BuildingDialogsTest() { start(standalone()); }

    TDravinDataT& data() { return mMain->data(); }
    Table& genData() { return data().GenDataT; }
    Table& owners() { return data().OwnersT; }

    void addOwner(const std::string& name, int id) {
        owners().open();
        owners().insert();
        owners().field("Name").setString(name);
        owners().field("ID").setInteger(id);
        owners().post();
    }
    void setGenData(const char* field, double v) {
        genData().edit();
        genData().field(field).setFloat(v);
        genData().post();
    }
};

// The ways a dialog can be left.
enum class Leave { CloseButton, CloseBox, Escape };

void leave(QDialog& dialog, Leave how) {
    switch (how) {
        case Leave::CloseButton:
            dialog.findChild<QPushButton*>("CloseBtn")->click();
            break;
        case Leave::CloseBox:
            dialog.close();
            break;
        case Leave::Escape: {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &escape);
            break;
        }
    }
}

// The next control the Tab key reaches.
QWidget* nextByTab(QWidget* w) {
    do {
        w = w->nextInFocusChain();
    } while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->textEdited(text);
}

// ------------------------------------------------------------------ owners

TEST_F(BuildingDialogsTest, OwnersWithOneNameAreBothListedInNameOrder) {
    addOwner("Παπαδόπουλος", 7);
    addOwner("Αλεξίου", 3);
    addOwner("Παπαδόπουλος", 2);
    TDravinOwners dialog(data(), mPrompter, mMain.get());
    QAbstractItemModel* grid = dialog.DBGrid1->model();

    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->headerData(0, Qt::Horizontal).toString(), "Ονομασία");
    EXPECT_EQ(grid->headerData(1, Qt::Horizontal).toString(), "ID");
    const std::pair<QString, int> expected[] = {
        {"Αλεξίου", 3}, {"Παπαδόπουλος", 2}, {"Παπαδόπουλος", 7}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(grid->index(row, 0).data().toString(), expected[row].first);
        EXPECT_EQ(grid->index(row, 1).data(Qt::EditRole).toInt(), expected[row].second);
    }
    EXPECT_FALSE(grid->flags(grid->index(0, 0)) & Qt::ItemIsEditable);

    // The edits follow the grid's current row.
    dialog.DBGrid1->setCurrentIndex(grid->index(2, 0));
    QCoreApplication::processEvents();  // a picked row becomes current after the event
    EXPECT_EQ(dialog.edits[0]->text(), "Παπαδόπουλος");
    EXPECT_EQ(dialog.edits[1]->text().toInt(), 7);
}

TEST_F(BuildingDialogsTest, OwnerCaptionsAndLabels) {
    TDravinOwners dialog(data(), mPrompter, mMain.get());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Ονόματα Ιδιοκτητών");
    const char* labels[] = {"Ονομ/πώνυμο", "Αριθμός ID", "Διεύθυνση", "Α.Φ.Μ.",
                            "Δ.Ο.Υ.",      "Τηλέφωνο-1", "Τηλέφωνο-2"};
    for (int i = 0; i < 7; ++i) {
        auto* label = dialog.findChild<QLabel*>(QString("Label%1").arg(i + 1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), labels[i]);
        EXPECT_EQ(label->buddy(), dialog.edits[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(nextByTab(dialog.edits[0]), dialog.edits[1]);
    EXPECT_EQ(nextByTab(dialog.edits[6]), dialog.DBGrid1);
    EXPECT_EQ(dialog.findChildren<QToolButton*>().size(), 9);
}

struct GridWidths {
    int w, name, id;
};

class OwnerGridWidthTest : public ::testing::TestWithParam<GridWidths> {};

TEST_P(OwnerGridWidthTest, RoundsHalvesToEven) {
    const GridWidths c = GetParam();
    EXPECT_EQ(TDravinOwners::nameColumnWidth(c.w), c.name);
    EXPECT_EQ(TDravinOwners::idColumnWidth(c.w), c.id);
}

INSTANTIATE_TEST_SUITE_P(Widths, OwnerGridWidthTest,
                         ::testing::Values(GridWidths{400, 299, 98}, GridWidths{402, 301, 98},
                                           GridWidths{406, 303, 100}, GridWidths{401, 300, 98}));

TEST_F(BuildingDialogsTest, OwnerGridWidthsFollowItsClientWidth) {
    TDravinOwners dialog(data(), mPrompter, mMain.get());
    dialog.show();
    dialog.applyColumnWidths(400);
    EXPECT_EQ(dialog.DBGrid1->columnWidth(0), 299);
    EXPECT_EQ(dialog.DBGrid1->columnWidth(1), 98);

    dialog.resize(dialog.width() + 40, dialog.height());
    const int w = dialog.DBGrid1->viewport()->width();
    EXPECT_EQ(dialog.DBGrid1->columnWidth(0), TDravinOwners::nameColumnWidth(w));
    EXPECT_EQ(dialog.DBGrid1->columnWidth(1), TDravinOwners::idColumnWidth(w));
}

TEST_F(BuildingDialogsTest, OwnerIsWrittenWhenPostedAndATakenKeyIsRefused) {
    addOwner("Αλεξίου", 3);
    TDravinOwners dialog(data(), mPrompter, mMain.get());
    data().DataChanged = false;

    dialog.findChild<QToolButton*>("nbInsert")->click();
    typeInto(dialog.edits[0], "Βασιλείου");
    typeInto(dialog.edits[1], "4");
    typeInto(dialog.edits[5], "2101234567");
    dialog.findChild<QToolButton*>("nbPost")->click();
    EXPECT_TRUE(mPrompter.messages.empty());
    ASSERT_EQ(owners().recordCount(), 2);
    EXPECT_EQ(owners().state(), TableState::Browse);
    EXPECT_EQ(owners().field("Tel1").asString(), "2101234567");
    EXPECT_TRUE(data().DataChanged);

    // Typing into a listed owner edits it; a (Name, ID) pair already taken stays open.
    typeInto(dialog.edits[0], "Αλεξίου");
    typeInto(dialog.edits[1], "3");
    EXPECT_EQ(owners().state(), TableState::Edit);
    dialog.findChild<QToolButton*>("nbPost")->click();
    EXPECT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(owners().state(), TableState::Edit);

    // Closing neither posts nor cancels.
    leave(dialog, Leave::CloseBox);
    EXPECT_EQ(owners().state(), TableState::Edit);
    owners().cancel();
}

TEST_F(BuildingDialogsTest, DeletingAnOwnerAsksFirst) {
    addOwner("Αλεξίου", 3);
    TDravinOwners dialog(data(), mPrompter, mMain.get());
    mPrompter.script({Prompter::Answer::No, Prompter::Answer::Yes});
    dialog.findChild<QToolButton*>("nbDelete")->click();
    EXPECT_EQ(owners().recordCount(), 1);
    dialog.findChild<QToolButton*>("nbDelete")->click();
    EXPECT_EQ(owners().recordCount(), 0);
    EXPECT_EQ(mPrompter.questions.size(), 2u);
    EXPECT_TRUE(dialog.edits[0]->text().isEmpty());
}

// ------------------------------------------------------------------ help topics

TEST_F(BuildingDialogsTest, EachDialogShowsItsHelpTopic) {
    const std::pair<std::function<std::unique_ptr<QDialog>()>, QString> cases[] = {
        {[&] { return std::make_unique<TDravinOwners>(data(), mPrompter, mMain.get()); },
         "InData_02"},
        {[&] { return std::make_unique<TDravinNames1>(data(), mPrompter, mMain.get()); },
         "Properties_09"},
        {[&] { return std::make_unique<TDravinEmbada>(data(), mPrompter, mMain.get()); },
         "InData_03"},
        {[&] { return std::make_unique<TDravinMemo>(data(), mPrompter, mMain.get()); },
         "InData_06"},
    };
    for (const auto& [make, topic] : cases) {
        mHelp->shown.clear();
        auto dialog = make();
        dialog->findChild<QPushButton*>("HelpBtn")->click();
        ASSERT_EQ(mHelp->shown.size(), 1u);
        EXPECT_EQ(mHelp->shown.front().second, topic);
    }
}

// ------------------------------------------------------------------ names

TEST_F(BuildingDialogsTest, NamesEditTheirFieldsAndLeaveName10) {
    genData().edit();
    genData().field("Name10").setString("δέκατο");
    genData().post();
    const std::pair<const char*, const char*> rows[] = {
        {"Οικοδομή ", "Name1"}, {"Ιδιοκτησία", "Name2"},      {"Οδός", "Name3"},
        {"Πόλη", "Name4"},      {"Τεχνικό Γραφείο", "Name5"}, {"Διεύθυνση", "Name6"},
        {"Πόλη", "Name7"},      {"Τηλέφωνα", "Name8"},        {"Ημερομηνία", "Name9"}};
    {
        TDravinNames1 dialog(data(), mPrompter, mMain.get());
        EXPECT_EQ(dialog.windowTitle(), "Ονομασίες");
        EXPECT_EQ(dialog.CloseBtn->text(), "Επ/φή");
        EXPECT_EQ(dialog.HelpBtn->text(), "Βοήθεια");
        EXPECT_EQ(genData().state(), TableState::Edit);
        for (size_t i = 0; i < 9; ++i) {
            auto* label = dialog.findChild<QLabel*>(QString("Label%1").arg(i + 1));
            EXPECT_EQ(label->text(), rows[i].first);
            EXPECT_EQ(label->buddy(), dialog.edits[i]);
            dialog.edits[i]->setText(QString("τιμή %1").arg(i + 1));
        }
        dialog.show();
        leave(dialog, Leave::CloseButton);
        EXPECT_EQ(genData().state(), TableState::Browse);
    }
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(genData().field(rows[i].second).asString(),
                  QString("τιμή %1").arg(i + 1).toStdString());
    }
    EXPECT_EQ(genData().field("Name10").asString(), "δέκατο");
}

// ------------------------------------------------------------------ plot area

TEST_F(BuildingDialogsTest, PlotDialogShowsAllThreeValuesInItsKeyboardOrder) {
    setGenData("AreaOikopedo", 512.25);
    TDravinEmbada dialog(data(), mPrompter, mMain.get());
    EXPECT_EQ(dialog.windowTitle(), "Οικόπεδο-Μελλοντικά");
    EXPECT_EQ(dialog.CloseBtn->text(), "Επ/φή");
    EXPECT_EQ(dialog.edits[0]->text(), "512.250");
    EXPECT_EQ(dialog.edits[1]->text(), "1000.000");
    EXPECT_EQ(dialog.edits[2]->text(), "");
    EXPECT_EQ(dialog.findChild<QLabel*>("Label3")->text(), "Χιλιοστά Μελλοντικών ο/οο");
    EXPECT_TRUE(dialog.Note->wordWrap());
    EXPECT_EQ(nextByTab(dialog.edits[0]), dialog.edits[2]);
    EXPECT_EQ(nextByTab(dialog.edits[2]), dialog.edits[1]);
}

TEST_F(BuildingDialogsTest, FuturePerMilleIsKeptWhicheverWayThePlotDialogIsLeft) {
    setGenData("DravinTotal", 1000.12345);  // shown rounded; kept while untouched
    for (Leave how : {Leave::CloseButton, Leave::CloseBox, Leave::Escape}) {
        SCOPED_TRACE(static_cast<int>(how));
        data().DataChanged = false;
        {
            TDravinEmbada dialog(data(), mPrompter, mMain.get());
            dialog.show();
            dialog.edits[2]->setText("12,5");
            leave(dialog, how);
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(genData().state(), TableState::Browse);
        }
        EXPECT_DOUBLE_EQ(genData().field("Dravinmelontika").asFloat(), 12.5);
        EXPECT_DOUBLE_EQ(genData().field("DravinTotal").asFloat(), 1000.12345);
        EXPECT_TRUE(data().DataChanged);
        setGenData("Dravinmelontika", 0.0);
    }
    EXPECT_TRUE(mPrompter.messages.empty());
}

TEST_F(BuildingDialogsTest, PlotDialogWithAnUnreadableNumberStaysOpen) {
    TDravinEmbada dialog(data(), mPrompter, mMain.get());
    dialog.show();
    dialog.edits[0]->setText("-");
    leave(dialog, Leave::CloseBox);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(mPrompter.messages.size(), 1u);

    dialog.edits[0]->setText("");
    leave(dialog, Leave::CloseBox);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(genData().field("AreaOikopedo").isNull());
}

// ------------------------------------------------------------------ notes

std::string defaultNotes() {
    std::string notes;
    for (const char* line : kDefaultNotes) {
        notes += std::string(line) + "\r\n";
    }
    return notes;
}

TEST_F(BuildingDialogsTest, NewStudyShowsTheThreeDefaultNoteLines) {
    ASSERT_EQ(genData().field("Notes1").asString(), defaultNotes());
    TDravinMemo dialog(data(), mPrompter, mMain.get());
    EXPECT_EQ(dialog.windowTitle(), "Σημειώσεις");
    EXPECT_EQ(dialog.DBMemo1->toPlainText(),
              QString::fromStdString(std::string(kDefaultNotes[0]) + "\n" + kDefaultNotes[1] +
                                     "\n" + kDefaultNotes[2] + "\n"));
    dialog.show();
    leave(dialog, Leave::Escape);
    EXPECT_EQ(genData().field("Notes1").asString(), defaultNotes());
}

TEST_F(BuildingDialogsTest, NotesWrittenThroughAnUnshownDialogEqualANewStudys) {
    genData().edit();
    genData().field("Notes1").clear();
    genData().post();
    {
        TDravinMemo dialog(data(), mPrompter, mMain.get());
        for (const char* line : kDefaultNotes) {
            dialog.addLine(QString::fromUtf8(line));
        }
    }
    EXPECT_EQ(genData().state(), TableState::Browse);
    EXPECT_EQ(genData().field("Notes1").asString(), defaultNotes());
}

TEST_F(BuildingDialogsTest, EditedNotesAreStoredWithCrLf) {
    TDravinMemo dialog(data(), mPrompter, mMain.get());
    dialog.show();
    dialog.DBMemo1->setPlainText("α\nβ");
    leave(dialog, Leave::CloseBox);
    EXPECT_EQ(genData().field("Notes1").asString(), "α\r\nβ");
}

}  // namespace
}  // namespace dravin::test
