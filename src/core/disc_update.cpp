#include "core/disc_update.h"

#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/scanner.h"
#include "core/utf8.h"
#include "platform/case_fold.h"
#include "platform/directory_listing.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

TextCodec ListedCodec() {
    return TextCodec(ListedNamesAreUtf8() ? TextCodec::Utf8 : SystemCodePage());
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

// The parts of a stored path between its separators.
std::vector<std::string_view> StoredParts(std::string_view path) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = path.find(StoredSeparator, start);
        parts.push_back(path.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// A path a scan could have stored: relative, and naming nothing beside or above the base folder.
bool IsPlainStoredPath(std::string_view path) {
    if (path.empty() || path.find_first_of(":/") != std::string_view::npos)
        return false;
    for (std::string_view part : StoredParts(path))
        if (part.empty() || part == "." || part == "..")
            return false;
    return true;
}

std::string Joined(const std::string& folder, std::string_view name) {
    const char separator = PathRules::Native().Separator;
    std::string path = folder;
    if (path.empty() || path.back() != separator)
        path += separator;
    return path.append(name);
}

// Looks stored paths up on disc the way object actions resolve them (exactly, then without
// regard to case), listing each folder on the way once. A folder that cannot be listed gives
// no answer, so that nothing is taken for gone because it could not be read.
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
        for (std::string_view part : StoredParts(storedPath)) {
            if (!located.IsDirectory)
                return {Answer::Absent, {}, false};
            const Folder& folder = FolderAt(located.Path);
            if (!folder.Listed)
                return {};
            const std::string name = Recode(std::string(part), m_texts, m_listed);
            auto entry = folder.Entries.find(name);
            if (entry == folder.Entries.end()) {
                const auto spelt = folder.ByFoldedName.find(FoldedText(name, m_listed));
                if (spelt == folder.ByFoldedName.end())
                    return {Answer::Absent, {}, false};
                entry = folder.Entries.find(spelt->second);
            }
            located.Path = Joined(located.Path, entry->first);
            located.IsDirectory = entry->second;
        }
        return located;
    }

private:
    struct Folder {
        bool Listed = false;
        std::unordered_map<std::string, bool> Entries;  // name → is a directory
        std::unordered_map<std::u32string, std::string> ByFoldedName;
    };

    const Folder& FolderAt(const std::string& path) {
        auto [slot, added] = m_folders.try_emplace(path);
        Folder& folder = slot->second;
        if (!added || !ListDirectory(path, m_listing))
            return folder;
        folder.Listed = true;
        for (const DirectoryEntry& entry : m_listing.Entries) {
            folder.Entries.emplace(entry.Name, entry.IsDirectory);
            folder.ByFoldedName.emplace(FoldedText(entry.Name, m_listed), entry.Name);
        }
        return folder;
    }

    std::string m_base;
    const TextCodec& m_texts;
    const TextCodec& m_listed;
    std::unordered_map<std::string, Folder> m_folders;
    DirectoryListing m_listing;
};

// Catalogue objects by a key, those of one key in depth-first order; each is taken once.
template <class Key>
class CandidateQueues final {
public:
    explicit CandidateQueues(size_t candidates) : m_next(candidates, -1) {}

    void Add(Key key, int candidate) {
        auto [run, added] = m_runs.try_emplace(std::move(key), Run{candidate, candidate});
        if (!added) {
            m_next[static_cast<size_t>(run->second.Last)] = candidate;
            run->second.Last = candidate;
        }
    }
    // The first candidate of the key not taken yet, or -1.
    int Take(const Key& key) {
        const auto run = m_runs.find(key);
        if (run == m_runs.end() || run->second.First < 0)
            return -1;
        const int taken = run->second.First;
        run->second.First = m_next[static_cast<size_t>(taken)];
        return taken;
    }
    void Reserve(size_t keys) { m_runs.reserve(keys); }

private:
    struct Run {
        int First;
        int Last;
    };
    std::unordered_map<Key, Run> m_runs;
    std::vector<int> m_next;
};

// Pairs the scanned objects with the catalogue's and places the new ones.
class ChangeFinder final {
public:
    ChangeFinder(const ObjectTree& catalogue, const DiscUpdateScope& scope, const TextCodec& texts)
        : m_texts(texts) {
        CollectCandidates(catalogue, scope);
    }

    DiscChanges Compare(ObjectTree& scanned, DiscLookup& disc) {
        std::vector<ObjectNode*> order;
        order.reserve(static_cast<size_t>(scanned.Count()));
        scanned.ForEachDepthFirst([&](ObjectNode& node, int) { order.push_back(&node); });
        MatchExactly(order);
        MatchIgnoringCase(order);
        for (const Candidate& candidate : m_candidates)
            if (!candidate.Kept &&
                disc.Locate(candidate.Node->Data.PathFileName).What == DiscLookup::Answer::Absent)
                m_changes.Missing.push_back(candidate.Node);
        PlaceChildren(scanned.TopLevel(), m_folderObject, nullptr);
        return std::move(m_changes);
    }

private:
    struct Candidate {
        ObjectNode* Node;
        bool Kept = false;
    };

    void CollectCandidates(const ObjectTree& catalogue, const DiscUpdateScope& scope) {
        m_folderObject = scope.FolderObject;
        const std::string folderPrefix =
            scope.Folder.empty() ? std::string() : scope.Folder + StoredSeparator;
        const std::u32string foldedPrefix = FoldedText(folderPrefix, m_texts);
        const auto inScope = [&](const std::string& path) {
            return IsPlainStoredPath(path) && (path.starts_with(folderPrefix) ||
                                               FoldedText(path, m_texts).starts_with(foldedPrefix));
        };
        catalogue.ForEachDepthFirst([&](ObjectNode& node, int) {
            if (node.Data.ObjectType != otVirtualFolder && inScope(node.Data.PathFileName))
                m_candidates.push_back({&node});
        });
    }

    ObjectNode* Keep(int candidate) {
        if (candidate < 0)
            return nullptr;
        Candidate& kept = m_candidates[static_cast<size_t>(candidate)];
        kept.Kept = true;
        ++m_changes.Kept;
        return kept.Node;
    }

    void MatchExactly(const std::vector<ObjectNode*>& order) {
        CandidateQueues<std::string_view> byPath(m_candidates.size());
        byPath.Reserve(m_candidates.size());
        for (size_t i = 0; i < m_candidates.size(); ++i)
            byPath.Add(m_candidates[i].Node->Data.PathFileName, static_cast<int>(i));
        m_matches.reserve(order.size());
        for (const ObjectNode* node : order)
            m_matches.push_back(Keep(byPath.Take(node->Data.PathFileName)));
    }

    // Only what the exact pass left, so that an exact match is never taken by another spelling.
    void MatchIgnoringCase(const std::vector<ObjectNode*>& order) {
        CandidateQueues<std::u32string> byFoldedPath(m_candidates.size());
        bool anyLeft = false;
        for (size_t i = 0; i < m_candidates.size(); ++i) {
            if (!m_candidates[i].Kept) {
                byFoldedPath.Add(FoldedText(m_candidates[i].Node->Data.PathFileName, m_texts),
                                 static_cast<int>(i));
                anyLeft = true;
            }
        }
        for (size_t i = 0; anyLeft && i < order.size(); ++i)
            if (m_matches[i] == nullptr)
                m_matches[i] =
                    Keep(byFoldedPath.Take(FoldedText(order[i]->Data.PathFileName, m_texts)));
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
    ObjectNode* m_folderObject = nullptr;
    std::vector<Candidate> m_candidates;  // in depth-first order
    std::vector<ObjectNode*> m_matches;   // per scanned node in depth-first order; nullptr: new
    size_t m_nextMatch = 0;
    DiscChanges m_changes;
};

// The objects below `root` in `tree` that are left out, without descending into them.
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

}  // namespace

DiscChanges FindDiscChanges(const ObjectTree& catalogue, const DiscUpdateScope& scope,
                            const TextCodec& texts, ProgressSink& progress, MessagePump& pump) {
    const TextCodec listed = ListedCodec();
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

    ObjectTree scanned;
    FolderScanner scanner(scope.Masks, base, progress, pump);
    scanner.ScanDirectory(folder.Path, scanned, nullptr, scope.Nested);
    if (listed.CodePage() != texts.CodePage()) {
        for (ObjectNode* node = scanned.First(); node != nullptr;
             node = scanned.NextDepthFirst(node)) {
            node->Data.Caption = Recode(std::move(node->Data.Caption), listed, texts);
            node->Data.PathFileName = Recode(std::move(node->Data.PathFileName), listed, texts);
        }
    }
    return ChangeFinder(catalogue, scope, texts).Compare(scanned, disc);
}

void ApplyDiscChanges(ObjectTree& catalogue, DiscChanges&& changes,
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

    std::vector<ObjectNode*> deleted;
    for (ObjectNode* node : changes.Missing)
        if (!leftOut.contains(node))
            deleted.push_back(node);
    catalogue.DeleteObjects(deleted);
}

}  // namespace tomlet
