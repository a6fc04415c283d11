#include "beroktable.h"

#include <shapefil.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

#include "data/cp1253.h"
#include "data/errors.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;

enum class FieldKind { Text, Float, SmallInt };

struct FieldSpec {
    const char* name;
    FieldKind kind;
    int width;  // text only
};

// The sibling's field list. Text widths are part of its format; the widths of number
// fields are not, so any width is taken.
constexpr std::array<FieldSpec, 23> kFields = {{
    {"TMHMA", FieldKind::Text, 10},  {"BKIND", FieldKind::Text, 40},
    {"MKIND", FieldKind::Text, 30},  {"FLOOR", FieldKind::Text, 10},
    {"NAME", FieldKind::Text, 5},    {"USE", FieldKind::Text, 20},
    {"AREA", FieldKind::Float, 0},   {"ETA", FieldKind::Float, 0},
    {"SE", FieldKind::Float, 0},     {"SZ", FieldKind::Float, 0},
    {"ES", FieldKind::Float, 0},     {"P", FieldKind::Float, 0},
    {"BN", FieldKind::SmallInt, 0},  {"MN", FieldKind::SmallInt, 0},
    {"UN", FieldKind::SmallInt, 0},  {"EKKE", FieldKind::Float, 0},
    {"EKSAE", FieldKind::Float, 0},  {"EKAREA", FieldKind::Float, 0},
    {"EKSM", FieldKind::Float, 0},   {"EKSO", FieldKind::Float, 0},
    {"EKSP", FieldKind::Float, 0},   {"EKP", FieldKind::Float, 0},
    {"NGR", FieldKind::SmallInt, 0},
}};

constexpr int kFloorField = 3;
constexpr int kAreaField = 6;
constexpr int kUseField = 14;

constexpr int kFileHeaderSize = 32;

std::string shown(const fs::path& p) {
    return p.string();
}

// The fixed part of a dBase header, read by hand: shapelib opens a header whose record
// count runs past the end of the file and only fails later, one record at a time.
struct Header {
    std::uint32_t records = 0;
    int headerLength = 0;
    int recordLength = 0;
};

[[noreturn]] void notDbase(const fs::path& path, const std::string& why) {
    throw ParseError("Το αρχείο " + shown(path) + " δεν είναι πίνακας dBase: " + why + ".");
}

// The header of a dBase III/IV table: version 3 in the low bits of the first byte (dBase
// 7 lays out its fields differently), a date of last change (or none), the field
// descriptors ending with a carriage return, and room for every record it announces.
Header checkedHeader(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        throw IoError("Το αρχείο " + shown(path) + " δεν μπόρεσε να διαβαστεί.");
    }
    std::string bytes(kFileHeaderSize, '\0');
    if (size < kFileHeaderSize || !in.read(bytes.data(), kFileHeaderSize)) {
        notDbase(path, "είναι πολύ μικρό");
    }
    const auto b = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const bool noDate = b(1) == 0 && b(2) == 0 && b(3) == 0;
    if ((b(0) & 0x07) != 3 || (!noDate && (b(2) < 1 || b(2) > 12 || b(3) < 1 || b(3) > 31))) {
        notDbase(path, "η κεφαλίδα του δεν είναι κεφαλίδα dBase III ή IV");
    }
    Header h;
    h.records = b(4) | (b(5) << 8) | (b(6) << 16) | (std::uint32_t(b(7)) << 24);
    h.headerLength = b(8) | (b(9) << 8);
    h.recordLength = b(10) | (b(11) << 8);
    if (h.headerLength <= kFileHeaderSize || h.recordLength == 0) {
        notDbase(path, "η κεφαλίδα του είναι κατεστραμμένη");
    }
    const std::uintmax_t needed =
        std::uintmax_t(h.headerLength) + std::uintmax_t(h.records) * std::uintmax_t(h.recordLength);
    if (size < needed || h.records > std::uint32_t(std::numeric_limits<int>::max())) {
        const std::uintmax_t held =
            size < std::uintmax_t(h.headerLength) ? 0 : (size - h.headerLength) / h.recordLength;
        throw ParseError("Το αρχείο " + shown(path) + " είναι κομμένο: η κεφαλίδα του αναφέρει " +
                         std::to_string(h.records) + " εγγραφές, αλλά περιέχει μόνο " +
                         std::to_string(held) + ".");
    }
    bytes.resize(static_cast<size_t>(h.headerLength));
    if (!in.read(bytes.data() + kFileHeaderSize, h.headerLength - kFileHeaderSize)) {
        throw IoError("Το αρχείο " + shown(path) + " δεν μπόρεσε να διαβαστεί.");
    }
    size_t end = kFileHeaderSize;
    while (end < bytes.size() && b(end) != 0x0D) {
        end += XBASE_FLDHDR_SZ;
    }
    if (end >= bytes.size()) {
        notDbase(path, "η λίστα των πεδίων του δεν έχει τέλος");
    }
    return h;
}

// shapelib tries a lower-case ".dbf" twin before the name given and reads a ".cpg"
// side file; these hooks open the one file named, read-only, and keep its complaints
// off the standard error.
thread_local const std::string* tOnlyFile = nullptr;

SAFile openOnlyTheTable(const char* name, const char*) {
    if (tOnlyFile == nullptr || *tOnlyFile != name) {
        return nullptr;
    }
    return reinterpret_cast<SAFile>(std::fopen(name, "rb"));
}

void ignoreError(const char*) {}

class DbfFile {
public:
    explicit DbfFile(const fs::path& path) {
        const std::string name = path.string();
        SAHooks hooks;
        SASetupDefaultHooks(&hooks);
        hooks.FOpen = openOnlyTheTable;
        hooks.Error = ignoreError;
        tOnlyFile = &name;
        mHandle = DBFOpenLL(name.c_str(), "rb", &hooks);
        tOnlyFile = nullptr;
        if (mHandle == nullptr) {
            notDbase(path, "η λίστα των πεδίων του είναι κατεστραμμένη");
        }
    }
    ~DbfFile() { DBFClose(mHandle); }
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;

    DBFHandle handle() const noexcept { return mHandle; }

private:
    DBFHandle mHandle = nullptr;
};

struct Slot {
    int offset = 0;
    int width = 0;
};

std::string fieldError(const fs::path& path, const FieldSpec& spec, const std::string& what) {
    return "Το πεδίο " + std::string(spec.name) + " του " + shown(path) + " " + what + ".";
}

void checkType(const fs::path& path, const FieldSpec& spec, char native, int width, int decimals) {
    switch (spec.kind) {
        case FieldKind::Text:
            if (native != 'C') {
                throw ParseError(fieldError(path, spec, "δεν είναι πεδίο κειμένου"));
            }
            if (width != spec.width) {
                throw ParseError(fieldError(path, spec,
                                            "είναι κείμενο " + std::to_string(width) +
                                                " χαρακτήρων, όχι " + std::to_string(spec.width)));
            }
            break;
        case FieldKind::Float:
            if (native != 'N' && native != 'F') {
                throw ParseError(fieldError(path, spec, "δεν είναι αριθμητικό πεδίο"));
            }
            break;
        case FieldKind::SmallInt:
            if (native != 'N' || decimals != 0) {
                throw ParseError(fieldError(path, spec, "δεν είναι πεδίο ακέραιων αριθμών"));
            }
            break;
    }
}

// Where each field of the sibling lies in a record, by name, after checking its type.
std::array<Slot, kFields.size()> checkedFields(DBFHandle h, const fs::path& path,
                                               int recordLength) {
    // Offsets follow from the widths of all fields in file order, as shapelib lays them.
    std::vector<Slot> all(static_cast<size_t>(DBFGetFieldCount(h)));
    int offset = 1;  // after the deletion mark
    for (size_t i = 0; i < all.size(); ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(h, static_cast<int>(i), name, &width, &decimals);
        all[i] = {offset, width};
        offset += width;
    }
    if (offset > recordLength) {
        notDbase(path, "τα πεδία του δεν χωρούν στις εγγραφές του");
    }
    std::array<Slot, kFields.size()> slots;
    for (size_t f = 0; f < kFields.size(); ++f) {
        const FieldSpec& spec = kFields[f];
        const int i = DBFGetFieldIndex(h, spec.name);
        if (i < 0) {
            throw ParseError("Ο πίνακας " + shown(path) + " δεν έχει πεδίο " + spec.name + ".");
        }
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(h, i, name, &width, &decimals);
        checkType(path, spec, DBFGetNativeFieldType(h, i), width, decimals);
        slots[f] = all[static_cast<size_t>(i)];
    }
    return slots;
}

// An open, checked table.
class Reader {
public:
    explicit Reader(const fs::path& path) : mPath(path), mHeader(checkedHeader(path)), mFile(path) {
        if (DBFGetRecordCount(mFile.handle()) != static_cast<int>(mHeader.records)) {
            throw ParseError("Το αρχείο " + shown(path) + " άλλαξε την ώρα που άνοιγε.");
        }
        mSlots = checkedFields(mFile.handle(), path, mHeader.recordLength);
    }

    int recordCount() const noexcept { return static_cast<int>(mHeader.records); }

    // The record's bytes, copied at once: shapelib hands out one shared buffer.
    std::string recordBytes(int index) const {
        const char* bytes = DBFReadTuple(mFile.handle(), index);
        if (bytes == nullptr) {
            throw IoError("Η εγγραφή " + std::to_string(index + 1) + " του " + shown(mPath) +
                          " δεν μπόρεσε να διαβαστεί.");
        }
        return std::string(bytes, static_cast<size_t>(mHeader.recordLength));
    }

    std::string_view field(std::string_view record, int f) const {
        const Slot& s = mSlots[static_cast<size_t>(f)];
        return record.substr(static_cast<size_t>(s.offset), static_cast<size_t>(s.width));
    }

    const fs::path& path() const noexcept { return mPath; }

private:
    fs::path mPath;
    Header mHeader;
    DbfFile mFile;
    std::array<Slot, kFields.size()> mSlots;
};

// Text as the engine gives it: up to a NUL some writers pad with, without trailing blanks.
std::string textValue(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    const size_t end = raw.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view() : raw.substr(0, end + 1));
}

// A number field's text without its padding; empty when blank. dBase fills a number
// that overflowed its width with asterisks, which counts as blank as well.
std::string_view numberText(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    const size_t begin = raw.find_first_not_of(' ');
    if (begin == std::string_view::npos || raw.find_first_not_of("* ") == std::string_view::npos) {
        return {};
    }
    return raw.substr(begin, raw.find_last_not_of(' ') - begin + 1);
}

[[noreturn]] void badNumber(const Reader& r, int record, int f, std::string_view text,
                            const char* what) {
    throw ParseError("Στην εγγραφή " + std::to_string(record) + " του " + shown(r.path()) +
                     " το πεδίο " + kFields[static_cast<size_t>(f)].name + " έχει «" +
                     cp1253::decode(text) + "», που δεν είναι " + what + ".");
}

std::optional<double> floatValue(const Reader& r, int record, int f, std::string_view raw) {
    const std::string_view text = numberText(raw);
    if (text.empty()) {
        return std::nullopt;
    }
    double v = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(v)) {
        badNumber(r, record, f, text, "αριθμός");
    }
    return v;
}

std::optional<std::int16_t> smallIntValue(const Reader& r, int record, int f,
                                          std::string_view raw) {
    const std::string_view text = numberText(raw);
    if (text.empty()) {
        return std::nullopt;
    }
    std::int16_t v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        badNumber(r, record, f, text, "ακέραιος αριθμός από -32768 έως 32767");
    }
    return v;
}

}  // namespace

void BerokTable::setDirectory(const std::filesystem::path& dir) {
    mDirectory = dir;
    mOpen = false;
}

std::filesystem::path BerokTable::filePath() const {
    return mDirectory / kTableName;
}

void BerokTable::open() {
    mOpen = false;
    const fs::path path = filePath();
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        throw IoError("Ο πίνακας χώρων " + shown(path) + " δεν υπάρχει.");
    }
    if (!fs::is_regular_file(path, ec)) {
        throw IoError("Ο πίνακας χώρων " + shown(path) + " δεν είναι αρχείο.");
    }
    Reader check(path);
    mOpen = true;
}

std::vector<BerokRecord> BerokTable::readRecords() const {
    if (!mOpen) {
        throw EngineError("Ο πίνακας χώρων " + shown(filePath()) + " δεν είναι ανοιχτός.");
    }
    std::error_code ec;
    if (!fs::is_regular_file(filePath(), ec)) {
        throw IoError("Ο πίνακας χώρων " + shown(filePath()) + " δεν υπάρχει πια.");
    }
    const Reader reader(filePath());
    std::vector<BerokRecord> records;
    records.reserve(static_cast<size_t>(reader.recordCount()));
    for (int i = 0; i < reader.recordCount(); ++i) {
        const std::string bytes = reader.recordBytes(i);
        if (bytes[0] == '*') {
            continue;  // deleted: a dBase table hides such records
        }
        BerokRecord rec;
        rec.number = i + 1;
        rec.floor = textValue(reader.field(bytes, kFloorField));
        rec.use = smallIntValue(reader, rec.number, kUseField, reader.field(bytes, kUseField));
        rec.area = floatValue(reader, rec.number, kAreaField, reader.field(bytes, kAreaField));
        records.push_back(std::move(rec));
    }
    return records;
}

}  // namespace dravin
