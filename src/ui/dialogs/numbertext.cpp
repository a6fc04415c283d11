#include "ui/dialogs/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "data/feedback.h"

namespace dravin {

namespace {

constexpr char kDecimalMark = '.';

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// An optional leading minus, digits with at most one decimal mark, then optionally E
// or e with digits; nothing else. A lone mark is zero.
std::optional<double> convert(const std::string& s) {
    std::size_t i = 0;
    std::string normal;
    if (i < s.size() && s[i] == '-') {
        normal += '-';
        ++i;
    }
    std::string whole;
    std::string fraction;
    bool mark = false;
    for (; i < s.size() && (isDigit(s[i]) || (s[i] == kDecimalMark && !mark)); ++i) {
        if (s[i] == kDecimalMark) {
            mark = true;
        } else {
            (mark ? fraction : whole) += s[i];
        }
    }
    if (whole.empty() && fraction.empty() && !mark) {
        return std::nullopt;
    }
    normal += (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        const std::size_t digits = ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
        }
        if (i == digits) {
            return std::nullopt;
        }
        normal += "e" + s.substr(digits, i - digits);
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    // Too large to hold is not a number either.
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string numberTextMessage(const std::string& cleaned) {
    return "Προσοχή!, αριθμητικά δεδομένα[" + cleaned + "]";
}

void DeleteChars(std::string& text, char c) noexcept {
    std::erase(text, c);
}

void CleanNumberText(std::string& text) {
    DeleteChars(text, ' ');
    if (text.empty()) {
        return;
    }
    const std::size_t start = text.front() == '-' ? 1 : 0;
    if (const auto comma = text.find(','); comma != std::string::npos) {
        text[comma] = kDecimalMark;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (!isDigit(c) && c != 'E' && c != 'e' && c != kDecimalMark) {
            text[i] = ' ';
        }
    }
    DeleteChars(text, ' ');
    if (const auto first = text.find(kDecimalMark); first != std::string::npos) {
        const auto later = std::remove(text.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                                       text.end(), kDecimalMark);
        text.erase(later, text.end());
    }
}

double ParseNumberText(const std::string& text, double fallBack, Prompter& prompter) {
    std::string s = text;
    CleanNumberText(s);
    DeleteChars(s, ' ');
    if (s.empty()) {
        s = "0";
    }
    if (const auto value = convert(s)) {
        return *value;
    }
    // The other decimal mark, when the text holds just one of the two.
    const auto point = s.find('.');
    const auto comma = s.find(',');
    if ((point == std::string::npos) != (comma == std::string::npos)) {
        if (point != std::string::npos) {
            s[point] = ',';
        } else {
            s[comma] = '.';
        }
        if (const auto value = convert(s)) {
            return *value;
        }
    }
    prompter.error(numberTextMessage(s));
    return fallBack;
}

}  // namespace dravin
