#include "core/scanner.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/catalogue.h"
#include "core/limits.h"
#include "core/paths.h"
#include "core/progress.h"
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
    if (!path.empty() && path.back() != separator)
        path += separator;
    return path;
}

bool IsListedSubfolder(const DirectoryEntry& entry) {
    return entry.IsDirectory && !entry.IsHidden && !entry.IsSystem && !entry.Name.starts_with('.');
}

// Begin now, End on every way out.
class ProgressBracket final {
public:
    explicit ProgressBracket(ProgressSink& progress) : m_progress(progress) { m_progress.Begin(); }
    ~ProgressBracket() { m_progress.End(); }
    ProgressBracket(const ProgressBracket&) = delete;
    ProgressBracket& operator=(const ProgressBracket&) = delete;

private:
    ProgressSink& m_progress;
};

}  // namespace

std::string NormaliseDataDirectory(std::string_view typed) {
    return StripTrailingBackslash(NormaliseDriveRoot(typed));
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

bool FolderScanner::ScanDirectory(const std::string& directory, ObjectTree& tree,
                                  ObjectNode* parent, bool nested) {
    ProgressBracket bracket(m_progress);
    m_skipped.clear();
    m_progress.SetText(Text(TextId::text_SearchFiles_D));
    const int level = m_adoptionLevel + (parent != nullptr ? ObjectTree::Level(parent) + 1 : 0);
    ListedFolder listed = CountDirectoryEntries(directory, nested, level);
    m_progress.SetText(Text(TextId::text_Scanning_D));
    AddDirectoryEntries(listed, StoredFolderPath(directory), nested, tree, parent);
    return true;
}

FolderScanner::ListedFolder FolderScanner::CountDirectoryEntries(const std::string& directory,
                                                                 bool nested, int level) {
    ListedFolder root;
    m_openFolders.clear();
    ListFolder(directory, nested, level, root);
    return root;
}

void FolderScanner::ListFolder(const std::string& directory, bool nested, int level,
                               ListedFolder& folder) {
    m_pump.LetMessagesThrough();
    if (!ListDirectory(directory, m_listing))
        return;
    ReportSkipped(directory);
    // A link that leads back into a folder being listed would make the walk endless.
    const FolderIdentity identity = m_listing.Identity;
    if (identity != FolderIdentity{} &&
        std::find(m_openFolders.begin(), m_openFolders.end(), identity) != m_openFolders.end())
        return;

    for (auto& entry : m_listing.Entries)
        if (IsListedSubfolder(entry))
            folder.Subfolders.push_back({std::move(entry.Name), {}, {}});
    int counted = 0;
    for (const auto& mask : m_masks) {
        for (const auto& entry : m_listing.Entries) {
            if (entry.IsDirectory || !mask.Matches(entry.Name))
                continue;
            folder.Files.push_back(entry.Name);
            if (!entry.Name.starts_with('.'))
                ++counted;
        }
    }

    if (level >= MaxTreeLevels && (!folder.Subfolders.empty() || !folder.Files.empty()))
        throw std::runtime_error(TreeTooDeepText());

    m_openFolders.push_back(identity);
    const std::string prefix = WithSeparator(directory, m_separator);
    for (auto& subfolder : folder.Subfolders) {
        m_progress.IncreaseMaximum();
        if (nested)
            ListFolder(prefix + subfolder.Name, nested, level + 1, subfolder);
    }
    m_openFolders.pop_back();
    for (int i = 0; i < counted; ++i)
        m_progress.IncreaseMaximum();
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
        skipped.Path = WithSeparator(ProcessCodec().ToUtf8(directory), m_separator) + skipped.Path;
        m_skipped.push_back(std::move(skipped));
    }
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
    for (auto& name : folder.Files) {
        m_progress.Step();
        TNodeData data;
        data.ObjectType = ObjectTypeByExtension(name);
        data.ObjectAction = ObjectActionByExtension(name);
        data.PathFileName = storedFolder + name;
        data.Caption = std::move(name);
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
