#pragma once

#include <stdexcept>
#include <string>

#include "core/object_tree.h"
#include "core/progress.h"
#include "core/project_file.h"
#include "core/records.h"

namespace tomlet::testing {

// What a project file holds.
struct StoredProject {
    TProjectRec Project;
    ObjectTree Tree;
};

// Writes a project file as the program does, silently; a file that cannot be written fails the
// test that asked for it.
inline void SaveProject(const std::string& path, const TProjectRec& project,
                        const ObjectTree& tree) {
    SilentProgress silent;
    if (const WriteResult written = WriteProjectFile(path, project, tree, silent, silent);
        !written.Saved)
        throw std::runtime_error("cannot write " + path + ": " + written.Error);
}

// Reads a project file as the program does, silently; a file that cannot be read fails the test
// that asked for it.
inline StoredProject LoadProject(const std::string& path) {
    StoredProject stored;
    SilentProgress silent;
    if (!ReadProjectFile(path, stored.Project, stored.Tree, silent, silent).Ok())
        throw std::runtime_error("cannot read " + path);
    return stored;
}

}  // namespace tomlet::testing
