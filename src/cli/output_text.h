#pragma once

#include <string>
#include <string_view>

// How the commands print project texts.
namespace tomlet::cli {

// Indentation grows by two blanks per step up to this many steps and no further, so that
// however deep a tree is, output grows with the number of objects only.
inline constexpr int MaxIndentSteps = 64;
std::string_view Indentation(int steps);

// The UTF-8 text with every control character escaped (\r, \n, \t, \x1B, \u009B, ...), so that
// a project's texts can neither send escape sequences to a terminal nor forge lines of output.
std::string EscapeControls(std::string_view utf8);

}  // namespace tomlet::cli
