#pragma once

#include <optional>
#include <string>

namespace tomlet {

struct ProgramVersion {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
};

// The version this program was built as (on Windows its version resource); nothing when the
// build set none.
std::optional<ProgramVersion> BuiltVersion();

// "ver. 0.9.0  build 109", as the about window shows it.
std::string VersionLine(const ProgramVersion& version);

// "ver. 0.9.0  build 109  beta"; "  beta" alone without a version.
std::string VersionText(const std::optional<ProgramVersion>& version);
// The version text of the running program, as the main window's caption shows it.
std::string GetVersionText();

}  // namespace tomlet
