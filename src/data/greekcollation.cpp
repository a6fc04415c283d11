#include "greekcollation.h"

#include <array>

namespace dravin {
namespace {

// Weights of one byte at the three levels of comparison.
struct Weights {
    unsigned short primary = 0;   // base letter
    unsigned char secondary = 0;  // 0 plain, 1 accent, 2 diaeresis, 3 both
    unsigned char tertiary = 0;   // 0 lower case, 1 upper case
};

constexpr unsigned short kDigitBase = 0x200;
constexpr unsigned short kLatinBase = 0x300;
constexpr unsigned short kGreekBase = 0x400;

// Greek letters in code page 1253 by base letter (alpha = 0 … omega = 23):
// {byte, letter, secondary, upper}.
struct GreekLetter {
    unsigned char byte;
    unsigned char letter;
    unsigned char accent;
    unsigned char upper;
};

constexpr GreekLetter kGreek[] = {
    // Upper case plain Α..Ω (0xD2 is undefined; ς has no capital).
    {0xC1, 0, 0, 1},
    {0xC2, 1, 0, 1},
    {0xC3, 2, 0, 1},
    {0xC4, 3, 0, 1},
    {0xC5, 4, 0, 1},
    {0xC6, 5, 0, 1},
    {0xC7, 6, 0, 1},
    {0xC8, 7, 0, 1},
    {0xC9, 8, 0, 1},
    {0xCA, 9, 0, 1},
    {0xCB, 10, 0, 1},
    {0xCC, 11, 0, 1},
    {0xCD, 12, 0, 1},
    {0xCE, 13, 0, 1},
    {0xCF, 14, 0, 1},
    {0xD0, 15, 0, 1},
    {0xD1, 16, 0, 1},
    {0xD3, 17, 0, 1},
    {0xD4, 18, 0, 1},
    {0xD5, 19, 0, 1},
    {0xD6, 20, 0, 1},
    {0xD7, 21, 0, 1},
    {0xD8, 22, 0, 1},
    {0xD9, 23, 0, 1},
    // Lower case plain α..ω, final sigma 0xF2 as sigma.
    {0xE1, 0, 0, 0},
    {0xE2, 1, 0, 0},
    {0xE3, 2, 0, 0},
    {0xE4, 3, 0, 0},
    {0xE5, 4, 0, 0},
    {0xE6, 5, 0, 0},
    {0xE7, 6, 0, 0},
    {0xE8, 7, 0, 0},
    {0xE9, 8, 0, 0},
    {0xEA, 9, 0, 0},
    {0xEB, 10, 0, 0},
    {0xEC, 11, 0, 0},
    {0xED, 12, 0, 0},
    {0xEE, 13, 0, 0},
    {0xEF, 14, 0, 0},
    {0xF0, 15, 0, 0},
    {0xF1, 16, 0, 0},
    {0xF2, 17, 0, 0},
    {0xF3, 17, 0, 0},
    {0xF4, 18, 0, 0},
    {0xF5, 19, 0, 0},
    {0xF6, 20, 0, 0},
    {0xF7, 21, 0, 0},
    {0xF8, 22, 0, 0},
    {0xF9, 23, 0, 0},
    // Accented upper case Ά Έ Ή Ί Ό Ύ Ώ, diaeresis Ϊ Ϋ.
    {0xA2, 0, 1, 1},
    {0xB8, 4, 1, 1},
    {0xB9, 6, 1, 1},
    {0xBA, 8, 1, 1},
    {0xBC, 14, 1, 1},
    {0xBE, 19, 1, 1},
    {0xBF, 23, 1, 1},
    {0xDA, 8, 2, 1},
    {0xDB, 19, 2, 1},
    // Accented lower case ά έ ή ί ό ύ ώ, diaeresis ϊ ϋ, both ΐ ΰ.
    {0xDC, 0, 1, 0},
    {0xDD, 4, 1, 0},
    {0xDE, 6, 1, 0},
    {0xDF, 8, 1, 0},
    {0xFC, 14, 1, 0},
    {0xFD, 19, 1, 0},
    {0xFE, 23, 1, 0},
    {0xFA, 8, 2, 0},
    {0xFB, 19, 2, 0},
    {0xC0, 8, 3, 0},
    {0xE0, 19, 3, 0},
};

constexpr std::array<Weights, 256> makeTable() {
    std::array<Weights, 256> t{};
    for (int b = 0; b < 256; ++b) {
        t[b].primary = static_cast<unsigned short>(b);  // other symbols keep byte order
    }
    for (int b = '0'; b <= '9'; ++b) {
        t[b].primary = static_cast<unsigned short>(kDigitBase + (b - '0'));
    }
    for (int b = 'a'; b <= 'z'; ++b) {
        t[b].primary = static_cast<unsigned short>(kLatinBase + (b - 'a'));
        t[b - 32].primary = t[b].primary;
        t[b - 32].tertiary = 1;
    }
    for (const auto& g : kGreek) {
        t[g.byte] = Weights{static_cast<unsigned short>(kGreekBase + g.letter), g.accent, g.upper};
    }
    // Final sigma and sigma differ only in the byte tie-break (0xF2 before 0xF3).
    return t;
}

constexpr std::array<Weights, 256> kTable = makeTable();

template <typename Level>
int compareLevel(std::string_view a, std::string_view b, Level level) noexcept {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int wa = level(kTable[static_cast<unsigned char>(a[i])]);
        const int wb = level(kTable[static_cast<unsigned char>(b[i])]);
        if (wa != wb) {
            return wa < wb ? -1 : 1;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return 0;
}

}  // namespace

int compareGreek(std::string_view a, std::string_view b) noexcept {
    if (int c = compareLevel(a, b, [](const Weights& w) { return int(w.primary); }); c != 0) {
        return c;
    }
    if (int c = compareLevel(a, b, [](const Weights& w) { return int(w.secondary); }); c != 0) {
        return c;
    }
    if (int c = compareLevel(a, b, [](const Weights& w) { return int(w.tertiary); }); c != 0) {
        return c;
    }
    const int c = a.compare(b);  // char_traits<char> compares as unsigned bytes
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace dravin
