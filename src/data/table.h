#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "displaysuspension.h"
#include "field.h"
#include "tabledef.h"
#include "value.h"

namespace dravin {

class Table;
class SqliteFile;
class SqliteStatement;

enum class TableState { Inactive, Browse, Edit, Insert };
enum class BatchMode { AppendUpdate, Copy };
enum class PostErrorAction { Fail, Abort };

// Views bound to a table. They hear of a change only once the operation that made it
// is over and the table is whole again, so they may read the table then, but never
// change it. While display is suspended they hear nothing until the outermost resume,
// which resets them once.
class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void tableAboutToReset(const Table&) {}
    virtual void tableReset(const Table&) {}
    virtual void rowInserted(const Table&, int /*row*/) {}
    virtual void rowRemoved(const Table&, int /*row*/) {}
    // A record whose key changed now stands at `to` instead of `from`.
    virtual void rowMoved(const Table&, int /*from*/, int /*to*/) {}
    virtual void rowChanged(const Table&, int /*row*/) {}
    virtual void stateChanged(const Table&) {}
    virtual void cursorChanged(const Table&) {}
};

// A table component: a table file of the study store, held open in memory in
// primary-key order, with a cursor and an edit buffer. Every post is written
// through to the file; while display is suspended, writes are grouped into one
// transaction that is committed at the outermost resume. While open, a writable
// table's file belongs to this program alone and a read-only table's file is shared
// with other readers; a conflicting program is refused with InUseError.
class Table {
public:
    Table(std::string componentName, TableDef def);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const std::string& componentName() const noexcept { return mComponentName; }
    const TableDef& def() const noexcept { return mDef; }

    // --- Where the table lives (only while closed).
    void setDirectory(const std::filesystem::path& dir);
    void setTableName(const std::string& name);
    const std::filesystem::path& directory() const noexcept { return mDirectory; }
    const std::string& tableName() const noexcept { return mTableName; }
    std::filesystem::path filePath() const;
    void setReadOnly(bool readOnly);
    bool readOnly() const noexcept { return mReadOnly; }

    // --- Files.
    bool exists() const;
    // Whether this program may write the table's file (it exists, and it and its folder
    // take writes); a table that may not is only ever opened read-only.
    bool fileWritable() const;
    void createTable();
    void deleteTable();
    void emptyTable();
    // Gives the table file the language driver mark; creates nothing else.
    void applyLanguageDriver(const std::string& driver);
    std::string languageDriver() const;
    // Moves every record of source into this table (open or closed): append-update
    // adds missing keys and overwrites present ones; copy replaces every record.
    // All or nothing; fires no events.
    void batchMoveFrom(Table& source, BatchMode mode);
    // Replaces every record by the given ones (stored field order), checked first:
    // all or nothing; fires no events.
    void replaceAllRecords(std::vector<std::vector<Value>> rows);
    // Checks records (stored field order) as a post would: types, text sizes, unique
    // keys. Returns them in their stored form; throws on the first fault.
    std::vector<std::vector<Value>> checkedRows(std::vector<std::vector<Value>> rows) const;

    // --- Open state.
    void open();
    void close();
    bool isOpen() const noexcept { return mState != TableState::Inactive; }
    TableState state() const noexcept { return mState; }

    // --- Navigation (moving posts a pending edit).
    void first();
    void last();
    void next();
    void prior();
    bool eof() const noexcept { return mEof; }
    bool bof() const noexcept { return mBof; }
    bool isEmpty() const noexcept { return mRecords.empty(); }
    int recordCount() const noexcept { return static_cast<int>(mRecords.size()); }
    int currentRow() const noexcept { return mRecords.empty() ? -1 : mCursor; }
    // Moves to the record that stands at `row` now, after posting a pending edit
    // (which may move records about).
    void moveTo(int row);
    // Positions on the first record whose leading key fields equal the values;
    // on failure the cursor stays where it was.
    bool findKey(const std::vector<Value>& leadingKey);

    using Bookmark = std::int64_t;
    Bookmark bookmark() const;
    // The bookmark of the record at `row`, or 0.
    Bookmark bookmarkAt(int row) const noexcept;
    bool gotoBookmark(Bookmark b);
    bool bookmarkValid(Bookmark b) const;

    // --- Editing.
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void remove();
    // Posts a pending edit, as leaving the record would.
    void checkBrowseMode();

    // --- Fields of the current record (or edit buffer).
    Field field(std::string_view name);
    std::optional<Field> findField(std::string_view name);
    Value rowValue(int row, int storedIndex) const;
    // The text of a lookup field for the given row (the edit buffer for the current row while
    // editing).
    Value lookupValue(const LookupDef& lookup, int row) const;
    void setLookupSource(std::string_view lookupName, const Table* source);
    // Row index of the first record whose stored field equals value, or -1.
    int locate(int storedIndex, const Value& value) const;

    // --- Display suspension (nested).
    void disableControls();
    void enableControls();
    bool controlsDisabled() const noexcept { return mSuspendDepth > 0; }
    // True while an operation runs, its handlers included (a message they show runs an
    // event loop): a view's request must wait for the operation's end.
    bool busy() const noexcept { return mOperationDepth > 0 || mDelivering; }
    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);

    // --- Events.
    using FieldChangeHandler = std::function<void(Field)>;
    void setFieldChangeHandler(std::string_view fieldName, FieldChangeHandler handler);
    std::function<void(Table&)> afterPost;
    // Returning false cancels the deletion silently.
    std::function<bool(Table&)> beforeDelete;
    std::function<PostErrorAction(Table&, const std::exception&)> onPostError;

private:
    friend class Field;
    struct Record {
        std::int64_t rowId = 0;
        std::vector<Value> values;
    };

    // What changed during an operation, told to the observers at its end.
    struct Change {
        enum class Kind { Inserted, Removed, Moved, Changed, State } kind;
        int row = 0;
        int to = 0;
    };
    class Operation;

    void requireOpen(const char* what) const;
    void requireClosed(const char* what) const;
    void requireWritable() const;
    void requireEditing() const;
    void loadRecords();
    void checkFileIsOurs(SqliteFile& file) const;
    int keyCompare(const std::vector<Value>& a, const std::vector<Value>& b) const;
    int lowerBound(const std::vector<Value>& values) const;
    int findDuplicateKey(const std::vector<Value>& values, int ignoreRow) const;
    Value checkedValue(int storedIndex, const Value& v) const;
    void setFieldValue(int storedIndex, const Value& v);
    void storeRows(std::vector<std::vector<Value>> rows, bool replace);
    Value currentValue(int storedIndex) const;
    void writeRecord(Record& record, bool isNew);
    void writeRow(const std::vector<Value>& values, std::int64_t rowId, bool isNew);
    // Writes the posts grouped during the suspension, inside a transaction.
    void flushPending();
    // Puts a written record at its key position (replacing oldRow, if any); returns its row.
    int placeRecord(Record record, int oldRow);
    void deleteRecordRow(std::int64_t rowId);
    void guardedWrite(const std::function<void()>& write);
    void reloadRecords();  // the memory back to what the file holds, edit state kept
    void beginWrite();
    void commitOrReload();
    void notify(const std::function<void(TableObserver*)>& fn);
    void record(Change change);
    void deliverChanges();
    void beginReset();
    void endReset();
    void setState(TableState s);
    void markChanged() noexcept { ++mVersion; }

    std::string mComponentName;
    TableDef mDef;
    std::vector<int> mKeyIndexes;
    std::vector<const Table*> mLookupSources;
    std::vector<FieldChangeHandler> mFieldHandlers;
    std::filesystem::path mDirectory;
    std::string mTableName;
    bool mReadOnly = false;

    TableState mState = TableState::Inactive;
    std::unique_ptr<SqliteFile> mFile;
    std::unique_ptr<SqliteStatement> mInsert;
    std::unique_ptr<SqliteStatement> mUpdate;
    std::unique_ptr<SqliteStatement> mDelete;
    std::vector<Record> mRecords;
    int mCursor = 0;
    bool mEof = true;
    bool mBof = true;
    std::vector<Value> mBuffer;
    int mEditRow = -1;
    bool mModified = false;  // a field of the edit buffer was assigned
    std::int64_t mLastRowId = 0;
    // Posts grouped while display is suspended: row id → not yet in the file.
    std::unordered_map<std::int64_t, bool> mDirty;
    std::vector<std::int64_t> mDeleted;  // highest row id handed out since open

    int mSuspendDepth = 0;
    std::vector<TableObserver*> mObservers;
    int mOperationDepth = 0;
    bool mDelivering = false;
    std::vector<Change> mChanges;
    int mToldCursor = -1;  // the cursor row the observers last heard of
    std::uint64_t mVersion = 0;
    mutable std::uint64_t mLocateVersion = ~std::uint64_t(0);
    mutable int mLocateField = -1;
    mutable std::vector<std::pair<Value, int>> mLocateIndex;
};

}  // namespace dravin
