#include "core/language_file.h"

#include <exception>

#include "core/catalogue.h"
#include "platform/file_system.h"

namespace tomlet {

std::string LanguageFilePath(std::string_view fileName) {
    return ProgramFolder() + std::string(fileName);
}

LanguageFile::LanguageFile(std::string path) : m_file(std::move(path)) {}

std::optional<std::string> LanguageFile::Lookup(std::string_view section, std::string_view key) {
    auto value = m_file.ReadValue(section, key);
    if (value && !value->empty())
        return value;
    m_file.WriteString(section, key, "");
    return std::nullopt;
}

bool LoadCatalogue(std::string_view fileName) {
    const std::string path = LanguageFilePath(fileName);
    if (!FileExists(path))
        return true;
    try {
        LanguageFile file(path);
        for (const CatalogueEntry& entry : CatalogueEntries()) {
            if (entry.Key.empty())
                continue;
            if (const auto text = file.Lookup(entry.Section, entry.Key))
                SetText(entry.Id, ExpandLineBreaks(*text));
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace tomlet
