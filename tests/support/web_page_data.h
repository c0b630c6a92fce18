#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tomlet::testing {

// One object as a written web page holds it, its children gathered from their blocks.
struct WebObject {
    int Id = 0;
    std::string Caption;
    std::vector<std::string> HintValues;  // hint, comments, path, size, attributes, parameters
    int Picture = 0;
    int SelectedPicture = 0;
    std::string Link;  // empty when it cannot be opened
    int Reason = 0;    // why not: 1 no file, 2 outside the disc, 3 page off the disc, 4 missing
    std::vector<WebObject> Children;
};

// What a web page's data files say, read back as the page reads them.
struct WebPageData {
    nlohmann::json Root;  // the argument of tomletRoot
    std::vector<WebObject> Top;
    std::size_t LargestBlock = 0;     // objects
    std::size_t LargestDataFile = 0;  // bytes, search files included
    // Per object in tree order: caption, hint and comments as searched, and the parent's id.
    std::vector<std::string> SearchTexts;
    std::vector<int> Parents;
};

// Reads the page in `folder` (the folder holding index.html); throws when it is not whole.
WebPageData ReadWebPage(const std::string& folder);

// The captions, children in parentheses: "A (B C) D".
std::string CaptionOutline(const std::vector<WebObject>& objects);

}  // namespace tomlet::testing
