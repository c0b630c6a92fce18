#pragma once

#include <string>

#include "core/records.h"

namespace tomlet {

// The tree's hover hint for an object whose file lies at `fullPath`: caption, hint, comments,
// path, size, attributes and parameters, each part ended by a lone CR (the comments by two).
std::string ObjectHintText(const TNodeData& record, const std::string& fullPath);

}  // namespace tomlet
