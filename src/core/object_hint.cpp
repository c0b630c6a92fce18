#include "core/object_hint.h"

#include <string_view>

#include "core/catalogue.h"
#include "core/paths.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

// Starts every line after a value's first: indented and marked, it can never pass for one of the
// hint's own labelled lines.
constexpr std::string_view QuotedLine = "\r      | ";

// The length of the line break at `at`, or 0: CR LF, CR, LF, and in UTF-8 also the characters
// a rich-text view breaks lines at (U+0085, U+2028, U+2029).
size_t LineBreakAt(std::string_view text, size_t at, bool utf8) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("\r\n"))
        return 2;
    if (rest.starts_with('\r') || rest.starts_with('\n'))
        return 1;
    if (!utf8)
        return 0;
    if (rest.starts_with("\xC2\x85"))
        return 2;
    if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9"))
        return 3;
    return 0;
}

std::string Quoted(std::string_view value) {
    const bool utf8 = ProcessCodec().IsUtf8();
    std::string quoted;
    std::string pendingBreaks;  // dropped when nothing follows them
    for (size_t at = 0; at < value.size();) {
        if (const size_t length = LineBreakAt(value, at, utf8); length > 0) {
            pendingBreaks += QuotedLine;
            at += length;
            continue;
        }
        quoted += pendingBreaks;
        pendingBreaks.clear();
        quoted += value[at++];
    }
    return quoted;
}

std::string Line(TextId label, std::string_view value) {
    return "  " + Text(label) + "  " + Quoted(value);
}

}  // namespace

std::string ObjectHintText(const TNodeData& record, const std::string& fullPath) {
    const std::array<std::string, ObjectHintLabels.size()> values{
        record.Hint,
        record.Comments,
        fullPath,
        FileSizeText(fullPath),
        FileAttributesText(fullPath),
        record.Parameters};
    std::string text = " - - -  " + Quoted(record.Caption) + "  - - - ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        // The comments are set apart from the file's lines by an empty line.
        text += ObjectHintLabels[i] == TextId::hint_PathFileName ? "\r\r" : "\r";
        text += Line(ObjectHintLabels[i], values[i]);
    }
    return text;
}

}  // namespace tomlet
