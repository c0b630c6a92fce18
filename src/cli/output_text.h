#pragma once

#include <string>
#include <string_view>

// The commands print a project's texts with EscapeControls, so that they can neither send escape
// sequences to a terminal nor forge lines of output.
#include "core/visible_text.h"

// How the commands print project texts.
namespace tomlet::cli {

// Indentation grows by two blanks per step up to this many steps and no further, so that
// however deep a tree is, output grows with the number of objects only.
inline constexpr int MaxIndentSteps = 64;
std::string_view Indentation(int steps);

}  // namespace tomlet::cli
