#pragma once

#include <optional>
#include <string>

namespace tomlet {

// How the main window presents itself, as the settings file says; the defaults apply to whatever
// the file does not give.
struct TIniRec {
    std::string DefaultFile = "default.tml";
    bool ShowCaption = true;
    bool Maximized = false;
    bool ShowMenu = true;
    bool ShowFileMenu = true;
    bool ShowSearchMenu = true;
    bool ShowViewMenu = true;
    bool ShowOptionsMenu = true;
    bool ShowAboutMenu = true;
};

// tomlet.ini in the program's data folder (the program folder, unless the program is installed).
std::string SettingsFileName();

// Fills the record from the settings file (a missing file leaves every default). False when the
// file exists but cannot be read.
bool ReadSettings(TIniRec& settings);

// The project the start-up opens: the project named on the command line, whatever the settings
// say; otherwise DefaultFile, a relative one taken relative to the current directory and an
// empty one meaning default.tml in the program folder.
std::string StartupProjectPath(const TIniRec& settings);

// "_Language" of section "Main": the language's name without extension, empty by default. Its
// file lies in the program's data folder: a value that names a file elsewhere ("../victim")
// counts as none. Throws std::runtime_error when the file exists but cannot be read.
std::string ReadLanguageSetting();
// Writes "_Language"; false when the settings file could not be written.
bool WriteLanguageSetting(const std::string& language);

// "_CodePage" of section "Main" (for example 1251); nothing when the file does not set one.
std::optional<int> ReadCodePageSetting();
// Makes the settings' code page the process code page; run before any other text is read.
void ApplyCodePageSetting();

}  // namespace tomlet
