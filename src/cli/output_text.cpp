#include "cli/output_text.h"

#include <algorithm>
#include <cstdio>

namespace tomlet::cli {

std::string_view Indentation(int steps) {
    static const std::string blanks(2 * MaxIndentSteps, ' ');
    return std::string_view(blanks).substr(0, 2 * std::clamp(steps, 0, MaxIndentSteps));
}

std::string EscapeControls(std::string_view utf8) {
    std::string printable;
    printable.reserve(utf8.size());
    char escape[8];
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (byte == '\r') {
            printable += "\\r";
        } else if (byte == '\n') {
            printable += "\\n";
        } else if (byte == '\t') {
            printable += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            printable += escape;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 to U+009F: the C1 controls, which some terminals obey as escapes.
            std::snprintf(escape, sizeof escape, "\\u%04X", next);
            printable += escape;
            ++i;
        } else {
            printable += static_cast<char>(byte);
        }
    }
    return printable;
}

}  // namespace tomlet::cli
