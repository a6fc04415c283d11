#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QTableView>
#include <QToolButton>

#include "compute/entryrules.h"
#include "data/tdravindatat.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

// Columns of the first tab.
constexpr int kFloorColumn = 0;
constexpr int kAbbreviationColumn = 1;
constexpr int kNumberColumn = 2;
constexpr int kKindColumn = 3;
constexpr int kAreaColumn = 5;

class GridTest : public ProgramFixture {
protected:
    GridTest() {
        start(standalone());
        loadDemoStudy();
        mMain->show();
        mRow = spaceAfterTwin(spaces());
        mMain->grid(1)->setCurrentIndex(index(mRow, kNumberColumn));
        QCoreApplication::processEvents();
    }

    Table& spaces() { return mMain->data().DravinT; }
    QAbstractItemModel* model() { return mMain->grid(1)->model(); }
    QModelIndex index(int row, int column) { return model()->index(row, column); }
    void press(const char* button) { mMain->findChild<QToolButton*>(button)->click(); }

    int mRow = 0;
};

TEST_F(GridTest, DuplicateNumberIsRefusedAndTheRecordStaysOpen) {
    const int count = spaces().recordCount();
    const QVariant taken = index(mRow - 1, kNumberColumn).data(Qt::EditRole);
    ASSERT_TRUE(model()->setData(index(mRow, kNumberColumn), taken));
    EXPECT_EQ(spaces().state(), TableState::Edit);

    press("nbPost");
    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(spaces().state(), TableState::Edit);

    // Leaving the row tries again; the grid comes back to the record.
    mMain->grid(1)->setCurrentIndex(index(0, kNumberColumn));
    QCoreApplication::processEvents();  // a picked row becomes current after the event
    EXPECT_EQ(mPrompter.messages.size(), 2u);
    EXPECT_EQ(spaces().state(), TableState::Edit);
    EXPECT_EQ(mMain->grid(1)->currentIndex().row(), mRow);
    EXPECT_EQ(spaces().recordCount(), count);

    press("nbCancel");
    EXPECT_EQ(spaces().state(), TableState::Browse);
    EXPECT_EQ(index(mRow, kNumberColumn).data(Qt::EditRole), index(mRow, kNumberColumn).data());
}

TEST_F(GridTest, DuplicateNewRecordStaysInInsertion) {
    const int count = spaces().recordCount();
    const QVariant floor =
        spaces().rowValue(mRow, *spaces().def().fieldIndex("IDfloor")).toInteger();
    const QVariant kind =
        spaces().rowValue(mRow, *spaces().def().fieldIndex("IDXoros")).toInteger();
    const QVariant taken = index(mRow, kNumberColumn).data(Qt::EditRole);

    press("nbInsert");
    ASSERT_EQ(spaces().state(), TableState::Insert);
    const int pending = model()->rowCount() - 1;
    ASSERT_EQ(pending, count);
    ASSERT_TRUE(model()->setData(index(pending, kFloorColumn), floor));
    ASSERT_TRUE(model()->setData(index(pending, kKindColumn), kind));
    ASSERT_TRUE(model()->setData(index(pending, kNumberColumn), taken));

    press("nbPost");

    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(spaces().state(), TableState::Insert);
    EXPECT_EQ(spaces().recordCount(), count);
}

TEST_F(GridTest, NavigatorDeletionAsksFirst) {
    const int count = spaces().recordCount();
    const std::string key = keyOf(spaces(), mRow);

    mPrompter.script({Prompter::Answer::No});
    press("nbDelete");
    EXPECT_EQ(mPrompter.questions, std::vector<std::string>{kConfirmDeleteMessage});
    EXPECT_EQ(spaces().recordCount(), count);
    EXPECT_EQ(keyOf(spaces(), spaces().currentRow()), key);

    mPrompter.script({Prompter::Answer::Yes});
    press("nbDelete");
    EXPECT_EQ(mPrompter.questions.size(), 2u);
    EXPECT_EQ(spaces().recordCount(), count - 1);
    for (int row = 0; row < spaces().recordCount(); ++row) {
        EXPECT_NE(keyOf(spaces(), row), key);
    }
    EXPECT_TRUE(mPrompter.messages.empty());
}

struct TextCase {
    const char* name;
    const char* typed;
    const char* refused;  // the character the message names; null when stored
};

class GridTextTest : public GridTest, public ::testing::WithParamInterface<TextCase> {};

// Text cells take only what code page 1253 can hold; anything else is refused with a
// message that names the character.
TEST_P(GridTextTest, CodePageOfTextCells) {
    const TextCase c = GetParam();
    const QModelIndex cell = index(mRow, kAbbreviationColumn);
    const QVariant before = cell.data(Qt::EditRole);

    EXPECT_EQ(model()->setData(cell, QString::fromUtf8(c.typed)), c.refused == nullptr);

    if (!c.refused) {
        EXPECT_EQ(cell.data(Qt::EditRole).toString(), QString::fromUtf8(c.typed));
        EXPECT_TRUE(mPrompter.messages.empty());
    } else {
        EXPECT_EQ(cell.data(Qt::EditRole), before);
        ASSERT_EQ(mPrompter.messages.size(), 1u);
        EXPECT_NE(mPrompter.messages[0].find(c.refused), std::string::npos);
        EXPECT_NE(mPrompter.messages[0].find("1253"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, GridTextTest,
                         ::testing::Values(TextCase{"Greek", "ΑΒ", nullptr},
                                           TextCase{"Euro", "€", nullptr},
                                           TextCase{"Cyrillic", "Ж", "Ж"},
                                           TextCase{"Snowman", "Α☃", "☃"},
                                           TextCase{"Hungarian", "ő", "ő"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    int column;
    const char* typed;
    const char* message;
};

class GridNumberTest : public GridTest, public ::testing::WithParamInterface<NumberCase> {};

// Number cells refuse other text with one Greek sentence that quotes it; the cell keeps
// its value.
TEST_P(GridNumberTest, TextThatIsNoNumberIsRefused) {
    const NumberCase c = GetParam();
    const QModelIndex cell = index(mRow, c.column);
    const QVariant before = cell.data(Qt::EditRole);

    EXPECT_FALSE(model()->setData(cell, QString::fromUtf8(c.typed)));

    EXPECT_EQ(cell.data(Qt::EditRole), before);
    ASSERT_EQ(mPrompter.messages.size(), 1u);
    EXPECT_EQ(mPrompter.messages[0], c.message);
}

INSTANTIATE_TEST_SUITE_P(Numbers, GridNumberTest,
                         ::testing::Values(NumberCase{"WholeNumber", kNumberColumn, "12α",
                                                      "Το «12α» δεν είναι ακέραιος αριθμός."},
                                           NumberCase{"Fraction", kNumberColumn, "1.5",
                                                      "Το «1.5» δεν είναι ακέραιος αριθμός."},
                                           NumberCase{"DecimalComma", kAreaColumn, "1,5",
                                                      "Το «1,5» δεν είναι αριθμός."}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dravin::test
