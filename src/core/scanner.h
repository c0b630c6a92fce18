#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/file_fingerprints.h"
#include "core/object_tree.h"
#include "core/wildcard.h"
#include "platform/directory_listing.h"

namespace tomlet {

class ProgressSink;
class MessagePump;

// The data directory as the scan takes it from what the user typed: a drive root D:\ becomes D:
// and one trailing separator is dropped, so that stored paths never begin with a separator.
std::string NormaliseDataDirectory(std::string_view typed);

// A line that names an entry a scan left out and says why, in UTF-8.
std::string SkippedEntryLine(const SkippedEntry& skipped);

// Fills an object tree from a folder tree: one Folder object per subfolder and one object per
// file that a mask matches. Hidden, system and dot-named folders are left out with all they hold;
// files are matched whatever their attributes. Each folder is listed once per scan: the counting
// pass keeps its listings for the filling pass. A folder met again through a link (into a folder
// being listed, or one listed already) becomes an object without content, so that links can
// neither loop nor multiply the tree; within a folder, real subfolders are taken before links.
// A link to the folder scanned or to one above it is left out and reported: through it the scan
// would wander through every folder beside.
class FolderScanner final {
public:
    // `dataDir`: stored paths are made relative to it. `masks`: in scan order.
    FolderScanner(const std::vector<std::string>& masks, std::string dataDir,
                  ProgressSink& progress, MessagePump& pump);

    // Counts, then fills, with progress. The new objects become the last children of `parent`
    // in `tree` (nullptr: the top level). Callers that show the tree build into a detached tree
    // and adopt it afterwards; after an exception what was built so far stays in `tree`. A folder
    // tree that would make objects of level MaxTreeLevels or deeper, or more than MaxObjects
    // objects, is refused by an exception from the counting pass, before any object is made.
    bool ScanDirectory(const std::string& directory, ObjectTree& tree, ObjectNode* parent,
                       bool nested);
    // For a tree built apart, to be adopted below `node` of `project` (nullptr: at its top
    // level): the depth and object limits count from there.
    void SetAdoptingNode(const ObjectTree& project, const ObjectNode* node);
    // For a tree built apart that `objects` objects of a project will stand beside: the object
    // limit counts them too.
    void SetObjectsBeside(std::size_t objects) { m_adoptingObjects = objects; }
    // Adds to `fingerprints` each file the scan takes, by the key of its stored path, as
    // FingerprintOfStamped tells it: so that an update finds the file under another name even
    // before it has read the file itself. Nullptr: nothing is recorded.
    void RecordFingerprints(FingerprintMap* fingerprints) { m_fingerprints = fingerprints; }

    // What the last scan would have taken but left out, each by its whole path, in the order
    // met: names the process code page cannot hold, elsewhere than on Windows names holding '\',
    // folders that could not be listed and links to the folder scanned or above it.
    const std::vector<SkippedEntry>& Skipped() const { return m_skipped; }

private:
    // What the filling pass creates for one folder, in order.
    struct ListedFolder {
        std::string Name;
        bool IsLink = false;
        bool LeftOut = false;  // a link that loops back
        std::vector<ListedFolder> Subfolders;
        std::vector<std::string> Files;  // mask by mask; a name once per mask that matches it
        // Beside Files, when fingerprints are recorded.
        std::vector<std::optional<FileFingerprint>> Fingerprints;
    };

    ListedFolder CountDirectoryEntries(const std::string& directory, bool nested, int level);
    // `directory` names the open folder for reports; `level`: that of the objects the folder's
    // entries become.
    void ListFolder(OpenFolder& opened, const std::string& directory, bool nested, int level,
                    ListedFolder& folder);
    void SkipNamesTheProjectCannotHold();
    std::vector<std::optional<FileFingerprint>> FingerprintsOfFiles(const OpenFolder& opened,
                                                                    const std::string& directory);
    int TakeEntries(const OpenFolder& opened, const std::string& directory, ListedFolder& folder);
    void CountObjects(std::size_t added);
    void ReportSkipped(const std::string& directory);
    void ReportUnlistable(const std::string& directory, const std::string& error);
    void AddDirectoryEntries(ListedFolder& folder, const std::string& storedFolder, bool nested,
                             ObjectTree& tree, ObjectNode* parent);
    std::string StoredFolderPath(const std::string& directory) const;

    std::vector<Wildcard> m_masks;
    std::vector<Wildcard> m_utf8Masks;  // for names that only UTF-8 holds
    std::string m_dataPrefix;           // the data directory with one separator after it
    char m_separator;
    ProgressSink& m_progress;
    MessagePump& m_pump;
    DirectoryListing m_listing;  // reused by every folder
    std::unordered_set<FolderIdentity, FolderIdentityHash> m_listedFolders;
    std::unordered_set<FolderIdentity, FolderIdentityHash> m_folderAndAbove;  // of the scan
    int m_adoptionLevel = 0;
    std::size_t m_adoptingObjects = 0;  // in the tree that adopts the one built apart
    std::size_t m_objects = 0;          // in the tree scanned into, and those the scan will make
    std::vector<SkippedEntry> m_skipped;
    FingerprintMap* m_fingerprints = nullptr;
};

}  // namespace tomlet
