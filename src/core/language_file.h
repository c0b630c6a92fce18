#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini_file.h"

namespace tomlet {

// The full path of the current language file, which every window is translated from: empty until
// the main window reads the language setting, then that setting followed by ".lng" in the
// program's data folder.
const std::string& CurrentLanguageFile();
void SetCurrentLanguageFile(std::string path);

// The full path of a language file given by name (for example "English.lng"): it lives in the
// program's data folder (StartupContext::DataFolder).
std::string LanguageFilePath(const std::string& dataFolder, std::string_view fileName);

// An open language file. Every key looked up and not found is written back with an empty value,
// so that running the program once turns an empty file into a template for a translator; a file
// that holds every key is never written.
class LanguageFile final {
public:
    // Throws std::runtime_error when something exists at the path but cannot be read.
    explicit LanguageFile(std::string path);

    // The values of the keys, in order, in the process code page, from one pass over the file
    // however many keys are asked for. A missing, empty or blank value is not found; the keys not
    // found are then written into their sections with empty values, all in one replacement of
    // the file. A failed write is ignored.
    std::vector<std::optional<std::string>> Lookup(std::span<const IniKey> keys);
    // The same without writing anything back.
    std::vector<std::optional<std::string>> Find(std::span<const IniKey> keys) const;

private:
    IniFile m_file;
};

// Replaces the catalogue texts whose keys the language file at `path` gives a value, with "##"
// read as a line break. A missing file changes nothing. False when the file exists but cannot be
// read.
bool LoadCatalogue(const std::string& path);
// The same from a language file anywhere, which is only read. False when it cannot be read.
bool ReadCatalogueFile(const std::string& path);

// The name a language file is offered under: its name with every occurrence of its extension
// removed, ignoring case ("English.LNG.lng" gives "English").
std::string LanguageDisplayName(std::string_view fileName);

// The display names of the data folder's entries matching "*.lng" (ignoring case; files and
// folders alike), sorted by name, each name once.
std::vector<std::string> ListLanguages(const std::string& dataFolder);

}  // namespace tomlet
