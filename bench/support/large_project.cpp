#include "support/large_project.h"

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "core/progress.h"
#include "core/project_file.h"

namespace tomlet::bench {

namespace {

// splitmix64: the same numbers on every platform and standard library.
class Random final {
public:
    explicit Random(std::uint64_t initialState) : m_state(initialState) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from low to high, both included.
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <class T, std::size_t N>
    const T& Pick(const std::array<T, N>& items) {
        return items[Next() % N];
    }

private:
    std::uint64_t m_state;
};

constexpr std::array<std::string_view, 24> Words = {
    "setup",  "readme", "driver", "manual", "photo",   "track",  "report", "install",
    "update", "patch",  "game",   "demo",   "tools",   "docs",   "video",  "music",
    "backup", "data",   "config", "letter", "invoice", "sketch", "notes",  "lesson"};

constexpr std::array<std::string_view, 12> FolderWords = {
    "Software", "Drivers", "Documents", "Pictures", "Music", "Games",
    "Tools",    "Archive", "Projects",  "Updates",  "Help",  "Web"};

struct Kind {
    std::string_view Extension;
    TObjectType Type;
    TObjectAction Action;
};

constexpr std::array<Kind, 10> Kinds = {{
    {".exe", otExecuteFile, oaExecute},
    {".txt", otTextFile, oaOpenByNotepad},
    {".htm", otWebPage, oaOpenByAssociation},
    {".jpg", otPicture, oaOpenByAssociation},
    {".pdf", otFile, oaOpenByAssociation},
    {".doc", otFile, oaOpenByAssociation},
    {".hlp", otHelpFile, oaOpenByAssociation},
    {".zip", otFile, oaOpenByAssociation},
    {".dll", otFile, oaNoAction},
    {".mp3", otFile, oaOpenByAssociation},
}};

constexpr std::string_view CommentText =
    "Checked and working. Needs the files of the previous folder; see the readme first.";

class Generator final {
public:
    static constexpr int MaxDepth = 3;

    Generator(ObjectTree& tree, int objects, std::uint64_t initialState)
        : m_tree(tree), m_left(objects), m_random(initialState) {}

    void Run() {
        for (int disc = 1; m_left > 0; ++disc) {
            TNodeData data;
            data.Caption = "Disc " + std::to_string(disc);
            data.ObjectType = otVirtualFolder;
            FillFolder(Add(nullptr, std::move(data)), {}, 1);
        }
    }

private:
    ObjectNode* Add(ObjectNode* parent, TNodeData data) {
        --m_left;
        if (m_random.Chance(12))
            data.Hint = "Click to open " + data.Caption;
        if (m_random.Chance(3))
            data.Comments = std::string(CommentText) + "\r\n";
        return m_tree.Append(parent, std::move(data));
    }

    static std::string Below(const std::string& folder, const std::string& name) {
        return folder.empty() ? name : folder + '\\' + name;
    }

    void AddFile(ObjectNode* parent, const std::string& folder) {
        const Kind& kind = m_random.Pick(Kinds);
        TNodeData data;
        data.Caption = std::string(m_random.Pick(Words)) + '_' +
                       std::to_string(m_random.Between(1, 999)) + std::string(kind.Extension);
        data.ObjectType = kind.Type;
        data.ObjectAction = kind.Action;
        data.PathFileName = Below(folder, data.Caption);
        if (kind.Type == otExecuteFile && m_random.Chance(20))
            data.Parameters = "/quiet";
        Add(parent, std::move(data));
    }

    void FillFolder(ObjectNode* node, const std::string& path, int depth) {
        for (int files = m_random.Between(2, 40); files > 0 && m_left > 0; --files)
            AddFile(node, path);
        if (depth >= MaxDepth)
            return;
        for (int folders = m_random.Between(2, 8); folders > 0 && m_left > 0; --folders) {
            TNodeData data;
            data.Caption = std::string(m_random.Pick(FolderWords));
            if (m_random.Chance(50))
                data.Caption += ' ' + std::to_string(m_random.Between(1, 99));
            data.ObjectType = otFolder;
            data.ObjectAction = oaOpen;
            data.PathFileName = Below(path, data.Caption);
            const std::string below = data.PathFileName;
            FillFolder(Add(node, std::move(data)), below, depth + 1);
        }
    }

    ObjectTree& m_tree;
    int m_left;
    Random m_random;
};

}  // namespace

TProjectRec LargeProjectProperties() {
    TProjectRec project;
    project.ProjectDataDir = "D:\\Archive";
    project.ProjectName = "The great archive";
    project.ProjectName2 = "Everything on one catalogue";
    project.SplashFileName = "splash.jpg";
    project.AbsolutePath = false;
    project.ProjectDescription =
        "A catalogue of the whole archive.\r\nEvery disc is one top-level folder.\r\n";
    return project;
}

ObjectTree MakeLargeTree(int objects, std::uint64_t initialState) {
    ObjectTree tree;
    Generator(tree, objects, initialState).Run();
    return tree;
}

std::uintmax_t WriteLargeProject(const std::string& path, int objects, std::uint64_t initialState) {
    const ObjectTree tree = MakeLargeTree(objects, initialState);
    SilentProgress progress;
    const WriteResult result =
        WriteProjectFile(path, LargeProjectProperties(), tree, progress, progress);
    if (!result.Saved)
        throw std::runtime_error(result.Error);
    return std::filesystem::file_size(path);
}

}  // namespace tomlet::bench
