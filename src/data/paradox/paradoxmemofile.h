#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravin {

// The memo file (.MB) beside a Paradox table: 4 kB blocks after a header block, each
// holding one memo (a single block) or up to 64 small ones (a sub-allocated block).
// Read here rather than by pxlib, whose reader overruns its stack on opening any such
// file; every offset is checked against the file.
class ParadoxMemoFile {
public:
    // Throws ParseError when the bytes are no memo file; fileName names it in messages.
    ParadoxMemoFile(std::string bytes, std::string fileName);

    // The memo a record points at with the ten bytes at the end of its memo field:
    // block offset and index, length, modification number. Throws ParseError naming the
    // file and the field when the memo file does not hold that memo.
    std::string memo(std::uint32_t pointer, std::uint32_t length, std::uint16_t modNumber,
                     std::string_view fieldName) const;

    const std::string& fileName() const noexcept { return mFileName; }

private:
    std::string singleBlockMemo(std::size_t block, std::uint32_t length,
                                std::uint16_t modNumber) const;
    std::string subAllocatedMemo(std::size_t block, unsigned index, std::uint32_t length,
                                 std::uint16_t modNumber) const;

    std::string mBytes;
    std::string mFileName;
};

}  // namespace dravin
