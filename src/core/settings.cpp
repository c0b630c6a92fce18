#include "core/settings.h"

#include <exception>

#include "core/ini_file.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace tomlet {

std::string SettingsFileName(const std::string& dataFolder) {
    return dataFolder + "tomlet.ini";
}

bool ReadSettings(const std::string& dataFolder, TIniRec& settings) {
    try {
        const IniFile file(SettingsFileName(dataFolder));
        const TIniRec defaults;
        settings.DefaultFile = file.ReadString("Default", "_DefaultFile", defaults.DefaultFile);
        settings.ShowCaption = file.ReadBool("Main", "_Caption", defaults.ShowCaption);
        settings.Maximized = file.ReadBool("Main", "_Maximized", defaults.Maximized);
        settings.ShowMenu = file.ReadBool("Main", "_Menu", defaults.ShowMenu);
        settings.ShowFileMenu = file.ReadBool("Menu", "_File", defaults.ShowFileMenu);
        settings.ShowSearchMenu = file.ReadBool("Menu", "_Search", defaults.ShowSearchMenu);
        settings.ShowViewMenu = file.ReadBool("Menu", "_View", defaults.ShowViewMenu);
        settings.ShowOptionsMenu = file.ReadBool("Menu", "_Options", defaults.ShowOptionsMenu);
        settings.ShowAboutMenu = file.ReadBool("Menu", "_About", defaults.ShowAboutMenu);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string StartupProjectPath(const StartupContext& context, const TIniRec& settings) {
    if (!context.NamedProject.empty() || settings.DefaultFile.empty())
        return context.DefaultProjectPath();
    const std::string inCurrentFolder = AbsolutePath(settings.DefaultFile);
    if (FileExists(inCurrentFolder) || context.ProgramFolder.empty())
        return inCurrentFolder;
    const std::string inProgramFolder =
        ResolveDataDirectory(settings.DefaultFile, context.ProgramFolder);
    return FileExists(inProgramFolder) ? inProgramFolder : inCurrentFolder;
}

std::string ReadLanguageSetting(const std::string& dataFolder) {
    const std::string language =
        IniFile(SettingsFileName(dataFolder)).ReadString("Main", "_Language", "");
    return IsPlainFileName(language + ".lng") ? language : std::string();
}

bool WriteLanguageSetting(const std::string& dataFolder, const std::string& language) {
    try {
        return IniFile(SettingsFileName(dataFolder)).WriteString("Main", "_Language", language);
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<int> ReadCodePageSetting(const std::string& dataFolder) {
    try {
        const auto value = IniFile(SettingsFileName(dataFolder)).ReadValue("Main", "_CodePage");
        const auto number = value ? ParseProfileInteger(*value) : std::nullopt;
        if (number && *number > 0)
            return static_cast<int>(*number);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

void ApplyCodePageSetting(const std::string& dataFolder) {
    SetProjectCodePage(ReadCodePageSetting(dataFolder).value_or(SystemCodePage()));
}

}  // namespace tomlet
