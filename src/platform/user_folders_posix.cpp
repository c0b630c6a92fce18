#include <cstdlib>

#include "platform/text_codec.h"
#include "platform/user_folders.h"

namespace tomlet {

std::optional<std::string> EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return TextCodec(SystemCodePage()).ToUtf8(value);
}

std::string UserDataFolder() {
    // The XDG base directory rules take only an absolute path.
    if (auto data = EnvironmentVariable("XDG_DATA_HOME"); data && data->starts_with('/'))
        return *data;
    if (auto home = EnvironmentVariable("HOME"))
        return *home + "/.local/share";
    return {};
}

}  // namespace tomlet
