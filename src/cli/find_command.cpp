#include <ostream>
#include <sstream>
#include <string_view>
#include <utility>

#include "cli/commands.h"
#include "core/search.h"

namespace tomlet::cli {

namespace {

constexpr std::pair<std::string_view, TFindField> FieldNames[] = {
    {"caption", ffCaption},       {"hint", ffHint},         {"path", ffPathFileName},
    {"parameters", ffParameters}, {"comments", ffComments},
};

// "caption,path" → the set of fields; the caption alone when no list is given.
std::uint8_t ParseFields(const std::optional<std::string>& list) {
    if (!list)
        return ffCaption;
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

}  // namespace

int RunFind(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const auto& plain = arguments.Plain();
    if (plain.size() != 2)
        throw UsageError(plain.size() < 2 ? "a file and a text are needed" : "too many arguments");
    const TextCodec codec = arguments.Codec();
    TFindRec settings;
    settings.Text = codec.FromUtf8(plain[1]);
    settings.Fields = ParseFields(arguments.Option("--fields"));
    settings.CaseSensitive = arguments.Flag("--case-sensitive");

    TProjectRec project;
    ObjectTree tree;
    LoadProjectFile(plain[0], project, tree);
    const FindMatcher matcher(settings, codec);
    int index = 0;
    int found = 0;
    tree.ForEachDepthFirst([&](const ObjectNode& node, int) {
        if (matcher.Matches(node.Data)) {
            out << index << '\t' << codec.ToUtf8(node.Data.Caption) << '\t'
                << codec.ToUtf8(node.Data.PathFileName) << '\n';
            ++found;
        }
        ++index;
    });
    return found > 0 ? ExitOk : ExitFailure;
}

}  // namespace tomlet::cli
