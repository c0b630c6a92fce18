#include "platform/text_editor.h"

namespace tomlet {

// Windows has its notepad; no editor is looked for.
std::string FirstProgramOnPath(const std::string&, std::initializer_list<const char*>) {
    return {};
}

std::string TextEditorCommand() {
    return "notepad.exe";
}

}  // namespace tomlet
