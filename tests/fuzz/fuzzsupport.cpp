#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "data/table.h"

namespace dravin::fuzz {
namespace fs = std::filesystem;
namespace {

// FNV-1a, fed field by field with a type tag so that blank, 0 and "" differ.
class Checksum {
public:
    void add(const void* bytes, std::size_t size) noexcept {
        const auto* p = static_cast<const unsigned char*>(bytes);
        for (std::size_t i = 0; i < size; ++i) {
            mHash = (mHash ^ p[i]) * 1099511628211ull;
        }
    }
    void add(const Value& v) noexcept {
        const char tag = v.isBlank() ? 'b' : v.isInteger() ? 'i' : v.isReal() ? 'r' : 't';
        add(&tag, 1);
        if (v.isInteger()) {
            const auto n = v.toInteger();
            add(&n, sizeof n);
        } else if (v.isReal()) {
            const double d = v.toReal();
            add(&d, sizeof d);
        } else if (v.isText()) {
            const std::size_t n = v.textBytes().size();
            add(&n, sizeof n);
            add(v.textBytes().data(), n);
        }
    }
    std::uint64_t value() const noexcept { return mHash; }

private:
    std::uint64_t mHash = 14695981039346656037ull;
};

fs::path scratchParent() {
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec)) {
        return "/dev/shm";
    }
    return fs::temp_directory_path();
}

}  // namespace

void finding(const std::string& what) {
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

ScratchDir::ScratchDir(const std::string& tag) {
    std::string pattern = (scratchParent() / ("dravin-fuzz-" + tag + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory: " + pattern);
    }
    mPath = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(mPath, ec);
}

void writeBytes(const fs::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string readWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint64_t tableChecksum(const Table& table) {
    Checksum sum;
    const int rows = table.recordCount();
    sum.add(&rows, sizeof rows);
    const int fields = static_cast<int>(table.def().fields.size());
    for (int row = 0; row < rows; ++row) {
        for (int f = 0; f < fields; ++f) {
            sum.add(table.rowValue(row, f));
        }
    }
    return sum.value();
}

bool isValidUtf8(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if ((b & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace dravin::fuzz
