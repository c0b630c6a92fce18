#include "core/version.h"

namespace tomlet {

std::optional<ProgramVersion> BuiltVersion() {
#if defined(TOMLET_VERSION_MAJOR) && defined(TOMLET_VERSION_BUILD)
    return ProgramVersion{TOMLET_VERSION_MAJOR, TOMLET_VERSION_MINOR, TOMLET_VERSION_RELEASE,
                          TOMLET_VERSION_BUILD};
#else
    return std::nullopt;
#endif
}

std::string VersionText(const std::optional<ProgramVersion>& version) {
    std::string text;
    if (version) {
        text = "ver. " + std::to_string(version->Major) + "." + std::to_string(version->Minor) +
               "." + std::to_string(version->Release) + "  build " +
               std::to_string(version->Build);
    }
    return text + "  beta";
}

std::string GetVersionText() { return VersionText(BuiltVersion()); }

}  // namespace tomlet
