#include "core/object_hint.h"

#include <string_view>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/visible_text.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

// Starts every line after a value's first: indented and marked, it can never pass for one of the
// hint's own labelled lines.
constexpr std::string_view QuotedLine = "\r      | ";

// The length of the line break at `at` of UTF-8 text, or 0: CR LF, CR, LF and the characters a
// rich-text view breaks lines at (U+0085, U+2028, U+2029).
size_t LineBreakAt(std::string_view text, size_t at) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("\r\n"))
        return 2;
    if (rest.starts_with('\r') || rest.starts_with('\n'))
        return 1;
    if (rest.starts_with("\xC2\x85"))
        return 2;
    if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9"))
        return 3;
    return 0;
}

// The value's lines as quoted lines, each with its hidden controls escaped (visible_text.h), so
// that none reorders what is shown around it; line breaks at the end are dropped. Read as UTF-8
// whatever the code page, which may hold such characters too (NEL in ISO 8859, LRM in 1255).
std::string Quoted(std::string_view value) {
    const TextCodec& codec = ProcessCodec();
    const std::string text = codec.ToUtf8(value);
    std::string quoted;
    std::string pendingBreaks;  // dropped when nothing follows them
    size_t lineStart = 0;
    for (size_t at = 0; at <= text.size();) {
        const size_t length = at < text.size() ? LineBreakAt(text, at) : 0;
        if (length == 0 && at < text.size()) {
            ++at;
            continue;
        }
        if (at > lineStart) {
            quoted += pendingBreaks;
            pendingBreaks.clear();
            quoted += EscapeControls(std::string_view(text).substr(lineStart, at - lineStart));
        }
        if (length == 0)
            break;
        pendingBreaks += QuotedLine;
        at += length;
        lineStart = at;
    }
    return codec.FromUtf8(quoted);
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
