#include "data/cp1253.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <string>

#include "data/errors.h"

namespace dravin {
namespace {

std::string utf8Of(char32_t cp) {
    std::string out;
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
    return out;
}

// glibc's view of one byte: its UTF-8 form, or nothing where the code page has none.
class GlibcCp1253 {
public:
    GlibcCp1253() : mCd(iconv_open("UTF-8", "CP1253")) {}
    ~GlibcCp1253() {
        if (mCd != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(mCd);
        }
    }
    bool available() const { return mCd != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> decode(unsigned char byte) {
        iconv(mCd, nullptr, nullptr, nullptr, nullptr);
        char in[1] = {static_cast<char>(byte)};
        char out[8] = {};
        char* inPtr = in;
        char* outPtr = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        if (iconv(mCd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out, outPtr);
    }

private:
    iconv_t mCd;
};

TEST(Cp1253Test, AgreesWithGlibcOnEveryByte) {
    GlibcCp1253 glibc;
    ASSERT_TRUE(glibc.available()) << "glibc has no CP1253 converter";
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE("byte 0x" + std::to_string(b));
        const auto expected = glibc.decode(static_cast<unsigned char>(b));
        const char32_t ours = cp1253::toUnicode(static_cast<unsigned char>(b));
        if (!expected) {
            EXPECT_EQ(ours, 0u);
        } else if (b == 0) {
            EXPECT_EQ(ours, 0u);
        } else {
            EXPECT_EQ(utf8Of(ours), *expected);
        }
    }
}

TEST(Cp1253Test, EveryDefinedByteRoundTrips) {
    int defined = 0;
    for (int b = 0x80; b < 0x100; ++b) {
        const std::string byte(1, static_cast<char>(b));
        if (cp1253::toUnicode(static_cast<unsigned char>(b)) == 0) {
            continue;
        }
        ++defined;
        const std::string utf8 = cp1253::decode(byte);
        EXPECT_EQ(cp1253::encode(utf8), byte) << "byte " << b;
        EXPECT_TRUE(cp1253::canEncode(utf8));
    }
    // 128 less the 17 bytes the code page leaves undefined.
    EXPECT_EQ(defined, 111);
}

TEST(Cp1253Test, UndefinedBytesDecodeToReplacementCharacter) {
    for (unsigned char b : {0x81, 0x88, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x98, 0x9A, 0x9C, 0x9D,
                            0x9E, 0x9F, 0xAA, 0xD2, 0xFF}) {
        EXPECT_EQ(cp1253::toUnicode(b), 0u) << int(b);
        EXPECT_EQ(cp1253::decode(std::string(1, static_cast<char>(b))), "\xEF\xBF\xBD") << int(b);
    }
    EXPECT_EQ(cp1253::decode(std::string("A\0B", 3)), std::string("A\0B", 3));
}

TEST(Cp1253Test, GreekTextRoundTrips) {
    const std::string text = "Αρχείο Κατανομής Χιλιοστών ΐΰ ϊϋ ΆΈΉΊΌΎΏ ς € 12,50";
    const std::string bytes = cp1253::encode(text);
    EXPECT_EQ(bytes.size(), 50u);  // one byte per character
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xC1);
    EXPECT_EQ(cp1253::decode(bytes), text);
}

struct RefusedCase {
    const char* label;
    const char* utf8;
    const char* named;  // what the message must show
};

class Cp1253RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Cp1253RefusedTest, EncodeRefusesNamingTheCharacter) {
    const RefusedCase& c = GetParam();
    EXPECT_FALSE(cp1253::canEncode(c.utf8));
    try {
        cp1253::encode(c.utf8);
        FAIL() << "encoded " << c.label;
    } catch (const RangeError& e) {
        EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cp1253, Cp1253RefusedTest,
                         ::testing::Values(RefusedCase{"o_double_acute", "Σ ő", "ő"},
                                           RefusedCase{"cjk", "Όροφος 中", "U+4E2D"},
                                           RefusedCase{"polytonic", "ἀρχή", "U+1F00"},
                                           RefusedCase{"emoji", "\xF0\x9F\x98\x80", "U+1F600"},
                                           RefusedCase{"latin_e_acute", "café", "é"}),
                         [](const auto& info) { return std::string(info.param.label); });

class Cp1253MalformedTest : public ::testing::TestWithParam<std::string> {};

TEST_P(Cp1253MalformedTest, EncodeRefusesMalformedUtf8) {
    EXPECT_FALSE(cp1253::canEncode(GetParam()));
    EXPECT_THROW(cp1253::encode(GetParam()), RangeError);
}

INSTANTIATE_TEST_SUITE_P(Cp1253, Cp1253MalformedTest,
                         ::testing::Values(std::string("\xCE"),              // cut short
                                           std::string("A\xCE"),             // cut at the end
                                           std::string("\xCE\x41"),          // bad continuation
                                           std::string("\x80"),              // lone continuation
                                           std::string("\xC0\xB1"),          // overlong '1'
                                           std::string("\xE0\x80\xB1"),      // overlong '1'
                                           std::string("\xED\xA0\x80"),      // surrogate
                                           std::string("\xF4\x90\x80\x80"),  // beyond U+10FFFF
                                           std::string("\xFF"),              //
                                           std::string("\xC1")));            // raw code page byte

}  // namespace
}  // namespace dravin
