#include "core/object_pictures.h"

#include <array>

#include "core/records.h"

namespace tomlet {

namespace {
constexpr std::array<int, ObjectTypeCount> NormalIndex{13, 0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}  // namespace

int ObjectImageIndex(std::uint8_t objectType, bool selected) {
    if (objectType >= ObjectTypeCount)
        return 13;
    const int index = NormalIndex[objectType];
    return selected && MayHaveChildren(objectType) ? index + 1 : index;
}

}  // namespace tomlet
