#include "core/shelf_database.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "core/sqlite.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

// "TmlS": marks the file as a Tomlet shelf, so that another program's database is not taken for
// one.
constexpr std::int64_t ShelfApplicationId = 0x546D6C53;

// Long enough for the other process to index the largest catalogue a project may hold.
constexpr int BusyTimeoutMs = 120'000;

// WAL, so that a search never waits for a writer; commits are not flushed to the disc one by one
// (a crash of the system may lose the last ones, never damage the file); 64 MB of pages kept in
// memory for the text indexes' merges; the WAL copied into the file after every 100 MB rather
// than every 4 MB, since indexing rewrites the same pages many times, and cut back to 100 MB.
constexpr const char* ConnectionSettings =
    "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA cache_size = -65536; "
    "PRAGMA wal_autocheckpoint = 25000; PRAGMA journal_size_limit = 104857600";

// Catalogues in the order they were put on the shelf; an object's key is ObjectKey(catalogue,
// depth-first index). Two text indexes hold the objects' texts folded as search folds them, in
// trigrams, so that a term of three characters or more finds its candidates without reading
// every object: object_name the caption and the path (the default fields), object_note the hint,
// parameters and comments. They keep neither a copy of the texts (content='') nor where a
// trigram stands (detail=none): each candidate is checked against its object anyway.
constexpr const char* Schema = R"(
CREATE TABLE catalogue (
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    code_page INTEGER NOT NULL,
    size INTEGER NOT NULL DEFAULT -1,
    modified INTEGER NOT NULL DEFAULT 0,
    name TEXT NOT NULL DEFAULT '',
    name2 TEXT NOT NULL DEFAULT '',
    data_dir TEXT NOT NULL DEFAULT '',
    absolute INTEGER NOT NULL DEFAULT 1,
    objects INTEGER NOT NULL DEFAULT 0,
    indexed INTEGER NOT NULL DEFAULT 0,
    missing INTEGER NOT NULL DEFAULT 0,
    error TEXT NOT NULL DEFAULT ''
);
CREATE TABLE object (
    id INTEGER PRIMARY KEY,
    parent INTEGER,
    type INTEGER NOT NULL,
    action INTEGER NOT NULL,
    caption TEXT NOT NULL,
    hint TEXT NOT NULL,
    path TEXT NOT NULL,
    parameters TEXT NOT NULL,
    comments TEXT NOT NULL
);
CREATE VIRTUAL TABLE object_name USING fts5(
    text, content='', detail=none, tokenize='trigram case_sensitive 1');
CREATE VIRTUAL TABLE object_note USING fts5(
    text, content='', detail=none, tokenize='trigram case_sensitive 1');
INSERT INTO object_name(object_name, rank) VALUES('hashsize', 67108864);
INSERT INTO object_note(object_note, rank) VALUES('hashsize', 67108864);
)";

void CreateSchema(SqliteDatabase& database) {
    database.Execute(Schema);
    database.Execute("PRAGMA application_id = " + std::to_string(ShelfApplicationId) +
                     "; PRAGMA user_version = " + std::to_string(ShelfSchemaVersion));
}

// Touches every table, so that a file damaged where the schema lies is found now.
void CheckTables(SqliteDatabase& database) {
    database.QueryInteger("SELECT count(*) FROM catalogue");
    database.QueryInteger("SELECT id FROM object ORDER BY id DESC LIMIT 1");
    database.QueryInteger("SELECT rowid FROM object_name('abc') LIMIT 1");
    database.QueryInteger("SELECT rowid FROM object_note('abc') LIMIT 1");
}

bool IsNew(SqliteDatabase& database) {
    return database.QueryInteger("PRAGMA application_id") == 0 &&
           database.QueryInteger("PRAGMA user_version") == 0 &&
           database.QueryInteger("SELECT count(*) FROM sqlite_schema") == 0;
}

void CheckShelf(SqliteDatabase& database, bool maintain) {
    const std::int64_t application = database.QueryInteger("PRAGMA application_id");
    const std::int64_t version = database.QueryInteger("PRAGMA user_version");
    if (IsNew(database)) {
        if (!maintain)
            throw UnusableShelf("the shelf has not been made yet");
        CreateSchema(database);
        return;
    }
    if (application != ShelfApplicationId)
        throw UnusableShelf("the file is not a Tomlet shelf");
    if (version > ShelfSchemaVersion)
        throw UnusableShelf("the shelf was made by a newer Tomlet");
    if (version < ShelfSchemaVersion)
        throw UnusableShelf("the shelf was made by an older Tomlet");
    CheckTables(database);
}

// The catalogues an unusable shelf still names, in shelf order, where it can be read as far.
std::vector<std::pair<std::string, std::int64_t>> CataloguesOf(const std::string& path) {
    std::vector<std::pair<std::string, std::int64_t>> catalogues;
    try {
        SqliteDatabase old(path, SqliteDatabase::OpenMode::ReadOnly);
        SqliteStatement query = old.Prepare("SELECT path, code_page FROM catalogue ORDER BY id");
        while (query.Step())
            catalogues.emplace_back(std::string(query.Text(0)), query.Integer(1));
    } catch (const std::exception&) {
        // Damaged where the list lies, or no shelf at all: nothing to keep.
    }
    return catalogues;
}

// "shelf.sqlite.set-aside", or with a number when that name is taken.
fs::path FreeSetAsideName(const std::string& path) {
    const std::string base = path + ".set-aside";
    std::error_code error;
    for (int number = 1;; ++number) {
        const std::string name = number == 1 ? base : base + "-" + std::to_string(number);
        if (!fs::exists(NativePathFromUtf8(name), error))
            return NativePathFromUtf8(name);
    }
}

}  // namespace

std::unique_ptr<SqliteDatabase> ConnectShelf(const std::string& path, bool maintain) {
    if (maintain) {
        std::error_code error;
        fs::create_directories(NativePathFromUtf8(path).parent_path(), error);
    }
    auto database = std::make_unique<SqliteDatabase>(
        path, maintain ? SqliteDatabase::OpenMode::Create : SqliteDatabase::OpenMode::ReadWrite);
    database->SetBusyTimeout(BusyTimeoutMs);
    database->Execute(ConnectionSettings);
    // Only a shelf being made takes the write lock, which another process may hold for a while.
    if (maintain && IsNew(*database)) {
        SqliteTransaction transaction(*database);
        CheckShelf(*database, maintain);
        transaction.Commit();
    } else {
        CheckShelf(*database, maintain);
    }
    return database;
}

ShelfSetAside SetShelfAside(const std::string& path, const std::string& reason) {
    const auto catalogues = CataloguesOf(path);
    const fs::path movedTo = FreeSetAsideName(path);
    for (const char* suffix : {"-wal", "-shm", ""}) {
        const fs::path from = NativePathFromUtf8(path + suffix);
        std::error_code error;
        if (!fs::exists(from, error))
            continue;
        fs::path to = movedTo;
        to += suffix;
        fs::rename(from, to, error);
        if (error)
            throw std::runtime_error(path + ": the shelf cannot be set aside: " + error.message());
    }
    const auto database = ConnectShelf(path, true);
    SqliteTransaction transaction(*database);
    SqliteStatement insert =
        database->Prepare("INSERT OR IGNORE INTO catalogue(path, code_page) VALUES(?, ?)");
    for (const auto& [catalogue, codePage] : catalogues)
        insert.Bind(1, catalogue).Bind(2, codePage).Run();
    transaction.Commit();
    return {reason, DisplayName(movedTo.native()), catalogues.size()};
}

}  // namespace tomlet
