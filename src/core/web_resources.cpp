#include "core/web_resources.h"

namespace tomlet {

std::string_view WebPageResource(std::string_view name) {
    for (const WebPageFile& file : WebPageResources())
        if (file.Name == name)
            return file.Bytes;
    return {};
}

}  // namespace tomlet
