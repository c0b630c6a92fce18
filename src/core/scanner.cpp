#include "core/scanner.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/catalogue.h"
#include "core/limits.h"
#include "core/paths.h"
#include "core/progress.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

size_t FindIgnoringCase(std::string_view text, std::string_view part) {
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char a, char b) { return FoldCase(a) == FoldCase(b); });
    return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

std::string WithSeparator(std::string path, char separator) {
    if (!path.empty() && !EndsWithSeparator(path, separator))
        path += separator;
    return path;
}

bool IsListedSubfolder(const DirectoryEntry& entry) {
    return entry.IsDirectory && !entry.IsHidden && !entry.IsSystem && !entry.Name.starts_with('.');
}

// The identities of the folder and of every folder above it, as far as they can be opened.
std::unordered_set<FolderIdentity, FolderIdentityHash> FolderAndAbove(const std::string& folder) {
    std::unordered_set<FolderIdentity, FolderIdentityHash> identities;
    const PathRules rules = PathRules::Native();
    for (std::string path = RealPath(folder); !path.empty();) {
        if (const OpenFolder opened(path); opened.IsOpen() && opened.Identity() != FolderIdentity{})
            identities.insert(opened.Identity());
        std::string parent = ParentFolderPath(path, rules);
        if (rules.DriveLetters && parent.size() == 2 && parent[1] == ':')
            parent += rules.Separator;  // "C:" alone names the drive's current folder
        if (parent == path)
            break;
        path = std::move(parent);
    }
    return identities;
}

}  // namespace

std::string NormaliseDataDirectory(std::string_view typed) {
    return StripTrailingBackslash(NormaliseDriveRoot(typed));
}

std::string SkippedEntryLine(const SkippedEntry& skipped) {
    const auto because = [&](TextId reason) {
        return skipped.Path + ": " + ProcessCodec().ToUtf8(Text(reason));
    };
    switch (skipped.Reason) {
        case SkipReason::UnrepresentableName:
            return because(TextId::message_SkippedCodePage);
        case SkipReason::BackslashInName:
            return because(TextId::message_SkippedBackslash);
        case SkipReason::LinkToScannedFolder:
            return because(TextId::message_SkippedLinkLoop);
        case SkipReason::Unlistable:
            break;
    }
    const std::string line = because(TextId::message_SkippedUnlistable);
    return skipped.Detail.empty() ? line : line + " (" + skipped.Detail + ")";
}

FolderScanner::FolderScanner(const std::vector<std::string>& masks, std::string dataDir,
                             ProgressSink& progress, MessagePump& pump)
    : m_separator(PathRules::Native().Separator), m_progress(progress), m_pump(pump) {
    const TextCodec& listed = ProcessCodec();  // listings name files in the process code page
    m_masks.reserve(masks.size());
    m_utf8Masks.reserve(masks.size());
    for (const auto& mask : masks) {
        m_masks.emplace_back(mask, listed);
        m_utf8Masks.emplace_back(listed.ToUtf8(mask));
    }
    m_dataPrefix = WithSeparator(std::move(dataDir), m_separator);
}

void FolderScanner::SetAdoptingNode(const ObjectTree& project, const ObjectNode* node) {
    m_adoptionLevel = node != nullptr ? ObjectTree::Level(node) + 1 : 0;
    m_adoptingObjects = static_cast<std::size_t>(project.Count());
}

bool FolderScanner::ScanDirectory(const std::string& directory, ObjectTree& tree,
                                  ObjectNode* parent, bool nested) {
    const ProgressScope scope(m_progress);
    m_skipped.clear();
    m_progress.SetText(Text(TextId::text_SearchFiles_D));
    const int level = m_adoptionLevel + (parent != nullptr ? ObjectTree::Level(parent) + 1 : 0);
    m_objects = m_adoptingObjects + static_cast<std::size_t>(tree.Count());
    const std::size_t objectsBefore = m_objects;
    ListedFolder listed = CountDirectoryEntries(directory, nested, level);
    if (m_fingerprints != nullptr)
        m_fingerprints->reserve(m_fingerprints->size() + m_objects - objectsBefore);
    m_progress.SetText(Text(TextId::text_Scanning_D));
    AddDirectoryEntries(listed, StoredFolderPath(directory), nested, tree, parent);
    return true;
}

FolderScanner::ListedFolder FolderScanner::CountDirectoryEntries(const std::string& directory,
                                                                 bool nested, int level) {
    ListedFolder root;
    m_listedFolders.clear();
    m_folderAndAbove = FolderAndAbove(directory);
    OpenFolder opened(directory);
    ListFolder(opened, directory, nested, level, root);
    return root;
}

void FolderScanner::ListFolder(OpenFolder& opened, const std::string& directory, bool nested,
                               int level, ListedFolder& folder) {
    m_pump.LetMessagesThrough();
    // Met again through a link: listed once only, or a fan of links would multiply the tree.
    if (opened.IsOpen() && opened.Identity() != FolderIdentity{} &&
        !m_listedFolders.insert(opened.Identity()).second)
        return;
    if (!opened.List(m_listing)) {
        ReportUnlistable(directory, opened.Error());
        return;
    }
    SkipNamesTheProjectCannotHold();
    ReportSkipped(directory);
    const int counted = TakeEntries(opened, directory, folder);
    CountObjects(folder.Subfolders.size() + folder.Files.size());
    if (level >= MaxTreeLevels && (!folder.Subfolders.empty() || !folder.Files.empty()))
        throw std::runtime_error(TreeTooDeepText());

    // Real folders first: a link into one of them then finds it listed, not the other way round.
    const std::string prefix = WithSeparator(directory, m_separator);
    for (const bool links : {false, true}) {
        for (auto& subfolder : folder.Subfolders) {
            if (subfolder.IsLink != links)
                continue;
            if (!nested) {
                m_progress.IncreaseMaximum();
                continue;
            }
            OpenFolder child(opened, subfolder.Name);
            // A link back to the folder scanned or above it would lead through every folder
            // beside it: a loop, left out.
            if (links && child.IsOpen() && m_folderAndAbove.contains(child.Identity())) {
                subfolder.LeftOut = true;
                m_skipped.push_back({ProcessCodec().ToUtf8(prefix + subfolder.Name),
                                     SkipReason::LinkToScannedFolder, true, false});
                continue;
            }
            m_progress.IncreaseMaximum();
            ListFolder(child, prefix + subfolder.Name, nested, level + 1, subfolder);
        }
    }
    m_objects -= static_cast<std::size_t>(
        std::erase_if(folder.Subfolders, [](const ListedFolder& f) { return f.LeftOut; }));
    for (int i = 0; i < counted; ++i)
        m_progress.IncreaseMaximum();
}

// The listing names files in the process code page (UTF-8 in the window); a name the projects'
// code page cannot hold is skipped and reported as the listing skips what that one cannot.
void FolderScanner::SkipNamesTheProjectCannotHold() {
    if (!ProjectTextsConvert())
        return;
    std::erase_if(m_listing.Entries, [this](const DirectoryEntry& entry) {
        if (FromProcessText(ProjectCodec(), entry.Name))
            return false;
        m_listing.Skipped.push_back({ProcessCodec().ToUtf8(entry.Name),
                                     SkipReason::UnrepresentableName, entry.IsDirectory,
                                     entry.IsHidden});
        return true;
    });
}

// Moves the listed subfolders and the files the masks take into `folder`, with their
// fingerprints when they are recorded; gives how many of the files count for progress (dot-named
// ones do not).
int FolderScanner::TakeEntries(const OpenFolder& opened, const std::string& directory,
                               ListedFolder& folder) {
    for (auto& entry : m_listing.Entries)
        if (IsListedSubfolder(entry))
            folder.Subfolders.push_back({std::move(entry.Name), entry.IsLink, false, {}, {}, {}});
    const std::vector<std::optional<FileFingerprint>> fingerprints =
        m_fingerprints != nullptr ? FingerprintsOfFiles(opened, directory)
                                  : std::vector<std::optional<FileFingerprint>>();
    int counted = 0;
    for (const auto& mask : m_masks) {
        for (size_t i = 0; i < m_listing.Entries.size(); ++i) {
            const DirectoryEntry& entry = m_listing.Entries[i];
            if (entry.IsDirectory || !mask.Matches(entry.Name))
                continue;
            folder.Files.push_back(entry.Name);
            if (m_fingerprints != nullptr)
                folder.Fingerprints.push_back(fingerprints[i]);
            if (!entry.Name.starts_with('.'))
                ++counted;
        }
    }
    return counted;
}

// Per entry of the listing, the fingerprint of a file the masks take: each file once, however
// many masks take it.
std::vector<std::optional<FileFingerprint>> FolderScanner::FingerprintsOfFiles(
    const OpenFolder& opened, const std::string& directory) {
    std::vector<std::optional<FileFingerprint>> fingerprints(m_listing.Entries.size());
    for (size_t i = 0; i < m_listing.Entries.size(); ++i) {
        const DirectoryEntry& entry = m_listing.Entries[i];
        if (entry.IsDirectory || std::ranges::none_of(m_masks, [&](const Wildcard& mask) {
                return mask.Matches(entry.Name);
            }))
            continue;
        if (const std::optional<FileIdentityStamp> stamp = opened.StampOf(entry.Name))
            fingerprints[i] = FingerprintOfStamped(
                *stamp, WithSeparator(directory, m_separator) + entry.Name, m_pump);
    }
    return fingerprints;
}

void FolderScanner::CountObjects(std::size_t added) {
    m_objects += added;
    if (m_objects > static_cast<std::size_t>(MaxObjects))
        throw std::runtime_error(TooManyObjectsText());
}

void FolderScanner::ReportSkipped(const std::string& directory) {
    for (SkippedEntry& skipped : m_listing.Skipped) {
        const bool wanted = skipped.IsDirectory
                                ? !skipped.IsHidden && !skipped.Path.starts_with('.')
                                : std::ranges::any_of(m_utf8Masks, [&](const Wildcard& mask) {
                                      return mask.Matches(skipped.Path);
                                  });
        if (!wanted)
            continue;
        skipped.Path = ProcessCodec().ToUtf8(WithSeparator(directory, m_separator)) + skipped.Path;
        m_skipped.push_back(std::move(skipped));
    }
}

void FolderScanner::ReportUnlistable(const std::string& directory, const std::string& error) {
    m_skipped.push_back(
        {ProcessCodec().ToUtf8(directory), SkipReason::Unlistable, true, false, error});
}

void FolderScanner::AddDirectoryEntries(ListedFolder& folder, const std::string& storedFolder,
                                        bool nested, ObjectTree& tree, ObjectNode* parent) {
    m_pump.LetMessagesThrough();
    for (auto& subfolder : folder.Subfolders) {
        m_progress.Step();
        TNodeData data;
        data.ObjectType = otFolder;
        data.ObjectAction = oaOpen;
        data.PathFileName = storedFolder + subfolder.Name;
        data.Caption = std::move(subfolder.Name);
        const std::string storedSubfolder = data.PathFileName + StoredSeparator;
        ObjectNode* node = tree.Append(parent, std::move(data));
        if (nested)
            AddDirectoryEntries(subfolder, storedSubfolder, nested, tree, node);
    }
    for (size_t i = 0; i < folder.Files.size(); ++i) {
        m_progress.Step();
        std::string& name = folder.Files[i];
        TNodeData data;
        data.ObjectType = ObjectTypeByExtension(name);
        data.ObjectAction = ObjectActionByExtension(name);
        data.PathFileName = storedFolder + name;
        data.Caption = std::move(name);
        if (m_fingerprints != nullptr && folder.Fingerprints[i])
            m_fingerprints->Set(FingerprintKey(data.PathFileName), *folder.Fingerprints[i]);
        tree.Append(parent, std::move(data));
    }
}

// The stored form of a folder's path, ready for its entries' names: below the data directory,
// '\' between the parts.
std::string FolderScanner::StoredFolderPath(const std::string& directory) const {
    std::string folder = WithSeparator(directory, m_separator);
    if (const size_t at = FindIgnoringCase(folder, m_dataPrefix);
        !m_dataPrefix.empty() && at != std::string::npos)
        folder.erase(at, m_dataPrefix.size());
    std::replace(folder.begin(), folder.end(), m_separator, StoredSeparator);
    return folder;
}

}  // namespace tomlet
