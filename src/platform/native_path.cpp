#include "platform/native_path.h"

namespace tomlet {

std::FILE* OpenFile(std::string_view path, const char* mode) {
    return OpenNativeFile(NativePath(path), mode);
}

std::FILE* CreateNewFile(std::string_view path) {
    return CreateNewNativeFile(NativePath(path));
}

}  // namespace tomlet
