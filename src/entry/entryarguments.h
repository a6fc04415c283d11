#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace dravin {

// The host passes the print font as a short string: one length byte, then that many bytes,
// never a terminating NUL. The copy holds them with a NUL after them.
using FontNameBytes = std::array<char, 256>;
FontNameBytes copyFontName(const unsigned char* lengthPrefixed) noexcept;

// A NUL-terminated code page 1253 text from the host as UTF-8, read up to maxLength bytes;
// a null pointer is the empty text.
std::string decodeHostText(const char* text, std::size_t maxLength = 4096);

// The string arguments of the entry point, decoded. The directories and the study name
// count only in embedded use; otherwise they are left unread.
struct EntryArguments {
    std::string dataDir;
    std::string studiesDir;
    std::string studyName;
    std::string printFontName;
};

EntryArguments decodeEntryArguments(const FontNameBytes& font, const char* dataDir,
                                    const char* studiesDir, const char* studyName, bool embedded);

}  // namespace dravin
