// The string arguments of the C entry point. The input holds a flags byte (bit 0 embedded,
// bits 1-4 a null pointer for data directory, studies directory, study name, font name),
// then the three texts, each ended by a NUL, then the font name's length byte and bytes.
// Every text lies in a buffer of exactly the size the host's contract allows.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/cp1253.h"
#include "entry/entryarguments.h"
#include "fuzzsupport.h"

namespace {

using namespace dravin;

// A NUL-terminated copy on the heap, so that a read past the NUL is caught.
std::unique_ptr<char[]> hostText(std::string_view text) {
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

std::string_view nextText(std::string_view& rest) noexcept {
    const std::size_t end = std::min(rest.find('\0'), rest.size());
    const std::string_view text = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    return text;
}

// The decoded text the host meant: the bytes up to the first NUL or the limit.
std::string expected(std::string_view bytes, std::size_t limit = 4096) {
    return cp1253::decode(bytes.substr(0, std::min({bytes.find('\0'), bytes.size(), limit})));
}

void check(const std::string& decoded, const std::string& wanted, const char* what) {
    if (decoded != wanted || !fuzz::isValidUtf8(decoded)) {
        fuzz::finding(std::string("The entry point decoded the ") + what + " wrongly.");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool embedded = (flags & 1) != 0;
    const auto null = [flags](int bit) { return (flags & (1 << bit)) != 0; };

    const std::string_view dataDir = nextText(rest);
    const std::string_view studiesDir = nextText(rest);
    const std::string_view studyName = nextText(rest);
    // The font name: its length byte, then exactly that many bytes, padded from nothing.
    const std::size_t length = rest.empty() ? 0 : static_cast<unsigned char>(rest.front());
    std::vector<unsigned char> font(1 + length, 0);
    font[0] = static_cast<unsigned char>(length);
    if (!rest.empty()) {
        std::memcpy(font.data() + 1, rest.data() + 1, std::min(length, rest.size() - 1));
    }

    const auto dataCopy = hostText(dataDir);
    const auto studiesCopy = hostText(studiesDir);
    const auto nameCopy = hostText(studyName);
    const FontNameBytes fontBytes = copyFontName(null(4) ? nullptr : font.data());
    EntryArguments args;
    if (!fuzz::returnsOrFailsCleanly("Decoding the entry point's arguments", [&] {
            args = decodeEntryArguments(fontBytes, null(1) ? nullptr : dataCopy.get(),
                                        null(2) ? nullptr : studiesCopy.get(),
                                        null(3) ? nullptr : nameCopy.get(), embedded);
        })) {
        fuzz::finding("Decoding the entry point's arguments threw.");
    }

    const auto given = [&](int bit, std::string_view text) {
        return embedded && !null(bit) ? expected(text) : std::string();
    };
    check(args.dataDir, given(1, dataDir), "data directory");
    check(args.studiesDir, given(2, studiesDir), "studies directory");
    check(args.studyName, given(3, studyName), "study name");
    const std::string_view fontText(reinterpret_cast<const char*>(font.data()) + 1, length);
    check(args.printFontName, null(4) ? std::string() : expected(fontText), "font name");
    return 0;
}
