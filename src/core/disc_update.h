#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/file_fingerprints.h"
#include "core/object_tree.h"
#include "platform/directory_listing.h"

namespace tomlet {

class MessagePump;
class ProgressSink;
class TextCodec;

// The part of the disc an update compares, and the part of the catalogue it may change.
struct DiscUpdateScope {
    // The folder stored paths are relative to: the data directory in absolute mode, the program
    // folder in relative mode. In the process code page.
    std::string BaseFolder;
    // The folder compared, as a stored path below BaseFolder (in the catalogue's code page); empty
    // for the whole of BaseFolder.
    std::string Folder;
    // The object that new entries directly in Folder go under; nullptr: the top level.
    ObjectNode* FolderObject = nullptr;
    std::vector<std::string> Masks;  // in scan order
    bool Nested = true;
};

// How a catalogue differs from its disc. Objects whose stored path the scan lists are kept as
// they are, wherever they stand in the tree; virtual folders, objects without a path and objects
// whose path lies outside the folder compared are never changed.
struct DiscChanges {
    // The files and folders the scan lists that no object names, built apart from the catalogue:
    // each top-level node goes under an object of the catalogue, with the new content of a new
    // folder below it.
    ObjectTree New;
    // Where each top-level node of New goes, in the same order. `After` is the nearest preceding
    // sibling in scan order that stands under `Parent`: an object kept there or an earlier node
    // of New.
    std::vector<NodePlace> Places;
    // Objects of the catalogue whose file or folder is gone from the disc, in depth-first order.
    std::vector<ObjectNode*> Missing;
    // Objects kept whose folder is now a file, or whose file a folder, each with the type and
    // action a scan gives what is there now; their texts stay.
    struct Retyping {
        ObjectNode* Object = nullptr;
        std::uint8_t ObjectType = 0;
        std::uint8_t ObjectAction = 0;
    };
    std::vector<Retyping> Retyped;
    // Gone files paired with new files that are them under another name: renamed or moved on
    // disc. Each object is to take its file's stored path and keep its texts and its place in
    // the tree. These objects are not among Missing; their files stay in New, to be added only
    // when the pairing is left out.
    struct Renaming {
        ObjectNode* Object = nullptr;      // of the catalogue
        const ObjectNode* File = nullptr;  // of New
        // Further new files of the same content, which stay new: a gone file pairs once.
        std::vector<const ObjectNode*> SameContent;
    };
    std::vector<Renaming> Renamed;
    // How many listed files and folders objects of the catalogue name.
    int Kept = 0;
    // What the scan left out (FolderScanner::Skipped): nothing below an unlistable folder counts
    // as missing, and nothing there is added.
    std::vector<SkippedEntry> Skipped;
    // Whether the fingerprints given to FindDiscChanges are other than they were: to be saved.
    bool FingerprintsChanged = false;

    bool IsEmpty() const { return New.IsEmpty() && Missing.empty() && Retyped.empty(); }
    // The new files and folders but those paired with a gone object.
    int NewCount() const { return New.Count() - static_cast<int>(Renamed.size()); }
};

// Lists the scope's folder as a scan does (same listing rules, order and field values, each
// folder once, with progress) and compares it with `catalogue`, whose texts are in `texts`'s code
// page. Stored paths match exactly, and then without regard to case. An object counts as missing
// only when its folder can be listed and lacks it. Throws std::runtime_error when the scope's
// folder does not exist, and, before anything is built, when what the scan makes and the objects
// the update may not touch would be more than MaxObjects.
// With `fingerprints` (the record of the catalogue's files that a scan or an earlier update
// made), a gone file that the record knows pairs with a new file that IsSameFile finds to be it:
// the first in scan order of its name, else the first (empty files never pair: they have no
// content to know them by). Every new file is read for it. The record then becomes the one that
// goes with the catalogue and the disc: what it held of the files objects name, a fingerprint
// of each kept file it lacked (FingerprintOfStamped) and of every new file. Without, nothing
// pairs.
DiscChanges FindDiscChanges(const ObjectTree& catalogue, const DiscUpdateScope& scope,
                            const TextCodec& texts, ProgressSink& progress, MessagePump& pump,
                            FingerprintMap* fingerprints = nullptr);

// Retypes what Retyped names, adds the new objects and deletes the missing ones, except the nodes
// in `leftOut` (of New: not added, with everything below them; of Missing: not deleted; the
// object of a Renamed pair: not renamed, but deleted, while its file is added). A renamed object
// takes its file's path. A deleted object's children that stay take its place. `catalogue` must
// be as FindDiscChanges saw it. Throws std::runtime_error, changing nothing, when the catalogue
// would hold more than MaxObjects.
void ApplyDiscChanges(ObjectTree& catalogue, DiscChanges&& changes,
                      const std::unordered_set<const ObjectNode*>& leftOut = {});

}  // namespace tomlet
