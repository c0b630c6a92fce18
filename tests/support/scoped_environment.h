#pragma once

#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace tomlet::testing {

// Sets an environment variable for one scope and puts the old value back afterwards.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// Points the user's data folder (XDG_DATA_HOME; on Windows LOCALAPPDATA) at a temporary folder
// for one scope, so that what the program records for its user never reaches the real user's.
class PrivateUserDataFolder final {
public:
    PrivateUserDataFolder()
        : m_posix("XDG_DATA_HOME", m_folder.Path().string()),
          m_windows("LOCALAPPDATA", m_folder.Path().string()) {}
    const TempFolder& Folder() const { return m_folder; }

private:
    TempFolder m_folder;
    ScopedEnvironment m_posix;
    ScopedEnvironment m_windows;
};

}  // namespace tomlet::testing
