#include "paradoxtable.h"

#include "data/paradox/pxlib.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <set>

#include "data/cp1253.h"
#include "data/errors.h"
#include "paradoxbytes.h"
#include "paradoxmemofile.h"

namespace dravin {
namespace {

using paradox::byteAt;
using paradox::longWord;
using paradox::word;

// Header offsets of a Paradox data file.
constexpr std::size_t kMinHeader = 0x58;
constexpr std::size_t kFieldInfoOld = 0x58;  // before file version 4
constexpr std::size_t kFieldInfo = 0x78;
constexpr unsigned kVersion4 = 5;
constexpr std::size_t kBlockHeader = 6;
constexpr int kMemoTail = 10;  // block pointer, length, modification number

std::string damaged(const std::string& file) {
    return "Ο πίνακας " + file + " είναι κατεστραμμένος ή κομμένος, οπότε δεν μετατράπηκε τίποτα.";
}

struct Header {
    std::size_t recordSize = 0;
    std::size_t headerSize = 0;
    std::size_t blockSize = 0;
    std::size_t records = 0;
    std::vector<std::pair<unsigned, unsigned>> fields;  // type, size
};

// The geometry pxlib relies on, checked against the file's length before pxlib reads it:
// a cut or damaged file is refused here rather than read as garbage.
Header checkedHeader(std::string_view b, const std::string& file) {
    if (b.size() < kMinHeader) {
        throw ParseError(damaged(file));
    }
    Header h;
    h.recordSize = word(b, 0);
    h.headerSize = word(b, 2);
    const unsigned fileType = byteAt(b, 4);
    const unsigned maxTableSize = byteAt(b, 5);
    h.records = longWord(b, 6);
    const std::size_t fileBlocks = word(b, 0x0c);
    std::size_t block = word(b, 0x0e);
    const int numFields = static_cast<std::int16_t>(word(b, 0x21));
    const unsigned version = byteAt(b, 0x39);
    const std::size_t fieldInfo = version >= kVersion4 ? kFieldInfo : kFieldInfoOld;
    h.blockSize = maxTableSize * std::size_t{0x400};
    // pxlib deciphers the blocks of a table kept under a password before it walks them, so
    // a cipher mark would make its walk differ from the one checked here.
    const std::uint32_t cipher = longWord(b, 0x25);
    if (cipher != 0 && (cipher != 0xff00ff00u || b.size() < 0x60 || longWord(b, 0x5c) != 0)) {
        throw ParseError("Ο πίνακας " + file +
                         " προστατεύεται με κωδικό και δεν διαβάζεται, οπότε δεν μετατράπηκε "
                         "τίποτα.");
    }
    if ((fileType != 0 && fileType != 2) || maxTableSize < 1 || maxTableSize > 32 || version < 3 ||
        version > 15 || h.headerSize < fieldInfo || h.headerSize > b.size() || numFields < 1 ||
        numFields > 255 || fieldInfo + 2 * std::size_t(numFields) > h.headerSize ||
        h.recordSize == 0 || h.recordSize + kBlockHeader > h.blockSize) {
        throw ParseError(damaged(file));
    }
    std::size_t sum = 0;
    for (int i = 0; i < numFields; ++i) {
        const unsigned type = byteAt(b, fieldInfo + 2 * i);
        const unsigned size = byteAt(b, fieldInfo + 2 * i + 1);
        if (size == 0) {
            throw ParseError(damaged(file));
        }
        h.fields.emplace_back(type, size);
        sum += size;
    }
    if (sum != h.recordSize || h.headerSize + fileBlocks * h.blockSize > b.size()) {
        throw ParseError(damaged(file));
    }
    // The chain of data blocks must reach every record the header counts, once.
    std::set<std::size_t> seen;
    std::size_t counted = 0;
    while (block != 0) {
        if (block > fileBlocks || !seen.insert(block).second) {
            throw ParseError(damaged(file));
        }
        const std::size_t at = h.headerSize + (block - 1) * h.blockSize;
        const long added = static_cast<std::int16_t>(word(b, at + 4));
        const long rs = static_cast<long>(h.recordSize);
        if (added < -rs || added % rs != 0 ||
            kBlockHeader + static_cast<std::size_t>(added + rs) > h.blockSize) {
            throw ParseError(damaged(file));
        }
        counted += static_cast<std::size_t>(added + rs) / h.recordSize;
        block = word(b, at);
    }
    if (counted != h.records) {
        throw ParseError(damaged(file));
    }
    return h;
}

// One open pxlib document over bytes in memory.
class PxDocument {
public:
    PxDocument(std::string_view bytes, const std::string& file) : mBytes(bytes) {
        mDoc = PX_new3(&PxDocument::onError, nullptr, nullptr, nullptr, this);
        mFile = mBytes.empty() ? nullptr : ::fmemopen(mBytes.data(), mBytes.size(), "rb");
        if (!mDoc || !mFile || PX_open_fp(mDoc, mFile) < 0 || mFailed) {
            // pxlib frees parts of a document it failed to open and frees them again when
            // the document is deleted: such a document is left, rather than freed twice. The
            // checks before make this a rare path.
            mDoc = nullptr;
            release();
            throw ParseError(damaged(file));
        }
    }
    ~PxDocument() { release(); }
    PxDocument(const PxDocument&) = delete;
    PxDocument& operator=(const PxDocument&) = delete;

    pxdoc_t* get() const noexcept { return mDoc; }
    bool failed() const noexcept { return mFailed; }
    void clearFailure() noexcept { mFailed = false; }

private:
    static void onError(pxdoc_t*, int level, const char*, void* self) {
        if (level != PX_Warning) {
            static_cast<PxDocument*>(self)->mFailed = true;
        }
    }
    void release() noexcept {
        if (mDoc) {
            PX_close(mDoc);
            PX_delete(mDoc);
            mDoc = nullptr;
        }
        if (mFile) {
            std::fclose(mFile);
            mFile = nullptr;
        }
    }

    std::string mBytes;
    pxdoc_t* mDoc = nullptr;
    std::FILE* mFile = nullptr;
    bool mFailed = false;
};

bool isMemoType(int pxType) noexcept {
    return pxType == pxfMemoBLOb || pxType == pxfFmtMemoBLOb;
}

const char* typeName(FieldType t) noexcept {
    switch (t) {
        case FieldType::Integer:
            return "ακέραιων αριθμών";
        case FieldType::Float:
            return "αριθμών";
        case FieldType::Alpha:
            return "κειμένου";
        case FieldType::Memo:
            return "σημειώσεων";
        case FieldType::FormattedMemo:
            return "σημειώσεων με μορφοποίηση";
    }
    return "";
}

// A field of the file that one of ours takes: where it lies in the record.
struct Source {
    int definitionIndex = -1;
    std::size_t offset = 0;
    int length = 0;
};

class RecordDecoder {
public:
    RecordDecoder(const PxDocument& doc, const ParadoxMemoFile* memo, const std::string& file,
                  const TableDef& def)
        : mDoc(doc), mMemo(memo), mFile(file), mDef(def) {}

    Value decode(char* data, const Source& s, std::size_t record) const {
        const FieldDef& f = mDef.fields[s.definitionIndex];
        switch (f.type) {
            case FieldType::Integer:
                return integer(data);
            case FieldType::Float: {
                double v = 0;
                if (PX_get_data_double(mDoc.get(), data, s.length, &v) <= 0) {
                    return Value();
                }
                if (!std::isfinite(v)) {
                    throw ParseError(valueFault(f, record, "δεν είναι αριθμός"));
                }
                return Value::real(v);
            }
            case FieldType::Alpha:
                return checkedText(alpha(data, s.length), f, record);
            default:
                return checkedText(memoText(data, s.length, f), f, record);
        }
    }

private:
    // Big-endian with the sign bit flipped, all zero for blank. pxlib's own reader tests
    // the four bytes as a long of eight.
    static Value integer(const char* data) {
        std::uint32_t raw = 0;
        for (int i = 0; i < 4; ++i) {
            raw = raw << 8 | static_cast<unsigned char>(data[i]);
        }
        return raw == 0 ? Value() : Value::integer(static_cast<std::int32_t>(raw ^ 0x80000000u));
    }

    std::string alpha(char* data, int length) const {
        char* text = nullptr;
        if (PX_get_data_alpha(mDoc.get(), data, length, &text) <= 0 || !text) {
            return {};
        }
        std::string copy(text);
        mDoc.get()->free(mDoc.get(), text);
        return copy;
    }

    std::string memoText(const char* data, int length, const FieldDef& f) const {
        const std::string_view field(data, static_cast<std::size_t>(length));
        const std::size_t leader = static_cast<std::size_t>(length - kMemoTail);
        const std::uint32_t size = longWord(field, leader + 4);
        if (size == 0) {
            return {};
        }
        if (size <= leader) {
            return std::string(field.substr(0, size));
        }
        if (!mMemo) {
            throw ParseError("Λείπει το αρχείο σημειώσεων (.MB) του πίνακα " + mFile +
                             ", που κρατά το πεδίο " + f.name + ", οπότε δεν μετατράπηκε τίποτα.");
        }
        return mMemo->memo(longWord(field, leader), size, word(field, leader + 8), f.name);
    }

    Value checkedText(std::string bytes, const FieldDef& f, std::size_t record) const {
        if (bytes.empty()) {
            return Value();
        }
        if (f.type == FieldType::Alpha && static_cast<int>(bytes.size()) > f.size) {
            throw ParseError(valueFault(
                f, record, "είναι μεγαλύτερο από " + std::to_string(f.size) + " χαρακτήρες"));
        }
        for (const char c : bytes) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x80 && cp1253::toUnicode(u) == 0) {
                throw ParseError(
                    valueFault(f, record, "έχει χαρακτήρα που δεν ορίζει η κωδικοσελίδα 1253"));
            }
        }
        return Value::bytes(std::move(bytes));
    }

    std::string valueFault(const FieldDef& f, std::size_t record, const std::string& what) const {
        return "Στον πίνακα " + mFile + " το πεδίο " + f.name + " της εγγραφής " +
               std::to_string(record + 1) + " " + what + ", οπότε δεν μετατράπηκε τίποτα.";
    }

    const PxDocument& mDoc;
    const ParadoxMemoFile* mMemo;
    const std::string& mFile;
    const TableDef& mDef;
};

}  // namespace

bool looksLikeParadoxTable(std::string_view b) noexcept {
    static constexpr std::string_view kSqlite("SQLite format 3\0", 16);
    if (b.size() < 6 || b.substr(0, kSqlite.size()) == kSqlite) {
        return false;
    }
    const unsigned fileType = byteAt(b, 4);
    const unsigned maxTableSize = byteAt(b, 5);
    return (fileType == 0 || fileType == 2) && maxTableSize >= 1 && maxTableSize <= 32;
}

int paradoxFieldType(FieldType type) noexcept {
    switch (type) {
        case FieldType::Integer:
            return pxfLong;
        case FieldType::Float:
            return pxfNumber;
        case FieldType::Alpha:
            return pxfAlpha;
        case FieldType::Memo:
            return pxfMemoBLOb;
        case FieldType::FormattedMemo:
            return pxfFmtMemoBLOb;
    }
    return -1;
}

bool paradoxTableHasMemos(std::string_view dbBytes, const std::string& fileName) {
    for (const auto& [type, size] : checkedHeader(dbBytes, fileName).fields) {
        if (isMemoType(static_cast<int>(type))) {
            return true;
        }
    }
    return false;
}

ParadoxTableRead readParadoxTable(std::string_view dbBytes, const ParadoxMemoFile* memo,
                                  const std::string& fileName, const TableDef& def) {
    const Header header = checkedHeader(dbBytes, fileName);
    PxDocument doc(dbBytes, fileName);
    pxdoc_t* px = doc.get();
    const int count = PX_get_num_fields(px);
    if (count != static_cast<int>(header.fields.size()) ||
        PX_get_recordsize(px) != static_cast<int>(header.recordSize) ||
        PX_get_num_records(px) != static_cast<int>(header.records)) {
        throw ParseError(damaged(fileName));
    }
    ParadoxTableRead read;
    std::vector<Source> sources;
    std::vector<bool> found(def.fields.size(), false);
    std::size_t offset = 0;
    for (int i = 0; i < count; ++i) {
        const pxfield_t* f = PX_get_field(px, i);
        const std::string name = f && f->px_fname ? f->px_fname : "";
        if (!f || f->px_flen != static_cast<int>(header.fields[i].second)) {
            throw ParseError(damaged(fileName));
        }
        const auto idx = def.fieldIndex(name);
        if (!idx) {
            read.leftOut.push_back(name);
        } else if (found[*idx]) {
            throw ParseError("Ο πίνακας " + fileName + " έχει δύο φορές το πεδίο " + name +
                             ", οπότε δεν μετατράπηκε τίποτα.");
        } else if (f->px_ftype != paradoxFieldType(def.fields[*idx].type) ||
                   (isMemoType(f->px_ftype) && f->px_flen <= kMemoTail)) {
            throw ParseError("Στον πίνακα " + fileName + " το πεδίο " + name + " δεν είναι πεδίο " +
                             typeName(def.fields[*idx].type) + ", οπότε δεν μετατράπηκε τίποτα.");
        } else {
            found[*idx] = true;
            sources.push_back({*idx, offset, f->px_flen});
        }
        offset += static_cast<std::size_t>(f->px_flen);
    }
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        if (!found[i]) {
            read.missing.push_back(def.fields[i].name);
        }
    }
    const RecordDecoder decoder(doc, memo, fileName, def);
    std::vector<char> data(header.recordSize);
    read.rows.reserve(header.records);
    for (std::size_t r = 0; r < header.records; ++r) {
        std::fill(data.begin(), data.end(), '\0');
        int deleted = 0;
        if (!PX_get_record2(px, static_cast<int>(r), data.data(), &deleted, nullptr) ||
            doc.failed()) {
            throw ParseError(damaged(fileName));
        }
        std::vector<Value> row(def.fields.size());
        for (const Source& s : sources) {
            row[s.definitionIndex] = decoder.decode(data.data() + s.offset, s, r);
        }
        read.rows.push_back(std::move(row));
    }
    return read;
}

}  // namespace dravin
