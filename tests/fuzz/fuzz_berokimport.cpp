// The space import from the sibling product's dBase table: the input is the whole file.
// A failed import must leave the spaces as they were.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzzstudy.h"
#include "fuzzsupport.h"
#include "import/berokimport.h"

namespace {

using namespace dravin;

struct Setting {
    fuzz::FuzzStudy study{"import"};
    fuzz::ScratchDir sibling{"import-dbf"};
    std::vector<std::vector<Value>> spaces;
    std::uint64_t spacesSum = 0;

    Setting() {
        const Table& t = study.data().DravinT;
        for (int row = 0; row < t.recordCount(); ++row) {
            std::vector<Value> values;
            for (size_t f = 0; f < t.def().fields.size(); ++f) {
                values.push_back(t.rowValue(row, static_cast<int>(f)));
            }
            spaces.push_back(std::move(values));
        }
        spacesSum = fuzz::tableChecksum(t);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setting setting;
    TDravinDataT& study = setting.study.data();
    Table& spaces = study.DravinT;
    fuzz::writeBytes(setting.sibling.path() / BerokTable::kTableName, data, size);

    BerokImport import(study);
    const bool imported = fuzz::returnsOrFailsCleanly("The space import", [&] {
        import.OpenBerokTable(setting.sibling.path());
        import.ImportBerokSpaces();
    });
    if (study.Importing) {
        fuzz::finding("The import left the Importing flag set.");
    }
    if (spaces.state() != TableState::Browse) {
        fuzz::finding("The import left the space table editing.");
    }
    if (!imported) {
        if (fuzz::tableChecksum(spaces) != setting.spacesSum) {
            fuzz::finding("A failed import changed the space table.");
        }
        return 0;
    }
    spaces.replaceAllRecords(setting.spaces);
    return 0;
}
