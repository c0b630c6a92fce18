#pragma once

#include <cstdint>
#include <string>

#include "core/object_tree.h"
#include "core/records.h"

namespace tomlet::bench {

// Properties of a large catalogue: a data directory, names and a description of a few lines.
TProjectRec LargeProjectProperties();

// A tree as a scan of a large archive might give: top-level virtual folders holding nested
// folders (three levels) of files with typical names, paths, types and actions; some objects
// carry a hint, a few comments or parameters. The same initial state gives the same tree.
ObjectTree MakeLargeTree(int objects, std::uint64_t initialState = 1);

// Writes a project of `objects` objects to `path` (about 70 bytes per object); gives its size.
// Another initial state gives another tree.
std::uintmax_t WriteLargeProject(const std::string& path, int objects,
                                 std::uint64_t initialState = 1);

}  // namespace tomlet::bench
