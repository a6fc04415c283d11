// The reader of the older program's Paradox tables: the input is one table's data file
// and its memo file, converted as a study in a scratch folder. A conversion that fails
// must leave the folder as it was; one that succeeds must keep the originals byte for byte
// and give a study that opens and exports.
//
// Input: one byte choosing the table (floor, kind, owner, space, general data), four bytes
// (little-endian) giving the length of the data file, the data file, then the memo file
// (none when nothing follows).

#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>

#include "data/exchangefile.h"
#include "data/paradox/paradoxconversion.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "fuzzsupport.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

Files filesIn(const fs::path& dir) {
    Files files;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(e.path(), dir).string();
        files[name] = e.is_regular_file() ? dravin::fuzz::readWholeFile(e.path()) : "<folder>";
    }
    return files;
}

void clear(const fs::path& dir) {
    for (const auto& e : fs::directory_iterator(dir)) {
        fs::remove_all(e.path());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dravin;
    static fuzz::ScratchDir scratch("paradox");
    const fs::path& dir = scratch.path();
    if (size < 5) {
        return 0;
    }
    const char* part = kStudyPartWords[data[0] % kStudyPartWords.size()];
    std::size_t dbSize = data[1] | data[2] << 8 | data[3] << 16 | std::size_t(data[4]) << 24;
    dbSize = std::min(dbSize, size - 5);
    const std::string table = studyTableName("FUZZ", part);
    clear(dir);
    fuzz::writeBytes(dir / (table + ".DB"), data + 5, dbSize);
    if (5 + dbSize < size) {
        fuzz::writeBytes(dir / (table + ".MB"), data + 5 + dbSize, size - 5 - dbSize);
    }
    const Files before = filesIn(dir);

    ConversionReport report;
    const bool converted = fuzz::returnsOrFailsCleanly(
        "Converting", [&] { report = ParadoxConversion::forStudy(dir, "FUZZ").run(); });
    if (!converted || report.keptIn.empty()) {
        if (filesIn(dir) != before) {
            fuzz::finding("A conversion that failed or had nothing to do changed the folder.");
        }
        return 0;
    }
    for (const auto& [name, bytes] : before) {
        const fs::path kept = dir / "FUZZ.paradox" / name;
        if (!fs::exists(kept) || fuzz::readWholeFile(kept) != bytes) {
            fuzz::finding("The original " + name + " was not kept as it was.");
        }
    }
    {
        TDravinDataT study;
        std::ostringstream out;
        const bool exported = fuzz::returnsOrFailsCleanly("Opening and exporting", [&] {
            study.OpenStudy(dir, "FUZZ");
            exportStudyJson(study, out);
        });
        if (!exported) {
            fuzz::finding("A converted study cannot be opened and exported.");
        }
        if (!fuzz::isValidUtf8(out.str())) {
            fuzz::finding("The export of a converted study is not valid UTF-8.");
        }
    }
    clear(dir);
    return 0;
}
