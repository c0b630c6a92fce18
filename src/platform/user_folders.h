#pragma once

#include <optional>
#include <string>

namespace tomlet {

// The folder where programs keep data of their own for the current user, in UTF-8:
// $XDG_DATA_HOME (by default ~/.local/share) elsewhere, %LOCALAPPDATA% on Windows. Empty when the
// system names none.
std::string UserDataFolder();

// An environment variable's value in UTF-8; nothing when it is not set or empty.
std::optional<std::string> EnvironmentVariable(const char* name);

}  // namespace tomlet
