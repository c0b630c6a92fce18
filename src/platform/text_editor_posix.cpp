#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "platform/text_editor.h"

namespace tomlet {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Editors that draw inside a terminal: started without one they show nothing.
bool NeedsTerminal(std::string_view command) {
    static constexpr std::array<std::string_view, 16> terminalEditors{
        "vi",    "vim", "nvim", "view", "nano",   "pico", "ed", "ex",
        "micro", "joe", "jed",  "ne",   "mcedit", "kak",  "hx", "helix"};
    command.remove_prefix(std::min(command.find_first_not_of(' '), command.size()));
    std::string_view program = command.substr(0, command.find(' '));
    if (const auto slash = program.rfind('/'); slash != std::string_view::npos)
        program.remove_prefix(slash + 1);
    return std::find(terminalEditors.begin(), terminalEditors.end(), program) !=
           terminalEditors.end();
}

}  // namespace

std::string FirstProgramOnPath(const std::string& searchPath,
                               std::initializer_list<const char*> programs) {
    for (const char* program : programs) {
        std::string_view rest = searchPath;
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            const std::string_view folder = rest.substr(0, colon);
            rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
            if (folder.empty())
                continue;
            const std::string candidate = std::string(folder) + '/' + program;
            if (access(candidate.c_str(), X_OK) == 0)
                return program;
        }
    }
    return {};
}

std::string TextEditorCommand() {
    if (const std::string visual = Environment("VISUAL");
        visual.find_first_not_of(' ') != std::string::npos && !NeedsTerminal(visual))
        return visual;
    const std::string editor = FirstProgramOnPath(
        Environment("PATH"), {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed",
                              "pluma", "featherpad", "leafpad", "geany"});
    return editor.empty() ? std::string("xdg-open") : editor;
}

}  // namespace tomlet
