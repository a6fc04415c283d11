#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace dravin {

class Value;
enum class FieldType;

// A prepared statement; resets itself for the next use.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const Value& value);  // 1-based
    void bindInt64(int index, std::int64_t v);
    void bindText(int index, std::string_view text);
    bool step();  // true while a row is available
    void run();   // steps to the end and resets
    void reset();

    int columnCount() const;
    std::int64_t columnInt64(int col) const;
    std::string columnText(int col) const;
    Value column(int col, FieldType type) const;

private:
    sqlite3* mDb;
    sqlite3_stmt* mStmt = nullptr;
};

// One SQLite database file: the storage of one table.
class SqliteFile {
public:
    enum class Mode { OpenExisting, Create };
    SqliteFile(const std::filesystem::path& path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    void exec(std::string_view sql);
    SqliteStatement prepare(std::string_view sql);
    std::int64_t lastInsertRowId() const;
    bool inTransaction() const;
    sqlite3* handle() const noexcept { return mDb; }
    const std::filesystem::path& path() const noexcept { return mPath; }

private:
    std::filesystem::path mPath;
    sqlite3* mDb = nullptr;
};

// The readable text of the last SQLite error of db.
std::string sqliteMessage(sqlite3* db);

}  // namespace dravin
