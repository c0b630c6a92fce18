#include "cli/json_project.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "core/project_file.h"

namespace tomlet::cli {

namespace {

Json ObjectToJson(const TNodeData& data, const TextCodec& codec) {
    Json object = Json::object();
    object["Caption"] = codec.ToUtf8(data.Caption);
    object["Hint"] = codec.ToUtf8(data.Hint);
    object["ObjectType"] = data.ObjectType;
    object["ObjectAction"] = data.ObjectAction;
    object["PathFileName"] = codec.ToUtf8(data.PathFileName);
    object["Parameters"] = codec.ToUtf8(data.Parameters);
    object["Comments"] = codec.ToUtf8(data.Comments);
    object["children"] = Json::array();
    return object;
}

// `maximum` is never negative here.
bool IsWholeNumberIn(const Json& value, long long minimum, long long maximum) {
    if (value.is_number_unsigned())
        return value.get<unsigned long long>() <= static_cast<unsigned long long>(maximum);
    return value.is_number_integer() && value.get<long long>() >= minimum &&
           value.get<long long>() <= maximum;
}

[[noreturn]] void Refuse(const std::string& where, const std::string& what) {
    throw CommandError(where + ": " + what);
}

// Reads the fields of one JSON object, refusing keys that are not among `known`.
class FieldReader final {
public:
    // `where` names the object; it is asked only when something is refused, so that deep trees
    // do not pay for a location string on every level.
    FieldReader(const Json& object, std::function<std::string()> where, const TextCodec& codec,
                std::span<const std::string_view> known)
        : m_object(object), m_where(std::move(where)), m_codec(codec) {
        if (!object.is_object())
            Refuse(m_where(), "an object {...} is expected");
        for (const auto& [key, value] : object.items())
            if (std::find(known.begin(), known.end(), key) == known.end())
                Refuse(m_where(), "unknown key \"" + key + "\"");
    }

    void Text(const char* key, std::string& target) const {
        if (const Json* value = Find(key)) {
            if (!value->is_string())
                Refuse(Where(key), "a string is expected");
            target = m_codec.FromUtf8(value->get_ref<const std::string&>());
        }
    }

    template <class Integer>
    void Number(const char* key, Integer& target, long long minimum, long long maximum) const {
        if (const Json* value = Find(key)) {
            if (!IsWholeNumberIn(*value, minimum, maximum))
                Refuse(Where(key), "a whole number from " + std::to_string(minimum) + " to " +
                                       std::to_string(maximum) + " is expected");
            target = static_cast<Integer>(value->get<long long>());
        }
    }

    void Flag(const char* key, bool& target) const {
        if (const Json* value = Find(key)) {
            if (!value->is_boolean())
                Refuse(Where(key), "true or false is expected");
            target = value->get<bool>();
        }
    }

    const Json* Find(const char* key) const {
        const auto it = m_object.find(key);
        return it == m_object.end() ? nullptr : &*it;
    }
    std::string Where(std::string_view key) const { return m_where() + "." + std::string(key); }

private:
    const Json& m_object;
    std::function<std::string()> m_where;
    const TextCodec& m_codec;
};

void CheckVersion(const Json& json) {
    const auto it = json.find("version");
    if (it == json.end())
        return;
    if (!it->is_array() || it->size() != 2 ||
        !std::all_of(it->begin(), it->end(),
                     [](const Json& byte) { return IsWholeNumberIn(byte, 0, 255); }))
        Refuse("version", "two whole numbers from 0 to 255 are expected");
    if (IsVersionTooNew((*it)[0].get<std::uint8_t>(), (*it)[1].get<std::uint8_t>()))
        Refuse("version", "the project is of a newer version than this program writes");
}

void ReadProperties(const Json& json, const TextCodec& codec, TProjectRec& project) {
    static constexpr std::string_view Known[] = {
        "ProjectDataDir", "ProjectName",  "ProjectName2",      "SplashFileName",
        "SplashShowTime", "AbsolutePath", "ProjectDescription"};
    const FieldReader fields(
        json, [] { return std::string("project"); }, codec, Known);
    fields.Text("ProjectDataDir", project.ProjectDataDir);
    fields.Text("ProjectName", project.ProjectName);
    fields.Text("ProjectName2", project.ProjectName2);
    fields.Text("SplashFileName", project.SplashFileName);
    fields.Number("SplashShowTime", project.SplashShowTime,
                  std::numeric_limits<std::int32_t>::min(),
                  std::numeric_limits<std::int32_t>::max());
    fields.Flag("AbsolutePath", project.AbsolutePath);
    fields.Text("ProjectDescription", project.ProjectDescription);
}

// Reads one object's fields; gives its children array, if any.
const Json* ReadObject(const Json& json, std::function<std::string()> where, const TextCodec& codec,
                       TNodeData& data) {
    static constexpr std::string_view Known[] = {"Caption",      "Hint",         "ObjectType",
                                                 "ObjectAction", "PathFileName", "Parameters",
                                                 "Comments",     "children"};
    const FieldReader fields(json, std::move(where), codec, Known);
    fields.Text("Caption", data.Caption);
    fields.Text("Hint", data.Hint);
    fields.Number("ObjectType", data.ObjectType, 0, 255);
    fields.Number("ObjectAction", data.ObjectAction, 0, 255);
    fields.Text("PathFileName", data.PathFileName);
    fields.Text("Parameters", data.Parameters);
    fields.Text("Comments", data.Comments);
    const Json* children = fields.Find("children");
    if (children != nullptr && !children->is_array())
        Refuse(fields.Where("children"), "an array [...] is expected");
    return children;
}

// Depth first without recursion, so that a deep tree cannot exhaust the stack.
void ReadObjects(const Json& objects, const TextCodec& codec, ObjectTree& tree) {
    if (!objects.is_array())
        Refuse("objects", "an array [...] is expected");
    struct Level {
        const Json* Array;
        std::size_t Next;
        ObjectNode* Parent;
    };
    std::vector<Level> levels{{&objects, 0, nullptr}};
    // "objects[i].children[j]..." for the object being read, the last one taken on each level.
    const auto where = [&levels] {
        std::string path = "objects";
        for (std::size_t i = 0; i < levels.size(); ++i)
            path += (i == 0 ? "[" : ".children[") + std::to_string(levels[i].Next - 1) + "]";
        return path;
    };
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.Next == level.Array->size()) {
            levels.pop_back();
            continue;
        }
        TNodeData data;
        const Json* children = ReadObject((*level.Array)[level.Next++], where, codec, data);
        ObjectNode* node = tree.Append(level.Parent, std::move(data));
        if (children != nullptr && !children->empty())
            levels.push_back({children, 0, node});
    }
}

}  // namespace

Json ProjectToJson(const TProjectRec& project, const ObjectTree& tree,
                   std::pair<std::uint8_t, std::uint8_t> version, const TextCodec& codec) {
    Json json = Json::object();
    json["version"] = {version.first, version.second};
    Json& properties = json["project"];
    properties["ProjectDataDir"] = codec.ToUtf8(project.ProjectDataDir);
    properties["ProjectName"] = codec.ToUtf8(project.ProjectName);
    properties["ProjectName2"] = codec.ToUtf8(project.ProjectName2);
    properties["SplashFileName"] = codec.ToUtf8(project.SplashFileName);
    properties["SplashShowTime"] = project.SplashShowTime;
    properties["AbsolutePath"] = project.AbsolutePath;
    properties["ProjectDescription"] = codec.ToUtf8(project.ProjectDescription);

    Json& objects = json["objects"] = Json::array();
    // The children arrays of the nodes on the way down to the current one; a node's array stays
    // in place while its subtree is filled, because its own siblings come only after that.
    std::vector<Json*> levels{&objects};
    tree.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        levels.resize(static_cast<std::size_t>(level) + 1);
        Json& siblings = *levels.back();
        siblings.push_back(ObjectToJson(node.Data, codec));
        levels.push_back(&siblings.back()["children"]);
    });
    return json;
}

void ProjectFromJson(const Json& json, const TextCodec& codec, TProjectRec& project,
                     ObjectTree& tree) {
    static constexpr std::string_view Known[] = {"version", "project", "objects"};
    const FieldReader top(
        json, [] { return std::string("the JSON document"); }, codec, Known);
    CheckVersion(json);
    if (const Json* properties = top.Find("project"))
        ReadProperties(*properties, codec, project);
    if (const Json* objects = top.Find("objects"))
        ReadObjects(*objects, codec, tree);
}

}  // namespace tomlet::cli
