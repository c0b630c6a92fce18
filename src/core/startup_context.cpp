#include "core/startup_context.h"

#include "core/paths.h"
#include "platform/file_system.h"

namespace tomlet {

namespace {

// The folder with its closing separator; the root of the current drive, on Windows, is that
// separator alone.
std::string Closed(std::string folder) {
    const char separator = PathRules::Native().Separator;
    if (folder.empty() || folder.back() != separator)
        folder += separator;
    return folder;
}

}  // namespace

std::string StartupContext::DefaultProjectPath() const {
    return NamedProject.empty() ? ProgramFolder + "default.tml" : NamedProject;
}

StartupContext MakeStartupContext(std::string programFolder, std::string namedProject) {
    StartupContext context;
    if (!programFolder.empty())
        context.ProgramFolder = Closed(std::move(programFolder));
    context.DataFolder = DataFolderOfProgram(context.ProgramFolder);
    context.DiscFolder =
        namedProject.empty() ? context.ProgramFolder : Closed(ParentFolderPath(namedProject));
    context.NamedProject = std::move(namedProject);
    return context;
}

}  // namespace tomlet
