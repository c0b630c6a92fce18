#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/object_tree.h"

namespace tomlet::testing {

// A record with the given caption, kind and stored path; every other field empty.
inline TNodeData Record(std::string caption, std::uint8_t type = otFile,
                        std::uint8_t action = oaNoAction, std::string path = {}) {
    TNodeData data;
    data.Caption = std::move(caption);
    data.ObjectType = type;
    data.ObjectAction = action;
    data.PathFileName = std::move(path);
    return data;
}

// A record naming a stored path, with no action.
inline TNodeData WithPath(std::string caption, std::string path, std::uint8_t type = otFile) {
    return Record(std::move(caption), type, oaNoAction, std::move(path));
}

// Captions with their levels in depth-first order, e.g. "A0 B1 D2 C1 E0".
inline std::string Outline(const ObjectTree& tree) {
    std::string outline;
    tree.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        outline += (outline.empty() ? "" : " ") + node.Data.Caption + std::to_string(level);
    });
    return outline;
}

// Each node written by `describe`, in depth-first order, children in parentheses after their
// parent, e.g. "A (B (D) C) E".
template <class Describe>
std::string NestedOutline(const std::vector<ObjectNode*>& nodes, Describe describe) {
    std::string outline;
    for (const ObjectNode* node : nodes) {
        if (!outline.empty())
            outline += ' ';
        outline += describe(node->Data);
        if (node->HasChildren())
            outline.append(" (").append(NestedOutline(node->Children(), describe)).append(")");
    }
    return outline;
}

// Captions only: "Docs (Sub (b.txt) a.txt) setup.exe".
inline std::string Captions(const std::vector<ObjectNode*>& nodes) {
    return NestedOutline(nodes, [](const TNodeData& data) { return data.Caption; });
}

// "caption[type,action]:path" per object.
inline std::string RecordOutline(const std::vector<ObjectNode*>& nodes) {
    return NestedOutline(nodes, [](const TNodeData& data) {
        return data.Caption + '[' + std::to_string(data.ObjectType) + ',' +
               std::to_string(data.ObjectAction) + "]:" + data.PathFileName;
    });
}

}  // namespace tomlet::testing
