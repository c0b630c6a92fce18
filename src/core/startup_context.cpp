#include "core/startup_context.h"

#include "core/paths.h"
#include "platform/file_system.h"

namespace tomlet {

namespace {

std::string WithSeparator(std::string folder) {
    const char separator = PathRules::Native().Separator;
    if (!folder.empty() && folder.back() != separator)
        folder += separator;
    return folder;
}

}  // namespace

std::string StartupContext::DefaultProjectPath() const {
    return NamedProject.empty() ? ProgramFolder + "default.tml" : NamedProject;
}

StartupContext MakeStartupContext(std::string programFolder, std::string namedProject) {
    StartupContext context;
    context.ProgramFolder = WithSeparator(std::move(programFolder));
    context.DataFolder = DataFolderOfProgram(context.ProgramFolder);
    context.DiscFolder = namedProject.empty() ? context.ProgramFolder
                                              : WithSeparator(ParentFolderPath(namedProject));
    context.NamedProject = std::move(namedProject);
    return context;
}

}  // namespace tomlet
