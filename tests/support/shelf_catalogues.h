#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/object_tree.h"
#include "core/shelf.h"
#include "platform/native_path.h"
#include "support/project_files.h"
#include "support/temp_folder.h"

namespace tomlet::testing {

// An object of a catalogue with its level in the tree.
struct Placed {
    int Level;
    TNodeData Data;
};

// The tree the objects make, in depth-first order.
inline ObjectTree TreeOf(const std::vector<Placed>& objects) {
    ObjectTree tree;
    std::vector<ObjectNode*> path;  // the last object and its ancestors
    for (const Placed& object : objects) {
        path.resize(static_cast<std::size_t>(object.Level));
        path.push_back(tree.Append(path.empty() ? nullptr : path.back(), object.Data));
    }
    return tree;
}

// Writes a catalogue of the objects, named `projectName`, with `dataDir` as its data directory;
// gives its path.
inline std::string WriteCatalogue(const TempFolder& folder, const std::string& name,
                                  const std::string& projectName,
                                  const std::vector<Placed>& objects, std::string dataDir = {}) {
    TProjectRec project;
    project.ProjectName = projectName;
    project.ProjectDataDir = std::move(dataDir);
    const std::string path = folder / name;
    std::filesystem::create_directories(NativePath(path).parent_path());
    SaveProject(path, project, TreeOf(objects));
    return path;
}

// What the hits of a search name: "project:index" each, in order.
inline std::vector<std::string> HitNames(const ShelfHits& found) {
    std::vector<std::string> names;
    for (const ShelfHit& hit : found.Hits)
        names.push_back(hit.ProjectName + ":" + std::to_string(hit.Index));
    return names;
}

}  // namespace tomlet::testing
