#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/shelf.h"

// The shelf's database file: its schema, and what becomes of a file that is not a shelf this
// program can use.
namespace tomlet {

class SqliteDatabase;

// The schema this program writes, kept in PRAGMA user_version. A file of another version is set
// aside, as the database is only an index of the catalogues.
inline constexpr std::int64_t ShelfSchemaVersion = 1;

// The key of an object in the shelf: its catalogue's id in the high half, its depth-first index
// in the low half. Key order is shelf order, and a catalogue's objects are one range of keys.
constexpr std::int64_t ObjectKey(std::int64_t catalogue, std::int64_t index) {
    return (catalogue << 32) | index;
}
constexpr std::int64_t CatalogueOfKey(std::int64_t key) {
    return key >> 32;
}
constexpr int IndexOfKey(std::int64_t key) {
    return static_cast<int>(key & 0xFFFFFFFF);
}

// A shelf file this program cannot use as it is: not a shelf, of a newer version, damaged.
class UnusableShelf final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Opens a connection to the shelf file, set up for two processes at once: WAL, and a long wait
// for the other's write lock. With `maintain`, makes the file and its schema where missing;
// otherwise throws UnusableShelf for a file that has none.
std::unique_ptr<SqliteDatabase> ConnectShelf(const std::string& path, bool maintain);

// Moves an unusable shelf file (and its WAL files) aside under a name of its own, and makes a
// new shelf in its place holding the catalogues the old one still names, not yet indexed.
// Throws std::runtime_error when the file cannot be moved.
ShelfSetAside SetShelfAside(const std::string& path, const std::string& reason);

}  // namespace tomlet
