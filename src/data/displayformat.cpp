#include "displayformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "cp1253.h"

namespace dravin {
namespace {

constexpr char kDecimalPoint = '.';
constexpr char kThousandsSeparator = ' ';

// What the renderer needs to know of a picture before walking it.
struct Picture {
    std::string_view text;
    std::size_t pointAt = std::string_view::npos;
    std::size_t wholePlaces = 0;  // '0' and '#' before the point
    std::size_t wholeForced = 0;  // integer digits shown even when leading zeros
    std::size_t fracPlaces = 0;
    std::size_t fracForced = 0;  // decimals shown even when trailing zeros
    bool grouping = false;
};

Picture parsePicture(std::string_view text) noexcept {
    Picture p;
    p.text = text;
    p.pointAt = text.find(kDecimalPoint);
    std::size_t firstZero = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ',') {
            p.grouping = true;
        } else if (c == '0' || c == '#') {
            if (i < p.pointAt) {
                if (c == '0' && firstZero == std::string_view::npos) {
                    firstZero = p.wholePlaces;
                }
                ++p.wholePlaces;
            } else {
                ++p.fracPlaces;
                if (c == '0') {
                    p.fracForced = p.fracPlaces;
                }
            }
        }
    }
    // Once a '0' appears, every integer position after it is forced too.
    if (firstZero != std::string_view::npos) {
        p.wholeForced = p.wholePlaces - firstZero;
    }
    return p;
}

// A number already rounded to the picture's decimals, as decimal digit strings.
struct Digits {
    bool negative = false;
    std::string whole;  // no leading zeros, empty for zero
    std::string frac;   // exactly as many digits as the picture has decimals
};

// The shortest round-trip digits of |value| and the power of ten of the first one.
struct Shortest {
    std::string digits;
    int exponent = 0;
};

Shortest shortestDigits(double value) {
    char buf[40];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));
    const std::size_t e = text.find('e');
    Shortest s;
    for (char c : text.substr(0, e)) {
        if (c != '.') {
            s.digits += c;
        }
    }
    s.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    return s;
}

void stripLeadingZeros(std::string& s) {
    const std::size_t first = s.find_first_not_of('0');
    s.erase(0, first == std::string::npos ? s.size() : first);
}

// Adds one unit in the last place of a digit string; "999" becomes "1000".
void incrementDigits(std::string& s) {
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    s.insert(s.begin(), '1');
}

// Splits the shortest form into whole and fraction digits without rounding.
void splitShortest(const Shortest& s, std::string& whole, std::string& frac) {
    const auto n = static_cast<long>(s.digits.size());
    const long pointAfter = s.exponent + 1L;  // digits before the decimal point
    if (pointAfter <= 0) {
        whole.clear();
        frac = std::string(static_cast<std::size_t>(-pointAfter), '0') + s.digits;
    } else if (pointAfter >= n) {
        whole = s.digits + std::string(static_cast<std::size_t>(pointAfter - n), '0');
        frac.clear();
    } else {
        whole = s.digits.substr(0, static_cast<std::size_t>(pointAfter));
        frac = s.digits.substr(static_cast<std::size_t>(pointAfter));
    }
    stripLeadingZeros(whole);
}

// Rounds half away from zero on the decimal digits, so the binary error of the
// stored double never decides a half.
Digits roundedDigits(double value, std::size_t places) {
    Digits d;
    d.negative = std::signbit(value);
    splitShortest(shortestDigits(value), d.whole, d.frac);
    if (d.frac.size() > places) {
        const bool up = d.frac[places] >= '5';
        d.frac.resize(places);
        if (up) {
            std::string all = d.whole + d.frac;
            incrementDigits(all);
            d.whole = all.substr(0, all.size() - places);
            d.frac = all.substr(all.size() - places);
            stripLeadingZeros(d.whole);
        }
    }
    d.frac.resize(places, '0');
    return d;
}

Digits integerDigits(std::int32_t value, std::size_t places) {
    Digits d;
    d.negative = value < 0;
    d.whole = std::to_string(std::llabs(static_cast<long long>(value)));
    stripLeadingZeros(d.whole);
    d.frac.assign(places, '0');
    return d;
}

// Walks the picture, putting the digits in place of its placeholders.
class Renderer {
public:
    Renderer(const Picture& p, const Digits& d) : mPicture(p), mDigits(d), mWhole(d.whole) {
        if (mWhole.size() < p.wholeForced) {
            mWhole.insert(0, p.wholeForced - mWhole.size(), '0');
        }
        const std::size_t lastNonZero = d.frac.find_last_not_of('0');
        mFracShown = lastNonZero == std::string::npos ? 0 : lastNonZero + 1;
        if (mFracShown < p.fracForced) {
            mFracShown = p.fracForced;
        }
        const bool zero = d.whole.empty() && lastNonZero == std::string::npos;
        mSignPending = d.negative && !zero;
    }

    std::string run() {
        const std::string_view text = mPicture.text;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (i == mPicture.pointAt) {
                putPoint();
            } else if (c == '0' || c == '#') {
                if (i < mPicture.pointAt) {
                    putWholePlace();
                } else {
                    putFracPlace();
                }
            } else if (c != ',') {
                mOut += c;
            }
        }
        return mOut;
    }

private:
    void putSign() {
        if (mSignPending) {
            mOut += '-';
            mSignPending = false;
        }
    }

    void putWholeDigit() {
        putSign();
        const std::size_t left = mWhole.size() - mNext;
        if (mPicture.grouping && mNext > 0 && left % 3 == 0) {
            mOut += kThousandsSeparator;
        }
        mOut += mWhole[mNext++];
    }

    // Digits are right-aligned to the placeholders; the first one takes any excess.
    void putWholePlace() {
        const std::size_t places = mPicture.wholePlaces;
        const std::size_t len = mWhole.size();
        while (mNext < len && mNext + places <= mPlace + len) {
            putWholeDigit();
        }
        ++mPlace;
    }

    void putPoint() {
        // A picture without integer placeholders still shows the integer digits.
        while (mNext < mWhole.size()) {
            putWholeDigit();
        }
        if (mFracShown > 0) {
            putSign();
            mOut += kDecimalPoint;
        }
    }

    void putFracPlace() {
        if (mFracIndex < mFracShown) {
            mOut += mDigits.frac[mFracIndex];
        }
        ++mFracIndex;
    }

    const Picture& mPicture;
    const Digits& mDigits;
    std::string mWhole;
    std::string mOut;
    std::size_t mNext = 0;  // next integer digit to put
    std::size_t mPlace = 0;
    std::size_t mFracIndex = 0;
    std::size_t mFracShown = 0;
    bool mSignPending = false;
};

std::string nonFinite(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

// The general form: the shortest digits, in fixed notation while that stays readable.
std::string shortestText(double value) {
    const Shortest s = shortestDigits(value);
    const bool zero = s.digits == "0";
    std::string out = std::signbit(value) && !zero ? "-" : "";
    if (s.exponent > -5 && s.exponent < 15) {
        std::string whole;
        std::string frac;
        splitShortest(s, whole, frac);
        out += whole.empty() ? "0" : whole;
        if (!frac.empty()) {
            out += kDecimalPoint + frac;
        }
        return out;
    }
    out += s.digits[0];
    if (s.digits.size() > 1) {
        out += kDecimalPoint + s.digits.substr(1);
    }
    return out + 'E' + std::to_string(s.exponent);
}

}  // namespace

std::string formatNumber(double value, std::string_view picture) {
    if (!std::isfinite(value)) {
        return nonFinite(value);
    }
    if (picture.empty()) {
        return shortestText(value);
    }
    const Picture p = parsePicture(picture);
    return Renderer(p, roundedDigits(value, p.fracPlaces)).run();
}

std::string formatNumber(std::int32_t value, std::string_view picture) {
    if (picture.empty()) {
        return std::to_string(value);
    }
    const Picture p = parsePicture(picture);
    return Renderer(p, integerDigits(value, p.fracPlaces)).run();
}

std::string formatValue(const Value& v, std::string_view picture) {
    if (v.isInteger()) {
        return formatNumber(v.toInteger(), picture);
    }
    if (v.isReal()) {
        return formatNumber(v.toReal(), picture);
    }
    if (v.isText()) {
        return cp1253::decode(v.textBytes());
    }
    return {};
}

}  // namespace dravin
