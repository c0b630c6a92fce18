#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tomlet {

struct IniKey {
    std::string_view Section;
    std::string_view Key;
};

struct IniEntry {
    std::string_view Section;
    std::string_view Key;
    std::string_view Value;
};

// An INI file read with the rules of the Windows profile functions: sections and keys matched
// ignoring case, a value trimmed of blanks and of one pair of enclosing quotes, at most
// MaxValueLength characters of it used.
//
// Names and values cross this interface in the process code page. A file that starts with a
// UTF-8 byte-order mark is read and written as UTF-8 whatever that code page is.
class IniFile final {
public:
    static constexpr std::size_t MaxValueLength = 2047;

    // Reads the whole file; a missing file reads as empty. Throws std::runtime_error when
    // something exists at the path but cannot be read as a file.
    explicit IniFile(std::string path);

    const std::string& Path() const { return m_path; }
    bool IsUtf8() const { return m_utf8; }

    // The value of a key; nothing when the section or the key is missing.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
    // The values of many keys, in order, from one pass over the file.
    std::vector<std::optional<std::string>> ReadValues(std::span<const IniKey> keys) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // A flag stored as an integer: 0 is false, any other integer true; a value that is not an
    // integer gives the fallback.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Adds the key or changes its value, creating the section and the file when missing; every
    // other line stays byte for byte as it was. False when the file could not be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // The same for many keys, in one replacement of the file: keys new to a section follow its
    // last line in the order given, new sections follow the file's last line. Of a key named
    // twice the first value counts. Nothing is written when nothing changes.
    bool WriteStrings(std::span<const IniEntry> entries);

private:
    std::vector<std::pair<std::string, std::string>> FileKeys(std::span<const IniKey> keys) const;
    std::string ToFileText(std::string_view text) const;
    std::string FromFileText(std::string_view text) const;

    std::string m_path;
    std::string m_content;  // the file's bytes, byte-order mark included
    bool m_utf8 = false;
};

// Names are matched as the profile functions match them: ASCII letters ignoring case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// An integer as the profile functions read one: decimal with an optional sign, or hexadecimal
// after "0x", "0X" or "$". Nothing for anything else, or for a number beyond 32 bits.
std::optional<long long> ParseProfileInteger(std::string_view text);

}  // namespace tomlet
