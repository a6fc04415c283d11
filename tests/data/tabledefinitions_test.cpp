#include "data/tabledefinitions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravin {
namespace {

// One field as "Name:Type", with the size of Alpha fields and the display format.
std::string describe(const FieldDef& f) {
    std::string s = f.name + ":";
    switch (f.type) {
        case FieldType::Integer:
            s += "I";
            break;
        case FieldType::Float:
            s += "F";
            break;
        case FieldType::Alpha:
            s += "A" + std::to_string(f.size);
            break;
        case FieldType::Memo:
            s += "M";
            break;
        case FieldType::FormattedMemo:
            s += "FM";
            break;
    }
    if (!f.displayFormat.empty()) {
        s += "'" + f.displayFormat + "'";
    }
    return s;
}

std::vector<std::string> describe(const TableDef& d) {
    std::vector<std::string> out;
    for (const auto& f : d.fields) {
        out.push_back(describe(f));
    }
    return out;
}

std::vector<std::string> declaredNames(const TableDef& d) {
    std::vector<std::string> out;
    for (const auto& c : d.declaredColumns()) {
        out.push_back(c.name(d));
    }
    return out;
}

TEST(TableDefinitionsTest, FloorTable) {
    const TableDef d = floorTableDef();
    EXPECT_EQ(describe(d), (std::vector<std::string>{
                               "IDFloor:I", "Name1:A16", "Name2:A3", "Coef1:F'#0.00'",
                               "Coef2:F'#0.00'", "Coef3:F'#0.00'", "Coef4:F'#0.00'",
                               "Coef5:F'#0.00'", "Area:F", "AreaKoin:F", "Height:F'#0.00'"}));
    EXPECT_EQ(d.primaryKey, std::vector<std::string>{"IDFloor"});
    EXPECT_TRUE(d.lookups.empty());
}

TEST(TableDefinitionsTest, SpaceKindTable) {
    const TableDef d = xorosTableDef();
    EXPECT_EQ(describe(d),
              (std::vector<std::string>{"IDXoros:I", "Name:A30", "Coef1:F'#0.00'", "Coef2:F'#0.00'",
                                        "Coef3:F'#0.00'", "Coef4:F'#0.00'", "Coef5:F'#0.00'",
                                        "Coef6:F'#0.00'", "Coef7:F'#0.00'", "Coef8:F'#0.00'",
                                        "FloorID:I", "FloorName1:A16", "FloorName2:A3", "Number:I",
                                        "RoomNumbers:I", "Area:F", "Volume:F"}));
    EXPECT_EQ(d.primaryKey, std::vector<std::string>{"IDXoros"});
}

TEST(TableDefinitionsTest, OwnerTable) {
    const TableDef d = ownersTableDef();
    EXPECT_EQ(describe(d),
              (std::vector<std::string>{"Name:A40", "ID:I'00000'", "Address:A80", "AFM:A16",
                                        "DOY:A30", "Tel1:A20", "Tel2:A20"}));
    EXPECT_EQ(d.fields[1].alignment, Alignment::Center);
    EXPECT_EQ(d.primaryKey, (std::vector<std::string>{"Name", "ID"}));
}

TEST(TableDefinitionsTest, SpaceTableStoredFields) {
    const TableDef d = dravinTableDef();
    std::vector<std::string> expected = {
        "IDfloor:I",
        "IDXoros:I",
        "NumberXoros:I",
        "Name2Floor:A3",
        "NumberofRooms:I'##'",
        "AreaClear:F'###0.00'",
        "AreaMikto:F'###0.00'",
        "AreaKoin:F'###0.00'",
        "Height:F'#0.00'",
        "VolumeClear:F'####0.00'",
        "VolumeMikto:F'####0.00'",
        "VolumeKoin:F'####0.00'",
        "DravinOikopedo:F'###0.00  '",
        "PartofOikopedo:F'###0.00'",
        "PosostoDapanes1:F'####.00'",
        "PosostoDapanes2:F'####.00'",
        "PosostoDapanes3:F'####.00'",
        "IDowner:I",
    };
    for (const char* c : {"FCoef1", "FCoef2", "FCoef3", "FCoef4", "FCoef5", "XCoef1", "XCoef2",
                          "XCoef3", "XCoef4", "XCoef5", "XCoef6", "XCoef7", "XCoef8"}) {
        expected.push_back(std::string(c) + ":F'#0.00'");
    }
    EXPECT_EQ(describe(d), expected);
    ASSERT_EQ(d.fields.size(), 31u);
}

TEST(TableDefinitionsTest, SpaceTableKeyIsAddressedWithOtherCase) {
    const TableDef d = dravinTableDef();
    EXPECT_EQ(d.primaryKey, (std::vector<std::string>{"IDFloor", "IDXoros", "NumberXoros"}));
    // The index names IDFloor, the field is IDfloor.
    EXPECT_EQ(d.fieldIndex("IDFloor"), 0);
    EXPECT_EQ(d.fieldIndex("idfloor"), 0);
    EXPECT_FALSE(d.fieldIndex("Name1Floor"));
}

TEST(TableDefinitionsTest, SpaceTableLookupsSitBetweenStoredFields) {
    const TableDef d = dravinTableDef();
    const std::vector<std::string> names = declaredNames(d);
    ASSERT_EQ(names.size(), 34u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 7),
              (std::vector<std::string>{"IDfloor", "IDXoros", "NumberXoros", "Name1Floor",
                                        "Name2Floor", "NameXoros", "NumberofRooms"}));
    EXPECT_EQ(names[19], "IDowner");
    EXPECT_EQ(names[20], "NameOwner");
    EXPECT_EQ(names[21], "FCoef1");
    EXPECT_EQ(names.back(), "XCoef8");
}

struct LookupCase {
    const char* name;
    const char* keyField;
    const char* sourceTable;
    const char* sourceKey;
    const char* result;
    int size;
};

class SpaceLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SpaceLookupTest, ResolvesAgainstTheSourceTable) {
    const LookupCase& c = GetParam();
    const TableDef d = dravinTableDef();
    const LookupDef* l = d.lookup(c.name);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->keyField, c.keyField);
    EXPECT_EQ(l->lookupTable, c.sourceTable);
    EXPECT_EQ(l->lookupKeyField, c.sourceKey);
    EXPECT_EQ(l->resultField, c.result);
    EXPECT_EQ(l->size, c.size);
    EXPECT_TRUE(d.fieldIndex(l->keyField));
    const TableDef source = std::string(c.sourceTable) == "FloorT"   ? floorTableDef()
                            : std::string(c.sourceTable) == "XorosT" ? xorosTableDef()
                                                                     : ownersTableDef();
    const auto key = source.fieldIndex(l->lookupKeyField);
    const auto result = source.fieldIndex(l->resultField);
    ASSERT_TRUE(key && result);
    EXPECT_EQ(source.fields[*result].type, FieldType::Alpha);
    EXPECT_EQ(source.fields[*result].size, c.size);
}

INSTANTIATE_TEST_SUITE_P(
    TableDefinitions, SpaceLookupTest,
    ::testing::Values(LookupCase{"Name1Floor", "IDfloor", "FloorT", "IDFloor", "Name1", 16},
                      LookupCase{"NameXoros", "IDXoros", "XorosT", "IDXoros", "Name", 30},
                      LookupCase{"NameOwner", "IDowner", "OwnersT", "ID", "Name", 40}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TableDefinitionsTest, GeneralDataTable) {
    const TableDef d = genDataTableDef();
    std::vector<std::string> expected;
    for (const char* n : {"Name1", "Name2", "Name3", "Name4", "Name5", "Name7", "Name6", "Name8",
                          "Name9", "Name10"}) {
        expected.push_back(std::string(n) + ":A80");
    }
    for (const char* n : {"AreaOikopedo", "DravinTotal", "Dravinmelontika"}) {
        expected.push_back(std::string(n) + ":F'####0.000'");
    }
    expected.insert(expected.end(), {"Notes1:FM", "Notes2:M", "Notes3:M"});
    EXPECT_EQ(describe(d), expected);
    EXPECT_TRUE(d.primaryKey.empty());
}

TEST(TableDefinitionsTest, TextFieldsAlignLeftNumbersRight) {
    for (const TableDef& d :
         {floorTableDef(), xorosTableDef(), dravinTableDef(), genDataTableDef()}) {
        for (const auto& f : d.fields) {
            EXPECT_EQ(f.alignment, f.isText() ? Alignment::Left : Alignment::Right) << f.name;
        }
    }
}

}  // namespace
}  // namespace dravin
