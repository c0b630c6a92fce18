#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "core/object_tree.h"
#include "core/project_file.h"
#include "core/records.h"
#include "platform/text_codec.h"

namespace tomlet::cli {

using Json = nlohmann::ordered_json;

// Writes the project as JSON while its file is read, one object at a time:
// {"version":[a,b],"project":{...},"objects":[{..., "children":[...]}]}, fields in file order,
// texts converted from the codec's code page to UTF-8, laid out two blanks per level (up to
// MaxIndentSteps).
class JsonProjectWriter final : public ProjectFileVisitor {
public:
    JsonProjectWriter(std::ostream& out, std::pair<std::uint8_t, std::uint8_t> version,
                      const TextCodec& codec);

    void Properties(const TProjectRec& project, int count) override;
    void Object(TNodeData&& data, int level) override;
    // Closes what is still open; once, after the last object.
    void Finish();

private:
    // One "key": value line; `value` is written as it is.
    void Field(int indent, std::string_view key, std::string_view value, bool last = false);
    void Text(int indent, std::string_view key, const std::string& text, bool last = false);
    void CloseObjects(int downToLevel);

    std::ostream& m_out;
    std::pair<std::uint8_t, std::uint8_t> m_version;
    const TextCodec& m_codec;
    int m_lastLevel = -1;  // of the last object written; its children array is still open
};

// The code page the JSON's UTF-8 texts are imported into. A text it cannot hold is refused,
// unless the import is lossy: then each character it lacks becomes '?'.
struct ImportedTexts {
    const TextCodec& Codec;
    bool Lossy = false;
};

// The opposite way. Missing fields keep their defaults; anything else that does not fit (an
// unknown key, a wrong type, a number out of range, a version too new, a text the code page
// cannot hold) throws CommandError naming where it is.
void ProjectFromJson(const Json& json, const ImportedTexts& texts, TProjectRec& project,
                     ObjectTree& tree);

}  // namespace tomlet::cli
