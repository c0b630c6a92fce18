#pragma once

#include <filesystem>
#include <string>

namespace tomlet::bench {

// A folder tree of 200,000 empty files in 20,220 folders under the system's temporary folder:
// 20 × 10 × 100 leaf folders of 10 files each. Made once and kept for later runs.
class GeneratedFolderTree final {
public:
    static constexpr int Groups = 20;
    static constexpr int Sets = 10;
    static constexpr int LeafFolders = 100;
    static constexpr int FilesPerLeaf = 10;

    explicit GeneratedFolderTree(const std::string& name);

    std::string Root() const { return m_root.string(); }
    // The leaf folder (group, set, folder).
    std::filesystem::path Leaf(int group, int set, int folder) const;

private:
    std::filesystem::path m_root;
};

}  // namespace tomlet::bench
