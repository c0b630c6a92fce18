#include "core/sqlite.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace tomlet {

namespace {

// Statements check the stop token every this many virtual machine steps.
constexpr int StepsPerStopCheck = 1000;

[[noreturn]] void Throw(sqlite3* database, int code) {
    const char* message = database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(code);
    throw SqliteError(code, message);
}

// Calls the test behind a function defined by DefineTextTest.
void CallTextTest(sqlite3_context* context, int count, sqlite3_value** values) {
    std::string_view texts[5];
    count = std::min(count, 5);
    for (int i = 0; i < count; ++i) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[i]));
        if (text != nullptr)
            texts[i] = {text, static_cast<std::size_t>(sqlite3_value_bytes(values[i]))};
    }
    const auto& test = *static_cast<const SqliteDatabase::TextTest*>(sqlite3_user_data(context));
    sqlite3_result_int(context, test({texts, static_cast<std::size_t>(count)}) ? 1 : 0);
}

}  // namespace

bool SqliteError::IsDamage() const {
    const int primary = m_code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool SqliteError::IsInterrupt() const {
    return (m_code & 0xFF) == SQLITE_INTERRUPT;
}

SqliteStatement::SqliteStatement(sqlite3* database, std::string_view sql) {
    const int code = sqlite3_prepare_v3(database, sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr);
    if (code != SQLITE_OK)
        Throw(database, code);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    std::swap(m_statement, other.m_statement);
    return *this;
}

void SqliteStatement::Check(int code) const {
    if (code != SQLITE_OK)
        Throw(sqlite3_db_handle(m_statement), code);
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(m_statement, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view utf8) {
    Check(sqlite3_bind_text64(m_statement, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(m_statement, index));
    return *this;
}

bool SqliteStatement::Step() {
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    // The reason is the connection's until the statement is reset.
    SqliteError error(code, sqlite3_errmsg(sqlite3_db_handle(m_statement)));
    sqlite3_reset(m_statement);
    throw error;
}

void SqliteStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset() {
    sqlite3_reset(m_statement);
}

std::int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

std::string_view SqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (text == nullptr)
        return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column))};
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

SqliteDatabase::SqliteDatabase(const std::string& path, OpenMode mode) {
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
        case OpenMode::Create:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
        case OpenMode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case OpenMode::ReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
    }
    const int code = sqlite3_open_v2(path.c_str(), &m_database, flags, nullptr);
    if (code != SQLITE_OK) {
        SqliteError error(
            code, path + ": " +
                      (m_database != nullptr ? sqlite3_errmsg(m_database) : sqlite3_errstr(code)));
        sqlite3_close_v2(m_database);
        throw error;
    }
    sqlite3_extended_result_codes(m_database, 1);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(m_database);
}

void SqliteDatabase::Execute(std::string_view sql) {
    const std::string statements(sql);
    char* message = nullptr;
    const int code = sqlite3_exec(m_database, statements.c_str(), nullptr, nullptr, &message);
    if (code == SQLITE_OK)
        return;
    const std::string text = message != nullptr ? message : sqlite3_errstr(code);
    sqlite3_free(message);
    throw SqliteError(sqlite3_extended_errcode(m_database), text);
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql) {
    return SqliteStatement(m_database, sql);
}

std::int64_t SqliteDatabase::QueryInteger(std::string_view sql) {
    SqliteStatement query = Prepare(sql);
    return query.Step() ? query.Integer(0) : 0;
}

void SqliteDatabase::DefineTextTest(const std::string& name, TextTest test) {
    auto held = std::make_unique<TextTest>(std::move(test));
    const int code =
        sqlite3_create_function_v2(m_database, name.c_str(), -1, SQLITE_UTF8 | SQLITE_DIRECTONLY,
                                   held.get(), &CallTextTest, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        Throw(m_database, code);
    m_tests[name] = std::move(held);  // SQLite has let go of the one before
}

void SqliteDatabase::SetBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(m_database, milliseconds);
}

void SqliteDatabase::InterruptOn(std::stop_token stop) {
    m_stop = std::move(stop);
    sqlite3_progress_handler(m_database, m_stop.stop_possible() ? StepsPerStopCheck : 0,
                             m_stop.stop_possible() ? &SqliteDatabase::Progress : nullptr, this);
}

int SqliteDatabase::Progress(void* self) {
    return static_cast<SqliteDatabase*>(self)->m_stop.stop_requested() ? 1 : 0;
}

std::int64_t SqliteDatabase::Changes() const {
    return sqlite3_changes64(m_database);
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& database) : m_database(database) {
    m_database.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (m_open)
        sqlite3_exec(m_database.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::Commit() {
    m_database.Execute("COMMIT");
    m_open = false;
}

}  // namespace tomlet
