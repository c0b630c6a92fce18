#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/object_tree.h"
#include "core/wildcard.h"
#include "platform/directory_listing.h"

namespace tomlet {

class ProgressSink;
class MessagePump;

// The data directory as the scan takes it from what the user typed: a drive root D:\ becomes D:
// and one trailing separator is dropped, so that stored paths never begin with a separator.
std::string NormaliseDataDirectory(std::string_view typed);

// Fills an object tree from a folder tree: one Folder object per subfolder and one object per
// file that a mask matches. Hidden, system and dot-named folders are left out with all they hold;
// files are matched whatever their attributes. Each folder is listed once per scan: the counting
// pass keeps its listings for the filling pass.
class FolderScanner final {
public:
    // `dataDir`: stored paths are made relative to it. `masks`: in scan order.
    FolderScanner(const std::vector<std::string>& masks, std::string dataDir,
                  ProgressSink& progress, MessagePump& pump);

    // Counts, then fills, with progress. The new objects become the last children of `parent`
    // in `tree` (nullptr: the top level). Callers that show the tree build into a detached tree
    // and adopt it afterwards; after an exception what was built so far stays in `tree`. A folder
    // tree that would make objects of level MaxTreeLevels or deeper is refused by an exception
    // from the counting pass, before any object is made.
    bool ScanDirectory(const std::string& directory, ObjectTree& tree, ObjectNode* parent,
                       bool nested);
    // For a tree built apart: the level its top objects will take once adopted (the adopting
    // node's level plus one), so that the depth limit counts from there. 0 unless set.
    void SetAdoptionLevel(int level) { m_adoptionLevel = level; }

    // What the last scan would have taken but left out (a name the process code page cannot
    // hold), each by its whole path, in the order met.
    const std::vector<SkippedEntry>& Skipped() const { return m_skipped; }

private:
    // What the filling pass creates for one folder, in order.
    struct ListedFolder {
        std::string Name;
        std::vector<ListedFolder> Subfolders;
        std::vector<std::string> Files;  // mask by mask; a name once per mask that matches it
    };

    ListedFolder CountDirectoryEntries(const std::string& directory, bool nested, int level);
    // `level`: that of the objects the folder's entries become.
    void ListFolder(const std::string& directory, bool nested, int level, ListedFolder& folder);
    void ReportSkipped(const std::string& directory);
    void AddDirectoryEntries(ListedFolder& folder, const std::string& storedFolder, bool nested,
                             ObjectTree& tree, ObjectNode* parent);
    std::string StoredFolderPath(const std::string& directory) const;

    std::vector<Wildcard> m_masks;
    std::vector<Wildcard> m_utf8Masks;  // for names that only UTF-8 holds
    std::string m_dataPrefix;           // the data directory with one separator after it
    char m_separator;
    ProgressSink& m_progress;
    MessagePump& m_pump;
    DirectoryListing m_listing;                 // reused by every folder
    std::vector<FolderIdentity> m_openFolders;  // the folders the counting pass is inside
    int m_adoptionLevel = 0;
    std::vector<SkippedEntry> m_skipped;
};

}  // namespace tomlet
