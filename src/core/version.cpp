#include "core/version.h"

#include "platform/system_info.h"

namespace tomlet {

std::optional<ProgramVersion> BuiltVersion() {
    const std::optional<FileVersion> version = ExecutableFileVersion();
    if (!version)
        return std::nullopt;
    return ProgramVersion{version->Major, version->Minor, version->Release, version->Build};
}

std::string VersionLine(const ProgramVersion& version) {
    return "ver. " + std::to_string(version.Major) + "." + std::to_string(version.Minor) + "." +
           std::to_string(version.Release) + "  build " + std::to_string(version.Build);
}

std::string VersionText(const std::optional<ProgramVersion>& version) {
    return (version ? VersionLine(*version) : std::string()) + "  beta";
}

std::string GetVersionText() {
    return VersionText(BuiltVersion());
}

}  // namespace tomlet
