#include "table.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <map>
#include <mutex>
#include <system_error>

#include "cp1253.h"
#include "errors.h"
#include "sqlitefile.h"

namespace dravin {
namespace {

constexpr const char* kFormatKey = "format";
constexpr const char* kFormatValue = "dravin-table-1";
constexpr const char* kDriverKey = "LANGDRIVER";

// Files open by a table component of this process: a second component may not
// open the same file (their records would drift apart), and an open table may not
// be deleted.
class OpenFiles {
public:
    static OpenFiles& instance() {
        // Never destroyed: tables in static storage close after other statics are gone.
        static OpenFiles* files = new OpenFiles;
        return *files;
    }
    bool add(const std::string& key) {
        std::lock_guard lock(mMutex);
        return mKeys.emplace(key, 1).second;
    }
    void remove(const std::string& key) {
        std::lock_guard lock(mMutex);
        mKeys.erase(key);
    }
    bool contains(const std::string& key) {
        std::lock_guard lock(mMutex);
        return mKeys.count(key) != 0;
    }

private:
    std::mutex mMutex;
    std::map<std::string, int> mKeys;
};

std::string fileKey(const std::filesystem::path& p) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(p, ec);
    return (ec ? std::filesystem::absolute(p) : canonical).string();
}

const char* sqlType(const FieldDef& f) {
    switch (f.type) {
        case FieldType::Integer:
            return "INTEGER";
        case FieldType::Float:
            return "REAL";
        case FieldType::Alpha:
            return "ALPHA_BLOB";
        case FieldType::Memo:
            return "MEMO_BLOB";
        case FieldType::FormattedMemo:
            return "FMTMEMO_BLOB";
    }
    return "BLOB";
}

std::string declaredType(const FieldDef& f) {
    std::string t = sqlType(f);
    if (f.type == FieldType::Alpha) {
        t += "(" + std::to_string(f.size) + ")";
    }
    return t;
}

std::string sqlName(const std::string& name) {
    return "\"" + name + "\"";
}

bool endsWithIgnoreCase(const std::string& s, std::string_view suffix) {
    return s.size() >= suffix.size() &&
           equalsIgnoreCase(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

void removeIfPresent(const std::filesystem::path& p) {
    std::error_code ec;
    std::filesystem::remove(p, ec);
}

}  // namespace

// Observers hear of the changes of an operation when the outermost one ends.
class Table::Operation {
public:
    explicit Operation(Table& table) noexcept : mTable(table) { ++mTable.mOperationDepth; }
    ~Operation() {
        if (--mTable.mOperationDepth == 0) {
            mTable.deliverChanges();
        }
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

private:
    Table& mTable;
};

// ---------------------------------------------------------------- Table: set-up

Table::Table(std::string componentName, TableDef def)
    : mComponentName(std::move(componentName)), mDef(std::move(def)) {
    for (const auto& k : mDef.primaryKey) {
        const auto idx = mDef.fieldIndex(k);
        if (!idx) {
            throw EngineError("Το πεδίο κλειδιού " + k + " δεν είναι πεδίο του πίνακα " +
                              mComponentName + ".");
        }
        mKeyIndexes.push_back(*idx);
    }
    mLookupSources.resize(mDef.lookups.size(), nullptr);
    mFieldHandlers.resize(mDef.fields.size());
}

Table::~Table() {
    try {
        close();
    } catch (...) {
        // Nothing may escape a destructor; posts already reached the file.
    }
}

void Table::setDirectory(const std::filesystem::path& dir) {
    requireClosed("αλλαγή του καταλόγου του");
    mDirectory = dir;
}

void Table::setTableName(const std::string& name) {
    requireClosed("μετονομασία του");
    mTableName = name;
}

std::filesystem::path Table::filePath() const {
    if (endsWithIgnoreCase(mTableName, ".DB")) {
        return mDirectory / mTableName;
    }
    return mDirectory / (mTableName + ".DB");
}

void Table::setReadOnly(bool readOnly) {
    requireClosed("αλλαγή της ιδιότητάς του «μόνο για ανάγνωση»");
    mReadOnly = readOnly;
}

void Table::requireOpen(const char* what) const {
    if (!isOpen()) {
        throw EngineError("Ο πίνακας " + mComponentName + " είναι κλειστός· δεν γίνεται " + what +
                          ".");
    }
}

void Table::requireClosed(const char* what) const {
    if (isOpen()) {
        throw EngineError("Ο πίνακας " + mComponentName + " είναι ανοιχτός· δεν γίνεται " + what +
                          ".");
    }
}

void Table::requireWritable() const {
    if (mReadOnly) {
        throw EngineError("Ο πίνακας " + mTableName + " είναι μόνο για ανάγνωση.");
    }
}

void Table::requireEditing() const {
    if (mState != TableState::Edit && mState != TableState::Insert) {
        throw EngineError("Ο πίνακας " + mComponentName +
                          " δεν βρίσκεται σε διόρθωση ή προσθήκη εγγραφής.");
    }
}

// ---------------------------------------------------------------- Table: files

bool Table::exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(filePath(), ec);
}

bool Table::fileWritable() const {
    return exists() && SqliteFile::writable(filePath());
}

void Table::createTable() {
    requireClosed("δημιουργία του");
    const auto path = filePath();
    if (exists()) {
        throw EngineError("Ο πίνακας " + path.string() + " υπάρχει ήδη.");
    }
    // Built under a temporary name and renamed, so that a half-made file never
    // carries the table's name.
    auto temp = path;
    temp += ".creating";
    removeIfPresent(temp);
    try {
        {
            SqliteFile file(temp, SqliteFile::Mode::Create);
            std::string sql = "CREATE TABLE data(";
            for (size_t i = 0; i < mDef.fields.size(); ++i) {
                sql += (i ? ", " : "") + sqlName(mDef.fields[i].name) + " " +
                       declaredType(mDef.fields[i]);
            }
            sql += ")";
            file.exec("BEGIN");
            file.exec("CREATE TABLE dravin_meta(key TEXT PRIMARY KEY, value TEXT)");
            file.exec(sql);
            auto st = file.prepare("INSERT INTO dravin_meta VALUES(?, ?)");
            st.bindText(1, kFormatKey);
            st.bindText(2, kFormatValue);
            st.run();
            file.exec("COMMIT");
            file.exec("PRAGMA journal_mode=WAL");
        }
        std::filesystem::rename(temp, path);
    } catch (const std::filesystem::filesystem_error& e) {
        removeIfPresent(temp);
        throw EngineError("Ο πίνακας " + path.string() +
                          " δεν μπόρεσε να δημιουργηθεί: " + e.code().message() + ".");
    } catch (...) {
        removeIfPresent(temp);
        removeIfPresent(std::filesystem::path(temp.string() + "-wal"));
        removeIfPresent(std::filesystem::path(temp.string() + "-shm"));
        throw;
    }
}

void Table::deleteTable() {
    requireClosed("διαγραφή του");
    const auto path = filePath();
    if (!exists()) {
        throw EngineError("Ο πίνακας " + path.string() + " δεν υπάρχει.");
    }
    if (OpenFiles::instance().contains(fileKey(path))) {
        throw EngineError("Ο πίνακας " + path.string() + " χρησιμοποιείται αυτή τη στιγμή.");
    }
    try {
        SqliteFile probe(path, SqliteFile::Mode::OpenExisting);
        probe.lockForWriting();
    } catch (const InUseError&) {
        throw;
    } catch (const EngineError&) {
        // Not a table of ours, or not writable: removing it tells.
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) {
        throw EngineError("Ο πίνακας " + path.string() +
                          " δεν μπόρεσε να διαγραφεί: " + ec.message() + ".");
    }
    for (const char* companion : {"-wal", "-shm", "-journal"}) {
        removeIfPresent(std::filesystem::path(path.string() + companion));
    }
}

void Table::checkFileIsOurs(SqliteFile& file) const {
    bool ours = false;
    try {
        auto st = file.prepare("SELECT value FROM dravin_meta WHERE key = ?");
        st.bindText(1, kFormatKey);
        ours = st.step() && st.columnText(0) == kFormatValue;
    } catch (const SqliteError& e) {
        if (!e.meansForeignFile()) {
            throw;
        }
    }
    if (!ours) {
        throw EngineError("Το αρχείο " + file.path().string() +
                          " δεν είναι πίνακας αυτού του προγράμματος και έμεινε ανέγγιχτο.");
    }
    auto info = file.prepare("PRAGMA table_info(data)");
    size_t i = 0;
    bool same = true;
    while (info.step()) {
        if (i >= mDef.fields.size() || !equalsIgnoreCase(info.columnText(1), mDef.fields[i].name) ||
            info.columnText(2) != declaredType(mDef.fields[i])) {
            same = false;
        }
        ++i;
    }
    if (!same || i != mDef.fields.size()) {
        throw EngineError("Ο πίνακας " + file.path().string() + " δεν έχει τα πεδία ενός πίνακα " +
                          mComponentName + ".");
    }
}

void Table::applyLanguageDriver(const std::string& driver) {
    const bool wasOpen = isOpen();
    if (wasOpen) {
        checkBrowseMode();
    }
    if (!wasOpen && !exists()) {
        throw EngineError("Ο πίνακας " + filePath().string() + " δεν υπάρχει.");
    }
    // Unchanged, the file is only read: tables other programs share stay shareable.
    if (languageDriver() == driver) {
        return;
    }
    std::unique_ptr<SqliteFile> own;
    SqliteFile* file = mFile.get();
    if (!file) {
        own = std::make_unique<SqliteFile>(filePath(), SqliteFile::Mode::OpenExisting);
        checkFileIsOurs(*own);
        own->lockForWriting();
        file = own.get();
    }
    auto st = file->prepare("INSERT OR REPLACE INTO dravin_meta VALUES(?, ?)");
    st.bindText(1, kDriverKey);
    st.bindText(2, driver);
    st.run();
}

std::string Table::languageDriver() const {
    std::unique_ptr<SqliteFile> own;
    SqliteFile* file = mFile.get();
    if (!file) {
        own = std::make_unique<SqliteFile>(filePath(), SqliteFile::Mode::OpenExisting,
                                           SqliteFile::Sharing::Shared);
        checkFileIsOurs(*own);
        file = own.get();
    }
    auto st = file->prepare("SELECT value FROM dravin_meta WHERE key = ?");
    st.bindText(1, kDriverKey);
    return st.step() ? st.columnText(0) : std::string();
}

// ---------------------------------------------------------------- Table: open/close

void Table::open() {
    if (isOpen()) {
        return;
    }
    const auto path = filePath();
    if (!exists()) {
        throw EngineError("Ο πίνακας " + path.string() + " δεν υπάρχει.");
    }
    const std::string key = fileKey(path);
    if (!OpenFiles::instance().add(key)) {
        throw EngineError("Ο πίνακας " + path.string() +
                          " είναι ήδη ανοιχτός σε αυτό το πρόγραμμα.");
    }
    try {
        // A table that may be written is this program's alone while open; readers share.
        auto file = std::make_unique<SqliteFile>(
            path, SqliteFile::Mode::OpenExisting,
            mReadOnly ? SqliteFile::Sharing::Shared : SqliteFile::Sharing::Exclusive);
        checkFileIsOurs(*file);
        if (!mReadOnly) {
            file->exec("PRAGMA journal_mode=WAL");
            file->lockForWriting();
        }
        file->exec("PRAGMA synchronous=FULL");
        mFile = std::move(file);
        std::string cols, marks, sets;
        for (size_t i = 0; i < mDef.fields.size(); ++i) {
            const std::string q = sqlName(mDef.fields[i].name);
            cols += (i ? ", " : "") + q;
            marks += i ? ", ?" : "?";
            sets += (i ? ", " : "") + q + " = ?";
        }
        mInsert = std::make_unique<SqliteStatement>(
            mFile->handle(), "INSERT INTO data(" + cols + ", rowid) VALUES(" + marks + ", ?)");
        mUpdate = std::make_unique<SqliteStatement>(mFile->handle(),
                                                    "UPDATE data SET " + sets + " WHERE rowid = ?");
        mDelete =
            std::make_unique<SqliteStatement>(mFile->handle(), "DELETE FROM data WHERE rowid = ?");
        mLastRowId = 0;
        loadRecords();
    } catch (...) {
        mInsert.reset();
        mUpdate.reset();
        mDelete.reset();
        mFile.reset();
        mRecords.clear();
        OpenFiles::instance().remove(key);
        throw;
    }
    beginReset();
    mState = TableState::Browse;
    mCursor = 0;
    mBof = true;
    mEof = mRecords.empty();
    markChanged();
    endReset();
}

void Table::loadRecords() {
    std::string sql = "SELECT rowid";
    for (const auto& f : mDef.fields) {
        sql += ", " + sqlName(f.name);
    }
    sql += " FROM data ORDER BY rowid";
    auto st = mFile->prepare(sql);
    std::vector<Record> records;
    while (st.step()) {
        Record r;
        r.rowId = st.columnInt64(0);
        mLastRowId = std::max(mLastRowId, r.rowId);
        r.values.reserve(mDef.fields.size());
        for (size_t i = 0; i < mDef.fields.size(); ++i) {
            r.values.push_back(st.column(static_cast<int>(i) + 1, mDef.fields[i].type));
        }
        records.push_back(std::move(r));
    }
    if (!mKeyIndexes.empty()) {
        std::stable_sort(records.begin(), records.end(), [this](const Record& a, const Record& b) {
            return keyCompare(a.values, b.values) < 0;
        });
    }
    mRecords = std::move(records);
}

void Table::close() {
    if (!isOpen()) {
        return;
    }
    if (mState == TableState::Edit || mState == TableState::Insert) {
        cancel();  // leaving an unposted record behind, as closing a form does
    }
    const std::string key = fileKey(filePath());
    // Grouped writes reach the file before it closes; a failure is reported after
    // the table is closed all the same.
    std::exception_ptr failure;
    try {
        commitOrReload();
    } catch (...) {
        failure = std::current_exception();
    }
    beginReset();
    mInsert.reset();
    mUpdate.reset();
    mDelete.reset();
    mFile.reset();
    mRecords.clear();
    mRecords.shrink_to_fit();
    mState = TableState::Inactive;
    mCursor = 0;
    mEof = mBof = true;
    markChanged();
    OpenFiles::instance().remove(key);
    endReset();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

// ---------------------------------------------------------------- Table: keys

int Table::keyCompare(const std::vector<Value>& a, const std::vector<Value>& b) const {
    for (int idx : mKeyIndexes) {
        if (int c = compareValues(a[idx], b[idx]); c != 0) {
            return c;
        }
    }
    return 0;
}

int Table::lowerBound(const std::vector<Value>& values) const {
    const auto it = std::lower_bound(mRecords.begin(), mRecords.end(), values,
                                     [this](const Record& r, const std::vector<Value>& v) {
                                         return keyCompare(r.values, v) < 0;
                                     });
    return static_cast<int>(it - mRecords.begin());
}

int Table::findDuplicateKey(const std::vector<Value>& values, int ignoreRow) const {
    if (mKeyIndexes.empty()) {
        return -1;
    }
    for (int row = lowerBound(values); row < recordCount(); ++row) {
        if (keyCompare(mRecords[row].values, values) != 0) {
            break;
        }
        if (row != ignoreRow) {
            return row;
        }
    }
    return -1;
}

bool Table::findKey(const std::vector<Value>& leadingKey) {
    Operation operation(*this);
    requireOpen("αναζήτηση σε αυτόν");
    checkBrowseMode();
    if (leadingKey.empty() || leadingKey.size() > mKeyIndexes.size()) {
        throw EngineError("Η αναζήτηση στον πίνακα " + mComponentName + " θέλει από 1 έως " +
                          std::to_string(mKeyIndexes.size()) + " τιμές κλειδιού.");
    }
    const auto less = [&](const Record& r, const std::vector<Value>& k) {
        for (size_t i = 0; i < k.size(); ++i) {
            if (int c = compareValues(r.values[mKeyIndexes[i]], k[i]); c != 0) {
                return c < 0;
            }
        }
        return false;
    };
    const auto it = std::lower_bound(mRecords.begin(), mRecords.end(), leadingKey, less);
    if (it == mRecords.end()) {
        return false;
    }
    for (size_t i = 0; i < leadingKey.size(); ++i) {
        if (compareValues(it->values[mKeyIndexes[i]], leadingKey[i]) != 0) {
            return false;
        }
    }
    mCursor = static_cast<int>(it - mRecords.begin());
    mEof = mBof = false;
    return true;
}

// ---------------------------------------------------------------- Table: navigation

void Table::first() {
    requireOpen("μετακίνηση σε αυτόν");
    Operation operation(*this);
    checkBrowseMode();
    mCursor = 0;
    mBof = true;
    mEof = mRecords.empty();
}

void Table::last() {
    requireOpen("μετακίνηση σε αυτόν");
    Operation operation(*this);
    checkBrowseMode();
    mCursor = mRecords.empty() ? 0 : recordCount() - 1;
    mEof = true;
    mBof = mRecords.empty();
}

void Table::next() {
    requireOpen("μετακίνηση σε αυτόν");
    Operation operation(*this);
    checkBrowseMode();
    if (mCursor + 1 < recordCount()) {
        ++mCursor;
        mBof = false;
        mEof = false;
    } else {
        mEof = true;
    }
}

void Table::prior() {
    requireOpen("μετακίνηση σε αυτόν");
    Operation operation(*this);
    checkBrowseMode();
    if (mCursor > 0) {
        --mCursor;
        mEof = false;
        mBof = false;
    } else {
        mBof = true;
    }
}

void Table::moveTo(int row) {
    requireOpen("μετακίνηση σε αυτόν");
    Operation operation(*this);
    // Posting may move records about: the target is the record that stands there now.
    const std::int64_t target =
        mRecords.empty() ? 0 : mRecords[std::clamp(row, 0, recordCount() - 1)].rowId;
    checkBrowseMode();
    if (mRecords.empty()) {
        return;
    }
    int to = std::clamp(row, 0, recordCount() - 1);
    if (target != 0 && mRecords[to].rowId != target) {
        const auto it = std::find_if(mRecords.begin(), mRecords.end(),
                                     [target](const Record& r) { return r.rowId == target; });
        if (it != mRecords.end()) {
            to = static_cast<int>(it - mRecords.begin());
        }
    }
    mCursor = to;
    mBof = mEof = false;
}

Table::Bookmark Table::bookmark() const {
    requireOpen("σημείωση εγγραφής του");
    return mRecords.empty() ? 0 : mRecords[mCursor].rowId;
}

Table::Bookmark Table::bookmarkAt(int row) const noexcept {
    return row >= 0 && row < recordCount() ? mRecords[row].rowId : 0;
}

bool Table::bookmarkValid(Bookmark b) const {
    return std::any_of(mRecords.begin(), mRecords.end(),
                       [b](const Record& r) { return r.rowId == b; });
}

bool Table::gotoBookmark(Bookmark b) {
    requireOpen("μετακίνηση σε αυτόν");
    Operation operation(*this);
    checkBrowseMode();
    for (int row = 0; row < recordCount(); ++row) {
        if (mRecords[row].rowId == b) {
            mCursor = row;
            mBof = mEof = false;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- Table: fields

std::optional<Field> Table::findField(std::string_view name) {
    if (const auto idx = mDef.fieldIndex(name)) {
        return Field(*this, *idx, nullptr);
    }
    if (const LookupDef* l = mDef.lookup(name)) {
        return Field(*this, -1, l);
    }
    return std::nullopt;
}

Field Table::field(std::string_view name) {
    if (auto f = findField(name)) {
        return *f;
    }
    throw EngineError("Ο πίνακας " + mComponentName + " δεν έχει πεδίο «" + std::string(name) +
                      "».");
}

Value Table::currentValue(int storedIndex) const {
    requireOpen("ανάγνωση από αυτόν");
    if (mState == TableState::Edit || mState == TableState::Insert) {
        return static_cast<size_t>(storedIndex) < mBuffer.size() ? mBuffer[storedIndex] : Value();
    }
    return mRecords.empty() ? Value() : mRecords[mCursor].values[storedIndex];
}

Value Table::rowValue(int row, int storedIndex) const {
    if (row < 0 || row >= recordCount()) {
        return Value();
    }
    return mRecords[row].values[storedIndex];
}

void Table::setLookupSource(std::string_view lookupName, const Table* source) {
    for (size_t i = 0; i < mDef.lookups.size(); ++i) {
        if (equalsIgnoreCase(mDef.lookups[i].name, lookupName)) {
            mLookupSources[i] = source;
            return;
        }
    }
    throw EngineError("Ο πίνακας " + mComponentName + " δεν έχει πεδίο αναφοράς «" +
                      std::string(lookupName) + "».");
}

Value Table::lookupValue(const LookupDef& lookup, int row) const {
    const size_t i = static_cast<size_t>(&lookup - mDef.lookups.data());
    const Table* source = i < mLookupSources.size() ? mLookupSources[i] : nullptr;
    const auto keyIdx = mDef.fieldIndex(lookup.keyField);
    if (!source || !source->isOpen() || !keyIdx) {
        return Value();
    }
    const bool editing =
        (mState == TableState::Edit || mState == TableState::Insert) && row == currentRow();
    const Value key = editing ? mBuffer[*keyIdx] : rowValue(row, *keyIdx);
    const auto srcKey = source->mDef.fieldIndex(lookup.lookupKeyField);
    const auto srcResult = source->mDef.fieldIndex(lookup.resultField);
    if (key.isBlank() || !srcKey || !srcResult) {
        return Value();
    }
    const int found = source->locate(*srcKey, key);
    return found < 0 ? Value() : source->mRecords[found].values[*srcResult];
}

int Table::locate(int storedIndex, const Value& value) const {
    if (mLocateVersion != mVersion || mLocateField != storedIndex) {
        mLocateIndex.clear();
        mLocateIndex.reserve(mRecords.size());
        for (int row = 0; row < recordCount(); ++row) {
            mLocateIndex.emplace_back(mRecords[row].values[storedIndex], row);
        }
        std::stable_sort(
            mLocateIndex.begin(), mLocateIndex.end(),
            [](const auto& a, const auto& b) { return compareValues(a.first, b.first) < 0; });
        mLocateVersion = mVersion;
        mLocateField = storedIndex;
    }
    const auto it = std::lower_bound(
        mLocateIndex.begin(), mLocateIndex.end(), value,
        [](const auto& e, const Value& v) { return compareValues(e.first, v) < 0; });
    if (it == mLocateIndex.end() || compareValues(it->first, value) != 0) {
        return -1;
    }
    return it->second;
}

Value Table::checkedValue(int storedIndex, const Value& v) const {
    const FieldDef& f = mDef.fields[storedIndex];
    Value stored = v;
    switch (f.type) {
        case FieldType::Integer:
            if (v.isText()) {
                throw EngineError("Το πεδίο " + f.name +
                                  " δέχεται ακέραιους αριθμούς, όχι κείμενο.");
            }
            if (v.isReal()) {
                const double d = v.toReal();
                if (!(d >= -2147483648.0 && d <= 2147483647.0) || d != std::trunc(d)) {
                    throw RangeError("Το πεδίο " + f.name + " δέχεται ακέραιους αριθμούς από " +
                                     "-2147483648 έως 2147483647.");
                }
                stored = Value::integer(v.toInteger());
            }
            break;
        case FieldType::Float:
            if (v.isText()) {
                throw EngineError("Το πεδίο " + f.name + " δέχεται αριθμούς, όχι κείμενο.");
            }
            if (v.isInteger()) {
                stored = Value::real(v.toReal());
            }
            if (stored.isReal() && !std::isfinite(stored.toReal())) {
                throw RangeError("Η τιμή του πεδίου " + f.name +
                                 " δεν είναι πεπερασμένος αριθμός.");
            }
            break;
        case FieldType::Alpha:
        case FieldType::Memo:
        case FieldType::FormattedMemo:
            if (!v.isBlank() && !v.isText()) {
                throw EngineError("Το πεδίο " + f.name + " δέχεται κείμενο, όχι αριθμούς.");
            }
            if (f.type == FieldType::Alpha && static_cast<int>(v.textBytes().size()) > f.size) {
                throw RangeError("Το κείμενο του πεδίου " + f.name + " ξεπερνά τους " +
                                 std::to_string(f.size) + " χαρακτήρες του.");
            }
            if (v.isText() && v.textBytes().empty()) {
                stored = Value();  // empty text is blank, as the engine stores it
            }
            break;
    }
    return stored;
}

void Table::setFieldValue(int storedIndex, const Value& v) {
    requireOpen("αλλαγή τιμής του");
    requireEditing();
    mBuffer[storedIndex] = checkedValue(storedIndex, v);
    mModified = true;
    if (mFieldHandlers[storedIndex]) {
        mFieldHandlers[storedIndex](Field(*this, storedIndex, nullptr));
    }
}

void Table::setFieldChangeHandler(std::string_view fieldName, FieldChangeHandler handler) {
    const auto idx = mDef.fieldIndex(fieldName);
    if (!idx) {
        throw EngineError("Ο πίνακας " + mComponentName + " δεν έχει πεδίο «" +
                          std::string(fieldName) + "».");
    }
    mFieldHandlers[*idx] = std::move(handler);
}

// ---------------------------------------------------------------- Table: editing

void Table::setState(TableState s) {
    mState = s;
    record({Change::Kind::State});
}

void Table::edit() {
    requireOpen("διόρθωση εγγραφής του");
    Operation operation(*this);
    if (mState == TableState::Edit || mState == TableState::Insert) {
        return;
    }
    requireWritable();
    if (mRecords.empty()) {
        append();  // editing an empty table starts its first record
        return;
    }
    mBuffer = mRecords[mCursor].values;
    mModified = false;
    mEditRow = mCursor;
    setState(TableState::Edit);
}

void Table::insert() {
    requireOpen("προσθήκη εγγραφής σε αυτόν");
    Operation operation(*this);
    checkBrowseMode();
    requireWritable();
    mBuffer.assign(mDef.fields.size(), Value());
    mModified = false;
    mEditRow = -1;
    setState(TableState::Insert);
}

void Table::append() {
    insert();
}  // a keyed table places the record by its key anyway

void Table::cancel() {
    Operation operation(*this);
    if (mState != TableState::Edit && mState != TableState::Insert) {
        return;
    }
    mBuffer.clear();
    mEditRow = -1;
    setState(TableState::Browse);
    if (!mRecords.empty()) {
        record({Change::Kind::Changed, mCursor});
    }
}

void Table::checkBrowseMode() {
    Operation operation(*this);
    // A new record nobody typed into is dropped, not stored blank.
    if (mState == TableState::Insert && !mModified) {
        cancel();
    } else if (mState == TableState::Edit || mState == TableState::Insert) {
        post();
    }
}

void Table::post() {
    requireOpen("αποθήκευση εγγραφής σε αυτόν");
    Operation operation(*this);
    if (mState != TableState::Edit && mState != TableState::Insert) {
        return;
    }
    const bool isNew = mState == TableState::Insert;
    try {
        // An edit that keeps its key cannot clash: keys are unique.
        const bool sameKey = !isNew && keyCompare(mBuffer, mRecords[mEditRow].values) == 0;
        if (!sameKey && findDuplicateKey(mBuffer, isNew ? -1 : mEditRow) >= 0) {
            throw KeyViolationError("Παραβίαση κλειδιού: ο πίνακας " + mTableName +
                                    " έχει ήδη εγγραφή με αυτό το κλειδί.");
        }
        Record record;
        record.rowId = isNew ? 0 : mRecords[mEditRow].rowId;
        record.values = std::move(mBuffer);
        // An edit that changed nothing has nothing to write.
        if (isNew || record.values != mRecords[mEditRow].values) {
            try {
                writeRecord(record, isNew);
            } catch (...) {
                mBuffer = std::move(record.values);  // the record stays open for correction
                throw;
            }
        }
        // The file holds the record; now the memory follows.
        mCursor = placeRecord(std::move(record), isNew ? -1 : mEditRow);
        mEof = mBof = false;
        mBuffer.clear();
        mEditRow = -1;
        markChanged();
    } catch (const AbortError&) {
        throw;
    } catch (const std::exception& e) {
        if (onPostError && onPostError(*this, e) == PostErrorAction::Abort) {
            throw AbortError();
        }
        throw;
    }
    setState(TableState::Browse);
    if (afterPost) {
        afterPost(*this);
    }
}

int Table::placeRecord(Record placed, int oldRow) {
    if (oldRow >= 0 && keyCompare(mRecords[oldRow].values, placed.values) == 0) {
        mRecords[oldRow] = std::move(placed);  // same key, same place
        record({Change::Kind::Changed, oldRow});
        return oldRow;
    }
    if (oldRow >= 0) {
        mRecords.erase(mRecords.begin() + oldRow);
    }
    const int row = mKeyIndexes.empty() ? recordCount() : lowerBound(placed.values);
    mRecords.insert(mRecords.begin() + row, std::move(placed));
    if (oldRow >= 0) {
        record({Change::Kind::Moved, oldRow, row});
    } else {
        record({Change::Kind::Inserted, row});
    }
    return row;
}

void Table::remove() {
    requireOpen("διαγραφή εγγραφής από αυτόν");
    Operation operation(*this);
    if (mState == TableState::Insert) {
        cancel();
        return;
    }
    if (mState == TableState::Edit) {
        cancel();
    }
    requireWritable();
    if (mRecords.empty()) {
        throw EngineError("Ο πίνακας " + mTableName +
                          " είναι άδειος· δεν υπάρχει εγγραφή για διαγραφή.");
    }
    if (beforeDelete && !beforeDelete(*this)) {
        throw AbortError();
    }
    deleteRecordRow(mRecords[mCursor].rowId);
    const int row = mCursor;
    mRecords.erase(mRecords.begin() + row);
    record({Change::Kind::Removed, row});
    markChanged();
    if (mCursor >= recordCount()) {
        mCursor = std::max(0, recordCount() - 1);
        mEof = true;
    }
    mBof = mRecords.empty();
    if (mRecords.empty()) {
        mEof = true;
    }
}

void Table::writeRecord(Record& record, bool isNew) {
    // SQLite would hand the row id of a deleted last record to the next one, and
    // a bookmark of the deleted record would then lead to the new one.
    const std::int64_t rowId = isNew ? mLastRowId + 1 : record.rowId;
    if (controlsDisabled()) {
        // Grouped: the record reaches the file, once, when display resumes.
        auto [it, added] = mDirty.emplace(rowId, isNew);
        (void)it;
        (void)added;
        if (isNew) {
            record.rowId = mLastRowId = rowId;
        }
        return;
    }
    writeRow(record.values, rowId, isNew);
    if (isNew) {
        record.rowId = mLastRowId = rowId;
    }
}

void Table::writeRow(const std::vector<Value>& values, std::int64_t rowId, bool isNew) {
    beginWrite();
    SqliteStatement& st = isNew ? *mInsert : *mUpdate;
    for (size_t i = 0; i < values.size(); ++i) {
        st.bind(static_cast<int>(i) + 1, values[i]);
    }
    st.bindInt64(static_cast<int>(values.size()) + 1, rowId);
    guardedWrite([&] { st.run(); });
}

void Table::deleteRecordRow(std::int64_t rowId) {
    if (controlsDisabled()) {
        const auto it = mDirty.find(rowId);
        const bool neverWritten = it != mDirty.end() && it->second;
        if (it != mDirty.end()) {
            mDirty.erase(it);
        }
        if (!neverWritten) {
            mDeleted.push_back(rowId);
        }
        return;
    }
    beginWrite();
    mDelete->bindInt64(1, rowId);
    guardedWrite([&] { mDelete->run(); });
}

void Table::guardedWrite(const std::function<void()>& write) {
    const bool grouped = mFile->inTransaction();
    try {
        write();
    } catch (const EngineError&) {
        // Some errors (disk full, I/O) make SQLite give up the whole transaction:
        // the grouped posts are gone, and the memory must not pretend otherwise.
        if (grouped && !mFile->inTransaction()) {
            reloadRecords();
        }
        throw;
    }
}

void Table::reloadRecords() {
    mDirty.clear();
    mDeleted.clear();
    const std::int64_t editedId = mEditRow >= 0 ? mRecords[mEditRow].rowId : 0;
    loadRecords();
    mCursor = std::min(mCursor, std::max(0, recordCount() - 1));
    if (mRecords.empty()) {
        mEof = mBof = true;
    }
    mEditRow = -1;
    for (int row = 0; row < recordCount() && editedId != 0; ++row) {
        if (mRecords[row].rowId == editedId) {
            mEditRow = row;
        }
    }
    if (mState == TableState::Edit && mEditRow < 0) {
        setState(TableState::Insert);  // its record went too; posting adds it again
    }
    markChanged();
}

void Table::beginWrite() {
    if (mFile->inTransaction()) {
        return;
    }
    mFile->requireStillInPlace();
    if (controlsDisabled()) {
        mFile->exec("BEGIN IMMEDIATE");
    }
}

void Table::flushPending() {
    if (mDirty.empty() && mDeleted.empty()) {
        return;
    }
    if (!mFile->inTransaction()) {
        mFile->requireStillInPlace();
        mFile->exec("BEGIN IMMEDIATE");
    }
    for (const std::int64_t rowId : mDeleted) {
        mDelete->bindInt64(1, rowId);
        mDelete->run();
    }
    mDeleted.clear();
    for (const Record& r : mRecords) {
        if (const auto it = mDirty.find(r.rowId); it != mDirty.end()) {
            writeRow(r.values, r.rowId, it->second);
        }
    }
    mDirty.clear();
}

void Table::commitOrReload() {
    if (!mFile || (mDirty.empty() && mDeleted.empty() && !mFile->inTransaction())) {
        return;
    }
    try {
        flushPending();
        mFile->exec("COMMIT");
    } catch (const EngineError&) {
        // The file keeps its last committed state; make the memory match it.
        try {
            if (mFile->inTransaction()) {
                mFile->exec("ROLLBACK");
            }
        } catch (const EngineError&) {
        }
        reloadRecords();
        throw;
    }
}

void Table::emptyTable() {
    requireWritable();
    const bool wasOpen = isOpen();
    std::unique_ptr<SqliteFile> own;
    if (wasOpen) {
        cancel();
        mDirty.clear();  // grouped posts of records that go anyway
        mDeleted.clear();
        beginWrite();
        guardedWrite([this] { mFile->exec("DELETE FROM data"); });
        beginReset();
        mRecords.clear();
        mCursor = 0;
        mEof = mBof = true;
        markChanged();
        endReset();
        return;
    }
    if (!exists()) {
        throw EngineError("Ο πίνακας " + filePath().string() + " δεν υπάρχει.");
    }
    // Another component holding the file open would go on showing the records.
    if (OpenFiles::instance().contains(fileKey(filePath()))) {
        throw EngineError("Ο πίνακας " + filePath().string() + " χρησιμοποιείται αυτή τη στιγμή.");
    }
    own = std::make_unique<SqliteFile>(filePath(), SqliteFile::Mode::OpenExisting);
    checkFileIsOurs(*own);
    own->lockForWriting();
    own->exec("DELETE FROM data");
}

void Table::batchMoveFrom(Table& source, BatchMode mode) {
    if (&source == this) {
        return;
    }
    requireWritable();
    // Map the source's fields onto ours by name; fields it lacks stay blank.
    std::vector<int> map(mDef.fields.size(), -1);
    for (size_t i = 0; i < mDef.fields.size(); ++i) {
        if (const auto idx = source.mDef.fieldIndex(mDef.fields[i].name)) {
            map[i] = *idx;
        }
    }
    const bool sourceWasOpen = source.isOpen();
    if (sourceWasOpen) {
        source.checkBrowseMode();
    } else {
        source.open();
    }
    std::vector<std::vector<Value>> rows;
    rows.reserve(source.mRecords.size());
    for (const auto& r : source.mRecords) {
        std::vector<Value> values(mDef.fields.size());
        for (size_t i = 0; i < values.size(); ++i) {
            if (map[i] >= 0) {
                values[i] = r.values[map[i]];
            }
        }
        rows.push_back(std::move(values));
    }
    if (!sourceWasOpen) {
        source.close();
    }
    if (mode == BatchMode::Copy && !exists()) {
        createTable();
    }
    storeRows(std::move(rows), mode == BatchMode::Copy);
}

void Table::replaceAllRecords(std::vector<std::vector<Value>> rows) {
    requireWritable();
    storeRows(checkedRows(std::move(rows)), true);
}

std::vector<std::vector<Value>> Table::checkedRows(std::vector<std::vector<Value>> rows) const {
    for (auto& values : rows) {
        if (values.size() != mDef.fields.size()) {
            throw EngineError("Μια εγγραφή για τον πίνακα " + mComponentName +
                              " έχει λάθος αριθμό πεδίων.");
        }
        for (size_t i = 0; i < values.size(); ++i) {
            values[i] = checkedValue(static_cast<int>(i), values[i]);
        }
    }
    if (!mKeyIndexes.empty()) {
        std::vector<const std::vector<Value>*> sorted;
        for (const auto& v : rows) {
            sorted.push_back(&v);
        }
        std::sort(sorted.begin(), sorted.end(),
                  [this](auto* a, auto* b) { return keyCompare(*a, *b) < 0; });
        for (size_t i = 1; i < sorted.size(); ++i) {
            if (keyCompare(*sorted[i - 1], *sorted[i]) == 0) {
                throw KeyViolationError("Παραβίαση κλειδιού: δύο εγγραφές για τον πίνακα " +
                                        mComponentName + " έχουν το ίδιο κλειδί.");
            }
        }
    }
    return rows;
}

void Table::storeRows(std::vector<std::vector<Value>> rows, bool replace) {
    const bool wasOpen = isOpen();
    if (!wasOpen) {
        open();
    }
    checkBrowseMode();
    disableControls();
    bool savepoint = false;
    try {
        beginWrite();
        flushPending();
        // A failed move undoes itself alone, not the posts grouped before it.
        mFile->exec("SAVEPOINT batch_move");
        savepoint = true;
        if (replace) {
            mFile->exec("DELETE FROM data");
            mRecords.clear();
        }
        for (auto& values : rows) {
            const int existing = findDuplicateKey(values, -1);
            Record record;
            record.values = std::move(values);
            // Written at once, inside the move's savepoint, not grouped with posts.
            if (existing >= 0) {
                record.rowId = mRecords[existing].rowId;
                writeRow(record.values, record.rowId, false);
                mRecords[existing] = std::move(record);
            } else {
                record.rowId = mLastRowId + 1;
                writeRow(record.values, record.rowId, true);
                mLastRowId = record.rowId;
                const int row = mKeyIndexes.empty() ? recordCount() : lowerBound(record.values);
                mRecords.insert(mRecords.begin() + row, std::move(record));
            }
        }
        mFile->exec("RELEASE batch_move");
        savepoint = false;
        markChanged();
    } catch (...) {
        // All or nothing: the file returns to its state before the move.
        if (savepoint && mFile->inTransaction()) {
            try {
                mFile->exec("ROLLBACK TO batch_move");
                mFile->exec("RELEASE batch_move");
            } catch (const EngineError&) {
                // SQLite already rolled back the whole transaction.
            }
        }
        loadRecords();
        markChanged();
        enableControls();
        if (!wasOpen) {
            close();
        }
        throw;
    }
    mCursor = 0;
    mBof = true;
    mEof = mRecords.empty();
    enableControls();
    if (!wasOpen) {
        close();
    }
}

void Table::record(Change change) {
    if (mSuspendDepth > 0) {
        return;  // the resume resets the views
    }
    mChanges.push_back(change);
    if (mOperationDepth == 0 && !mDelivering) {
        deliverChanges();
    }
}

void Table::deliverChanges() {
    if (mDelivering || mSuspendDepth > 0) {
        return;
    }
    mDelivering = true;
    // An observer may only read; whatever its reading records is told in the next round.
    while (!mChanges.empty() || mToldCursor != currentRow()) {
        std::vector<Change> changes;
        changes.swap(mChanges);
        for (const Change& c : changes) {
            notify([&](TableObserver* o) {
                switch (c.kind) {
                    case Change::Kind::Inserted:
                        o->rowInserted(*this, c.row);
                        break;
                    case Change::Kind::Removed:
                        o->rowRemoved(*this, c.row);
                        break;
                    case Change::Kind::Moved:
                        o->rowMoved(*this, c.row, c.to);
                        break;
                    case Change::Kind::Changed:
                        o->rowChanged(*this, c.row);
                        break;
                    case Change::Kind::State:
                        o->stateChanged(*this);
                        break;
                }
            });
        }
        mToldCursor = currentRow();
        notify([this](TableObserver* o) { o->cursorChanged(*this); });
    }
    mDelivering = false;
}

void Table::beginReset() {
    deliverChanges();  // what came before the reset, while the table is still as told
    notify([this](TableObserver* o) { o->tableAboutToReset(*this); });
}

void Table::endReset() {
    mChanges.clear();
    mToldCursor = currentRow();
    notify([this](TableObserver* o) { o->tableReset(*this); });
}

// ---------------------------------------------------------------- Table: display

void Table::disableControls() {
    // Views hear of the reset before the suspension silences them.
    if (mSuspendDepth == 0) {
        beginReset();
    }
    ++mSuspendDepth;
}

void Table::enableControls() {
    if (mSuspendDepth == 0) {
        return;
    }
    if (--mSuspendDepth == 0) {
        struct Resume {
            Table& t;
            ~Resume() {
                t.endReset();
            }
        } resume{*this};
        commitOrReload();
    }
}

void Table::addObserver(TableObserver* observer) {
    if (std::find(mObservers.begin(), mObservers.end(), observer) == mObservers.end()) {
        mObservers.push_back(observer);
    }
}

void Table::removeObserver(TableObserver* observer) {
    mObservers.erase(std::remove(mObservers.begin(), mObservers.end(), observer), mObservers.end());
}

void Table::notify(const std::function<void(TableObserver*)>& fn) {
    if (mSuspendDepth > 0) {
        return;
    }
    for (TableObserver* o : std::vector<TableObserver*>(mObservers)) {
        fn(o);
    }
}

}  // namespace dravin
