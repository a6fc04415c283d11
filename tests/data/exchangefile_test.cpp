#include "data/exchangefile.h"

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "data/errors.h"
#include "data/tdravindatat.h"
#include "support/studyfixture.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

using Json = nlohmann::ordered_json;

class ExchangeFileTest : public test::StudyFixture {
protected:
    void SetUp() override { mData.OpenStudy(mStudiesDir, "A"); }

    std::string exportJson() {
        std::ostringstream out;
        exportStudyJson(mData, out);
        return out.str();
    }
    void loadJson(const std::string& text) {
        std::istringstream in(text);
        loadStudyJson(mData, in);
    }
    std::string exportCsv() {
        std::ostringstream out;
        exportSpacesCsv(mData, out);
        return out.str();
    }
    void setSpace(const char* field, double value) {
        mData.DravinT.edit();
        mData.DravinT.field(field).setFloat(value);
        mData.DravinT.post();
    }
};

// ---------------------------------------------------------------- JSON

TEST_F(ExchangeFileTest, DemoStudyRoundTripsByteForByte) {
    const std::string demo = test::readFile(test::demoStudyFile());
    ASSERT_FALSE(demo.empty());
    loadJson(demo);
    EXPECT_EQ(exportJson(), demo);

    // Again through the disk and another study.
    mData.OpenStudy(mStudiesDir, "B");
    loadJson(demo);
    mData.OpenStudy(mStudiesDir, "A");
    EXPECT_EQ(exportJson(), demo);
}

TEST_F(ExchangeFileTest, AwkwardValuesRoundTrip) {
    addOwner("Ο \"Ήλιος\" \\ Α.Ε.\tκαι ΣΙΑ", -2147483647 - 1);
    addSpace(-100, 0, 0, 0.1 + 0.2, 0);
    setSpace("Height", 1e-300);
    setSpace("DravinOikopedo", -0.0);
    mData.GenDataT.edit();
    mData.GenDataT.field("Notes2").setString("γραμμή 1\r\nγραμμή 2\n€ ‰ «»");
    mData.GenDataT.post();
    const std::string first = exportJson();

    mData.OpenStudy(mStudiesDir, "B");
    loadJson(first);
    EXPECT_EQ(exportJson(), first);
    EXPECT_EQ(mData.DravinT.field("AreaClear").asFloat(), 0.1 + 0.2);
    EXPECT_TRUE(mData.DravinT.field("AreaMikto").isNull());
    EXPECT_EQ(mData.DravinT.field("IDowner").value(), Value::integer(0));
}

TEST_F(ExchangeFileTest, ExportWritesBlankAsNullAndFieldsInTableOrder) {
    addSpace(0, 10, 1, 50.0, 0);
    const Json doc = Json::parse(exportJson());
    EXPECT_EQ(doc["format"], "dravin-study");
    const Json& space = doc["spaces"][0];
    EXPECT_TRUE(space["AreaMikto"].is_null());
    EXPECT_EQ(space["IDowner"], 0);
    std::string names;
    for (const auto& [key, value] : doc["general"][0].items()) {
        names += key + " ";
    }
    EXPECT_EQ(names,
              "Name1 Name2 Name3 Name4 Name5 Name7 Name6 Name8 Name9 Name10 AreaOikopedo "
              "DravinTotal Dravinmelontika Notes1 Notes2 Notes3 ");
}

TEST_F(ExchangeFileTest, LoadReplacesEveryTableAndKeepsIt) {
    addOwner("Παλιός Ιδιοκτήτης", 77);
    addSpace(5, 10, 1, 20.0, 77);
    const std::string demo = test::readFile(test::demoStudyFile());
    mData.DataChanged = false;
    loadJson(demo);
    EXPECT_TRUE(mData.DataChanged);
    EXPECT_FALSE(mData.OwnersT.findKey({Value(), Value::integer(77)}));
    const Json doc = Json::parse(demo);
    EXPECT_EQ(mData.DravinT.recordCount(), static_cast<int>(doc["spaces"].size()));
    EXPECT_EQ(mData.FloorT.recordCount(), static_cast<int>(doc["floors"].size()));

    mData.OpenStudy(mStudiesDir, "B");
    mData.OpenStudy(mStudiesDir, "A");
    EXPECT_EQ(exportJson(), demo);
}

TEST_F(ExchangeFileTest, ReadOnlyTableRefusesTheLoadBeforeAnythingChanges) {
    addOwner("Αλεξίου Δημήτριος", 1);
    mData.XorosT.close();
    mData.XorosT.setReadOnly(true);
    mData.XorosT.open();
    const std::string before = dumpStudy();
    EXPECT_THROW(loadJson(test::readFile(test::demoStudyFile())), EngineError);
    EXPECT_EQ(dumpStudy(), before);
}

// A faulty document is refused as a whole: the study does not change.
struct FaultCase {
    const char* name;
    std::function<std::string(Json doc, const std::string& text)> make;
};

std::ostream& operator<<(std::ostream& os, const FaultCase& c) {
    return os << c.name;
}

std::string dumped(const Json& doc) {
    return doc.dump(2);
}

std::string replaceFirst(std::string text, const std::string& what, const std::string& with) {
    const auto at = text.find(what);
    return at == std::string::npos ? "(not found)" : text.replace(at, what.size(), with);
}

class FaultyDocumentTest : public ExchangeFileTest,
                           public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultyDocumentTest, IsRefusedAndChangesNothing) {
    addOwner("Αλεξίου Δημήτριος", 1);
    addOwner("Βλάχου Ελένη", 2);
    addSpace(0, 10, 1, 85.5, 1);
    addSpace(1, 10, 1, 92.0, 2);
    const std::string text = exportJson();
    const std::string faulty = GetParam().make(Json::parse(text), text);
    ASSERT_NE(faulty, text);
    // The valid base document is accepted.
    ASSERT_NO_THROW(loadJson(text));
    const std::string before = dumpStudy();
    mData.DataChanged = false;

    EXPECT_THROW(loadJson(faulty), ParseError);

    EXPECT_EQ(dumpStudy(), before);
    EXPECT_FALSE(mData.DataChanged);
}

const FaultCase kFaults[] = {
    {"Truncated", [](Json, const std::string& t) { return t.substr(0, t.size() / 2); }},
    {"TrailingText", [](Json, const std::string& t) { return t + "x"; }},
    {"NotAnObject", [](Json, const std::string&) { return std::string("[]"); }},
    {"NumberOverflow",
     [](Json, const std::string& t) {
         return replaceFirst(t, "\"Coef1\": 1.0", "\"Coef1\": 1e400");
     }},
    {"UnknownField",
     [](Json d, const std::string&) {
         d["spaces"][0]["Colour"] = "κόκκινο";
         return dumped(d);
     }},
    {"UnknownPart",
     [](Json d, const std::string&) {
         d["rooms"] = Json::array();
         return dumped(d);
     }},
    {"MissingPart",
     [](Json d, const std::string&) {
         d.erase("owners");
         return dumped(d);
     }},
    {"WrongFormat",
     [](Json d, const std::string&) {
         d["format"] = "spreadsheet";
         return dumped(d);
     }},
    {"WrongVersion",
     [](Json d, const std::string&) {
         d["version"] = 2;
         return dumped(d);
     }},
    {"PartNotAList",
     [](Json d, const std::string&) {
         d["floors"] = Json::object();
         return dumped(d);
     }},
    {"RecordNotAnObject",
     [](Json d, const std::string&) {
         d["owners"][1] = 3;
         return dumped(d);
     }},
    {"TextTooLongGreek",
     [](Json d, const std::string&) {
         d["floors"][0]["Name2"] = "ΥΠΟΓ";  // Alpha 3
         return dumped(d);
     }},
    {"TextTooLong",
     [](Json d, const std::string&) {
         d["owners"][0]["AFM"] = "12345678901234567";  // Alpha 16
         return dumped(d);
     }},
    {"OutsideCodePage",
     [](Json d, const std::string&) {
         d["owners"][0]["Name"] = "Łukasz Αλεξίου";
         return dumped(d);
     }},
    {"DuplicateSpaceKey",
     [](Json d, const std::string&) {
         d["spaces"][1] = d["spaces"][0];
         d["spaces"][1]["AreaClear"] = 1.0;
         return dumped(d);
     }},
    {"DuplicateOwnerKey",
     [](Json d, const std::string&) {
         d["owners"][1]["Name"] = d["owners"][0]["Name"];
         d["owners"][1]["ID"] = d["owners"][0]["ID"];
         return dumped(d);
     }},
    {"DuplicateFieldName",
     [](Json, const std::string& t) {
         return replaceFirst(t, "\"IDFloor\": ", "\"IDFloor\": 5, \"IDFloor\": ");
     }},
    {"DuplicatePart",
     [](Json, const std::string& t) {
         return replaceFirst(t, "\"floors\": ", "\"owners\": [], \"floors\": ");
     }},
    {"TextForNumber",
     [](Json d, const std::string&) {
         d["floors"][0]["IDFloor"] = "1";
         return dumped(d);
     }},
    {"NumberForText",
     [](Json d, const std::string&) {
         d["owners"][0]["Name"] = 5;
         return dumped(d);
     }},
    {"BooleanForNumber",
     [](Json d, const std::string&) {
         d["kinds"][0]["Coef1"] = true;
         return dumped(d);
     }},
    {"FractionForWholeNumber",
     [](Json d, const std::string&) {
         d["spaces"][0]["NumberXoros"] = 1.5;
         return dumped(d);
     }},
    {"WholeNumberTooLarge",
     [](Json d, const std::string&) {
         d["spaces"][0]["IDowner"] = 2147483648LL;
         return dumped(d);
     }},
    {"WholeNumberBeyond64Bits",
     [](Json d, const std::string&) {
         d["spaces"][0]["IDowner"] = 18446744073709551615ULL;
         return dumped(d);
     }},
    {"TwoGeneralRecords",
     [](Json d, const std::string&) {
         d["general"].push_back(d["general"][0]);
         return dumped(d);
     }},
    {"NoGeneralRecord",
     [](Json d, const std::string&) {
         d["general"] = Json::array();
         return dumped(d);
     }},
};

INSTANTIATE_TEST_SUITE_P(Faults, FaultyDocumentTest, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- CSV

TEST_F(ExchangeFileTest, CsvShowsTheSpacesAsTheGridsDo) {
    addOwner("Οικ. \"Ήλιος\", Α.Ε.", 1);
    addSpace(0, 10, 1, 85.5, 1);
    mData.DravinT.edit();
    mData.DravinT.field("NumberofRooms").setInteger(3);
    mData.DravinT.field("Height").setFloat(3.0);
    mData.DravinT.field("VolumeClear").setFloat(256.5);
    mData.DravinT.field("DravinOikopedo").setFloat(123.456);
    mData.DravinT.field("PosostoDapanes1").setFloat(0.5);
    mData.DravinT.field("PosostoDapanes2").setFloat(0.0);
    mData.DravinT.field("FCoef1").setFloat(1.1);
    mData.DravinT.post();
    addSpace(1, 20, 2, 6.0, 99);  // no such owner
    mData.DravinT.edit();
    mData.DravinT.field("NumberofRooms").setInteger(0);
    mData.DravinT.field("Name2Floor").setString("Α");
    mData.DravinT.post();

    EXPECT_EQ(exportCsv(),
              "IDfloor,IDXoros,NumberXoros,Name1Floor,Name2Floor,NameXoros,NumberofRooms,"
              "AreaClear,AreaMikto,AreaKoin,Height,VolumeClear,VolumeMikto,VolumeKoin,"
              "DravinOikopedo,PartofOikopedo,PosostoDapanes1,PosostoDapanes2,PosostoDapanes3,"
              "IDowner,NameOwner,FCoef1,FCoef2,FCoef3,FCoef4,FCoef5,XCoef1,XCoef2,XCoef3,"
              "XCoef4,XCoef5,XCoef6,XCoef7,XCoef8\r\n"
              "0,10,1,Ισόγειο,,Διαμέρισμα,3,85.50,,,3.00,256.50,,,123.46  ,,.50,.00,,1,"
              "\"Οικ. \"\"Ήλιος\"\", Α.Ε.\",1.10,,,,,,,,,,,,\r\n"
              "1,20,2,Α' Όροφος,Α,Αποθήκη,,6.00,,,,,,,,,,,,99,,,,,,,,,,,,,,\r\n");
}

TEST_F(ExchangeFileTest, CsvOfAnEmptySpaceTableIsTheHeaderAlone) {
    const std::string csv = exportCsv();
    EXPECT_EQ(csv.find("\r\n"), csv.size() - 2);
    EXPECT_EQ(csv.rfind("IDfloor,", 0), 0u);
}

}  // namespace
}  // namespace dravin
