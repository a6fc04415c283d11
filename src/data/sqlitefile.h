#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "errors.h"

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
//
// Programs share table files through SQLite's file locks. A connection that may write
// holds the file exclusively from its first access until it closes, so a second
// program can neither read stale records from it nor write behind its back; readers
// share the file among themselves. A conflict throws InUseError at once. A reader in a
// folder it cannot write reads the file as it stands, without locks or side files.
class SqliteFile {
public:
    enum class Mode { OpenExisting, Create };
    enum class Sharing { Shared, Exclusive };
    SqliteFile(const std::filesystem::path& path, Mode mode, Sharing sharing = Sharing::Exclusive);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    // Whether this program may write the file: the file and its folder take writes.
    static bool writable(const std::filesystem::path& path);
    SqliteFile& operator=(const SqliteFile&) = delete;

    void exec(std::string_view sql);
    SqliteStatement prepare(std::string_view sql);
    std::int64_t lastInsertRowId() const;
    bool inTransaction() const;
    sqlite3* handle() const noexcept { return mDb; }
    const std::filesystem::path& path() const noexcept { return mPath; }

    // Takes the exclusive lock now rather than at the first access (readers of the
    // file fail from here on) and remembers which file the path names. Throws
    // InUseError when another program has the file open, EngineError when the file
    // or its folder cannot be written.
    void lockForWriting();
    // Whether the path still names the file locked by lockForWriting(): a file deleted
    // or replaced while open would swallow every later write.
    void requireStillInPlace() const;

private:
    std::filesystem::path mPath;
    sqlite3* mDb = nullptr;
    Sharing mSharing;
    dev_t mDevice = 0;
    ino_t mInode = 0;
};

// A failure SQLite reported, with its primary result code.
class SqliteError : public EngineError {
public:
    SqliteError(int code, const std::string& message) : EngineError(message), mCode(code) {}
    int code() const noexcept { return mCode; }
    // The file is no database, or lacks the tables asked for; other failures (full
    // disk, read-only folder, I/O) say nothing about what the file is.
    bool meansForeignFile() const noexcept;

private:
    int mCode;
};

// The readable text of the last SQLite error of db.
std::string sqliteMessage(sqlite3* db);

// Throws the error for the last failed call on db: InUseError when another program
// holds the file, else SqliteError, naming a full disk or a read-only file as such and
// otherwise giving context before SQLite's text.
[[noreturn]] void throwSqliteError(sqlite3* db, const std::string& context);

}  // namespace dravin
