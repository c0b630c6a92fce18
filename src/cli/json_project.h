#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "core/object_tree.h"
#include "core/records.h"
#include "platform/text_codec.h"

namespace tomlet::cli {

using Json = nlohmann::ordered_json;

// The project as JSON: {"version":[a,b],"project":{...},"objects":[{..., "children":[...]}]},
// fields in file order, texts converted from the codec's code page to UTF-8.
Json ProjectToJson(const TProjectRec& project, const ObjectTree& tree,
                   std::pair<std::uint8_t, std::uint8_t> version, const TextCodec& codec);

// The opposite way. Missing fields keep their defaults; anything else that does not fit (an
// unknown key, a wrong type, a number out of range, a version too new) throws CommandError
// naming where it is.
void ProjectFromJson(const Json& json, const TextCodec& codec, TProjectRec& project,
                     ObjectTree& tree);

}  // namespace tomlet::cli
