#pragma once

#include <string>

namespace tomlet {

// Where the program runs and which disc it shows, as main() finds them at start-up and hands them
// to those who need them.
//
// Started on its own, Tomlet shows the disc it lies on: the program folder, whose default.tml is
// the disc's default project. Started on a project named on the command line, it shows that
// project as the default project of a disc in the project's folder. The program's own files
// (tomlet.ini, the language files) stay with the program either way.
struct StartupContext {
    // The folder of the running executable, ending with the native separator.
    std::string ProgramFolder;
    // tomlet.ini and the language files: the program folder, except for an installed program
    // (DataFolderOfProgram). Ends with the native separator.
    std::string DataFolder;
    // The project named on the command line, as a full path; empty for none.
    std::string NamedProject;
    // The disc's folder, where relative paths lead; ends with the native separator.
    std::string DiscFolder;

    // The disc's default project: the named project, or default.tml in the program folder. Open
    // default file opens it and the splash peeks into it.
    std::string DefaultProjectPath() const;
};

// The context of a program in `programFolder` (a closing separator is added where it lacks one;
// empty when the system could not name it) started on `namedProject` (a full path; empty for
// none).
StartupContext MakeStartupContext(std::string programFolder, std::string namedProject = {});

}  // namespace tomlet
