#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/object_tree.h"

namespace tomlet::testing {

// A record with the given caption and kind; every other field empty.
inline TNodeData Record(std::string caption, std::uint8_t type = otFile,
                        std::uint8_t action = oaNoAction) {
    TNodeData data;
    data.Caption = std::move(caption);
    data.ObjectType = type;
    data.ObjectAction = action;
    return data;
}

// Captions with their levels in depth-first order, e.g. "A0 B1 D2 C1 E0".
inline std::string Outline(const ObjectTree& tree) {
    std::string outline;
    tree.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        outline += (outline.empty() ? "" : " ") + node.Data.Caption + std::to_string(level);
    });
    return outline;
}

// "caption[type,action]:path" per node in order, children in parentheses.
inline std::string FieldOutline(const std::vector<ObjectNode*>& nodes) {
    std::string outline;
    for (const ObjectNode* node : nodes) {
        outline += (outline.empty() ? "" : " ") + node->Data.Caption + '[' +
                   std::to_string(node->Data.ObjectType) + ',' +
                   std::to_string(node->Data.ObjectAction) + "]:" + node->Data.PathFileName;
        if (node->HasChildren())
            outline += " (" + FieldOutline(node->Children()) + ')';
    }
    return outline;
}

}  // namespace tomlet::testing
