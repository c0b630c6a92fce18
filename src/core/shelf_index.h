#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

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

// A catalogue to be read again, with its file's stamp and the object count its header gives.
struct ChangedCatalogue {
    ShelfCatalogue Catalogue;
    FileStamp Stamp;
    std::int64_t Objects = 0;
};

// Writes catalogues into the shelf's database.
class ShelfIndexer final {
public:
    explicit ShelfIndexer(SqliteDatabase& database);
    ~ShelfIndexer();
    ShelfIndexer(const ShelfIndexer&) = delete;
    ShelfIndexer& operator=(const ShelfIndexer&) = delete;

    // Replaces each catalogue's entries with the objects of its file, and its facts with the
    // file's. A catalogue either keeps its old entries or gets all its new ones: one that cannot
    // be read keeps them, with the reader's message. Small catalogues are read whole first and
    // written several to a transaction (the text index grows fastest so); a large one is written
    // as it is read, in a transaction of its own. `stop` leaves the catalogue being read as it
    // was. Every object written is one step of `progress`.
    ShelfRefresh Index(const std::vector<ChangedCatalogue>& catalogues, ProgressSink& progress,
                       MessagePump& pump, std::stop_token stop);
    // Deletes the catalogue's entries, within the caller's transaction.
    void Forget(std::int64_t catalogueId);

    struct Statements;

private:
    struct Decoded;

    // Reads the catalogue whole, then writes it within the open batch; false when it cannot be
    // read.
    bool IndexWhole(const ChangedCatalogue& changed, const std::string& path, MessagePump& pump,
                    ProgressSink& progress, std::stop_token stop, std::string& error);
    // Writes the catalogue as it is read, in a transaction of its own.
    bool IndexStreamed(const ChangedCatalogue& changed, const std::string& path, MessagePump& pump,
                       ProgressSink& progress, std::stop_token stop, std::string& error);
    void RecordIndexed(const ChangedCatalogue& changed, const Decoded& catalogue);
    void RecordFailure(const ChangedCatalogue& changed, const std::string& error);

    SqliteDatabase& m_database;
    std::unique_ptr<Statements> m_statements;
};

}  // namespace tomlet
