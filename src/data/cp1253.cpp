#include "cp1253.h"

#include <array>
#include <cstdio>
#include <unordered_map>

#include "errors.h"

namespace dravin::cp1253 {
namespace {

// 0x80–0xFF; 0 marks a byte the code page leaves undefined.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0,      0x2030, 0,      0x2039, 0,      0,      0,      0,       // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0,      0x203A, 0,      0,      0,      0,       // 98
    0x00A0, 0x0385, 0x0386, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0,      0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F,  // B8
    0x0390, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397,  // C0
    0x0398, 0x0399, 0x039A, 0x039B, 0x039C, 0x039D, 0x039E, 0x039F,  // C8
    0x03A0, 0x03A1, 0,      0x03A3, 0x03A4, 0x03A5, 0x03A6, 0x03A7,  // D0
    0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x03AC, 0x03AD, 0x03AE, 0x03AF,  // D8
    0x03B0, 0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5, 0x03B6, 0x03B7,  // E0
    0x03B8, 0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BE, 0x03BF,  // E8
    0x03C0, 0x03C1, 0x03C2, 0x03C3, 0x03C4, 0x03C5, 0x03C6, 0x03C7,  // F0
    0x03C8, 0x03C9, 0x03CA, 0x03CB, 0x03CC, 0x03CD, 0x03CE, 0,       // F8
};

const std::unordered_map<char32_t, unsigned char>& reverseTable() {
    static const auto table = [] {
        std::unordered_map<char32_t, unsigned char> map;
        for (int i = 0; i < 128; ++i) {
            if (kHigh[i] != 0) {
                map.emplace(kHigh[i], static_cast<unsigned char>(0x80 + i));
            }
        }
        return map;
    }();
    return table;
}

// Reads one UTF-8 sequence at pos; returns false on malformed input.
bool nextCodePoint(std::string_view s, size_t& pos, char32_t& cp) noexcept {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    if (b0 < 0x80) {
        cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1F;
        extra = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0F;
        extra = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (pos + extra >= s.size()) {
        return false;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return false;
    }
    pos += extra + 1;
    return true;
}

int encodeOne(char32_t cp) noexcept {
    if (cp < 0x80) {
        return static_cast<int>(cp);
    }
    const auto& table = reverseTable();
    const auto it = table.find(cp);
    return it == table.end() ? -1 : it->second;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

char32_t toUnicode(unsigned char byte) noexcept {
    return byte < 0x80 ? byte : kHigh[byte - 0x80];
}

std::string encode(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, pos, cp)) {
            throw RangeError("Το κείμενο δεν είναι σε έγκυρη κωδικοποίηση UTF-8.");
        }
        const int byte = encodeOne(cp);
        if (byte < 0) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(cp));
            std::string shown;
            appendUtf8(shown, cp);
            throw RangeError("Ο χαρακτήρας «" + shown + "» (" + hex +
                             ") δεν μπορεί να αποθηκευτεί στην ελληνική κωδικοσελίδα 1253.");
        }
        out += static_cast<char>(byte);
    }
    return out;
}

bool canEncode(std::string_view utf8) noexcept {
    return !firstUnencodable(utf8).has_value();
}

std::optional<std::string> firstUnencodable(std::string_view utf8) {
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        char32_t cp = 0;
        if (!nextCodePoint(utf8, pos, cp)) {
            return std::string("\xEF\xBF\xBD");  // U+FFFD stands for bytes that are no character
        }
        if (encodeOne(cp) < 0) {
            return std::string(utf8.substr(start, pos - start));
        }
    }
    return std::nullopt;
}

std::string decode(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const char32_t cp = toUnicode(static_cast<unsigned char>(c));
        appendUtf8(out, cp == 0 && c != 0 ? U'\uFFFD' : cp);
    }
    return out;
}

}  // namespace dravin::cp1253
