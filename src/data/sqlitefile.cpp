#include "sqlitefile.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

#include "errors.h"
#include "tabledef.h"
#include "value.h"
#include "writefailure.h"

namespace dravin {
namespace {

std::string cannotBeWritten(int error) {
    return " δεν μπορεί να γραφτεί: " + writeFailureReason(error) + ".";
}

}  // namespace

std::string sqliteMessage(sqlite3* db) {
    const char* msg = db ? sqlite3_errmsg(db) : "δεν υπάρχει αρκετή μνήμη";
    return msg ? msg : "άγνωστο σφάλμα";
}

bool SqliteError::meansForeignFile() const noexcept {
    return mCode == SQLITE_NOTADB || mCode == SQLITE_ERROR || mCode == SQLITE_CORRUPT;
}

void throwSqliteError(sqlite3* db, const std::string& context) {
    if (!db) {
        throw SqliteError(SQLITE_NOMEM, context + sqliteMessage(db) + ".");
    }
    const int code = sqlite3_errcode(db) & 0xff;
    const int error = sqlite3_system_errno(db);
    const char* name = sqlite3_db_filename(db, "main");
    const std::string file = "Το αρχείο πίνακα " + std::string(name ? name : "");
    if (code == SQLITE_BUSY) {
        throw InUseError(file + " είναι ανοιχτό σε άλλο πρόγραμμα.");
    }
    if (code == SQLITE_FULL || isDiskFull(error)) {
        throw SqliteError(code, file + cannotBeWritten(ENOSPC));
    }
    if (code == SQLITE_READONLY ||
        ((code == SQLITE_CANTOPEN || code == SQLITE_IOERR) && isReadOnly(error))) {
        throw SqliteError(code, file + cannotBeWritten(EROFS));
    }
    throw SqliteError(code, context + sqliteMessage(db) + ".");
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : mDb(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &mStmt, nullptr) !=
        SQLITE_OK) {
        throwSqliteError(db, "Σφάλμα στο αρχείο πίνακα: ");
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(mStmt);
}

void SqliteStatement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    if (value.isBlank()) {
        rc = sqlite3_bind_null(mStmt, index);
    } else if (value.isInteger()) {
        rc = sqlite3_bind_int(mStmt, index, value.toInteger());
    } else if (value.isReal()) {
        rc = sqlite3_bind_double(mStmt, index, value.toReal());
    } else {
        const std::string& b = value.textBytes();
        rc =
            sqlite3_bind_blob(mStmt, index, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) {
        throwSqliteError(mDb, "Σφάλμα στο αρχείο πίνακα: ");
    }
}

void SqliteStatement::bindInt64(int index, std::int64_t v) {
    sqlite3_bind_int64(mStmt, index, v);
}

void SqliteStatement::bindText(int index, std::string_view text) {
    sqlite3_bind_text(mStmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(mStmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    // Resetting keeps the error code and message of the failed step.
    sqlite3_reset(mStmt);
    throwSqliteError(mDb, "Σφάλμα στο αρχείο πίνακα: ");
}

void SqliteStatement::run() {
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset() {
    sqlite3_reset(mStmt);
    sqlite3_clear_bindings(mStmt);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(mStmt);
}

std::int64_t SqliteStatement::columnInt64(int col) const {
    return sqlite3_column_int64(mStmt, col);
}

std::string SqliteStatement::columnText(int col) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(mStmt, col));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(mStmt, col)))
             : std::string();
}

Value SqliteStatement::column(int col, FieldType type) const {
    if (sqlite3_column_type(mStmt, col) == SQLITE_NULL) {
        return Value();
    }
    switch (type) {
        case FieldType::Integer:
            return Value::integer(static_cast<std::int32_t>(sqlite3_column_int64(mStmt, col)));
        case FieldType::Float:
            return Value::real(sqlite3_column_double(mStmt, col));
        default:
            return Value::bytes(columnText(col));
    }
}

namespace {

bool takesWrites(const std::filesystem::path& p) {
    return ::access(p.c_str(), W_OK) == 0;
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// The file as an SQLite URI that reads it without side files and without locks: a
// reader in a folder it cannot write could neither make the log SQLite keeps beside a
// table nor lock it.
std::string immutableUri(const std::filesystem::path& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const unsigned char c : path.string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri + "?immutable=1";
}

// A log or journal left beside the table holds changes that only a writer can finish.
bool holdsUnfinishedChanges(const std::filesystem::path& path) {
    std::error_code ec;
    for (const char* companion : {"-wal", "-journal"}) {
        const auto size = std::filesystem::file_size(path.string() + companion, ec);
        if (!ec && size > 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool SqliteFile::writable(const std::filesystem::path& path) {
    return takesWrites(folderOf(path)) && takesWrites(path);
}

SqliteFile::SqliteFile(const std::filesystem::path& path, Mode mode, Sharing sharing)
    : mPath(path), mSharing(sharing) {
    const bool folderWritable = takesWrites(folderOf(path));
    const bool fileWritable = mode == Mode::Create || takesWrites(path);
    if (sharing == Sharing::Exclusive && !(folderWritable && fileWritable)) {
        throw SqliteError(SQLITE_READONLY,
                          "Το αρχείο πίνακα " + path.string() + cannotBeWritten(EROFS));
    }
    // Read where it stands, as in an installed copy whose folders belong to another user.
    const bool readInPlace = sharing == Sharing::Shared && !folderWritable;
    if (readInPlace && holdsUnfinishedChanges(path)) {
        throw SqliteError(SQLITE_READONLY,
                          "Το αρχείο πίνακα " + path.string() +
                              " δεν μπορεί να διαβαστεί: έχει ανολοκλήρωτες αλλαγές και ο "
                              "φάκελός του είναι μόνο για ανάγνωση.");
    }
    const int flags =
        SQLITE_OPEN_NOMUTEX |
        (readInPlace ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI : SQLITE_OPEN_READWRITE) |
        (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    const std::string name = readInPlace ? immutableUri(path) : path.string();
    const int rc = sqlite3_open_v2(name.c_str(), &mDb, flags, nullptr);
    if (rc != SQLITE_OK) {
        try {
            throwSqliteError(mDb, "Το αρχείο πίνακα " + path.string() + " δεν ανοίγει: ");
        } catch (...) {
            sqlite3_close_v2(mDb);
            mDb = nullptr;
            throw;
        }
    }
    sqlite3_extended_result_codes(mDb, 1);
    // Long enough for another program's passing read; a file held open stays held.
    sqlite3_busy_timeout(mDb, 300);
    if (sharing == Sharing::Exclusive) {
        exec("PRAGMA locking_mode=EXCLUSIVE");
    }
}

SqliteFile::~SqliteFile() {
    sqlite3_close_v2(mDb);
}

void SqliteFile::exec(std::string_view sql) {
    if (sqlite3_exec(mDb, std::string(sql).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throwSqliteError(mDb, "Σφάλμα στο αρχείο πίνακα " + mPath.filename().string() + ": ");
    }
}

void SqliteFile::lockForWriting() {
    if (mSharing != Sharing::Exclusive) {
        throw EngineError("Το αρχείο πίνακα " + mPath.string() + " ανοίχτηκε μόνο για ανάγνωση.");
    }
    exec("BEGIN EXCLUSIVE");
    exec("COMMIT");
    struct stat st {};
    if (::stat(mPath.c_str(), &st) != 0) {
        throw EngineError("Το αρχείο πίνακα " + mPath.string() + " δεν υπάρχει πια.");
    }
    mDevice = st.st_dev;
    mInode = st.st_ino;
}

void SqliteFile::requireStillInPlace() const {
    struct stat st {};
    if (::stat(mPath.c_str(), &st) != 0 || st.st_dev != mDevice || st.st_ino != mInode) {
        throw EngineError("Το αρχείο πίνακα " + mPath.string() +
                          " διαγράφηκε ή αντικαταστάθηκε ενώ ήταν ανοιχτό· η αλλαγή δεν "
                          "αποθηκεύτηκε.");
    }
}

SqliteStatement SqliteFile::prepare(std::string_view sql) {
    return SqliteStatement(mDb, sql);
}

std::int64_t SqliteFile::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(mDb);
}

bool SqliteFile::inTransaction() const {
    return sqlite3_get_autocommit(mDb) == 0;
}

}  // namespace dravin
