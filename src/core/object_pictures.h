#pragma once

#include <cstdint>

namespace tomlet {

// Which of the program's pictures shows an object type (the tree's and the web page's): folders
// and virtual folders open when selected; an unknown type shows the blank page (13). The
// pictures themselves are drawn by ui/tree/object_icons and shipped for the web page.
int ObjectImageIndex(std::uint8_t objectType, bool selected);

// The pictures an object type can show: 0 to 13.
inline constexpr int ObjectTypeImageCount = 14;

}  // namespace tomlet
