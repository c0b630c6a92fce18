#pragma once

#include <span>
#include <string_view>

namespace tomlet {

// The web page's own files, built into the program from resources/web: index.html (a template),
// its script, style sheet and the object pictures, each named as it lies below that folder.
struct WebPageFile {
    std::string_view Name;
    std::string_view Bytes;
};

std::span<const WebPageFile> WebPageResources();
// One of them by name; empty when there is none.
std::string_view WebPageResource(std::string_view name);

}  // namespace tomlet
