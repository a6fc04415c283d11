// The entry point's string arguments: the font name by its length byte, the code page
// texts up to their NUL, and what a standalone call leaves unread.

#include "entry/entryarguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravin {
namespace {

// A short string of the host: the length byte, then exactly that many bytes.
std::vector<unsigned char> shortString(const std::string& bytes) {
    std::vector<unsigned char> s(bytes.size() + 1);
    s[0] = static_cast<unsigned char>(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        s[i + 1] = static_cast<unsigned char>(bytes[i]);
    }
    return s;
}

TEST(EntryArgumentsTest, FontNameTakesItsLengthByteAndNothingAfter) {
    const auto font = shortString("Arial Greek");
    auto buffer = font;
    buffer.push_back('X');  // what lies beyond the length is not part of the name
    const auto args =
        decodeEntryArguments(copyFontName(buffer.data()), nullptr, nullptr, nullptr, false);
    EXPECT_EQ(args.printFontName, "Arial Greek");
}

TEST(EntryArgumentsTest, LongestFontNameKeepsEveryByte) {
    const auto font = shortString(std::string(255, 'F'));
    const auto args =
        decodeEntryArguments(copyFontName(font.data()), nullptr, nullptr, nullptr, false);
    EXPECT_EQ(args.printFontName, std::string(255, 'F'));
}

TEST(EntryArgumentsTest, FontNameEndsAtANulWithinItsLength) {
    const auto font = shortString(std::string("Ar\0ial", 6));
    const auto args =
        decodeEntryArguments(copyFontName(font.data()), nullptr, nullptr, nullptr, false);
    EXPECT_EQ(args.printFontName, "Ar");
}

TEST(EntryArgumentsTest, EmbeddedTextsAreDecodedFromTheCodePage) {
    const auto font = shortString("\xD4\xE9\xEC\xDE");  // Τιμή
    const auto args =
        decodeEntryArguments(copyFontName(font.data()), "C:\\DB2",
                             "C:\\\xCC\xC5\xCB\xC5\xD4\xC5\xD3", "\xD0\xEF\xEB\xF5", true);
    EXPECT_EQ(args.dataDir, "C:\\DB2");
    EXPECT_EQ(args.studiesDir, "C:\\ΜΕΛΕΤΕΣ");
    EXPECT_EQ(args.studyName, "Πολυ");
    EXPECT_EQ(args.printFontName, "Τιμή");
}

TEST(EntryArgumentsTest, StandaloneLeavesTheDirectoriesUnread) {
    const auto args = decodeEntryArguments(copyFontName(nullptr), "C:\\DB2", "C:\\X", "A", false);
    EXPECT_EQ(args.dataDir, "");
    EXPECT_EQ(args.studiesDir, "");
    EXPECT_EQ(args.studyName, "");
}

TEST(EntryArgumentsTest, NullPointersAreEmptyTexts) {
    const auto args = decodeEntryArguments(copyFontName(nullptr), nullptr, nullptr, nullptr, true);
    EXPECT_EQ(args.dataDir, "");
    EXPECT_EQ(args.studiesDir, "");
    EXPECT_EQ(args.studyName, "");
    EXPECT_EQ(args.printFontName, "");
}

TEST(EntryArgumentsTest, HostTextStopsAtItsLimit) {
    const std::string text(5000, 'a');
    EXPECT_EQ(decodeHostText(text.c_str()), std::string(4096, 'a'));
    EXPECT_EQ(decodeHostText(text.c_str(), 3), "aaa");
}

}  // namespace
}  // namespace dravin
