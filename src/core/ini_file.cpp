#include "core/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
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

// A key line: the key and the offset just after its equals sign.
struct KeyLine {
    std::size_t Index = 0;
    std::size_t ValueBegin = 0;
};

struct Section {
    std::size_t Header = 0;  // index of the "[name]" line
    std::size_t End = 0;     // index of the next header, or the line count
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

// Lines after the byte-order mark; CR LF, LF and a lone CR all end a line.
std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
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
        lines.push_back(line);
        begin = line.Next;
    }
    return lines;
}

std::string_view LineText(std::string_view content, const Line& line) {
    return content.substr(line.Begin, line.End - line.Begin);
}

// The name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (!text.starts_with('['))
        return std::nullopt;
    text.remove_prefix(1);
    return Trim(text.substr(0, text.find(']')));
}

std::optional<Section> FindSection(std::string_view content, const std::vector<Line>& lines,
                                   std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto found = SectionName(LineText(content, lines[i]));
        if (!found || !EqualIgnoringCase(*found, name))
            continue;
        Section section{i, lines.size()};
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            if (SectionName(LineText(content, lines[j]))) {
                section.End = j;
                break;
            }
        }
        return section;
    }
    return std::nullopt;
}

std::optional<KeyLine> FindKey(std::string_view content, const std::vector<Line>& lines,
                               const Section& section, std::string_view key) {
    for (std::size_t i = section.Header + 1; i < section.End; ++i) {
        const std::string_view text = LineText(content, lines[i]);
        const auto equals = text.find('=');
        if (equals != std::string_view::npos &&
            EqualIgnoringCase(Trim(text.substr(0, equals)), key))
            return KeyLine{i, lines[i].Begin + equals + 1};
    }
    return std::nullopt;
}

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

// Where a new key goes: after the section's last line that is not blank, so that blank lines
// separating it from the next section stay where they are.
std::size_t LastFilledLine(std::string_view content, const std::vector<Line>& lines,
                           const Section& section) {
    std::size_t last = section.Header;
    for (std::size_t i = section.Header + 1; i < section.End; ++i) {
        if (!Trim(LineText(content, lines[i])).empty())
            last = i;
    }
    return last;
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

std::optional<std::string> IniFile::ReadValue(std::string_view section,
                                              std::string_view key) const {
    const auto lines = SplitLines(m_content);
    const auto found = FindSection(m_content, lines, ToFileText(section));
    if (!found)
        return std::nullopt;
    const auto keyLine = FindKey(m_content, lines, *found, ToFileText(key));
    if (!keyLine)
        return std::nullopt;
    const std::string_view content = m_content;
    const std::string_view value = Unquote(
        Trim(content.substr(keyLine->ValueBegin, lines[keyLine->Index].End - keyLine->ValueBegin)));
    return FromFileText(Truncate(value, MaxValueLength, m_utf8 || ProcessCodec().IsUtf8()));
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

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string fileSection = ToFileText(section);
    const std::string fileKey = ToFileText(key);
    const std::string fileValue = ToFileText(value);
    const std::string_view lineBreak = LineBreakOf(m_content);
    const auto lines = SplitLines(m_content);

    std::string updated = m_content;
    const auto found = FindSection(m_content, lines, fileSection);
    if (!found) {
        if (!lines.empty() && lines.back().End == lines.back().Next)
            updated += lineBreak;
        updated.append("[").append(fileSection).append("]").append(lineBreak);
        updated.append(fileKey).append("=").append(fileValue).append(lineBreak);
    } else if (const auto keyLine = FindKey(m_content, lines, *found, fileKey)) {
        updated.replace(keyLine->ValueBegin, lines[keyLine->Index].End - keyLine->ValueBegin,
                        fileValue);
    } else {
        const Line& after = lines[LastFilledLine(m_content, lines, *found)];
        const std::string entry = fileKey + "=" + fileValue;
        if (after.End == after.Next)  // the last line of a file without a final line break
            updated.insert(after.Next, std::string(lineBreak) + entry);
        else
            updated.insert(after.Next, entry + std::string(lineBreak));
    }

    if (updated == m_content)
        return true;
    // Through a temporary beside the file, so that a failed write leaves it as it was.
    if (!ReplaceWholeFile(m_path, updated))
        return false;
    m_content = std::move(updated);
    return true;
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
