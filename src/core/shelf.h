#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "core/search.h"
#include "platform/directory_listing.h"

namespace tomlet {

class MessagePump;
class ProgressSink;
class SqliteDatabase;

// The shelf: the catalogues (.tml files) a user has put together, indexed in one SQLite database
// so that one search finds an object on every disc at once. The database is an index, never a
// source: nothing is written back to a catalogue, and it can always be made again from them.
// Paths and texts are UTF-8 throughout; each catalogue's texts are decoded from its code page
// once, when it is read.

// The environment variable that names another shelf file (tests, a portable shelf on a stick).
inline constexpr const char* ShelfEnvironmentVariable = "TOMLET_SHELF";
// The user's shelf: the file TOMLET_SHELF names, otherwise Tomlet/shelf.sqlite in the user's data
// folder (~/.local/share, %LOCALAPPDATA% on Windows).
std::string DefaultShelfPath();

// A catalogue's project name, or the name of its file when the project has none.
std::string CatalogueTitle(const std::string& projectName, const std::string& path);

enum class CatalogueStatus {
    Indexed,     // its entries are those of the file as it was when indexed
    NotIndexed,  // on the shelf, not read yet (a cancelled refresh, a rebuilt shelf)
    Missing,     // the file is gone; its entries stay searchable until it is removed
    Damaged,     // the last read failed; the entries of an earlier read stay
};

struct ShelfCatalogue {
    std::int64_t Id = 0;
    std::string Path;  // the catalogue file
    int CodePage = 0;  // its texts were decoded with
    std::string ProjectName;
    std::string ProjectName2;
    std::string DataDir;  // as the catalogue gives it
    bool AbsolutePath = true;
    std::int64_t Objects = 0;
    std::int64_t IndexedAt = 0;  // seconds since 1970 (UTC); 0 when never indexed
    std::int64_t FileSize = -1;  // of the file when last read; -1 before the first read
    std::int64_t FileModified = 0;
    bool Missing = false;
    std::string Error;  // why the last read failed, for the user

    CatalogueStatus Status() const;
    // How it is named to the user: its project name, or its file's name when it has none.
    std::string Title() const { return CatalogueTitle(ProjectName, Path); }
    // Where its disc's files lie: the data directory, in relative mode the catalogue's folder.
    std::string DiscFolder() const;
    // Whether its disc is there now.
    bool IsOnline() const;
};

// What opening found and did when the file was not a shelf this program can use.
struct ShelfSetAside {
    std::string Reason;        // why, for the user
    std::string MovedTo;       // where the old file now lies
    std::size_t Catalogues{};  // catalogues taken over from it, to be indexed again
};

// Tells the user what became of an unusable shelf (UTF-8).
std::string SetAsideMessage(const ShelfSetAside& setAside);

// What a refresh did. Every catalogue is either fully old or fully new afterwards.
struct ShelfRefresh {
    int Indexed = 0;
    int Unchanged = 0;
    int Missing = 0;
    std::vector<std::pair<std::string, std::string>> Damaged;  // path, the reader's message
    bool Cancelled = false;
};

struct ShelfAddition {
    std::size_t Catalogues = 0;             // catalogue files named or found in the folders
    std::vector<std::string> Added;         // those new on the shelf, in shelf order
    std::vector<std::string> NotFound;      // paths that name neither a file nor a folder
    std::vector<SkippedEntry> Skipped;      // what the walk of a folder left out
    std::vector<std::string> FolderErrors;  // folders that could not be walked, with the reason
    ShelfRefresh Refresh;                   // the indexing of the new catalogues
};

// A search across the shelf: the program's find, in every catalogue at once.
struct ShelfQuery {
    std::string Text;  // as typed
    std::uint8_t Fields = ffCaption | ffPathFileName;
    bool CaseSensitive = false;
    std::optional<std::uint8_t> ObjectType;
    std::optional<std::int64_t> Catalogue;  // its id
    std::size_t Limit = 0;                  // hits kept; 0 keeps every one
};

struct ShelfHit {
    std::int64_t CatalogueId = 0;
    std::string CataloguePath;
    std::string ProjectName;  // or the catalogue's file name when it has none
    bool Online = false;      // the catalogue's disc is there
    int Index = 0;            // depth-first, as tomlet-cli find numbers objects
    std::uint8_t ObjectType = 0;
    std::uint8_t ObjectAction = 0;
    std::string Caption;
    std::string PathFileName;  // as stored
    std::string ResolvedPath;  // where it leads
    std::string TreePath;      // the captions from the top down to its own, "Setup / net.inf"
};

struct ShelfHits {
    std::vector<ShelfHit> Hits;  // in shelf order: catalogue, then depth-first index
    std::int64_t Total = 0;      // every hit, kept or not
    bool Complete = true;        // false when stopped before the count was done
};

class Shelf final {
public:
    enum class Access {
        // Makes the file when missing; a file that is no shelf of this version, or damaged, is
        // set aside and a new shelf made in its place, keeping its catalogues where it can.
        Maintain,
        // For a second connection of a process that maintains the shelf: opens it as it is.
        Search,
    };

    // Opens the shelf file (UTF-8), making its folder as needed. Throws std::runtime_error when
    // it cannot.
    explicit Shelf(std::string path, Access access = Access::Maintain);
    ~Shelf();
    Shelf(const Shelf&) = delete;
    Shelf& operator=(const Shelf&) = delete;

    const std::string& Path() const { return m_path; }
    const std::optional<ShelfSetAside>& SetAside() const { return m_setAside; }

    // In shelf order: the order they were added.
    std::vector<ShelfCatalogue> Catalogues();
    std::optional<ShelfCatalogue> FindCatalogue(const std::string& path);

    // Puts catalogue files, and the *.tml files of folders (walked as a scan walks them), on the
    // shelf and indexes those that were not on it yet; their texts are decoded with
    // `codePage`. Progress counts objects; `stop` ends the indexing after the catalogue being
    // read has been left as it was.
    ShelfAddition Add(const std::vector<std::string>& paths, int codePage, ProgressSink& progress,
                      MessagePump& pump, std::stop_token stop = {});
    // Takes catalogues off the shelf, with their entries: those named, and those below a folder
    // named. Gives the paths taken off.
    std::vector<std::string> Remove(const std::vector<std::string>& paths);
    // Reads again every catalogue whose size or modification time changed since it was read, each
    // in one transaction, and marks those whose file is gone.
    ShelfRefresh Refresh(ProgressSink& progress, MessagePump& pump, std::stop_token stop = {});

    // Finds the objects that hold the text, in shelf order. `firstHits` hears the kept hits as soon
    // as the limit is reached, before the rest are counted. `stop` ends the search early (the
    // result is then not Complete).
    ShelfHits Search(const ShelfQuery& query, std::stop_token stop = {},
                     const std::function<void(const ShelfHits&)>& firstHits = {});

private:
    // Runs an operation; a database found damaged on the way is set aside and made again.
    template <class Operation>
    auto Guarded(Operation&& operation) -> decltype(operation());
    // True when the catalogue was not on the shelf yet.
    bool Register(const std::string& path, int codePage);
    // Reads again those of the catalogues whose files changed, and marks those that are gone.
    ShelfRefresh IndexChanged(const std::vector<std::int64_t>& ids, ProgressSink& progress,
                              MessagePump& pump, std::stop_token stop);

    std::string m_path;
    Access m_access;
    std::unique_ptr<SqliteDatabase> m_database;
    std::optional<ShelfSetAside> m_setAside;
};

}  // namespace tomlet
