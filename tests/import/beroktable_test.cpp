// Reading the sibling product's space table: the fields it must have, the records it
// yields, and files that are missing, foreign, cut short or hostile.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "berokfixture.h"
#include "data/cp1253.h"
#include "data/errors.h"
#include "import/beroktable.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;
using test::BerokRow;
using test::DbfField;

class BerokTableTest : public ::testing::Test {
protected:
    BerokTableTest() { mTable.setDirectory(mTemp.path()); }

    std::vector<BerokRecord> openAndRead() {
        mTable.open();
        return mTable.readRecords();
    }

    // The message of the error opening the table throws, or "" when it opens.
    template <typename E>
    std::string openError() {
        try {
            mTable.open();
        } catch (const E& e) {
            EXPECT_FALSE(mTable.isOpen());
            return e.what();
        }
        ADD_FAILURE() << "the table opened";
        return "";
    }

    test::TempDir mTemp;
    BerokTable mTable;
};

TEST_F(BerokTableTest, YieldsTheReadFieldsOfEachRecordInFileOrder) {
    test::writeBerokTable(mTemp.path(), {{"οροφ.-3", 13, 21.5},
                                         {"ισόγειο", std::nullopt, std::nullopt},
                                         {"Δώμα", 0, 4.25, true},
                                         {"υπόγ.- 1", -2, 0.0}});
    const auto records = openAndRead();

    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].number, 1);
    EXPECT_EQ(records[0].floor, cp1253::encode("οροφ.-3"));
    EXPECT_EQ(records[0].use, 13);
    EXPECT_EQ(records[0].area, 21.5);
    EXPECT_EQ(records[1].floor, cp1253::encode("ισόγειο"));
    EXPECT_EQ(records[1].use, std::nullopt);
    EXPECT_EQ(records[1].area, std::nullopt);
    // The deleted third record is hidden, as dBase hides it.
    EXPECT_EQ(records[2].number, 4);
    EXPECT_EQ(records[2].floor, cp1253::encode("υπόγ.- 1"));
    EXPECT_EQ(records[2].use, -2);
    EXPECT_EQ(records[2].area, 0.0);
}

TEST_F(BerokTableTest, ReadsTheFileAfreshEachTime) {
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    EXPECT_EQ(openAndRead().size(), 1u);
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}, {"οροφ.-2", 0, 20.0}});
    EXPECT_EQ(mTable.readRecords().size(), 2u);
}

TEST_F(BerokTableTest, ReadsOnlyTheFileNamedInUpperCase) {
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    // shapelib on its own would prefer a lower-case twin.
    const fs::path other = mTemp / "other";
    fs::create_directories(other);
    test::writeBerokTable(other, {{"οροφ.-1", 0, 1.0}, {"οροφ.-2", 0, 2.0}});
    fs::rename(other / "B97Areas.DBF", mTemp / "B97Areas.dbf");
    EXPECT_EQ(openAndRead().size(), 1u);
}

TEST_F(BerokTableTest, LeavesTheFileAsItWas) {
    const fs::path file = test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    const std::string bytes = test::readFile(file);
    const auto changed = fs::last_write_time(file);
    openAndRead();
    mTable.readRecords();
    EXPECT_EQ(test::readFile(file), bytes);
    EXPECT_EQ(fs::last_write_time(file), changed);
    EXPECT_EQ(std::distance(fs::directory_iterator(mTemp.path()), fs::directory_iterator()), 1);
}

TEST_F(BerokTableTest, TakesOtherWidthsOfNumberFieldsAndFieldNamesInAnyCase) {
    auto fields = test::berokFields();
    fields[6] = {"area", 'F', 20, 4};
    fields[14] = {"Un", 'N', 3, 0};
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 95, 12.3456}}, fields);
    const auto records = openAndRead();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].use, 95);
    EXPECT_EQ(records[0].area, 12.3456);
}

TEST_F(BerokTableTest, AnEmptyTableHasNoRecords) {
    test::writeBerokTable(mTemp.path(), {});
    EXPECT_TRUE(openAndRead().empty());
}

TEST_F(BerokTableTest, AMissingFileIsAnIoError) {
    EXPECT_NE(openError<IoError>().find("B97Areas.DBF"), std::string::npos);
    fs::create_directories(mTemp / "B97Areas.DBF");
    EXPECT_NE(openError<IoError>().find("B97Areas.DBF"), std::string::npos);
}

TEST_F(BerokTableTest, ReadingATableNotOpenIsRefused) {
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    EXPECT_THROW(mTable.readRecords(), EngineError);
}

TEST_F(BerokTableTest, ATableRemovedAfterOpeningIsAnIoError) {
    const fs::path file = test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    mTable.open();
    fs::remove(file);
    EXPECT_THROW(mTable.readRecords(), IoError);
}

// ---------------------------------------------------------------- the field list

struct FieldCase {
    const char* name;
    const char* field;                   // the field changed or left out
    std::optional<DbfField> declaredAs;  // empty: left out
};

std::ostream& operator<<(std::ostream& os, const FieldCase& c) {
    return os << c.name;
}

class BerokFieldTest : public BerokTableTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(BerokFieldTest, IsRefusedNamingTheField) {
    std::vector<DbfField> fields;
    for (const DbfField& f : test::berokFields()) {
        if (f.name != GetParam().field) {
            fields.push_back(f);
        } else if (GetParam().declaredAs) {
            fields.push_back(*GetParam().declaredAs);
        }
    }
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}}, fields);
    const std::string message = openError<ParseError>();
    const std::string field = std::string(" ") + GetParam().field;
    EXPECT_TRUE(message.find(field + " ") != std::string::npos ||
                message.find(field + ".") != std::string::npos)
        << message;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BerokFieldTest,
    ::testing::Values(FieldCase{"FloorMissing", "FLOOR", std::nullopt},
                      FieldCase{"UseCodeMissing", "UN", std::nullopt},
                      FieldCase{"UnreadFieldMissing", "EKSAE", std::nullopt},
                      FieldCase{"FloorAsNumber", "FLOOR", DbfField{"FLOOR", 'N', 10, 0}},
                      FieldCase{"FloorWider", "FLOOR", DbfField{"FLOOR", 'C', 12, 0}},
                      FieldCase{"NameNarrower", "NAME", DbfField{"NAME", 'C', 4, 0}},
                      FieldCase{"AreaAsText", "AREA", DbfField{"AREA", 'C', 12, 0}},
                      FieldCase{"AreaAsLogical", "AREA", DbfField{"AREA", 'L', 1, 0}},
                      FieldCase{"AreaAsDate", "AREA", DbfField{"AREA", 'D', 8, 0}},
                      FieldCase{"UseCodeWithDecimals", "UN", DbfField{"UN", 'N', 8, 2}},
                      FieldCase{"UseCodeAsFloat", "UN", DbfField{"UN", 'F', 6, 0}},
                      FieldCase{"CountAsText", "NGR", DbfField{"NGR", 'C', 6, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- values

struct ValueCase {
    const char* name;
    const char* areaText;
    std::optional<double> area;  // when it reads
};

std::ostream& operator<<(std::ostream& os, const ValueCase& c) {
    return os << c.name;
}

class BerokValueTest : public BerokTableTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(BerokValueTest, AreaText) {
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 1.0},
                                         BerokRow::withAreaText("οροφ.-2", GetParam().areaText)});
    mTable.open();
    if (GetParam().area) {
        EXPECT_EQ(mTable.readRecords()[1].area, *GetParam().area);
        return;
    }
    try {
        mTable.readRecords();
        ADD_FAILURE() << "read";
    } catch (const ParseError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("εγγραφή 2 "), std::string::npos) << message;
        EXPECT_NE(message.find(" AREA "), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, BerokValueTest,
                         ::testing::Values(ValueCase{"Padded", "   12.50", 12.5},
                                           ValueCase{"Negative", "-3", -3.0},
                                           ValueCase{"Letters", "12,5 m2", std::nullopt},
                                           ValueCase{"Infinite", "1e999", std::nullopt},
                                           ValueCase{"NotANumber", "nan", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BerokTableTest, AnOverflowedNumberIsBlank) {
    // dBase fills a number too wide for its field with asterisks.
    test::writeBerokTable(mTemp.path(), {BerokRow::withAreaText("οροφ.-1", "************")});
    EXPECT_EQ(openAndRead()[0].area, std::nullopt);
}

TEST_F(BerokTableTest, AUseCodeBeyondSixteenBitsIsAParseError) {
    auto fields = test::berokFields();
    fields[14] = {"UN", 'N', 9, 0};
    test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 40000, 1.0}}, fields);
    mTable.open();
    EXPECT_THROW(mTable.readRecords(), ParseError);
}

// ---------------------------------------------------------------- foreign and hostile files

// Writes a new file rather than truncating the old one, which the file system would
// flush to disk each time.
void replaceFile(const fs::path& file, const std::string& bytes) {
    fs::remove(file);
    test::writeFile(file, bytes);
}

void putBytes(std::string& file, size_t at, std::initializer_list<unsigned char> bytes) {
    for (unsigned char b : bytes) {
        file[at++] = static_cast<char>(b);
    }
}

TEST_F(BerokTableTest, AFileThatIsNoDbaseTableIsRefused) {
    const fs::path file = mTemp / "B97Areas.DBF";
    const std::vector<std::string> foreign = {
        "",
        "hello",
        std::string(100, 'x'),
        "SQLite format 3" + std::string(1, '\0') + std::string(200, '\1'),
        std::string("{\"floors\": []}") + std::string(100, ' '),
        std::string(1000, '\0'),
    };
    for (const std::string& bytes : foreign) {
        replaceFile(file, bytes);
        const std::string message = openError<ParseError>();
        EXPECT_NE(message.find("δεν είναι πίνακας dBase"), std::string::npos) << message;
    }
}

TEST_F(BerokTableTest, AFileCutShortAnywhereIsRefused) {
    const fs::path file = test::writeBerokTable(
        mTemp.path(), {{"οροφ.-1", 0, 10.0}, {"οροφ.-2", 11, 20.0}, {"ισόγειο", 12, 30.0}});
    const std::string whole = test::readFile(file);
    // The end-of-file mark after the last record is not needed.
    ASSERT_EQ(whole.back(), '\x1A');
    for (size_t length = 0; length + 1 < whole.size(); ++length) {
        replaceFile(file, whole.substr(0, length));
        EXPECT_THROW(mTable.open(), ParseError) << length;
    }
    replaceFile(file, whole.substr(0, whole.size() - 1));
    EXPECT_EQ(openAndRead().size(), 3u);
}

TEST_F(BerokTableTest, AHeaderAnnouncingMoreRecordsThanTheFileHoldsIsRefused) {
    const fs::path file = test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    std::string bytes = test::readFile(file);
    putBytes(bytes, 4, {0x40, 0x42, 0x0F, 0x00});  // a million records
    replaceFile(file, bytes);
    const std::string message = openError<ParseError>();
    EXPECT_NE(message.find("είναι κομμένο"), std::string::npos) << message;
    putBytes(bytes, 4, {0xFF, 0xFF, 0xFF, 0xFF});
    replaceFile(file, bytes);
    EXPECT_THROW(mTable.open(), ParseError);
}

TEST_F(BerokTableTest, AFileRewrittenBadlyAfterOpeningIsRefusedOnReading) {
    const fs::path file = test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}});
    mTable.open();
    const std::string whole = test::readFile(file);
    replaceFile(file, whole.substr(0, whole.size() - 20));
    EXPECT_THROW(mTable.readRecords(), ParseError);
}

// Every byte of the header and of the first record set to values that upset readers:
// the table either reads or is refused with an error, never anything worse.
TEST_F(BerokTableTest, DamagedBytesNeverGetPastTheChecksUnnoticed) {
    const fs::path file =
        test::writeBerokTable(mTemp.path(), {{"οροφ.-1", 0, 10.0}, {"υπόγ.-1", 77, 5.0}});
    const std::string whole = test::readFile(file);
    const size_t headerLength =
        static_cast<unsigned char>(whole[8]) | (static_cast<unsigned char>(whole[9]) << 8);
    const size_t recordLength =
        static_cast<unsigned char>(whole[10]) | (static_cast<unsigned char>(whole[11]) << 8);
    int refused = 0;
    for (size_t at = 0; at < headerLength + recordLength; ++at) {
        for (unsigned char value : {0x00, 0x0D, 0x2A, 0x7F, 0xFF}) {
            std::string bytes = whole;
            bytes[at] = static_cast<char>(value);
            replaceFile(file, bytes);
            try {
                mTable.open();
                for (const BerokRecord& r : mTable.readRecords()) {
                    EXPECT_LE(r.floor.size(), 10u);
                }
            } catch (const Error&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace dravin
