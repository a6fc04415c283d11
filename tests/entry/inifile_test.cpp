#include "entry/inifile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "data/cp1253.h"
#include "support/unprivileged.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        mDir = fs::temp_directory_path() / ("dravin-ini-" + std::to_string(std::random_device{}()));
        fs::create_directories(mDir);
        mFile = mDir / "DRAVIN.INI";
    }

    void TearDown() override {
        std::error_code ec;
        fs::permissions(mDir, fs::perms::owner_all, ec);
        if (fs::exists(mFile, ec) && !fs::is_directory(mFile, ec)) {
            fs::permissions(mFile, fs::perms::owner_all, ec);
        }
        fs::remove_all(mDir, ec);
    }

    std::vector<std::string> dirEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(mDir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path mDir;
    fs::path mFile;
};

// ---- integers

struct IntegerCase {
    const char* name;
    const char* content;  // nullptr: no file
    int32_t def;
    int32_t expected;
};

class IntegerReadTest : public IniFileTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IntegerReadTest, ReadsLineSpacingKey) {
    const auto& c = GetParam();
    if (c.content != nullptr) {
        writeBytes(mFile, c.content);
    }
    EXPECT_EQ(IniReadInteger(mFile, "LINESPACE", "MM", c.def), c.expected);
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerReadTest,
    ::testing::Values(
        IntegerCase{"AbsentFile", nullptr, 8000, 8000},
        IntegerCase{"AbsentSection", "[OTHER]\r\nMM=1\r\n", 8000, 8000},
        IntegerCase{"AbsentKey", "[LINESPACE]\r\nXX=1\r\n", 8000, 8000},
        IntegerCase{"KeyOfAnotherSection", "[A]\r\nMM=1\r\n[LINESPACE]\r\nX=2\r\n", 8000, 8000},
        IntegerCase{"KeyBeforeAnySection", "MM=1\r\n[LINESPACE]\r\n", 8000, 8000},
        IntegerCase{"CommentIsNoKey", "[LINESPACE]\r\n;MM=1\r\n", 8000, 8000},
        IntegerCase{"Decimal", "[LINESPACE]\r\nMM=7333\r\n", 0, 7333},
        IntegerCase{"Negative", "[LINESPACE]\r\nMM=-17\r\n", 0, -17},
        IntegerCase{"PlusSign", "[LINESPACE]\r\nMM=+5\r\n", 0, 5},
        IntegerCase{"NamesIgnoreCase", "[LineSpace]\r\nmm=42\r\n", 0, 42},
        IntegerCase{"BlanksAroundNamesAndValue", " [ LINESPACE ] \r\n\t MM \t=  42 \r\n", 0, 42},
        IntegerCase{"LfLineEnds", "[LINESPACE]\nMM=42\n", 0, 42},
        IntegerCase{"NoFinalLineEnd", "[LINESPACE]\r\nMM=42", 0, 42},
        IntegerCase{"FirstSectionCounts", "[LINESPACE]\r\nMM=1\r\n[LINESPACE]\r\nMM=2\r\n", 0, 1},
        IntegerCase{"FirstKeyCounts", "[LINESPACE]\r\nMM=1\r\nMM=2\r\n", 0, 1},
        IntegerCase{"Hex", "[LINESPACE]\r\nMM=0x1F40\r\n", 0, 8000},
        IntegerCase{"HexCapitalPrefix", "[LINESPACE]\r\nMM=0X1f40\r\n", 0, 8000},
        IntegerCase{"HexIsBitPattern", "[LINESPACE]\r\nMM=0xFFFFFFFF\r\n", 0, -1},
        IntegerCase{"Letters", "[LINESPACE]\r\nMM=MM\r\n", 8000, 8000},
        IntegerCase{"TrailingLetters", "[LINESPACE]\r\nMM=12abc\r\n", 8000, 8000},
        IntegerCase{"EmptyValue", "[LINESPACE]\r\nMM=\r\n", 8000, 8000},
        IntegerCase{"BareHexPrefix", "[LINESPACE]\r\nMM=0x\r\n", 8000, 8000},
        IntegerCase{"SignedHex", "[LINESPACE]\r\nMM=-0x10\r\n", 8000, 8000},
        IntegerCase{"LowestValue", "[LINESPACE]\r\nMM=-2147483648\r\n", 0, kMin},
        IntegerCase{"OverflowGivesZero", "[LINESPACE]\r\nMM=2147483648\r\n", 8000, 0},
        IntegerCase{"LongOverflowGivesZero", "[LINESPACE]\r\nMM=99999999999999999999\r\n", 8000, 0},
        IntegerCase{"HexOverflowGivesZero", "[LINESPACE]\r\nMM=0x100000000\r\n", 8000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Booleans

struct BoolCase {
    const char* name;
    const char* content;  // nullptr: no file
    bool def;
    bool expected;
};

class BoolReadTest : public IniFileTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(BoolReadTest, ReadsAutoKey) {
    const auto& c = GetParam();
    if (c.content != nullptr) {
        writeBytes(mFile, c.content);
    }
    EXPECT_EQ(IniReadBool(mFile, "COMPUTE", "AUTO", c.def), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoolReadTest,
    ::testing::Values(BoolCase{"AbsentFileTrue", nullptr, true, true},
                      BoolCase{"AbsentFileFalse", nullptr, false, false},
                      BoolCase{"Zero", "[COMPUTE]\r\nAUTO=0\r\n", true, false},
                      BoolCase{"Two", "[COMPUTE]\r\nAUTO=2\r\n", false, true},
                      BoolCase{"MinusOne", "[COMPUTE]\r\nAUTO=-1\r\n", false, true},
                      BoolCase{"WordKeepsDefaultTrue", "[COMPUTE]\r\nAUTO=yes\r\n", true, true},
                      BoolCase{"WordKeepsDefaultFalse", "[COMPUTE]\r\nAUTO=yes\r\n", false, false},
                      BoolCase{"OverflowIsFalse", "[COMPUTE]\r\nAUTO=9999999999\r\n", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, AutoHoldingTwoIsWrittenBackAsOne) {
    writeBytes(mFile, "[COMPUTE]\r\nAUTO=2\r\n");
    const bool autoCompute = IniReadBool(mFile, "COMPUTE", "AUTO", true);
    IniWriteBool(mFile, "COMPUTE", "AUTO", autoCompute);
    EXPECT_EQ(readBytes(mFile), "[COMPUTE]\r\nAUTO=1\r\n");
}

// ---- reals

struct FloatWriteCase {
    const char* name;
    float value;
    const char* stored;  // nullptr: the write is dropped
    float readBack;
};

class FloatWriteTest : public IniFileTest, public ::testing::WithParamInterface<FloatWriteCase> {};

TEST_P(FloatWriteTest, StoresThousandths) {
    const auto& c = GetParam();
    IniWriteFloat(mFile, "LINESPACE", "MM", c.value);
    if (c.stored == nullptr) {
        EXPECT_FALSE(fs::exists(mFile));
    } else {
        EXPECT_EQ(readBytes(mFile), "[LINESPACE]\r\nMM=" + std::string(c.stored) + "\r\n");
    }
    EXPECT_EQ(IniReadFloat(mFile, "LINESPACE", "MM", 8.0f), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FloatWriteTest,
    ::testing::Values(FloatWriteCase{"Whole", 8.0f, "8000", 8.0f},
                      FloatWriteCase{"Half", 2.5f, "2500", 2.5f},
                      FloatWriteCase{"TieGoesDownToEven", 0.0625f, "62", 0.062f},
                      FloatWriteCase{"TieGoesUpToEven", 0.1875f, "188", 0.188f},
                      FloatWriteCase{"NegativeTie", -0.0625f, "-62", -0.062f},
                      FloatWriteCase{"Thousandths", 7.333f, "7333", 7.333f},
                      FloatWriteCase{"BelowHalfThousandth", 0.0004f, "0", 0.0f},
                      FloatWriteCase{"TooLargeIsDropped", 3.0e6f, nullptr, 8.0f},
                      FloatWriteCase{"NotANumberIsDropped", std::nanf(""), nullptr, 8.0f}),
    [](const auto& info) { return std::string(info.param.name); });

struct FloatReadCase {
    const char* name;
    const char* value;  // nullptr: no file
    float def;
    float expected;
};

class FloatReadTest : public IniFileTest, public ::testing::WithParamInterface<FloatReadCase> {};

TEST_P(FloatReadTest, ReadsThousandths) {
    const auto& c = GetParam();
    if (c.value != nullptr) {
        writeBytes(mFile, "[LINESPACE]\r\nMM=" + std::string(c.value) + "\r\n");
    }
    EXPECT_EQ(IniReadFloat(mFile, "LINESPACE", "MM", c.def), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FloatReadTest,
    ::testing::Values(FloatReadCase{"AbsentFile", nullptr, 8.0f, 8.0f},
                      FloatReadCase{"DefaultIsRoundedToThousandths", nullptr, 0.0625f, 0.062f},
                      FloatReadCase{"DefaultTooLargeGivesZero", nullptr, 3.0e6f, 0.0f},
                      FloatReadCase{"Letters", "MM", 8.0f, 8.0f},
                      FloatReadCase{"Hex", "0x1F40", 1.0f, 8.0f},
                      FloatReadCase{"NearestFloat", "7333", 8.0f, 7.333f},
                      FloatReadCase{"Overflow", "99999999999", 8.0f, 0.0f}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- texts

TEST_F(IniFileTest, GreekTextIsStoredInCodePage1253) {
    IniWriteString(mFile, "FILE", "NAME", "Μελέτη Άλφα");
    EXPECT_EQ(readBytes(mFile), "[FILE]\r\nNAME=\xCC\xE5\xEB\xDD\xF4\xE7 \xA2\xEB\xF6\xE1\r\n");
    EXPECT_EQ(IniReadString(mFile, "FILE", "NAME", ""), "Μελέτη Άλφα");
}

TEST_F(IniFileTest, GreekNamesIgnoreCase) {
    writeBytes(mFile, cp1253::encode("[ΜΕΛΕΤΗ]\r\nΌΝΟΜΑ=α\r\n[ΡΥΘΜΙΣΕΙΣ]\r\nΤΕΛΟΣ=β\r\n"));
    EXPECT_EQ(IniReadString(mFile, "Μελετη", "όνομα", "x"), "α");
    EXPECT_EQ(IniReadString(mFile, "Ρυθμισεις", "τελος", "x"), "β");  // final sigma too
}

struct TextCase {
    const char* name;
    std::string line;  // the whole "NAME=..." line
    std::string def;
    std::string expected;
};

class TextReadTest : public IniFileTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextReadTest, ReadsNameKey) {
    const auto& c = GetParam();
    writeBytes(mFile, "[FILE]\r\n" + c.line + "\r\n");
    EXPECT_EQ(IniReadString(mFile, "FILE", "NAME", c.def), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextReadTest,
    ::testing::Values(
        TextCase{"AbsentKey", "OTHER=a", "SCRATCH", "SCRATCH"},
        TextCase{"EmptyValueIsNotAbsent", "NAME=", "SCRATCH", ""},
        TextCase{"BlanksAreTrimmed", "NAME = my study \t", "", "my study"},
        TextCase{"EqualsSignInValue", "NAME=a=b", "", "a=b"},
        TextCase{"DoubleQuotesAreDropped", "NAME=\"/home/user/MELETES\"", "", "/home/user/MELETES"},
        TextCase{"SingleQuotesAreDropped", "NAME = 'my study' ", "", "my study"},
        TextCase{"QuotesKeepBlanks", "NAME=\" my study \"", "", " my study "},
        TextCase{"OnlyOnePairIsDropped", "NAME=\"\"a\"\"", "", "\"a\""},
        TextCase{"UnmatchedQuotesStay", "NAME=\"a'", "", "\"a'"},
        TextCase{"QuoteOnlyAtTheStartStays", "NAME=\"a", "", "\"a"},
        TextCase{"LoneQuoteStays", "NAME=\"", "", "\""},
        TextCase{"EmptyQuotesAreEmpty", "NAME=\"\"", "x", ""},
        TextCase{"UndefinedByteBecomesReplacement", "NAME=a\xAA", "", "a\xEF\xBF\xBD"},
        TextCase{"ValueCappedAt2047", "NAME=" + std::string(3000, 'a'), "", std::string(2047, 'a')},
        TextCase{"GreekValueCappedAt2047Characters", "NAME=" + std::string(3000, '\xE1'), "",
                 [] {
                     std::string s;
                     for (int i = 0; i < 2047; ++i) {
                         s += "α";
                     }
                     return s;
                 }()},
        TextCase{"DefaultCappedAt2047", "OTHER=a", std::string(3000, 'd'), std::string(2047, 'd')}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- writes

struct WriteCase {
    const char* name;
    const char* before;  // nullptr: no file
    std::string section;
    std::string key;
    std::string value;
    const char* after;  // nullptr: still no file
};

class WriteTest : public IniFileTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteTest, ChangesOnlyTheKeyLine) {
    const auto& c = GetParam();
    if (c.before != nullptr) {
        writeBytes(mFile, c.before);
    }
    IniWriteString(mFile, c.section, c.key, c.value);
    if (c.after == nullptr) {
        EXPECT_FALSE(fs::exists(mFile));
    } else {
        EXPECT_EQ(readBytes(mFile), c.after);
    }
    EXPECT_EQ(dirEntries().size(), c.after == nullptr ? 0u : 1u) << "a temporary file was left";
}

constexpr const char* kTwoSections =
    "; settings\r\n[DIR]\r\nNAME=old\r\nOTHER=1\r\n\r\n[FILE]\r\nNAME=S\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteTest,
    ::testing::Values(
        WriteCase{"CreatesFileAndSection", nullptr, "DIR", "NAME", "/a", "[DIR]\r\nNAME=/a\r\n"},
        WriteCase{"FillsEmptyFile", "", "DIR", "NAME", "/a", "[DIR]\r\nNAME=/a\r\n"},
        WriteCase{"ReplacesInPlace", kTwoSections, "DIR", "NAME", "new",
                  "; settings\r\n[DIR]\r\nNAME=new\r\nOTHER=1\r\n\r\n[FILE]\r\nNAME=S\r\n"},
        WriteCase{"MatchesNamesIgnoringCase", "[dir]\r\n  name = old \r\nX=1\r\n", "DIR", "NAME",
                  "new", "[dir]\r\nname=new\r\nX=1\r\n"},
        WriteCase{
            "AddsKeyAfterSectionsLastLine", kTwoSections, "DIR", "ADDED", "2",
            "; settings\r\n[DIR]\r\nNAME=old\r\nOTHER=1\r\nADDED=2\r\n\r\n[FILE]\r\nNAME=S\r\n"},
        WriteCase{"AddsKeyToEmptySection", "[DIR]\r\n[FILE]\r\n", "DIR", "NAME", "x",
                  "[DIR]\r\nNAME=x\r\n[FILE]\r\n"},
        WriteCase{"AppendsSectionAfterBlankLine", "[DIR]\r\nA=1\r\n", "FILE", "NAME", "x",
                  "[DIR]\r\nA=1\r\n\r\n[FILE]\r\nNAME=x\r\n"},
        WriteCase{"ReusesTrailingBlankLine", "[DIR]\r\nA=1\r\n\r\n", "FILE", "NAME", "x",
                  "[DIR]\r\nA=1\r\n\r\n[FILE]\r\nNAME=x\r\n"},
        WriteCase{"KeepsLfLineEnds", "[DIR]\nA=1\n", "DIR", "B", "2", "[DIR]\nA=1\nB=2\n"},
        WriteCase{"EndsUnterminatedLastLine", "[DIR]\r\nA=1", "DIR", "B", "2",
                  "[DIR]\r\nA=1\r\nB=2\r\n"},
        WriteCase{"KeepsOtherBytes", "[DIR]\r\nX=\x81\xFF\r\nNAME=a\r\n", "DIR", "NAME", "b",
                  "[DIR]\r\nX=\x81\xFF\r\nNAME=b\r\n"},
        WriteCase{"DropsTextOutsideCodePage", "[DIR]\r\nNAME=a\r\n", "DIR", "NAME", "日本",
                  "[DIR]\r\nNAME=a\r\n"},
        WriteCase{"DropsTextOutsideCodePageOnNewFile", nullptr, "DIR", "NAME", "日本", nullptr},
        WriteCase{"DropsLineBreakInValue", "[DIR]\r\nNAME=a\r\n", "DIR", "NAME", "b\r\n[X]",
                  "[DIR]\r\nNAME=a\r\n"},
        WriteCase{"DropsEqualsSignInKey", "[DIR]\r\nNAME=a\r\n", "DIR", "NA=ME", "b",
                  "[DIR]\r\nNAME=a\r\n"},
        WriteCase{"DropsBracketInSection", "[DIR]\r\nNAME=a\r\n", "D]IR", "NAME", "b",
                  "[DIR]\r\nNAME=a\r\n"},
        WriteCase{"DropsBlankAroundKey", "[DIR]\r\nNAME=a\r\n", "DIR", " NAME", "b",
                  "[DIR]\r\nNAME=a\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A value that a read would strip of its blanks or quotes goes inside quotes, so that it
// reads back as it was written.
TEST_F(IniFileTest, ValuesReadBackAsWritten) {
    const struct {
        std::string value;
        std::string stored;
    } cases[] = {
        {"/home/user/MELETES", "/home/user/MELETES"},
        {" leading", "\" leading\""},
        {"trailing\t", "\"trailing\t\""},
        {"\"quoted\"", "\"\"quoted\"\""},
        {"'quoted'", "\"'quoted'\""},
        {"\"", "\""},
        {"a\"b'", "a\"b'"},
        {"", ""},
    };
    for (const auto& c : cases) {
        IniWriteString(mFile, "DIR", "NAME", c.value);
        EXPECT_EQ(readBytes(mFile), "[DIR]\r\nNAME=" + c.stored + "\r\n") << c.value;
        EXPECT_EQ(IniReadString(mFile, "DIR", "NAME", "?"), c.value);
    }
}

struct ValueProblemCase {
    const char* name;
    std::string value;
    std::optional<std::string> problem;
};

class ValueProblemTest : public IniFileTest,
                         public ::testing::WithParamInterface<ValueProblemCase> {};

// What the file cannot keep is named, and a write of it changes nothing.
TEST_P(ValueProblemTest, NamesWhatCannotBeKept) {
    const ValueProblemCase& c = GetParam();
    EXPECT_EQ(iniValueProblem(c.value), c.problem);
    writeBytes(mFile, "[DIR]\r\nNAME=old\r\n");
    IniWriteString(mFile, "DIR", "NAME", c.value);
    EXPECT_EQ(IniReadString(mFile, "DIR", "NAME", "?"), c.problem ? "old" : c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueProblemTest,
    ::testing::Values(ValueProblemCase{"Greek", "/home/χρήστης/ΜΕΛΕΤΕΣ", std::nullopt},
                      ValueProblemCase{"LatinAccent", "/home/user/café", "τον χαρακτήρα «é»"},
                      ValueProblemCase{"FirstOfSeveral", "Ωραία 日本", "τον χαρακτήρα «日»"},
                      ValueProblemCase{"LineBreak", "a\nb", "αλλαγή γραμμής"},
                      ValueProblemCase{"CarriageReturn", "a\rb", "αλλαγή γραμμής"},
                      ValueProblemCase{"Longest", std::string(2045, 'a'), std::nullopt},
                      ValueProblemCase{"TooLong", std::string(2046, 'a'),
                                       "περισσότερους από 2045 χαρακτήρες"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, FirstRunWritesAllFiveSections) {
    const auto studies = IniReadString(mFile, "DIR", "NAME", (mDir / "MELETES").string());
    const auto font = IniReadString(mFile, "FONT", "NAME", "Courier New");
    const auto study = IniReadString(mFile, "FILE", "NAME", "SCRATCH");
    const float lineSpacing = IniReadFloat(mFile, "LINESPACE", "MM", 8.0f);
    const bool autoCompute = IniReadBool(mFile, "COMPUTE", "AUTO", true);
    EXPECT_FALSE(fs::exists(mFile));

    IniWriteString(mFile, "DIR", "NAME", studies);
    IniWriteString(mFile, "FONT", "NAME", font);
    IniWriteString(mFile, "FILE", "NAME", study);
    IniWriteFloat(mFile, "LINESPACE", "MM", lineSpacing);
    IniWriteBool(mFile, "COMPUTE", "AUTO", autoCompute);

    EXPECT_EQ(readBytes(mFile), "[DIR]\r\nNAME=" + (mDir / "MELETES").string() +
                                    "\r\n\r\n[FONT]\r\nNAME=Courier New\r\n\r\n"
                                    "[FILE]\r\nNAME=SCRATCH\r\n\r\n[LINESPACE]\r\nMM=8000\r\n\r\n"
                                    "[COMPUTE]\r\nAUTO=1\r\n");
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
    IniWriteInteger(mFile, "A", "B", 1);
    writeBytes(mFile, "[A]\r\nB=2\r\n");
    EXPECT_EQ(IniReadInteger(mFile, "A", "B", 0), 2);
}

TEST_F(IniFileTest, WritesThroughSymbolicLink) {
    const auto real = mDir / "real.ini";
    writeBytes(real, "[A]\r\nB=1\r\n");
    fs::create_symlink(real, mFile);
    IniWriteInteger(mFile, "A", "B", 2);
    EXPECT_TRUE(fs::is_symlink(mFile));
    EXPECT_EQ(readBytes(real), "[A]\r\nB=2\r\n");
}

// ---- failures

TEST_F(IniFileTest, UnreadableFileGivesFallbacksNotDefaults) {
    fs::create_directory(mFile);
    EXPECT_EQ(IniReadInteger(mFile, "LINESPACE", "MM", 8000), 0);
    EXPECT_FALSE(IniReadBool(mFile, "COMPUTE", "AUTO", true));
    EXPECT_EQ(IniReadFloat(mFile, "LINESPACE", "MM", 8.0f), 0.0f);
    EXPECT_EQ(IniReadString(mFile, "FILE", "NAME", "SCRATCH"), "");
}

TEST_F(IniFileTest, FileWithoutReadPermissionGivesFallback) {
    // Permissions deny the super-user nothing.
    test::asUnprivilegedUser(
        [&] {
            writeBytes(mFile, "[A]\r\nB=1\r\n");
            fs::permissions(mFile, fs::perms::owner_write);
            EXPECT_EQ(IniReadInteger(mFile, "A", "B", 5), 0);
            IniWriteInteger(mFile, "A", "C", 2);  // must not replace lines it could not read
            fs::permissions(mFile, fs::perms::owner_all);
            EXPECT_EQ(readBytes(mFile), "[A]\r\nB=1\r\n");
        },
        {mDir});
}

TEST_F(IniFileTest, WriteOntoDirectoryIsDropped) {
    fs::create_directory(mFile);
    IniWriteInteger(mFile, "A", "B", 1);
    EXPECT_TRUE(fs::is_directory(mFile));
    EXPECT_EQ(dirEntries().size(), 1u);
}

TEST_F(IniFileTest, WriteIntoMissingDirectoryIsDropped) {
    const auto missing = mDir / "missing";
    IniWriteInteger(missing / "DRAVIN.INI", "A", "B", 1);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(dirEntries().empty());
}

TEST_F(IniFileTest, WriteToReadOnlyFileIsDropped) {
    // Permissions deny the super-user nothing.
    test::asUnprivilegedUser(
        [&] {
            writeBytes(mFile, "[A]\r\nB=1\r\n");
            fs::permissions(mFile, fs::perms::owner_read);
            IniWriteInteger(mFile, "A", "B", 2);
            EXPECT_EQ(readBytes(mFile), "[A]\r\nB=1\r\n");
        },
        {mDir});
}

TEST_F(IniFileTest, WriteIntoReadOnlyDirectoryIsDropped) {
    // Permissions deny the super-user nothing.
    test::asUnprivilegedUser(
        [&] {
            fs::permissions(mDir, fs::perms::owner_read | fs::perms::owner_exec);
            IniWriteInteger(mFile, "A", "B", 2);
            fs::permissions(mDir, fs::perms::owner_all);
            EXPECT_TRUE(dirEntries().empty());
        },
        {mDir});
}

// ---- what stands at the settings file's path

// Everything under the directory, links unfollowed: names, kinds, link targets and bytes.
std::vector<std::string> treeOf(const fs::path& dir) {
    std::vector<std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        std::string line = entry.path().lexically_relative(dir).string();
        if (entry.is_symlink()) {
            line += " -> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            line += "/";
        } else {
            line += " = " + readBytes(entry.path());
        }
        tree.push_back(line);
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

struct ProblemCase {
    const char* name;
    const char* file;  // under the test directory
    void (*make)(const fs::path& dir);
    const char* readProblem;  // after "Το αρχείο ρυθμίσεων <file> "; null for none
    const char* writeProblem;  // likewise
    bool needsPermissions = false;
};

class FileProblemTest : public IniFileTest, public ::testing::WithParamInterface<ProblemCase> {};

TEST_P(FileProblemTest, ChecksSayWhyAndWritesLeaveItAlone) {
    const ProblemCase c = GetParam();
    const auto check = [&] {
        const fs::path file = mDir / c.file;
        c.make(mDir);
        const auto before = treeOf(mDir);
        const auto sentence = [&](const char* what) -> std::optional<std::string> {
            if (!what) {
                return std::nullopt;
            }
            return "Το αρχείο ρυθμίσεων " + file.string() + " " + what + ".";
        };

        EXPECT_EQ(iniFileProblem(file), sentence(c.readProblem));
        EXPECT_EQ(iniWriteProblem(file), sentence(c.writeProblem));
        EXPECT_EQ(treeOf(mDir), before);  // the probe leaves nothing behind

        if (c.writeProblem) {
            IniWriteString(file, "DIR", "NAME", "C:\\MELETES");
            EXPECT_EQ(treeOf(mDir), before);
        }
    };
    if (c.needsPermissions) {
        test::asUnprivilegedUser(check, {mDir});
    } else {
        check();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileProblemTest,
    ::testing::Values(
        ProblemCase{"Absent", "DRAVIN.INI", [](const fs::path&) {}, nullptr, nullptr},
        ProblemCase{"RegularFile", "DRAVIN.INI",
                    [](const fs::path& d) { writeBytes(d / "DRAVIN.INI", "[A]\r\nB=1\r\n"); },
                    nullptr, nullptr},
        ProblemCase{"LinkToFile", "DRAVIN.INI",
                    [](const fs::path& d) {
                        writeBytes(d / "real.ini", "[A]\r\nB=1\r\n");
                        fs::create_symlink("real.ini", d / "DRAVIN.INI");
                    },
                    nullptr, nullptr},
        ProblemCase{"Directory", "DRAVIN.INI",
                    [](const fs::path& d) {
                        fs::create_directory(d / "DRAVIN.INI");
                        writeBytes(d / "DRAVIN.INI" / "kept", "x");
                    },
                    "είναι φάκελος", "είναι φάκελος"},
        ProblemCase{"LinkToDirectory", "DRAVIN.INI",
                    [](const fs::path& d) {
                        fs::create_directory(d / "real");
                        fs::create_directory_symlink("real", d / "DRAVIN.INI");
                    },
                    "είναι φάκελος", "είναι φάκελος"},
        ProblemCase{"LinkLoop", "DRAVIN.INI",
                    [](const fs::path& d) { fs::create_symlink("DRAVIN.INI", d / "DRAVIN.INI"); },
                    "είναι συμβολικός σύνδεσμος που δεν οδηγεί σε αρχείο",
                    "είναι συμβολικός σύνδεσμος που δεν οδηγεί σε αρχείο"},
        ProblemCase{"DanglingLink", "DRAVIN.INI",
                    [](const fs::path& d) { fs::create_symlink("gone.ini", d / "DRAVIN.INI"); },
                    "είναι συμβολικός σύνδεσμος που δεν οδηγεί σε αρχείο",
                    "είναι συμβολικός σύνδεσμος που δεν οδηγεί σε αρχείο"},
        ProblemCase{"MissingDirectory", "missing/DRAVIN.INI", [](const fs::path&) {}, nullptr,
                    "δεν μπορεί να γραφτεί"},
        ProblemCase{"UnderARegularFile", "plain/DRAVIN.INI",
                    [](const fs::path& d) { writeBytes(d / "plain", "x"); }, nullptr,
                    "δεν μπορεί να γραφτεί"},
        ProblemCase{"NoReadPermission", "DRAVIN.INI",
                    [](const fs::path& d) {
                        writeBytes(d / "DRAVIN.INI", "[A]\r\nB=1\r\n");
                        fs::permissions(d / "DRAVIN.INI", fs::perms::owner_write);
                    },
                    "δεν διαβάζεται", "δεν διαβάζεται", true},
        ProblemCase{"ReadOnlyDirectory", "DRAVIN.INI",
                    [](const fs::path& d) {
                        writeBytes(d / "DRAVIN.INI", "[A]\r\nB=1\r\n");
                        fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec);
                    },
                    nullptr, "δεν μπορεί να γραφτεί", true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- exchange and the window font

TEST_F(IniFileTest, ExchangeReadsWithVariableAsDefault) {
    int32_t variable = 7;
    IniExchangeInteger(mFile, "MAIN", "FONT", false, variable);
    EXPECT_EQ(variable, 7);
    variable = 9;
    IniExchangeInteger(mFile, "MAIN", "FONT", true, variable);
    variable = 0;
    IniExchangeInteger(mFile, "MAIN", "FONT", false, variable);
    EXPECT_EQ(variable, 9);
}

struct FontCase {
    const char* content;  // nullptr: no file
    const char* font;
};

class WindowFontTest : public IniFileTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(WindowFontTest, FollowsDefaultIniFile) {
    const auto file = defaultIniPath(mDir / "host.exe");
    if (GetParam().content != nullptr) {
        writeBytes(file, GetParam().content);
    }
    int32_t setting = 0;
    IniExchangeInteger(file, "MAIN", "FONT", false, setting);
    EXPECT_EQ(windowFontName(setting), GetParam().font);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowFontTest,
                         ::testing::Values(FontCase{nullptr, "MS Sans Serif"},
                                           FontCase{"[MAIN]\r\nFONT=7\r\n", "Arial"},
                                           FontCase{"[MAIN]\r\nFONT=8\r\n", "MS Sans Serif"},
                                           FontCase{"[main]\r\nfont=9\r\n", "Segoe UI"},
                                           FontCase{"[MAIN]\r\nFONT=0x7\r\n", "Arial"}));

TEST(DefaultIniPathTest, ReplacesTheExtension) {
    EXPECT_EQ(defaultIniPath("/opt/dravin/host.exe"), fs::path("/opt/dravin/host.DefaultINI"));
    EXPECT_EQ(defaultIniPath("/opt/dravin/dravin"), fs::path("/opt/dravin/dravin.DefaultINI"));
}

TEST(DefaultIniExchangeTest, UsesFileBesideTheRunningExecutable) {
    const auto executable = executablePath();
    ASSERT_TRUE(fs::is_regular_file(executable));
    const auto file = defaultIniPath(executable);
    if (fs::exists(file)) {
        GTEST_SKIP() << file << " exists already";
    }
    int32_t setting = 9;
    DefaultIniExchangeInteger("MAIN", "FONT", setting, true);
    const auto written = readBytes(file);
    setting = 0;
    DefaultIniExchangeInteger("MAIN", "FONT", setting, false);
    std::error_code ec;
    fs::remove(file, ec);
    if (written.empty()) {
        GTEST_SKIP() << "the executable's directory is not writable";
    }
    EXPECT_EQ(written, "[MAIN]\r\nFONT=9\r\n");
    EXPECT_EQ(setting, 9);
}

}  // namespace
}  // namespace dravin
