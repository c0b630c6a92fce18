#pragma once

#include <string>
#include <vector>

namespace tomlet::testing {

struct IniEntry {
    std::string Section;
    std::string Key;
    std::string Value;  // the raw text after the equals sign

    bool operator==(const IniEntry&) const = default;
};

// Every key line of an INI file in file order, read plainly (no trimming, no case folding), so
// that tests see exactly what the program wrote.
std::vector<IniEntry> ListIniEntries(const std::string& path);

// The "section/key" names of the entries, in file order.
std::vector<std::string> IniKeyNames(const std::string& path);

}  // namespace tomlet::testing
