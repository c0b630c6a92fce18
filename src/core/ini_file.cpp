#include "core/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

struct Line {
    std::size_t Begin = 0;
    std::size_t End = 0;   // where the line break starts
    std::size_t Next = 0;  // after the line break
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name as names are matched: ASCII letters ignoring case.
std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        c = LowerAscii(c);
    return folded;
}

// Calls `each` for every line after the byte-order mark; CR LF, LF and a lone CR all end a line.
template <class Each>
void ForEachLine(std::string_view content, Each each) {
    std::size_t begin = content.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
    while (begin < content.size()) {
        Line line{begin, content.find_first_of("\r\n", begin), 0};
        if (line.End == std::string_view::npos) {
            line.End = line.Next = content.size();
        } else {
            line.Next = line.End + 1;
            if (content[line.End] == '\r' && line.Next < content.size() &&
                content[line.Next] == '\n')
                ++line.Next;
        }
        each(line);
        begin = line.Next;
    }
}

// The name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (!text.starts_with('['))
        return std::nullopt;
    text.remove_prefix(1);
    return Trim(text.substr(0, text.find(']')));
}

// Where the keys asked for stand in a file, found in one pass over it however many are asked
// for. As with the profile functions, only the first section of a name counts, and in it the
// first line of a key; lines before the first section belong to none.
class KeyPlaces final {
public:
    struct SectionPlace {
        bool Found = false;
        // Where a new key goes: after the section's last line that is not blank, so that blank
        // lines separating it from the next section stay where they are.
        std::size_t InsertAt = 0;
        bool AfterUnendedLine = false;  // that line ends the file without a line break
    };
    struct KeyPlace {
        std::size_t Section = 0;
        bool Found = false;
        std::size_t ValueBegin = 0;  // just after the equals sign
        std::size_t ValueEnd = 0;    // where the line break starts
    };

    // `keys`: pairs of section and key as the file spells them.
    KeyPlaces(std::string_view content, std::span<const std::pair<std::string, std::string>> keys) {
        std::vector<std::unordered_map<std::string, std::size_t>> keysBySection;
        for (const auto& [section, key] : keys) {
            const auto [named, newSection] =
                m_sectionIds.try_emplace(FoldedName(section), m_sections.size());
            if (newSection) {
                m_sections.emplace_back();
                keysBySection.emplace_back();
            }
            const auto [slot, newKey] =
                keysBySection[named->second].try_emplace(FoldedName(key), m_keys.size());
            m_firstOfItsKey.push_back(newKey);
            m_keyOfRequest.push_back(slot->second);
            if (newKey)
                m_keys.push_back({named->second});
        }
        Find(content, keysBySection);
    }

    const KeyPlace& Key(std::size_t request) const { return m_keys[m_keyOfRequest[request]]; }
    const SectionPlace& Section(std::size_t request) const {
        return m_sections[Key(request).Section];
    }
    // Requests for one key share its place; the first of them counts.
    bool IsFirstOfItsKey(std::size_t request) const { return m_firstOfItsKey[request]; }
    bool EndsWithUnendedLine() const { return m_endsWithUnendedLine; }

private:
    void Find(std::string_view content,
              const std::vector<std::unordered_map<std::string, std::size_t>>& keysBySection) {
        constexpr std::size_t None = static_cast<std::size_t>(-1);
        std::size_t current = None;
        ForEachLine(content, [&](const Line& line) {
            const std::string_view text = content.substr(line.Begin, line.End - line.Begin);
            m_endsWithUnendedLine = line.End == line.Next;
            if (const auto name = SectionName(text)) {
                const auto id = m_sectionIds.find(FoldedName(*name));
                current =
                    id != m_sectionIds.end() && !m_sections[id->second].Found ? id->second : None;
                if (current != None)
                    m_sections[current] = {true, line.Next, m_endsWithUnendedLine};
                return;
            }
            if (current == None || Trim(text).empty())
                return;
            m_sections[current] = {true, line.Next, m_endsWithUnendedLine};
            const auto equals = text.find('=');
            if (equals == std::string_view::npos)
                return;
            const auto& keys = keysBySection[current];
            const auto slot = keys.find(FoldedName(Trim(text.substr(0, equals))));
            if (slot != keys.end() && !m_keys[slot->second].Found)
                m_keys[slot->second] = {current, true, line.Begin + equals + 1, line.End};
        });
    }

    std::unordered_map<std::string, std::size_t> m_sectionIds;  // by folded name
    std::vector<SectionPlace> m_sections;
    std::vector<KeyPlace> m_keys;
    std::vector<std::size_t> m_keyOfRequest;
    std::vector<bool> m_firstOfItsKey;
    bool m_endsWithUnendedLine = false;
};

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The first `count` characters: code points in UTF-8, bytes in a single-byte code page.
std::string_view Truncate(std::string_view text, std::size_t count, bool utf8) {
    if (!utf8)
        return text.substr(0, count);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && count-- == 0)
            return text.substr(0, i);
    }
    return text;
}

// The file's own line break, so that added lines match the lines around them.
std::string_view LineBreakOf(std::string_view content) {
    const auto end = content.find_first_of("\r\n");
    if (end == std::string_view::npos)
        return "\r\n";
    if (content[end] == '\n')
        return "\n";
    return end + 1 < content.size() && content[end + 1] == '\n' ? "\r\n" : "\r";
}

// One change of a file's bytes: `Erase` bytes at `At` replaced by `Insert`.
struct Edit {
    std::size_t At = 0;
    std::size_t Erase = 0;
    std::string Insert;
};

// Applies edits that do not overlap in one pass; those at one offset in the order given.
std::string Edited(std::string_view content, std::vector<Edit> edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.At < b.At; });
    std::string result;
    std::size_t copied = 0;
    for (const Edit& edit : edits) {
        result.append(content.substr(copied, edit.At - copied)).append(edit.Insert);
        copied = edit.At + edit.Erase;
    }
    return result.append(content.substr(copied));
}

std::string ReadWholeFile(const std::string& path) {
    const std::filesystem::path native = NativePath(path);
    std::error_code error;
    const auto status = std::filesystem::status(native, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return {};
    if (status.type() != std::filesystem::file_type::regular)
        throw std::runtime_error("Cannot read " + path);
    std::ifstream file(native, std::ios::binary);
    std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.is_open() || file.bad())
        throw std::runtime_error("Cannot read " + path);
    return content;
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

IniFile::IniFile(std::string path)
    : m_path(std::move(path)),
      m_content(ReadWholeFile(m_path)),
      m_utf8(m_content.starts_with(ByteOrderMark)) {}

std::string IniFile::ToFileText(std::string_view text) const {
    return m_utf8 ? ProcessCodec().ToUtf8(text) : std::string(text);
}

std::string IniFile::FromFileText(std::string_view text) const {
    return m_utf8 ? ProcessCodec().FromUtf8(text) : std::string(text);
}

std::vector<std::pair<std::string, std::string>> IniFile::FileKeys(
    std::span<const IniKey> keys) const {
    std::vector<std::pair<std::string, std::string>> fileKeys;
    fileKeys.reserve(keys.size());
    for (const IniKey& key : keys)
        fileKeys.emplace_back(ToFileText(key.Section), ToFileText(key.Key));
    return fileKeys;
}

std::vector<std::optional<std::string>> IniFile::ReadValues(std::span<const IniKey> keys) const {
    const KeyPlaces places(m_content, FileKeys(keys));
    const std::string_view content = m_content;
    const bool utf8 = m_utf8 || ProcessCodec().IsUtf8();
    std::vector<std::optional<std::string>> values(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyPlaces::KeyPlace& place = places.Key(i);
        if (!place.Found)
            continue;
        const std::string_view value =
            Unquote(Trim(content.substr(place.ValueBegin, place.ValueEnd - place.ValueBegin)));
        values[i] = FromFileText(Truncate(value, MaxValueLength, utf8));
    }
    return values;
}

std::optional<std::string> IniFile::ReadValue(std::string_view section,
                                              std::string_view key) const {
    const IniKey wanted[] = {{section, key}};
    return std::move(ReadValues(wanted).front());
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = ReadValue(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    const auto value = ReadValue(section, key);
    if (!value)
        return fallback;
    const auto number = ParseProfileInteger(*value);
    return number ? *number != 0 : fallback;
}

bool IniFile::WriteStrings(std::span<const IniEntry> entries) {
    std::vector<IniKey> keys;
    keys.reserve(entries.size());
    for (const IniEntry& entry : entries)
        keys.push_back({entry.Section, entry.Key});
    const auto fileKeys = FileKeys(keys);
    const KeyPlaces places(m_content, fileKeys);
    const std::string lineBreak(LineBreakOf(m_content));

    std::vector<Edit> edits;
    // The sections the file lacks, in the order first named, each with its lines.
    std::vector<std::pair<std::size_t, std::string>> newSections;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!places.IsFirstOfItsKey(i))
            continue;
        const std::string value = ToFileText(entries[i].Value);
        const std::string line = fileKeys[i].second + "=" + value;
        const KeyPlaces::KeyPlace& key = places.Key(i);
        const KeyPlaces::SectionPlace& section = places.Section(i);
        if (key.Found) {
            edits.push_back({key.ValueBegin, key.ValueEnd - key.ValueBegin, value});
        } else if (section.Found) {
            edits.push_back({section.InsertAt, 0,
                             section.AfterUnendedLine ? lineBreak + line : line + lineBreak});
        } else {
            auto added = std::ranges::find(newSections, key.Section,
                                           &std::pair<std::size_t, std::string>::first);
            if (added == newSections.end())
                added = newSections.insert(
                    added, {key.Section, "[" + fileKeys[i].first + "]" + lineBreak});
            added->second += line + lineBreak;
        }
    }
    if (!newSections.empty()) {
        std::string appended = places.EndsWithUnendedLine() ? lineBreak : std::string();
        for (const auto& section : newSections)
            appended += section.second;
        edits.push_back({m_content.size(), 0, std::move(appended)});
    }

    std::string updated = Edited(m_content, std::move(edits));
    if (updated == m_content)
        return true;
    // Through a temporary beside the file, so that a failed write leaves it as it was.
    if (!ReplaceWholeFile(m_path, updated))
        return false;
    m_content = std::move(updated);
    return true;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const IniEntry entry[] = {{section, key, value}};
    return WriteStrings(entry);
}

std::optional<long long> ParseProfileInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;

    // Hexadecimal may use all 32 bits (it wraps to a negative number); decimal must fit.
    const unsigned long long limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    unsigned long long value = 0;
    for (const char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f')
            digit = static_cast<unsigned>(LowerAscii(c) - 'a' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    const long long number = base == 16
                                 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(value))
                                 : static_cast<long long>(value);
    return negative ? -number : number;
}

}  // namespace tomlet
