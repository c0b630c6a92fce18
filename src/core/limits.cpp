#include "core/limits.h"

#include "core/catalogue.h"

namespace tomlet {

std::string TreeTooDeepText() {
    return FormatCount(Text(TextId::message_TreeTooDeep_D), MaxTreeLevels);
}

std::string TooManyObjectsText() {
    return FormatCount(Text(TextId::message_TooManyObjects_D), MaxObjects);
}

}  // namespace tomlet
