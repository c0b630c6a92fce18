#include "core/records.h"

namespace tomlet {

std::string_view ObjectTypeDisplayName(std::uint8_t value) {
    return value < ObjectTypeDisplayNames.size() ? ObjectTypeDisplayNames[value] : std::string_view{};
}

std::string_view ObjectActionDisplayName(std::uint8_t value) {
    return value < ObjectActionDisplayNames.size() ? ObjectActionDisplayNames[value]
                                                   : std::string_view{};
}

bool MayHaveChildren(std::uint8_t objectType) {
    return objectType == otFolder || objectType == otVirtualFolder;
}

}  // namespace tomlet
