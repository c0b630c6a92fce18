#include "core/language_file.h"

#include <algorithm>
#include <exception>

#include "core/catalogue.h"
#include "platform/directory_listing.h"
#include "platform/file_system.h"

namespace tomlet {

namespace {

constexpr std::string_view LanguageExtension = ".lng";

std::string& CurrentLanguagePath() {
    static std::string path;
    return path;
}

bool IsLanguageFileName(std::string_view name) {
    return name.size() >= LanguageExtension.size() &&
           EqualIgnoringCase(name.substr(name.size() - LanguageExtension.size()),
                             LanguageExtension);
}

}  // namespace

const std::string& CurrentLanguageFile() {
    return CurrentLanguagePath();
}

void SetCurrentLanguageFile(std::string path) {
    CurrentLanguagePath() = std::move(path);
}

std::string LanguageFilePath(const std::string& dataFolder, std::string_view fileName) {
    return dataFolder + std::string(fileName);
}

LanguageFile::LanguageFile(std::string path) : m_file(std::move(path)) {}

std::vector<std::optional<std::string>> LanguageFile::Lookup(std::span<const IniKey> keys) {
    std::vector<std::optional<std::string>> values = Find(keys);
    std::vector<IniEntry> missing;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!values[i])
            missing.push_back({keys[i].Section, keys[i].Key, ""});
    m_file.WriteStrings(missing);
    return values;
}

std::vector<std::optional<std::string>> LanguageFile::Find(std::span<const IniKey> keys) const {
    std::vector<std::optional<std::string>> values = m_file.ReadValues(keys);
    for (std::optional<std::string>& value : values)
        if (value && value->empty())
            value.reset();
    return values;
}

namespace {

bool LoadCatalogueFrom(const std::string& path, bool addMissingKeys) {
    try {
        std::vector<const CatalogueEntry*> entries;
        std::vector<IniKey> keys;
        for (const CatalogueEntry& entry : CatalogueEntries()) {
            if (entry.Key.empty())
                continue;
            entries.push_back(&entry);
            keys.push_back({entry.Section, entry.Key});
        }
        LanguageFile file(path);
        const auto texts = addMissingKeys ? file.Lookup(keys) : file.Find(keys);
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (texts[i])
                SetText(entries[i]->Id, ExpandLineBreaks(*texts[i]));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool LoadCatalogue(const std::string& path) {
    return !FileExists(path) || LoadCatalogueFrom(path, true);
}

bool ReadCatalogueFile(const std::string& path) {
    return FileExists(path) && LoadCatalogueFrom(path, false);
}

std::string LanguageDisplayName(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return std::string(fileName);
    const std::string_view extension = fileName.substr(dot);
    std::string name;
    for (std::size_t i = 0; i < fileName.size();) {
        if (EqualIgnoringCase(fileName.substr(i, extension.size()), extension)) {
            i += extension.size();
        } else {
            name += fileName[i++];
        }
    }
    return name;
}

std::vector<std::string> ListLanguages(const std::string& dataFolder) {
    std::vector<std::string> fileNames;
    DirectoryListing listing;
    ListDirectory(dataFolder, listing);
    for (DirectoryEntry& entry : listing.Entries)
        if (IsLanguageFileName(entry.Name))
            fileNames.push_back(std::move(entry.Name));
    // Windows lists in name order; other systems in no order at all.
    std::ranges::sort(fileNames);

    std::vector<std::string> languages;
    for (const std::string& fileName : fileNames) {
        std::string language = LanguageDisplayName(fileName);
        if (std::ranges::find(languages, language) == languages.end())
            languages.push_back(std::move(language));
    }
    return languages;
}

}  // namespace tomlet
