// The desktop program on studies and master tables the older program kept as Paradox
// tables: each way of opening a study converts it first, saying so.

#include <gtest/gtest.h>

#include <QAction>

#include "data/studyfiles.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "support/paradoxsample.h"
#include "support/paradoxwriter.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

namespace fs = std::filesystem;

const char* const kAnnouncement =
    "Η μελέτη ΠΑΛΙΑ φυλάχτηκε από το παλαιότερο πρόγραμμα και θα μετατραπεί στη μορφή αυτού "
    "του προγράμματος· τα αρχικά αρχεία της κρατιούνται στον κατάλογο ΠΑΛΙΑ.paradox.";

class ParadoxOpenTest : public ProgramFixture {
protected:
    ParadoxOpenTest() {
        writeParadoxStudy(mStudiesDir, "ΠΑΛΙΑ", sampleStudy());
        writeStudyMarker(mStudiesDir, "ΠΑΛΙΑ");
    }
    void expectConverted(TDravinMain& main) {
        EXPECT_EQ(main.data().studyName(), "ΠΑΛΙΑ");
        EXPECT_EQ(main.data().DravinT.recordCount(), 12);
        EXPECT_EQ(main.data().OwnersT.recordCount(), 4);
        EXPECT_TRUE(fs::exists(mStudiesDir / "ΠΑΛΙΑ.paradox" / "ΠΑΛΙΑGenData_DRAVIN.MB"));
    }
};

TEST_F(ParadoxOpenTest, OpenConvertsTheStudy) {
    TDravinMain& main = start(standalone());
    mPrompter.messages.clear();
    mFiles->answer(qs(mStudiesDir / "ΠΑΛΙΑ.DVT"));
    main.action("OpenFile")->trigger();

    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kAnnouncement});
    expectConverted(main);
    EXPECT_EQ(main.StudyName, "ΠΑΛΙΑ");
}

TEST_F(ParadoxOpenTest, TheHostsStudyIsConvertedAtStart) {
    TDravinMain& main = start(embedded(qs(mStudiesDir), "ΠΑΛΙΑ", "Arial"));
    EXPECT_EQ(mPrompter.messages, std::vector<std::string>{kAnnouncement});
    expectConverted(main);
}

TEST_F(ParadoxOpenTest, ADamagedStudyIsReportedAtStartAndLeftAsItWas) {
    fs::remove(mStudiesDir / "ΠΑΛΙΑGenData_DRAVIN.MB");
    TDravinMain& main = start(embedded(qs(mStudiesDir), "ΠΑΛΙΑ", "Arial"));
    ASSERT_EQ(mPrompter.messages.size(), 2u);
    EXPECT_EQ(mPrompter.messages[0], kAnnouncement);
    EXPECT_NE(mPrompter.messages[1].find("ΠΑΛΙΑGenData_DRAVIN"), std::string::npos);
    EXPECT_FALSE(main.data().DravinT.isOpen());
    EXPECT_FALSE(fs::exists(mStudiesDir / "ΠΑΛΙΑ.paradox"));
    EXPECT_TRUE(main.action("OpenFile")->isEnabled());
}

TEST_F(ParadoxOpenTest, MasterTablesAreConvertedAtStart) {
    const StudyRows rows = sampleStudy();
    for (const char* name : {"DrvFloor.DB", "DrvXoros.DB"}) {
        fs::remove(mDataDir / name);
    }
    writeParadoxTable(mDataDir / "DrvFloor.DB", paradoxFields(floorTableDef()), rows[0]);
    writeParadoxTable(mDataDir / "DrvXoros.DB", paradoxFields(xorosTableDef()), rows[1]);
    TDravinMain& main = start(standalone());
    ASSERT_FALSE(mPrompter.messages.empty());
    EXPECT_NE(mPrompter.messages[0].find("Οι πίνακες παραμέτρων"), std::string::npos);
    EXPECT_EQ(main.data().FloorTo.recordCount(), 5);
    EXPECT_EQ(main.data().XorosTo.recordCount(), 4);
}

}  // namespace
}  // namespace dravin::test
