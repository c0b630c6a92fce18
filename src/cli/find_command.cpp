#include <ostream>
#include <sstream>
#include <string_view>
#include <utility>

#include "cli/commands.h"
#include "cli/output_text.h"
#include "core/search.h"

namespace tomlet::cli {

namespace {

constexpr std::pair<std::string_view, TFindField> FieldNames[] = {
    {"caption", ffCaption},       {"hint", ffHint},         {"path", ffPathFileName},
    {"parameters", ffParameters}, {"comments", ffComments},
};

}  // namespace

std::uint8_t ParseFindFields(const std::optional<std::string>& list, std::uint8_t fallback) {
    if (!list)
        return fallback;
    std::uint8_t fields = 0;
    std::istringstream names(*list);
    for (std::string name; std::getline(names, name, ',');) {
        bool known = false;
        for (const auto& [fieldName, field] : FieldNames) {
            if (name == fieldName) {
                fields |= field;
                known = true;
            }
        }
        if (!known)
            throw UsageError("--fields takes caption, hint, path, parameters and comments, not \"" +
                             name + "\"");
    }
    if (fields == 0)
        throw UsageError("--fields needs at least one field");
    return fields;
}

namespace {

// Prints every object that matches as it is read: index, caption and path.
class MatchPrinter final : public ProjectFileVisitor {
public:
    MatchPrinter(std::ostream& out, const FindMatcher& matcher, const TextCodec& codec)
        : m_out(out), m_matcher(matcher), m_codec(codec) {}

    void Properties(const TProjectRec&, int) override {}
    void Object(TNodeData&& data, int) override {
        if (m_matcher.Matches(data)) {
            m_out << m_index << '\t' << EscapeControls(m_codec.ToUtf8(data.Caption)) << '\t'
                  << EscapeControls(m_codec.ToUtf8(data.PathFileName)) << '\n';
            ++Found;
        }
        ++m_index;
    }

    int Found = 0;

private:
    std::ostream& m_out;
    const FindMatcher& m_matcher;
    const TextCodec& m_codec;
    int m_index = 0;
};

}  // namespace

int RunFind(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const auto& plain = arguments.Plain();
    if (plain.size() != 2)
        throw UsageError(plain.size() < 2 ? "a file and a text are needed" : "too many arguments");
    const TextCodec codec = arguments.Codec();
    TFindRec settings;
    settings.Text = codec.FromUtf8(plain[1]);
    settings.Fields = ParseFindFields(arguments.Option("--fields"), ffCaption);
    settings.CaseSensitive = arguments.Flag("--case-sensitive");

    const FindMatcher matcher(settings, codec);
    MatchPrinter printer(out, matcher, codec);
    VisitProjectFile(plain[0], printer);
    return printer.Found > 0 ? ExitOk : ExitFailure;
}

}  // namespace tomlet::cli
