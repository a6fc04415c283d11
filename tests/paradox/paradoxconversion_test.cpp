// Studies and master tables kept by the older program as Paradox tables, converted into
// our own store.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "compute/computation.h"
#include "data/cp1253.h"
#include "data/exchangefile.h"
#include "data/paradox/paradoxconversion.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"
#include "support/paradoxsample.h"
#include "support/scriptedprompter.h"
#include "support/studyfixture.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;
using test::StudyRows;

class ParadoxConversionTest : public test::StudyFixture {
protected:
    // The same study written by the engine under another name, to compare with.
    std::string expectedDump(const StudyRows& rows) {
        const auto defs = test::studyDefs();
        for (size_t i = 0; i < 5; ++i) {
            test::writeTable(mStudiesDir, studyTableName("EXPECTED", kStudyPartWords[i]), defs[i],
                             rows[i]);
        }
        mData.OpenStudy(mStudiesDir, "EXPECTED");
        return dumpStudy();
    }
    std::string convertedDump(const std::string& name) {
        ParadoxConversion::forStudy(mStudiesDir, name).run();
        mData.OpenStudy(mStudiesDir, name);
        return dumpStudy();
    }
    std::string exportJson() {
        std::ostringstream out;
        exportStudyJson(mData, out);
        return out.str();
    }
};

TEST_F(ParadoxConversionTest, StudyKeepsEveryValue) {
    const StudyRows rows = test::sampleStudy();
    test::writeParadoxStudy(mStudiesDir, "OLD", rows);
    const std::string expected = expectedDump(rows);
    EXPECT_EQ(convertedDump("OLD"), expected);
}

TEST_F(ParadoxConversionTest, OriginalsAreKeptUntouchedBesideTheStudy) {
    test::writeParadoxStudy(mStudiesDir, "OLD", test::sampleStudy());
    const auto before = test::filesOf(mStudiesDir);
    const ConversionReport report = ParadoxConversion::forStudy(mStudiesDir, "OLD").run();

    EXPECT_EQ(report.keptIn, mStudiesDir / "OLD.paradox");
    EXPECT_EQ(test::filesOf(mStudiesDir / "OLD.paradox"), before);
    EXPECT_EQ(report.tables.size(), 5u);
    EXPECT_TRUE(report.notes.empty()) << report.text();
    EXPECT_FALSE(fs::exists(mStudiesDir / "OLDGenData_DRAVIN.MB"));
    EXPECT_FALSE(ParadoxConversion::forStudy(mStudiesDir, "OLD").needed());
}

TEST_F(ParadoxConversionTest, ConvertedStudyComputesAsTheExchangeFileLoaded) {
    // The demo study loaded from its exchange file, and the same records as Paradox tables.
    mData.OpenStudy(mStudiesDir, "DEMO");
    std::ifstream in(test::demoStudyFile());
    loadStudyJson(mData, in);
    StudyRows rows(5);
    const auto tables = mData.workingSet();
    for (size_t i = 0; i < 5; ++i) {
        for (int r = 0; r < tables[i]->recordCount(); ++r) {
            std::vector<Value> values;
            for (size_t f = 0; f < tables[i]->def().fields.size(); ++f) {
                values.push_back(tables[i]->rowValue(r, static_cast<int>(f)));
            }
            rows[i].push_back(values);
        }
    }
    SilentFeedback silent;
    ComputeAll(mData, silent);
    const std::string fromExchange = exportJson();

    test::writeParadoxStudy(mStudiesDir, "OLD", rows);
    ParadoxConversion::forStudy(mStudiesDir, "OLD").run();
    mData.OpenStudy(mStudiesDir, "OLD");
    ComputeAll(mData, silent);
    EXPECT_EQ(exportJson(), fromExchange);
}

TEST_F(ParadoxConversionTest, FieldsMatchByNameWhateverTheirCaseAndOrder) {
    StudyRows rows = test::sampleStudy();
    test::writeParadoxStudy(mStudiesDir, "OLD", rows);
    // The owner table of another layout: names in other letter cases, fields reordered,
    // one field of its own, Tel2 missing.
    const TableDef owners = ownersTableDef();
    std::vector<test::ParadoxField> fields = test::paradoxFields(owners);
    std::vector<std::vector<Value>> reordered;
    for (auto& r : rows[2]) {
        reordered.push_back({r[1], r[0], r[2], r[3], r[4], r[5], test::greek("Σχόλιο")});
        r[6] = Value();  // Tel2 stays blank
    }
    std::vector<test::ParadoxField> layout = {{"id", fields[1].type, 4},
                                              {"NAME", fields[0].type, 40},
                                              fields[2],
                                              fields[3],
                                              fields[4],
                                              fields[5],
                                              {"Sxolio", fields[6].type, 20}};
    test::writeParadoxTable(mStudiesDir / "OLDOwner_DRAVIN.DB", layout, reordered);

    const std::string expected = expectedDump(rows);
    const ConversionReport report = ParadoxConversion::forStudy(mStudiesDir, "OLD").run();
    mData.OpenStudy(mStudiesDir, "OLD");
    EXPECT_EQ(dumpStudy(), expected);
    const std::string text = report.text();
    EXPECT_NE(text.find("Sxolio"), std::string::npos) << text;
    EXPECT_NE(text.find("Tel2"), std::string::npos) << text;
}

TEST_F(ParadoxConversionTest, StudyOfTenThousandSpaces) {
    const StudyRows rows = test::sampleStudy(10000);
    test::writeParadoxStudy(mStudiesDir, "BIG", rows);
    ParadoxConversion::forStudy(mStudiesDir, "BIG").run();
    mData.OpenStudy(mStudiesDir, "BIG");
    EXPECT_EQ(mData.DravinT.recordCount(), 10000);
    // The last space written is found with all its values.
    const auto& last = rows[3].back();
    ASSERT_TRUE(mData.DravinT.findKey({last[0], last[1], last[2]}));
    for (size_t f = 0; f < last.size(); ++f) {
        EXPECT_EQ(mData.DravinT.rowValue(mData.DravinT.currentRow(), static_cast<int>(f)),
                  last[f].isText() && last[f].textBytes().empty() ? Value() : last[f])
            << mData.DravinT.def().fields[f].name;
    }
}

TEST_F(ParadoxConversionTest, MasterTablesConvertInTheDataDirectory) {
    const StudyRows rows = test::sampleStudy();
    for (const char* name : {"DrvFloor.DB", "DrvXoros.DB"}) {
        fs::remove(mDataDir / name);
    }
    test::writeParadoxTable(mDataDir / "DrvFloor.DB", test::paradoxFields(floorTableDef()),
                            rows[0]);
    test::writeParadoxTable(mDataDir / "DrvXoros.DB", test::paradoxFields(xorosTableDef()),
                            rows[1]);
    mData.FloorTo.close();
    mData.XorosTo.close();

    test::ScriptedPrompter prompter;
    SilentFeedback silent;
    ASSERT_TRUE(convertOlderMastersOnOpen(mDataDir, prompter, silent));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].find("παλαιότερο πρόγραμμα"), std::string::npos);
    EXPECT_TRUE(fs::exists(mDataDir / "Drv.paradox" / "DrvFloor.DB"));

    mData.OpenParameterTables(mDataDir);
    mData.OpenStudy(mStudiesDir, "NEW");
    EXPECT_EQ(mData.FloorT.recordCount(), 5);
    EXPECT_EQ(mData.XorosT.recordCount(), 4);
    EXPECT_FALSE(convertOlderMastersOnOpen(mDataDir, prompter, silent));
}

TEST_F(ParadoxConversionTest, OpeningAnnouncesTheConversionOnce) {
    test::writeParadoxStudy(mStudiesDir, "OLD", test::sampleStudy());
    test::ScriptedPrompter prompter;
    SilentFeedback silent;
    EXPECT_TRUE(convertOlderStudyOnOpen(mStudiesDir, "OLD", prompter, silent));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0],
              "Η μελέτη OLD φυλάχτηκε από το παλαιότερο πρόγραμμα και θα μετατραπεί στη μορφή "
              "αυτού του προγράμματος· τα αρχικά αρχεία της κρατιούνται στον κατάλογο "
              "OLD.paradox.");
    EXPECT_FALSE(convertOlderStudyOnOpen(mStudiesDir, "OLD", prompter, silent));
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(ParadoxConversionTest, AStudyOfOurOwnNeedsNoConversion) {
    mData.OpenStudy(mStudiesDir, "OURS");
    EXPECT_FALSE(ParadoxConversion::forStudy(mStudiesDir, "OURS").needed());
    EXPECT_FALSE(ParadoxConversion::forStudy(mStudiesDir, "NONE").needed());
}

}  // namespace
}  // namespace dravin
