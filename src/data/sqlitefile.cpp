#include "sqlitefile.h"

#include <sqlite3.h>

#include "errors.h"
#include "tabledef.h"
#include "value.h"

namespace dravin {

std::string sqliteMessage(sqlite3* db) {
    const char* msg = db ? sqlite3_errmsg(db) : "out of memory";
    return msg ? msg : "unknown error";
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : mDb(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &mStmt, nullptr) !=
        SQLITE_OK) {
        throw EngineError("Table file error: " + sqliteMessage(db) + ".");
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
        throw EngineError("Table file error: " + sqliteMessage(mDb) + ".");
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
    const std::string message = sqliteMessage(mDb);
    sqlite3_reset(mStmt);
    throw EngineError("Table file error: " + message + ".");
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

SqliteFile::SqliteFile(const std::filesystem::path& path, Mode mode) : mPath(path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.string().c_str(), &mDb, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = sqliteMessage(mDb);
        sqlite3_close_v2(mDb);
        mDb = nullptr;
        throw EngineError("Cannot open the table file " + path.string() + ": " + message + ".");
    }
    sqlite3_extended_result_codes(mDb, 1);
    sqlite3_busy_timeout(mDb, 2000);
}

SqliteFile::~SqliteFile() {
    sqlite3_close_v2(mDb);
}

void SqliteFile::exec(std::string_view sql) {
    char* err = nullptr;
    if (sqlite3_exec(mDb, std::string(sql).c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string message = err ? err : sqliteMessage(mDb);
        sqlite3_free(err);
        throw EngineError("Table file " + mPath.filename().string() + ": " + message + ".");
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
