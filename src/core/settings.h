#pragma once

#include <optional>
#include <string>

#include "core/startup_context.h"

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

// The settings file is tomlet.ini in the program's data folder (StartupContext::DataFolder), which
// every function below is given.
std::string SettingsFileName(const std::string& dataFolder);

// Fills the record from the settings file (a missing file leaves every default). False when the
// file exists but cannot be read.
bool ReadSettings(const std::string& dataFolder, TIniRec& settings);

// The project the start-up opens: the project named on the command line, whatever the settings
// say; otherwise DefaultFile, an empty one meaning default.tml in the program folder. A relative
// one is taken relative to the current folder, where a disc's autorun starts the program, or,
// when no file is there, relative to the program folder: started from a shortcut, a menu or a
// terminal elsewhere, the program still shows the disc it lies on.
std::string StartupProjectPath(const StartupContext& context, const TIniRec& settings);

// "_Language" of section "Main": the language's name without extension, empty by default. Its
// file lies in the program's data folder: a value that names a file elsewhere ("../victim")
// counts as none. Throws std::runtime_error when the file exists but cannot be read.
std::string ReadLanguageSetting(const std::string& dataFolder);
// Writes "_Language"; false when the settings file could not be written.
bool WriteLanguageSetting(const std::string& dataFolder, const std::string& language);

// "_CodePage" of section "Main" (for example 1251); nothing when the file does not set one.
std::optional<int> ReadCodePageSetting(const std::string& dataFolder);
// Makes the settings' code page, else the system's, the one projects store their texts in
// (ProjectCodec); run before any project, language or settings text is read.
void ApplyCodePageSetting(const std::string& dataFolder);

}  // namespace tomlet
