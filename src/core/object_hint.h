#pragma once

#include <array>
#include <string>

#include "core/catalogue.h"
#include "core/records.h"

namespace tomlet {

// The labels of the hint's lines after the caption line, in order; their values are the object's
// hint and comments, its path, the file's size and attributes, and the object's parameters.
inline constexpr std::array<TextId, 6> ObjectHintLabels{
    TextId::hint_Hint,     TextId::hint_Comments,   TextId::hint_PathFileName,
    TextId::hint_FileSize, TextId::hint_Attributes, TextId::hint_Parameters};

// The tree's hover hint for an object whose file lies at `fullPath` (the object's path resolved,
// never a text of the object's own): caption, hint, comments, path, size, attributes and
// parameters, each part ended by a lone CR (the comments by two). Line breaks inside a value
// (Unicode's line and paragraph separators and NEL too) start indented, marked lines, so that a
// comment cannot forge one of the labelled lines, and the other control characters and the
// bidirectional controls are shown escaped ("\u202E"), so that none reverses what is shown.
std::string ObjectHintText(const TNodeData& record, const std::string& fullPath);

}  // namespace tomlet
