#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>

#include "core/shelf.h"

namespace tomlet {

class MessagePump;
class ProgressSink;
class SqliteDatabase;

// A catalogue file's size and modification time: what tells a refresh that it changed.
struct FileStamp {
    std::int64_t Size = -1;
    std::int64_t Modified = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of a file (UTF-8 path); nothing when it is not a file.
std::optional<FileStamp> StampOf(const std::string& path);

struct IndexResult {
    enum Outcome { Indexed, Unreadable, Stopped };
    Outcome Result = Indexed;
    std::string Error;  // why it could not be read, for the user (UTF-8)
};

// Writes catalogues into the shelf's database.
class ShelfIndexer final {
public:
    explicit ShelfIndexer(SqliteDatabase& database);
    ~ShelfIndexer();
    ShelfIndexer(const ShelfIndexer&) = delete;
    ShelfIndexer& operator=(const ShelfIndexer&) = delete;

    // Replaces the catalogue's entries with the objects of its file, as it has `stamp`, and its
    // facts with the file's, in one transaction. Every object read is one step of `progress`.
    // When the file cannot be read, or `stop` is triggered, the old entries stay as they were.
    IndexResult Index(const ShelfCatalogue& catalogue, const FileStamp& stamp,
                      ProgressSink& progress, MessagePump& pump, std::stop_token stop);
    // Deletes the catalogue's entries, within the caller's transaction.
    void Forget(std::int64_t catalogueId);

    struct Statements;

private:
    SqliteDatabase& m_database;
    std::unique_ptr<Statements> m_statements;
};

}  // namespace tomlet
