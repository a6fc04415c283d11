// Paradox tables that cannot be converted whole: each is refused naming the file (and
// the field), and nothing is converted or moved.

#include <gtest/gtest.h>

#include <functional>

#include "data/errors.h"
#include "data/paradox/paradoxconversion.h"
#include "data/tabledefinitions.h"
#include "support/paradoxsample.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;

struct Damage {
    const char* name;
    std::function<void(const fs::path& studies)> apply;
    const char* fileInMessage;
    const char* fieldInMessage;  // "" when the fault is the file's
};

fs::path general(const fs::path& dir, const char* ext = ".DB") {
    return dir / (std::string("OLDGenData_DRAVIN") + ext);
}

void cut(const fs::path& file, std::size_t length) {
    std::string bytes = test::readFile(file);
    bytes.resize(std::min(bytes.size(), length));
    test::writeFile(file, bytes);
}

void patch(const fs::path& file, std::size_t at, const std::string& bytes) {
    std::string all = test::readFile(file);
    all.replace(at, bytes.size(), bytes);
    test::writeFile(file, all);
}

// One table of the study in another layout.
void rewrite(const fs::path& dir, const char* part, const TableDef& def,
             const std::function<void(std::vector<test::ParadoxField>&)>& change) {
    auto fields = test::paradoxFields(def);
    change(fields);
    const auto rows = test::sampleStudy();
    const size_t index = std::string(part) == "Floor" ? 0 : std::string(part) == "GenData" ? 4 : 3;
    test::writeParadoxTable(dir / ("OLD" + std::string(part) + "_DRAVIN.DB"), fields, rows[index]);
}

const Damage kDamages[] = {
    {"HeaderOfAnotherKind", [](const fs::path& d) { patch(general(d), 4, "\x07"); },
     "OLDGenData_DRAVIN.DB", ""},
    {"RecordSizeWrong", [](const fs::path& d) { patch(general(d), 0, "\x01\x00"); },
     "OLDGenData_DRAVIN.DB", ""},
    // Found by the fuzz target: pxlib deciphers a table marked as kept under a password,
    // walks other blocks than those checked, and frees twice when it fails.
    {"KeptUnderAPassword",
     [](const fs::path& d) {
         patch(d / "OLDFloor_DRAVIN.DB", 0x25, std::string("\x01\x02\x03\x04"));
     },
     "OLDFloor_DRAVIN.DB", ""},
    {"RecordCountWrong",
     [](const fs::path& d) {
         patch(d / "OLDFloor_DRAVIN.DB", 6, std::string("\x09\x00\x00\x00", 4));
     },
     "OLDFloor_DRAVIN.DB", ""},
    {"DataBlockCut", [](const fs::path& d) { cut(d / "OLDDravin_DRAVIN.DB", 4096); },
     "OLDDravin_DRAVIN.DB", ""},
    {"MemoFileMissing", [](const fs::path& d) { fs::remove(general(d, ".MB")); },
     "OLDGenData_DRAVIN", ""},
    {"MemoFileCut", [](const fs::path& d) { cut(general(d, ".MB"), 4096 + 100); },
     "OLDGenData_DRAVIN.MB", ""},
    {"MemoFileOfAnotherTable",
     [](const fs::path& d) {
         auto rows = test::sampleStudy();
         rows[4][0][13] = test::greek(std::string(300, 'x'));
         rows[4][0][14] = test::greek(std::string(5000, 'y'));
         const fs::path other = d / "other";
         fs::create_directory(other);
         test::writeParadoxTable(other / "X.DB", test::paradoxFields(genDataTableDef()), rows[4]);
         fs::copy_file(other / "X.MB", general(d, ".MB"), fs::copy_options::overwrite_existing);
         fs::remove_all(other);
     },
     "OLDGenData_DRAVIN.MB", "Notes"},
    {"IntegerWrittenAsNumber",
     [](const fs::path& d) {
         rewrite(d, "Floor", floorTableDef(), [](auto& f) {
             f[0].type = 0x06;
             f[0].length = 8;
         });
     },
     "OLDFloor_DRAVIN.DB", "IDFloor"},
    {"FormattedMemoWrittenAsMemo",
     [](const fs::path& d) {
         rewrite(d, "GenData", genDataTableDef(), [](auto& f) { f[13].type = 0x0C; });
     },
     "OLDGenData_DRAVIN.DB", "Notes1"},
    {"TextWrittenAsNumber",
     [](const fs::path& d) {
         rewrite(d, "Dravin", dravinTableDef(), [](auto& f) {
             f[3].type = 0x04;
             f[3].length = 4;
         });
     },
     "OLDDravin_DRAVIN.DB", "Name2Floor"},
    {"TextLongerThanItsField",
     [](const fs::path& d) {
         rewrite(d, "Floor", floorTableDef(), [](auto& f) { f[2].length = 30; });
         auto rows = test::sampleStudy();
         rows[0][1][2] = test::greek("Πολύ μεγάλη συντομογραφία");
         test::writeParadoxTable(
             d / "OLDFloor_DRAVIN.DB",
             [] {
                 auto f = test::paradoxFields(floorTableDef());
                 f[2].length = 30;
                 return f;
             }(),
             rows[0]);
     },
     "OLDFloor_DRAVIN.DB", "Name2"},
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

class ParadoxDamageTest : public ::testing::TestWithParam<Damage> {
protected:
    ParadoxDamageTest() { test::writeParadoxStudy(mDir.path(), "OLD", test::sampleStudy()); }
    test::TempDir mDir;
};

TEST_P(ParadoxDamageTest, IsRefusedNamingFileAndFieldAndChangesNothing) {
    GetParam().apply(mDir.path());
    const auto before = test::filesOf(mDir.path());
    try {
        ParadoxConversion::forStudy(mDir.path(), "OLD").run();
        FAIL() << "converted";
    } catch (const Error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(GetParam().fileInMessage), std::string::npos) << message;
        EXPECT_NE(message.find(GetParam().fieldInMessage), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
    EXPECT_EQ(test::filesOf(mDir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Damages, ParadoxDamageTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

// A table or memo file cut short at any length is refused, and the study stays as it was.
TEST(ParadoxCutTest, ATableCutAtAnyLengthIsRefusedWhole) {
    test::TempDir source;
    test::writeParadoxStudy(source.path(), "OLD", test::sampleStudy());
    const std::string floor = test::readFile(source.path() / "OLDFloor_DRAVIN.DB");
    const std::string memo = test::readFile(general(source.path(), ".MB"));
    for (const auto& [file, bytes] :
         {std::pair{"OLDFloor_DRAVIN.DB", floor}, std::pair{"OLDGenData_DRAVIN.MB", memo}}) {
        for (std::size_t length = 0; length < bytes.size(); length += 97) {
            test::TempDir dir;
            for (const auto& e : fs::directory_iterator(source.path())) {
                fs::copy_file(e.path(), dir.path() / e.path().filename());
            }
            cut(dir.path() / file, length);
            const auto before = test::filesOf(dir.path());
            EXPECT_THROW(ParadoxConversion::forStudy(dir.path(), "OLD").run(), Error)
                << file << " cut at " << length;
            EXPECT_EQ(test::filesOf(dir.path()), before) << file << " cut at " << length;
        }
    }
}

}  // namespace
}  // namespace dravin
