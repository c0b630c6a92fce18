#pragma once

#include <initializer_list>
#include <string>

namespace tomlet {

// The command that opens a text file for reading and editing where the system has no notepad:
// $VISUAL unless it names an editor that needs a terminal, else the first desktop text editor
// found on the PATH, else xdg-open (the desktop's program for text files). Program and leading
// arguments separated by blanks, as $VISUAL is written. On Windows: notepad.exe.
std::string TextEditorCommand();

// The first of `programs` that is an executable file in one of the folders of `searchPath`
// (a PATH-style list); empty when none is, and always on Windows, which looks for no editor.
std::string FirstProgramOnPath(const std::string& searchPath,
                               std::initializer_list<const char*> programs);

}  // namespace tomlet
