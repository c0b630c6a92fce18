#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// SQLite's C API behind a few move-only owners that throw SqliteError on every failure, so that
// a statement or a connection is never leaked on a way out and no result code goes unchecked.
namespace tomlet {

class SqliteError final : public std::runtime_error {
public:
    SqliteError(int code, const std::string& what) : std::runtime_error(what), m_code(code) {}

    // SQLite's extended result code.
    int Code() const { return m_code; }
    // The file is not a database, or the database is damaged.
    bool IsDamage() const;
    // The statement stopped because its stop token was triggered.
    bool IsInterrupt() const;

private:
    int m_code;
};

// One prepared statement. Parameters are numbered from 1, columns from 0.
class SqliteStatement final {
public:
    SqliteStatement(sqlite3* database, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;

    SqliteStatement& Bind(int index, std::int64_t value);
    // The text is copied: it may go before the statement runs.
    SqliteStatement& Bind(int index, std::string_view utf8);
    SqliteStatement& BindNull(int index);

    // Runs to the next row: true while there is one.
    bool Step();
    // Runs to the end, for a statement that gives no rows, and makes it ready to run again.
    void Run();
    // Makes the statement ready to run again; its parameters keep their values.
    void Reset();

    std::int64_t Integer(int column) const;
    // Valid until the next Step or Reset.
    std::string_view Text(int column) const;
    bool IsNull(int column) const;

private:
    void Check(int code) const;

    sqlite3_stmt* m_statement = nullptr;
};

// One connection to a database file. Paths are UTF-8 on every system.
class SqliteDatabase final {
public:
    enum class OpenMode {
        Create,     // made when it does not exist (its folder must)
        ReadWrite,  // must exist
        ReadOnly,
    };

    explicit SqliteDatabase(const std::string& path, OpenMode mode = OpenMode::Create);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements that give no rows we need, separated by ';'.
    void Execute(std::string_view sql);
    SqliteStatement Prepare(std::string_view sql);
    // The first column of the first row of a query: a count, a pragma's value.
    std::int64_t QueryInteger(std::string_view sql);

    // Whether the texts of a SQL function's arguments pass a test of the program's own.
    using TextTest = std::function<bool(std::span<const std::string_view> texts)>;
    // Makes `name(text, ...)` a SQL function of this connection, taking up to five arguments,
    // that gives `test` of their texts: a filter SQLite runs on each row without handing the row
    // out. Defining it again replaces the test; no statement may be running then.
    void DefineTextTest(const std::string& name, TextTest test);

    // Waits this long for another connection's lock before giving up.
    void SetBusyTimeout(int milliseconds);
    // Statements of this connection stop with an interrupt error once `stop` is triggered; a
    // default token never stops them.
    void InterruptOn(std::stop_token stop);

    std::int64_t Changes() const;
    sqlite3* Handle() const { return m_database; }

private:
    static int Progress(void* self);

    sqlite3* m_database = nullptr;
    std::map<std::string, std::unique_ptr<TextTest>> m_tests;
    std::stop_token m_stop;
};

// A write transaction: BEGIN IMMEDIATE, so that it takes the write lock at once (waiting for it
// as the busy timeout allows) and never fails half-way for another writer. Rolled back unless
// committed.
class SqliteTransaction final {
public:
    explicit SqliteTransaction(SqliteDatabase& database);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void Commit();

private:
    SqliteDatabase& m_database;
    bool m_open = true;
};

}  // namespace tomlet
