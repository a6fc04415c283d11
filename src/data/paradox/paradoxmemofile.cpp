#include "paradoxmemofile.h"

#include "data/errors.h"
#include "paradoxbytes.h"

namespace dravin {
namespace {

using paradox::byteAt;
using paradox::longWord;
using paradox::word;

constexpr std::size_t kBlockSize = 4096;
constexpr unsigned kHeaderBlock = 0;
constexpr unsigned kSingleBlock = 2;
constexpr unsigned kSubAllocatedBlock = 3;
// A single block: type, block count, length, modification number, then the memo.
constexpr std::size_t kSingleHeader = 9;
// A sub-allocated block: 12 header bytes, then 64 entries of 5 bytes (start and length
// in 16-byte units, modification number, length modulo 16).
constexpr std::size_t kEntryTable = 12;
constexpr std::size_t kEntrySize = 5;
constexpr unsigned kEntries = 64;

}  // namespace

ParadoxMemoFile::ParadoxMemoFile(std::string bytes, std::string fileName)
    : mBytes(std::move(bytes)), mFileName(std::move(fileName)) {
    if (mBytes.size() < kBlockSize || mBytes.size() % kBlockSize != 0 ||
        byteAt(mBytes, 0) != kHeaderBlock) {
        throw ParseError("Το αρχείο σημειώσεων " + mFileName +
                         " είναι κατεστραμμένο ή κομμένο, οπότε δεν μετατράπηκε τίποτα.");
    }
}

std::string ParadoxMemoFile::memo(std::uint32_t pointer, std::uint32_t length,
                                  std::uint16_t modNumber, std::string_view fieldName) const {
    const std::size_t offset = pointer & 0xffffff00u;
    const unsigned index = pointer & 0xffu;
    std::string text;
    if (offset != 0 && offset % kBlockSize == 0 && offset + kBlockSize <= mBytes.size()) {
        const unsigned type = byteAt(mBytes, offset);
        if (type == kSingleBlock && index == 0xff) {
            text = singleBlockMemo(offset, length, modNumber);
        } else if (type == kSubAllocatedBlock && index < kEntries) {
            text = subAllocatedMemo(offset, index, length, modNumber);
        }
    }
    if (text.size() != length || length == 0) {
        throw ParseError("Το αρχείο σημειώσεων " + mFileName +
                         " δεν ταιριάζει με τον πίνακά του: " + "λείπει το κείμενο του πεδίου " +
                         std::string(fieldName) + ", οπότε δεν μετατράπηκε τίποτα.");
    }
    return text;
}

std::string ParadoxMemoFile::singleBlockMemo(std::size_t block, std::uint32_t length,
                                             std::uint16_t modNumber) const {
    const std::size_t blocks = word(mBytes, block + 1);
    const std::size_t end = block + blocks * kBlockSize;
    if (blocks == 0 || end > mBytes.size() || longWord(mBytes, block + 3) != length ||
        word(mBytes, block + 7) != modNumber || kSingleHeader + length > blocks * kBlockSize) {
        return {};
    }
    return mBytes.substr(block + kSingleHeader, length);
}

std::string ParadoxMemoFile::subAllocatedMemo(std::size_t block, unsigned index,
                                              std::uint32_t length, std::uint16_t modNumber) const {
    const std::size_t entry = block + kEntryTable + index * kEntrySize;
    const std::size_t start = byteAt(mBytes, entry) * 16u;
    const std::size_t units = byteAt(mBytes, entry + 1);
    const std::size_t stored = units == 0 ? 0 : (units - 1) * 16 + byteAt(mBytes, entry + 4);
    if (units == 0 || stored != length || word(mBytes, entry + 2) != modNumber ||
        start < kEntryTable + kEntries * kEntrySize || start + length > kBlockSize) {
        return {};
    }
    return mBytes.substr(block + start, length);
}

}  // namespace dravin
