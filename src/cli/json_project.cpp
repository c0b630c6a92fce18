#include "cli/json_project.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/output_text.h"
#include "core/limits.h"
#include "core/project_file.h"

namespace tomlet::cli {

namespace {

// A string as nlohmann's dump writes one without ensure_ascii: UTF-8 as it is, quotes,
// backslashes and control characters escaped.
std::string JsonString(std::string_view utf8) {
    std::string quoted = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\b':
                quoted += "\\b";
                break;
            case '\f':
                quoted += "\\f";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    quoted += escape;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + '"';
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
    FieldReader(const Json& object, std::function<std::string()> where, const ImportedTexts& texts,
                std::span<const std::string_view> known)
        : m_object(object), m_where(std::move(where)), m_texts(texts) {
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
            const std::string& text = value->get_ref<const std::string&>();
            if (m_texts.Lossy) {
                target = m_texts.Codec.FromUtf8(text);
            } else if (auto exact = m_texts.Codec.FromUtf8Exactly(text)) {
                target = std::move(*exact);
            } else {
                Refuse(Where(key), "code page " + std::to_string(m_texts.Codec.CodePage()) +
                                       " cannot hold this text; --lossy imports it with '?' for "
                                       "the characters it lacks");
            }
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
    const ImportedTexts& m_texts;
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

void ReadProperties(const Json& json, const ImportedTexts& texts, TProjectRec& project) {
    static constexpr std::string_view Known[] = {
        "ProjectDataDir", "ProjectName",  "ProjectName2",      "SplashFileName",
        "SplashShowTime", "AbsolutePath", "ProjectDescription"};
    const FieldReader fields(
        json, [] { return std::string("project"); }, texts, Known);
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
const Json* ReadObject(const Json& json, std::function<std::string()> where,
                       const ImportedTexts& texts, TNodeData& data) {
    static constexpr std::string_view Known[] = {"Caption",      "Hint",         "ObjectType",
                                                 "ObjectAction", "PathFileName", "Parameters",
                                                 "Comments",     "children"};
    const FieldReader fields(json, std::move(where), texts, Known);
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
void ReadObjects(const Json& objects, const ImportedTexts& texts, ObjectTree& tree) {
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
        const Json* children = ReadObject((*level.Array)[level.Next++], where, texts, data);
        ObjectNode* node = tree.Append(level.Parent, std::move(data));
        if (children != nullptr && !children->empty()) {
            if (levels.size() >= static_cast<std::size_t>(MaxTreeLevels))
                Refuse("objects", TreeTooDeepText());
            levels.push_back({children, 0, node});
        }
    }
}

}  // namespace

JsonProjectWriter::JsonProjectWriter(std::ostream& out,
                                     std::pair<std::uint8_t, std::uint8_t> version,
                                     const TextCodec& codec)
    : m_out(out), m_version(version), m_codec(codec) {}

// Laid out as nlohmann's dump(2) lays out the same document, so that small projects read the
// same either way.
void JsonProjectWriter::Properties(const TProjectRec& project, int) {
    m_out << "{\n  \"version\": [\n    " << int{m_version.first} << ",\n    "
          << int{m_version.second} << "\n  ],\n  \"project\": {\n";
    Text(2, "ProjectDataDir", project.ProjectDataDir);
    Text(2, "ProjectName", project.ProjectName);
    Text(2, "ProjectName2", project.ProjectName2);
    Text(2, "SplashFileName", project.SplashFileName);
    Field(2, "SplashShowTime", std::to_string(project.SplashShowTime));
    Field(2, "AbsolutePath", project.AbsolutePath ? "true" : "false");
    Text(2, "ProjectDescription", project.ProjectDescription, true);
    m_out << "  },\n  \"objects\": [";
}

// An object at tree level L opens at indentation 2 + 2L; its fields and its children's
// array stand one step further in.
void JsonProjectWriter::Object(TNodeData&& data, int level) {
    if (level > m_lastLevel) {
        m_out << "\n";  // the first child in the open array
    } else {
        CloseObjects(level);
        m_out << ",\n";
    }
    const int indent = 2 + 2 * level;
    m_out << Indentation(indent) << "{\n";
    Text(indent + 1, "Caption", data.Caption);
    Text(indent + 1, "Hint", data.Hint);
    Field(indent + 1, "ObjectType", std::to_string(data.ObjectType));
    Field(indent + 1, "ObjectAction", std::to_string(data.ObjectAction));
    Text(indent + 1, "PathFileName", data.PathFileName);
    Text(indent + 1, "Parameters", data.Parameters);
    Text(indent + 1, "Comments", data.Comments);
    m_out << Indentation(indent + 1) << "\"children\": [";
    m_lastLevel = level;
}

void JsonProjectWriter::Finish() {
    if (m_lastLevel >= 0) {
        CloseObjects(0);
        m_out << "\n" << Indentation(1);
    }
    m_out << "]\n}\n";
}

// Closes the last object, whose children's array is empty, and its ancestors down to `level`.
void JsonProjectWriter::CloseObjects(int level) {
    m_out << "]\n" << Indentation(2 + 2 * m_lastLevel) << "}";
    for (int open = m_lastLevel - 1; open >= level; --open)
        m_out << "\n" << Indentation(3 + 2 * open) << "]\n" << Indentation(2 + 2 * open) << "}";
    m_lastLevel = level - 1;
}

void JsonProjectWriter::Field(int indent, std::string_view key, std::string_view value, bool last) {
    m_out << Indentation(indent) << '"' << key << "\": " << value << (last ? "\n" : ",\n");
}

void JsonProjectWriter::Text(int indent, std::string_view key, const std::string& text, bool last) {
    Field(indent, key, JsonString(m_codec.ToUtf8(text)), last);
}

void ProjectFromJson(const Json& json, const ImportedTexts& texts, TProjectRec& project,
                     ObjectTree& tree) {
    static constexpr std::string_view Known[] = {"version", "project", "objects"};
    const FieldReader top(
        json, [] { return std::string("the JSON document"); }, texts, Known);
    CheckVersion(json);
    if (const Json* properties = top.Find("project"))
        ReadProperties(*properties, texts, project);
    if (const Json* objects = top.Find("objects"))
        ReadObjects(*objects, texts, tree);
}

}  // namespace tomlet::cli
