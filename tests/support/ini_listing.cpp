#include "support/ini_listing.h"

#include <sstream>

#include "support/temp_folder.h"

namespace tomlet::testing {

std::vector<IniEntry> ListIniEntries(const std::string& path) {
    std::string content = ReadWholeFile(path);
    if (content.starts_with("\xEF\xBB\xBF"))
        content.erase(0, 3);
    std::vector<IniEntry> entries;
    std::string section;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r'))
            line.pop_back();
        if (line.starts_with('[') && line.ends_with(']')) {
            section = line.substr(1, line.size() - 2);
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
        }
    }
    return entries;
}

std::vector<std::string> IniKeyNames(const std::string& path) {
    std::vector<std::string> names;
    for (const IniEntry& entry : ListIniEntries(path))
        names.push_back(entry.Section + "/" + entry.Key);
    return names;
}

}  // namespace tomlet::testing
