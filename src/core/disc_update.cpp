#include "core/disc_update.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/catalogue.h"
#include "core/limits.h"
#include "core/paths.h"
#include "core/progress.h"
#include "core/scanner.h"
#include "core/text_folding.h"
#include "platform/case_fold.h"
#include "platform/directory_listing.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

// Listings name files in the process code page.
const TextCodec& ListedCodec() {
    return ProcessCodec();
}

std::string Recode(std::string text, const TextCodec& from, const TextCodec& to) {
    if (from.CodePage() == to.CodePage())
        return text;
    return to.FromUtf8(from.ToUtf8(text));
}

// Texts that differ only in case give the same key.
std::u32string FoldedText(std::string_view text, const TextCodec& codec) {
    std::u32string folded = DecodeUtf8(codec.IsUtf8() ? std::string(text) : codec.ToUtf8(text));
    for (char32_t& c : folded)
        c = LowerCase(c);
    return folded;
}

// The parts of a stored path in `codec`'s code page between its separators.
std::vector<std::string_view> StoredParts(std::string_view path, const TextCodec& codec) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = codec.FindAscii(path, {&StoredSeparator, 1}, start);
        parts.push_back(path.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// A path a scan could have stored: relative, and naming nothing beside or above the base folder.
bool IsPlainStoredPath(std::string_view path, const TextCodec& codec) {
    if (codec.FindAscii(path, ":/") != std::string_view::npos)
        return false;
    for (size_t start = 0;;) {
        const size_t end = codec.FindAscii(path, {&StoredSeparator, 1}, start);
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

// In the listing's code page.
std::string Joined(const std::string& folder, std::string_view name) {
    const char separator = PathRules::Native().Separator;
    std::string path = folder;
    if (!EndsWithSeparator(path, separator, ListedCodec()))
        path += separator;
    return path.append(name);
}

// Looks stored paths up on disc the way object actions resolve them (exactly, then without
// regard to case), listing each folder it needs once. A folder that cannot be listed gives no
// answer, so that nothing is taken for gone because it could not be read.
class DiscLookup final {
public:
    enum class Answer { Absent, Present, Unknown };
    struct Located {
        Answer What = Answer::Unknown;
        std::string Path;  // as spelt on disc, in the listing's code page
        bool IsDirectory = false;
    };

    DiscLookup(std::string baseFolder, const TextCodec& texts, const TextCodec& listed)
        : m_base(std::move(baseFolder)), m_texts(texts), m_listed(listed) {}

    // An empty stored path is the base folder itself.
    Located Locate(std::string_view storedPath) {
        Located located{Answer::Present, m_base, true};
        if (storedPath.empty())
            return FolderAt(m_base).Listed ? located : Located{};
        // Most paths lie in a folder spelt on disc as stored; then that folder alone is listed.
        if (const size_t last = m_texts.FindLastAscii(storedPath, {&StoredSeparator, 1});
            last != storedPath.npos) {
            std::string parent =
                Joined(m_base, NativeStoredPath(NativeName(storedPath.substr(0, last))));
            if (FolderAt(parent).Listed) {
                located.Path = std::move(parent);
                storedPath.remove_prefix(last + 1);
            }
        }
        for (std::string_view part : StoredParts(storedPath, m_texts)) {
            if (!located.IsDirectory)
                return {Answer::Absent, {}, false};
            Folder& folder = FolderAt(located.Path);
            if (!folder.Listed)
                return {};
            const DirectoryEntry* entry = folder.Find(NativeName(part), m_listed);
            if (entry == nullptr)
                return {Answer::Absent, {}, false};
            located.Path = Joined(located.Path, entry->Name);
            located.IsDirectory = entry->IsDirectory;
        }
        return located;
    }

private:
    struct Folder {
        bool Listed = false;
        std::vector<DirectoryEntry> Entries;  // by name
        std::optional<std::unordered_map<std::u32string, size_t>> ByFoldedName;

        // The entry of that name, else of that name but for case.
        const DirectoryEntry* Find(const std::string& name, const TextCodec& codec) {
            const auto exact = std::lower_bound(Entries.begin(), Entries.end(), name, ByName);
            if (exact != Entries.end() && exact->Name == name)
                return &*exact;
            if (!ByFoldedName) {
                ByFoldedName.emplace();
                for (size_t i = 0; i < Entries.size(); ++i)
                    ByFoldedName->emplace(FoldedText(Entries[i].Name, codec), i);
            }
            const auto folded = ByFoldedName->find(FoldedText(name, codec));
            return folded == ByFoldedName->end() ? nullptr : &Entries[folded->second];
        }
        static bool ByName(const DirectoryEntry& entry, const std::string& name) {
            return entry.Name < name;
        }
    };

    std::string NativeName(std::string_view stored) const {
        return Recode(std::string(stored), m_texts, m_listed);
    }

    Folder& FolderAt(const std::string& path) {
        auto [slot, added] = m_folders.try_emplace(path);
        Folder& folder = slot->second;
        if (!added || !ListDirectory(path, m_listing))
            return folder;
        folder.Listed = true;
        folder.Entries = std::move(m_listing.Entries);
        std::sort(folder.Entries.begin(), folder.Entries.end(),
                  [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.Name < b.Name; });
        return folder;
    }

    std::string m_base;
    const TextCodec& m_texts;
    const TextCodec& m_listed;
    std::unordered_map<std::string, Folder> m_folders;
    DirectoryListing m_listing;
};

// Catalogue objects by a key, those of one key in the order added; each is taken once. Open
// addressing in flat tables: a large catalogue costs no allocation per object.
template <class Key>
class CandidateQueues final {
public:
    explicit CandidateQueues(size_t expected) {
        m_entries.reserve(expected);
        size_t capacity = 16;
        while (capacity < 2 * expected)
            capacity *= 2;
        m_slots.resize(capacity);
    }

    // At most the expected number of candidates.
    void Add(Key key, int candidate) {
        const size_t hash = std::hash<Key>{}(key);
        Slot& slot = Find(hash, key);
        const int entry = static_cast<int>(m_entries.size());
        m_entries.push_back({std::move(key), candidate, -1});
        if (slot.Last < 0)
            slot = {hash, entry, entry};
        else
            m_entries[static_cast<size_t>(std::exchange(slot.Last, entry))].Next = entry;
    }
    // The first candidate of the key not taken yet, or -1.
    int Take(const Key& key) {
        Slot& slot = Find(std::hash<Key>{}(key), key);
        if (slot.First < 0)
            return -1;
        const Entry& taken = m_entries[static_cast<size_t>(slot.First)];
        slot.First = taken.Next;
        return taken.Candidate;
    }

private:
    struct Slot {
        size_t Hash = 0;
        int First = -1;
        int Last = -1;  // -1: the slot is free
    };
    struct Entry {
        Key Value;
        int Candidate;
        int Next;
    };

    // The key's slot, or the free slot where it would go.
    Slot& Find(size_t hash, const Key& key) {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.Last < 0 ||
                (slot.Hash == hash && m_entries[static_cast<size_t>(slot.Last)].Value == key))
                return slot;
        }
    }

    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
};

// Pairs the scanned objects with the catalogue's and places the new ones.
class ChangeFinder final {
public:
    ChangeFinder(const ObjectTree& catalogue, const DiscUpdateScope& scope, const TextCodec& texts)
        : m_texts(texts), m_folderObject(scope.FolderObject) {
        CollectCandidates(catalogue, scope.Folder);
    }

    // The objects the update may keep or delete.
    size_t Candidates() const { return m_candidates.size(); }

    // After Compare: the objects whose file or folder the scan listed, each with what the scan
    // made of it.
    struct KeptObject {
        ObjectNode* Object;
        const ObjectNode* Scanned;
    };
    std::vector<KeptObject> KeptObjects() const {
        std::vector<KeptObject> kept;
        for (const Candidate& candidate : m_candidates)
            if (candidate.Scanned != nullptr)
                kept.push_back({candidate.Node, candidate.Scanned});
        return kept;
    }

    DiscChanges Compare(ObjectTree& scanned, DiscLookup& disc) {
        std::vector<ObjectNode*> order;
        order.reserve(static_cast<size_t>(scanned.Count()));
        scanned.ForEachDepthFirst([&](ObjectNode& node, int) { order.push_back(&node); });
        m_matches.assign(order.size(), nullptr);
        MatchInStep(order);
        // Exact pairs first, so that an exact match is never taken by another spelling.
        MatchLeftovers<std::string_view>(
            order, [](const std::string& path) -> std::string_view { return path; });
        MatchLeftovers<std::u32string>(
            order, [this](const std::string& path) { return FoldedText(path, m_texts); });
        for (const Candidate& candidate : m_candidates)
            if (candidate.Scanned == nullptr &&
                disc.Locate(candidate.Node->Data.PathFileName).What == DiscLookup::Answer::Absent)
                m_changes.Missing.push_back(candidate.Node);
        FindRetyped(order);
        PlaceChildren(scanned.TopLevel(), m_folderObject, nullptr);
        return std::move(m_changes);
    }

private:
    struct Candidate {
        ObjectNode* Node;
        const ObjectNode* Scanned = nullptr;  // what the scan made of it: kept
    };

    // The objects an update may keep or delete.
    void CollectCandidates(const ObjectTree& catalogue, const std::string& folder) {
        const std::string folderPrefix = folder.empty() ? std::string() : folder + StoredSeparator;
        const std::u32string foldedPrefix = FoldedText(folderPrefix, m_texts);
        const auto inScope = [&](const std::string& path) {
            return IsPlainStoredPath(path, m_texts) &&
                   (path.starts_with(folderPrefix) ||
                    FoldedText(path, m_texts).starts_with(foldedPrefix));
        };
        m_candidates.reserve(static_cast<size_t>(catalogue.Count()));
        catalogue.ForEachDepthFirst([&](ObjectNode& node, int) {
            if (node.Data.ObjectType != otVirtualFolder && inScope(node.Data.PathFileName))
                m_candidates.push_back({&node});
        });
    }

    ObjectNode* Keep(int candidate, const ObjectNode* scanned) {
        if (candidate < 0)
            return nullptr;
        Candidate& kept = m_candidates[static_cast<size_t>(candidate)];
        kept.Scanned = scanned;
        ++m_changes.Kept;
        return kept.Node;
    }

    // Scanned objects mostly meet the catalogue's in the same depth-first order, so each is looked
    // for just ahead of the last one kept. A run of misses searches the rest of the catalogue,
    // the more rarely the longer the run, so that a deleted folder does not leave the step lost.
    void MatchInStep(const std::vector<ObjectNode*>& order) {
        constexpr size_t Ahead = 8;
        const size_t count = m_candidates.size();
        size_t next = 0;
        size_t misses = 0;
        size_t searchAt = Ahead;
        for (size_t i = 0; i < order.size(); ++i) {
            const std::string& path = order[i]->Data.PathFileName;
            const bool searchAll = misses == searchAt;
            const size_t end = searchAll ? count : std::min(next + Ahead, count);
            size_t k = next;
            while (k < end && m_candidates[k].Node->Data.PathFileName != path)
                ++k;
            if (k < end) {
                m_matches[i] = Keep(static_cast<int>(k), order[i]);
                next = k + 1;
                misses = 0;
                searchAt = Ahead;
            } else {
                ++misses;
                if (searchAll)
                    searchAt *= 2;
            }
        }
    }

    // Pairs what earlier passes left on both sides by the key `keyOf` gives a path.
    template <class Key, class KeyOf>
    void MatchLeftovers(const std::vector<ObjectNode*>& order, KeyOf keyOf) {
        std::vector<int> left;
        for (size_t i = 0; i < m_candidates.size(); ++i)
            if (m_candidates[i].Scanned == nullptr)
                left.push_back(static_cast<int>(i));
        if (left.empty() || m_changes.Kept == static_cast<int>(order.size()))
            return;
        CandidateQueues<Key> queues(left.size());
        for (int i : left)
            queues.Add(keyOf(m_candidates[static_cast<size_t>(i)].Node->Data.PathFileName), i);
        for (size_t i = 0; i < order.size(); ++i)
            if (m_matches[i] == nullptr)
                m_matches[i] = Keep(queues.Take(keyOf(order[i]->Data.PathFileName)), order[i]);
    }

    // A kept object whose folder is a file now, or whose file a folder, takes the type and action
    // of what is there: a Folder object with no folder behind it would open nothing, and a file's
    // object would take a folder's content.
    void FindRetyped(const std::vector<ObjectNode*>& order) {
        for (size_t i = 0; i < order.size(); ++i) {
            const ObjectNode* kept = m_matches[i];
            const TNodeData& scanned = order[i]->Data;
            if (kept != nullptr &&
                (kept->Data.ObjectType == otFolder) != (scanned.ObjectType == otFolder))
                m_changes.Retyped.push_back(
                    {m_matches[i], scanned.ObjectType, scanned.ObjectAction});
        }
    }

    // Walks the scanned entries of one folder in scan order. Its new entries go under
    // `catalogueParent` (nullptr: the top level) or, inside a new folder, under `newParent`.
    void PlaceChildren(const std::vector<ObjectNode*>& scannedChildren, ObjectNode* catalogueParent,
                       ObjectNode* newParent) {
        ObjectNode* after = nullptr;
        for (ObjectNode* scanned : scannedChildren) {
            ObjectNode* kept = m_matches[m_nextMatch++];
            if (kept != nullptr) {
                if (newParent == nullptr && kept->Parent() == catalogueParent)
                    after = kept;
                PlaceChildren(scanned->Children(), kept, nullptr);
                continue;
            }
            ObjectNode* added = m_changes.New.Append(newParent, std::move(scanned->Data));
            if (newParent == nullptr) {
                m_changes.Places.push_back({catalogueParent, after});
                after = added;
            }
            PlaceChildren(scanned->Children(), nullptr, added);
        }
    }

    const TextCodec& m_texts;
    ObjectNode* m_folderObject;
    std::vector<Candidate> m_candidates;  // in depth-first order
    std::vector<ObjectNode*> m_matches;   // per scanned node in depth-first order; nullptr: new
    size_t m_nextMatch = 0;
    DiscChanges m_changes;
};

// Pairs gone files with new files that are them under another name (IsSameFile), and makes the
// record of the catalogue's files the one that goes with the catalogue and the disc: what it
// holds of the files the catalogue names, the kept files it lacked and every new file.
class RenameFinder final {
public:
    using KeptObject = ChangeFinder::KeptObject;

    RenameFinder(FingerprintMap& record, std::string base, const TextCodec& texts,
                 MessagePump& pump)
        : m_record(record), m_base(std::move(base)), m_texts(texts), m_pump(pump) {}

    // Keeps what the record holds of the catalogue's files and lets go what it holds of others;
    // kept files it lacks are looked up where the scan found them: one of them may be gone at the
    // next update.
    void RecordCatalogue(const ObjectTree& catalogue, const std::vector<KeptObject>& kept) {
        std::vector<std::uint64_t> named;
        named.reserve(m_record.size());
        std::unordered_set<const ObjectNode*> lacking;
        catalogue.ForEachDepthFirst([&](const ObjectNode& node, int) {
            const TNodeData& data = node.Data;
            if (data.PathFileName.empty() || data.ObjectType == otFolder ||
                data.ObjectType == otVirtualFolder)
                return;
            const std::uint64_t key = FingerprintKey(data.PathFileName);
            if (m_record.Find(key) != nullptr)
                named.push_back(key);
            else
                lacking.insert(&node);
        });
        if (named.size() != m_record.size())
            KeepOnly(named);
        for (const KeptObject& object : kept) {
            if (lacking.empty())
                break;
            if (!lacking.contains(object.Object) || object.Scanned->Data.ObjectType == otFolder)
                continue;
            const std::string path = DiscPath(object.Scanned->Data.PathFileName);
            if (const std::optional<FileIdentityStamp> stamp = StampOfFile(NativePath(path)))
                Record(object.Object->Data.PathFileName,
                       FingerprintOfStamped(*stamp, path, m_pump));
            m_pump.LetMessagesThrough();
        }
    }

    // Reads every new file and pairs each gone file with the first new one in scan order that
    // is the gone one, preferring one of the same name (a file moved).
    void Pair(DiscChanges& changes) {
        Files byContent;
        Files byIdentity;
        changes.New.ForEachDepthFirst([&](const ObjectNode& node, int) {
            if (node.Data.ObjectType == otFolder)
                return;
            const std::string& path = node.Data.PathFileName;
            const std::optional<FileFingerprint> fingerprint =
                FingerprintOfFile(DiscPath(path), m_pump);
            Record(path, fingerprint);
            m_pump.LetMessagesThrough();
            if (fingerprint && fingerprint->Size > 0) {
                byContent[ContentKey(*fingerprint)].push_back({&node, *fingerprint});
                byIdentity[fingerprint->Identity].push_back({&node, *fingerprint});
            }
        });
        std::vector<ObjectNode*> missing;
        std::unordered_set<const ObjectNode*> taken;
        for (ObjectNode* gone : changes.Missing) {
            const FileFingerprint* known = m_record.Find(FingerprintKey(gone->Data.PathFileName));
            const File* file = nullptr;
            if (known != nullptr && known->Size > 0)
                file = BestUntaken(
                    known->Hash != 0 ? byContent[ContentKey(*known)] : byIdentity[known->Identity],
                    *gone, *known, taken);
            if (file == nullptr) {
                missing.push_back(gone);
                continue;
            }
            taken.insert(file->Node);
            changes.Renamed.push_back({gone, file->Node, {}});
            for (const File& twin : byContent[ContentKey(file->Fingerprint)])
                if (twin.Node != file->Node)
                    changes.Renamed.back().SameContent.push_back(twin.Node);
        }
        changes.Missing = std::move(missing);
        // A twin that another gone file took is no twin left new.
        for (DiscChanges::Renaming& renaming : changes.Renamed)
            std::erase_if(renaming.SameContent,
                          [&](const ObjectNode* twin) { return taken.contains(twin); });
    }

    // Whether the record differs from the one the update began with.
    bool Changed() const { return m_changed; }

private:
    struct File {
        const ObjectNode* Node;
        FileFingerprint Fingerprint;
    };
    using Files = std::unordered_map<std::uint64_t, std::vector<File>>;

    // Files of one size and hash are the same content; the size keeps equal hashes of files of
    // different sizes apart.
    static std::uint64_t ContentKey(const FileFingerprint& fingerprint) {
        return fingerprint.Hash ^ (fingerprint.Size * 0x9E3779B97F4A7C15ULL);
    }

    // Of the files not taken yet that are the gone one, the first of its name, else the first.
    const File* BestUntaken(const std::vector<File>& files, const ObjectNode& gone,
                            const FileFingerprint& recorded,
                            const std::unordered_set<const ObjectNode*>& taken) const {
        const File* first = nullptr;
        for (const File& file : files) {
            if (taken.contains(file.Node) || !IsSameFile(recorded, file.Fingerprint))
                continue;
            if (NameOf(file.Node->Data.PathFileName) == NameOf(gone.Data.PathFileName))
                return &file;
            first = first != nullptr ? first : &file;
        }
        return first;
    }

    std::string_view NameOf(std::string_view storedPath) const {
        const size_t last = m_texts.FindLastAscii(storedPath, {&StoredSeparator, 1});
        return last == std::string_view::npos ? storedPath : storedPath.substr(last + 1);
    }

    // The path of a stored path's file on disc, spelt as stored.
    std::string DiscPath(const std::string& storedPath) const {
        return Joined(m_base, NativeStoredPath(Recode(storedPath, m_texts, ListedCodec())));
    }

    void KeepOnly(const std::vector<std::uint64_t>& keys) {
        FingerprintMap kept;
        kept.reserve(keys.size());
        for (const std::uint64_t key : keys)
            kept.Set(key, *m_record.Find(key));
        m_changed = m_changed || kept.size() != m_record.size();
        m_record = std::move(kept);
    }

    void Record(const std::string& storedPath, const std::optional<FileFingerprint>& fingerprint) {
        const std::uint64_t key = FingerprintKey(storedPath);
        if (const FileFingerprint* known = m_record.Find(key);
            !fingerprint || (known != nullptr && *known == *fingerprint))
            return;
        m_record.Set(key, *fingerprint);
        m_changed = true;
    }

    FingerprintMap& m_record;
    std::string m_base;
    const TextCodec& m_texts;
    MessagePump& m_pump;
    bool m_changed = false;
};

// The left-out nodes below `root`, without those below them.
std::vector<ObjectNode*> LeftOutBelow(ObjectNode* root,
                                      const std::unordered_set<const ObjectNode*>& leftOut) {
    std::vector<ObjectNode*> found;
    std::vector<ObjectNode*> pending(root->Children().begin(), root->Children().end());
    while (!pending.empty()) {
        ObjectNode* node = pending.back();
        pending.pop_back();
        if (leftOut.contains(node))
            found.push_back(node);
        else
            pending.insert(pending.end(), node->Children().begin(), node->Children().end());
    }
    return found;
}

// How many objects the catalogue holds once the changes but those left out are made.
size_t ObjectsAfter(const ObjectTree& catalogue, const DiscChanges& changes,
                    const std::unordered_set<const ObjectNode*>& leftOut) {
    size_t objects = static_cast<size_t>(catalogue.Count());
    int skipBelow = -1;  // the level of a left-out node whose subtree is being passed
    changes.New.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        if (skipBelow >= 0 && level > skipBelow)
            return;
        skipBelow = leftOut.contains(&node) ? level : -1;
        objects += skipBelow < 0 ? 1 : 0;
    });
    for (const ObjectNode* node : changes.Missing)
        objects -= leftOut.contains(node) ? 0 : 1;
    // A pair is one object either way: renamed, or deleted while its file is added.
    return objects - changes.Renamed.size();
}

// Adds what New holds but the nodes left out, each top-level node at its place.
void AddNewObjects(ObjectTree& catalogue, DiscChanges& changes,
                   const std::unordered_set<const ObjectNode*>& leftOut) {
    ObjectTree& added = changes.New;
    const std::vector<ObjectNode*> roots = added.TopLevel();
    std::vector<NodePlace> places;
    places.reserve(roots.size());
    // A left-out node's place is taken by the sibling it would have followed.
    std::unordered_map<const ObjectNode*, ObjectNode*> standIns;
    for (size_t i = 0; i < roots.size(); ++i) {
        NodePlace place = changes.Places[i];
        if (const auto standIn = standIns.find(place.After); standIn != standIns.end())
            place.After = standIn->second;
        if (leftOut.contains(roots[i])) {
            standIns.emplace(roots[i], place.After);
            added.DeleteObjectTree(roots[i]);
            continue;
        }
        if (!leftOut.empty())
            for (ObjectNode* node : LeftOutBelow(roots[i], leftOut))
                added.DeleteObjectTree(node);
        places.push_back(place);
    }
    catalogue.AdoptAt(std::move(added), places);
}

}  // namespace

DiscChanges FindDiscChanges(const ObjectTree& catalogue, const DiscUpdateScope& scope,
                            const TextCodec& texts, ProgressSink& progress, MessagePump& pump,
                            FingerprintMap* fingerprints) {
    const TextCodec& listed = ListedCodec();
    const std::string base = Recode(scope.BaseFolder, ProcessCodec(), listed);
    DiscLookup disc(base, texts, listed);
    const DiscLookup::Located folder = disc.Locate(scope.Folder);
    if (folder.What != DiscLookup::Answer::Present || !folder.IsDirectory) {
        const std::string named =
            scope.Folder.empty()
                ? scope.BaseFolder
                : Joined(scope.BaseFolder, Recode(scope.Folder, texts, ProcessCodec()));
        throw std::runtime_error(named + ": " + Text(TextId::message_IncorrectPath));
    }

    ChangeFinder finder(catalogue, scope, texts);
    ObjectTree scanned;
    FolderScanner scanner(scope.Masks, base, progress, pump);
    // Every object the scan makes stays or is new, and so does every object the update may not
    // touch: past the limit together, the update is refused before anything is built.
    scanner.SetObjectsBeside(static_cast<std::size_t>(catalogue.Count()) - finder.Candidates());
    scanner.ScanDirectory(folder.Path, scanned, nullptr, scope.Nested);
    if (listed.CodePage() != texts.CodePage()) {
        for (ObjectNode* node = scanned.First(); node != nullptr;
             node = scanned.NextDepthFirst(node)) {
            node->Data.Caption = Recode(std::move(node->Data.Caption), listed, texts);
            node->Data.PathFileName = Recode(std::move(node->Data.PathFileName), listed, texts);
        }
    }
    DiscChanges changes = finder.Compare(scanned, disc);
    changes.Skipped = scanner.Skipped();
    if (fingerprints != nullptr) {
        RenameFinder renames(*fingerprints, base, texts, pump);
        renames.RecordCatalogue(catalogue, finder.KeptObjects());
        renames.Pair(changes);
        changes.FingerprintsChanged = renames.Changed();
    }
    return changes;
}

void ApplyDiscChanges(ObjectTree& catalogue, DiscChanges&& changes,
                      const std::unordered_set<const ObjectNode*>& leftOut) {
    if (ObjectsAfter(catalogue, changes, leftOut) > static_cast<size_t>(MaxObjects))
        throw std::runtime_error(TooManyObjectsText());
    for (const DiscChanges::Retyping& retyping : changes.Retyped) {
        retyping.Object->Data.ObjectType = retyping.ObjectType;
        retyping.Object->Data.ObjectAction = retyping.ObjectAction;
    }
    std::vector<ObjectNode*> deleted;
    std::unordered_set<const ObjectNode*> notAdded = leftOut;
    for (const DiscChanges::Renaming& renaming : changes.Renamed) {
        if (leftOut.contains(renaming.Object)) {
            deleted.push_back(renaming.Object);
            continue;
        }
        renaming.Object->Data.PathFileName = renaming.File->Data.PathFileName;
        notAdded.insert(renaming.File);
    }
    AddNewObjects(catalogue, changes, notAdded);
    for (ObjectNode* node : changes.Missing)
        if (!leftOut.contains(node))
            deleted.push_back(node);
    catalogue.DeleteObjects(deleted);
}

}  // namespace tomlet
