#pragma once

#include <string>

#include "core/records.h"

namespace tomlet {

// The tree's hover hint for an object whose file lies at `fullPath` (the object's path resolved,
// never a text of the object's own): caption, hint, comments, path, size, attributes and
// parameters, each part ended by a lone CR (the comments by two). Line breaks inside a value
// (Unicode's line and paragraph separators and NEL too) start indented, marked lines, so that a
// comment cannot forge one of the labelled lines, and the other control characters and the
// bidirectional controls are shown escaped ("\u202E"), so that none reverses what is shown.
std::string ObjectHintText(const TNodeData& record, const std::string& fullPath);

}  // namespace tomlet
