#include "support/generated_folder_tree.h"

#include <fstream>

namespace tomlet::bench {

namespace fs = std::filesystem;

GeneratedFolderTree::GeneratedFolderTree(const std::string& name)
    : m_root(fs::temp_directory_path() / name) {
    if (fs::exists(m_root / "complete"))
        return;
    fs::remove_all(m_root);
    const char* extensions[] = {".exe", ".txt", ".jpg", ".dat", ".htm"};
    for (int a = 0; a < Groups; ++a)
        for (int b = 0; b < Sets; ++b)
            for (int c = 0; c < LeafFolders; ++c) {
                const fs::path leaf = Leaf(a, b, c);
                fs::create_directories(leaf);
                for (int f = 0; f < FilesPerLeaf; ++f)
                    std::ofstream(leaf / ("file" + std::to_string(f) + extensions[f % 5]));
            }
    std::ofstream(m_root / "complete");
}

fs::path GeneratedFolderTree::Leaf(int group, int set, int folder) const {
    return m_root / ("Group" + std::to_string(group)) / ("set_" + std::to_string(set)) /
           ("Folder " + std::to_string(folder));
}

}  // namespace tomlet::bench
