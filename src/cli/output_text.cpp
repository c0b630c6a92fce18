#include "cli/output_text.h"

#include <algorithm>

namespace tomlet::cli {

std::string_view Indentation(int steps) {
    static const std::string blanks(2 * MaxIndentSteps, ' ');
    return std::string_view(blanks).substr(0, 2 * std::clamp(steps, 0, MaxIndentSteps));
}

}  // namespace tomlet::cli
