#include "entry/entryarguments.h"

#include <cstring>
#include <string_view>

#include "data/cp1253.h"

namespace dravin {

FontNameBytes copyFontName(const unsigned char* lengthPrefixed) noexcept {
    FontNameBytes font{};
    if (lengthPrefixed != nullptr) {
        // At most 255 bytes, so the last byte stays NUL.
        std::memcpy(font.data(), lengthPrefixed + 1, lengthPrefixed[0]);
    }
    return font;
}

std::string decodeHostText(const char* text, std::size_t maxLength) {
    if (text == nullptr) {
        return {};
    }
    std::size_t n = 0;
    while (n < maxLength && text[n] != '\0') {
        ++n;
    }
    return cp1253::decode(std::string_view(text, n));
}

EntryArguments decodeEntryArguments(const FontNameBytes& font, const char* dataDir,
                                    const char* studiesDir, const char* studyName, bool embedded) {
    EntryArguments args;
    if (embedded) {
        args.dataDir = decodeHostText(dataDir);
        args.studiesDir = decodeHostText(studiesDir);
        args.studyName = decodeHostText(studyName);
    }
    args.printFontName = decodeHostText(font.data(), font.size());
    return args;
}

}  // namespace dravin
