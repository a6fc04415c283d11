// The settings file reader: the input is the whole file. Reads the names the program
// keeps, then writes one text and one number and reads them back; a write touches no
// other value.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "data/cp1253.h"
#include "entry/inifile.h"
#include "fuzzsupport.h"

namespace {

using namespace dravin;

struct Name {
    const char* section;
    const char* key;
};

// The program's own names, and Greek ones for the case folding.
constexpr std::array<Name, 7> kNames = {{{"MAIN", "FONT"},
                                         {"LINESPACE", "MM"},
                                         {"COMPUTE", "AUTO"},
                                         {"DIR", "NAME"},
                                         {"FONT", "NAME"},
                                         {"FILE", "NAME"},
                                         {"Ρυθμίσεις", "Όνομα"}}};

std::size_t characters(std::string_view utf8) noexcept {
    std::size_t n = 0;
    for (const char c : utf8) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

std::string_view trimmed(std::string_view s) noexcept {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

std::array<std::string, kNames.size()> readTexts(const std::filesystem::path& file) {
    std::array<std::string, kNames.size()> texts;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        const auto [section, key] = kNames[i];
        texts[i] = IniReadString(file, section, key, "δ");
        if (!fuzz::isValidUtf8(texts[i]) || characters(texts[i]) > 2047) {
            fuzz::finding(
                std::string("IniReadString gave no text of at most 2047 characters for ") +
                section + "/" + key + ".");
        }
    }
    return texts;
}

void readNumbers(const std::filesystem::path& file, const Name& name) {
    (void)IniReadInteger(file, name.section, name.key, 7);
    (void)IniReadBool(file, name.section, name.key, true);
    if (!std::isfinite(IniReadFloat(file, name.section, name.key, 2.5f))) {
        fuzz::finding("IniReadFloat gave a number that is not finite.");
    }
    std::int32_t exchanged = -3;
    IniExchangeInteger(file, name.section, name.key, false, exchanged);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchDir dir("inifile");
    const auto file = dir.path() / "settings.ini";
    fuzz::writeBytes(file, data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const auto before = readTexts(file);
    for (const Name& name : kNames) {
        readNumbers(file, name);
    }
    if (fuzz::readWholeFile(file) != bytes) {
        fuzz::finding("Reading the settings changed the file.");
    }

    // One text write, its value from the start of the input, its name from the size.
    const std::size_t target = size % kNames.size();
    const auto [section, key] = kNames[target];
    const std::string value = cp1253::decode(std::string_view(bytes).substr(0, 40));
    IniWriteString(file, section, key, value);
    const bool writable =
        cp1253::canEncode(value) && value.find_first_of("\r\n") == std::string::npos;
    auto after = readTexts(file);
    if (writable && after[target] != trimmed(value)) {
        fuzz::finding("A text written to the settings reads back as another.");
    }
    after[target] = before[target];
    if (after != before) {
        fuzz::finding("Writing one setting changed another.");
    }

    // One number, on the next name.
    const auto [numberSection, numberKey] = kNames[(target + 1) % kNames.size()];
    std::int32_t number = 0;
    std::memcpy(&number, bytes.data() + (size >= 4 ? size - 4 : 0), std::min<std::size_t>(size, 4));
    std::int32_t written = number;
    IniExchangeInteger(file, numberSection, numberKey, true, written);
    std::int32_t read = number ^ 1;
    IniExchangeInteger(file, numberSection, numberKey, false, read);
    if (read != number) {
        fuzz::finding("A number written to the settings reads back as another.");
    }
    return 0;
}
