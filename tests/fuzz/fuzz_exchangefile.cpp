// The study loader of the exchange file: the input is the whole JSON document. A failed
// load must leave the five tables as they were; a load that succeeds must survive its own
// export unchanged.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/exchangefile.h"
#include "fuzzstudy.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dravin;
    static fuzz::FuzzStudy study("exchange");
    static const std::uint64_t demoSum = study.checksum();

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const bool loaded = fuzz::returnsOrFailsCleanly("Loading the exchange file",
                                                    [&] { loadStudyJson(study.data(), in); });
    if (!loaded) {
        if (study.checksum() != demoSum) {
            fuzz::finding("A failed load changed the study.");
        }
        return 0;
    }
    const std::uint64_t loadedSum = study.checksum();
    std::ostringstream exported;
    const bool again = fuzz::returnsOrFailsCleanly("Exporting and loading again", [&] {
        exportStudyJson(study.data(), exported);
        std::istringstream back(exported.str());
        loadStudyJson(study.data(), back);
    });
    if (!again) {
        fuzz::finding("The export of a loaded study cannot be loaded:\n" + exported.str());
    }
    if (study.checksum() != loadedSum) {
        fuzz::finding("The export of a loaded study loads as another study:\n" + exported.str());
    }
    study.restore();
    return 0;
}
