#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <sstream>

#include "cli/commands.h"
#include "cli/output_text.h"

namespace tomlet::cli {

namespace {

constexpr Command CommandTable[] = {
    {"dump", "FILE.tml [--code-page N]",
     "Prints the project properties, then the object tree, one object per line, indented by\n"
     "level (past 64 levels the level is written out): caption, [type, action] and the stored\n"
     "path. Control characters in texts are printed escaped (\\r, \\n, \\t, \\x1B, ...).",
     "--code-page", "", RunDump},
    {"export", "FILE.tml [--code-page N] [--lossy]",
     "Prints the project as JSON: {\"version\":[0,2],\"project\":{...},\"objects\":[{...,\n"
     "\"children\":[...]}]}. Numbers appear as stored; texts are decoded from the code page.\n"
     "Texts holding bytes the code page does not define are refused (exit 1), since import\n"
     "would not give them back; --lossy exports them with U+FFFD in place of those bytes.",
     "--code-page", "--lossy", RunExport},
    {"import", "FILE.json -o FILE.tml [--code-page N] [--lossy]",
     "Writes the project described by JSON in the shape that export prints. Export followed\n"
     "by import gives back the same bytes. A text the code page cannot hold is refused (exit\n"
     "1, nothing written); --lossy imports it with '?' for each character the code page lacks.",
     "-o --code-page", "--lossy", RunImport},
    {"scan", "DIR [--mask MASK]... [--no-nested] [--relative] [--code-page N] -o FILE.tml",
     "Writes a new project whose data directory is DIR, filled as the editor's \"Scan directory\n"
     "of project data\" fills it: every folder (hidden and dot-named ones left out), each\n"
     "followed by its content, then the files each --mask matches, mask by mask (\"*.*\" for\n"
     "every file; without --mask only folders). --no-nested leaves subfolders empty;\n"
     "--relative sets relative paths. Prints the number of objects. A folder reached again\n"
     "through a link is added without its content. What cannot be listed or stored (a folder\n"
     "that cannot be read, a name the code page cannot hold, a name holding '\\') is left out,\n"
     "named on standard error with the reason, and makes the exit code 1. The files are\n"
     "recorded for this user, so that the first update finds those renamed or moved since.",
     "--mask -o --code-page", "--no-nested --relative", RunScan},
    {"update",
     "FILE.tml [--mask MASK]... [--no-nested] [--keep-missing] [--no-renames] [--dry-run] "
     "[--data-dir DIR] [--code-page N] [-o OUT.tml]",
     "Brings the project up to date with its folder on disc, keeping everything written in it.\n"
     "Lists the folder as scan does (the same --mask and --no-nested) and prints a line per\n"
     "change, then a summary: \"+ path\" for a file or folder that no object names, added under\n"
     "the object of its folder; \"- path\" for an object whose file or folder is gone, deleted\n"
     "unless --keep-missing is given; \"~ path\" for an object whose folder is now a file or\n"
     "whose file a folder, which takes the type and action of what is there; \"~ old -> new\"\n"
     "for a file renamed or moved: a gone file and a new one that is it, whose object takes\n"
     "the new path and keeps its texts and place (a gone file pairs once; another file of that\n"
     "content is named on standard error and added as new). A gone file is known from what\n"
     "this user's scan and earlier updates of FILE.tml recorded of it: the very same file, of\n"
     "the same size and not written since, or, for a file an update read, one of the same size\n"
     "and content; --no-renames neither pairs nor records. Virtual folders,\n"
     "objects without a path and paths outside the folder are left alone. The folder is the\n"
     "data directory, in relative mode the folder of FILE.tml (where Tomlet lies on a disc);\n"
     "where nothing the project names is found there it stops, and --data-dir names another.\n"
     "FILE.tml is replaced in one step, or OUT.tml written; --dry-run writes nothing. What the\n"
     "listing leaves out is named as scan names it (exit 1); nothing in a folder that cannot\n"
     "be read counts as gone.",
     "--mask -o --data-dir --code-page", "--no-nested --keep-missing --no-renames --dry-run",
     RunUpdate},
    {"html", "FILE.tml -o DIR [--code-page N] [--language FILE.lng]",
     "Writes the project as a web page that any browser shows from DIR without a server:\n"
     "DIR/index.html and the folder DIR/tomlet-page (script, style sheet, pictures, data). The\n"
     "page shows the tree with its icons, hints, comments and description, finds objects and\n"
     "opens their files by links relative to index.html, when DIR lies on the disc (the folder\n"
     "of FILE.tml, or the data directory in absolute mode; that folder itself is best). An\n"
     "earlier page in DIR is replaced; nothing else is: an index.html or files that no export\n"
     "wrote stop the command (exit 1) before anything is written. --language takes the page's\n"
     "texts from a language file. Prints the number of objects.",
     "-o --code-page --language", "", RunHtml},
    {"check", "FILE.tml",
     "Reads the project. Prints the number of objects and exits 0 when it is readable;\n"
     "otherwise prints why (not a project file or damaged, of a newer version, cannot be\n"
     "opened) on standard error and exits 1.",
     "", "", RunCheck},
    {"find", "FILE.tml TEXT [--fields LIST] [--case-sensitive] [--code-page N]",
     "Prints every object that holds TEXT, from the first in depth-first order: its index,\n"
     "caption and stored path (control characters escaped as dump prints them), separated by\n"
     "tabs, one object per line. LIST names the fields looked in, separated by commas:\n"
     "caption (the default), hint, path, parameters, comments. Letters match in either case\n"
     "unless --case-sensitive is given. Exits 1 when no object matches.",
     "--fields --code-page", "--case-sensitive", RunFind},
    {"shelf",
     "add PATH... [--code-page N] | remove PATH... | list [--json] | refresh | search TEXT "
     "[--fields LIST] [--case-sensitive] [--type T] [--catalogue FILE] [--limit N] [--json]; "
     "each with [--shelf FILE]",
     "The shelf: catalogues put together, so that one search finds objects on every disc at\n"
     "once. It is the file --shelf names, else the one the environment variable TOMLET_SHELF\n"
     "names, else Tomlet/shelf.sqlite in the user's data folder ($XDG_DATA_HOME or\n"
     "~/.local/share; %LOCALAPPDATA% on Windows); it is only an index, made again from the\n"
     "catalogues when it cannot be used (the old file is kept beside it).\n"
     "add: puts catalogues on the shelf, and every *.tml file found in the folders named\n"
     "(walked as scan walks them), and indexes them, their texts in --code-page (the system's\n"
     "by default). remove: takes catalogues off the shelf, and those below the folders named.\n"
     "list: one line per catalogue: online, offline, missing, damaged or not-indexed, its\n"
     "objects, when it was indexed, its project name and its file (then the reader's message).\n"
     "refresh: reads again every catalogue whose file changed; one whose file is gone stays\n"
     "searchable, marked missing; one that cannot be read keeps what was found before.\n"
     "search: one line per object that holds TEXT, in shelf order: the catalogue's project\n"
     "name, the object's place in the tree (\"Setup / Drivers / net.inf\"), its stored and its\n"
     "resolved path, separated by tabs, control characters escaped; then the count. LIST as\n"
     "for find (caption,path by default); T a type as the editor names it (\"Text file\") or\n"
     "its number; FILE a catalogue on the shelf; N the most lines printed. Exits 1 when no\n"
     "object matches. add and refresh show their progress on standard error on a terminal,\n"
     "and exit 1 when something could not be read.",
     "--shelf --code-page --fields --type --catalogue --limit", "--json --case-sensitive",
     RunShelf},
};

bool Accepts(std::string_view options, std::string_view name) {
    std::istringstream names{std::string(options)};
    for (std::string option; names >> option;)
        if (option == name)
            return true;
    return false;
}

bool IsHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : CommandTable)
        if (command.Name == name)
            return &command;
    return nullptr;
}

}  // namespace

Arguments::Arguments(std::span<const std::string> raw, std::string_view options,
                     std::string_view flags) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const std::string& argument = raw[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            m_plain.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (Accepts(flags, argument)) {
            m_flags.push_back(argument);
        } else if (!Accepts(options, argument)) {
            throw UsageError("unknown option " + argument);
        } else if (i + 1 == raw.size()) {
            throw UsageError(argument + " needs a value");
        } else {
            m_options.emplace_back(argument, raw[++i]);
        }
    }
}

std::optional<std::string> Arguments::Option(std::string_view name) const {
    // The last one given counts.
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it)
        if (it->first == name)
            return it->second;
    return std::nullopt;
}

std::vector<std::string> Arguments::Options(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [option, value] : m_options)
        if (option == name)
            values.push_back(value);
    return values;
}

bool Arguments::Flag(std::string_view name) const {
    return std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
}

const std::string& Arguments::Single() const {
    if (m_plain.size() != 1)
        throw UsageError(m_plain.empty() ? "a file is needed" : "too many arguments");
    return m_plain.front();
}

TextCodec Arguments::Codec() const {
    const auto value = Option("--code-page");
    if (!value)
        return TextCodec(SystemCodePage());
    int codePage = 0;
    const char* end = value->data() + value->size();
    const auto [stop, error] = std::from_chars(value->data(), end, codePage);
    if (error != std::errc{} || stop != end || codePage <= 0)
        throw UsageError("--code-page needs a code page number such as 1251 or 65001, not " +
                         *value);
    return TextCodec(codePage);
}

std::span<const Command> Commands() {
    return CommandTable;
}

std::string HelpText() {
    std::string text =
        "Usage: tomlet-cli COMMAND ARGUMENTS...\n"
        "\n"
        "Reads, checks and converts Tomlet project files (*.tml).\n"
        "\n"
        "Commands:\n";
    for (const Command& command : CommandTable) {
        text += "  " + std::string(command.Name) + " " + std::string(command.Usage) + "\n";
        std::istringstream lines{std::string(command.Description)};
        for (std::string line; std::getline(lines, line);)
            text += "      " + line + "\n";
    }
    text +=
        "\n"
        "Options:\n"
        "  --code-page N   code page of the texts in the project file (1251, 1252, ...; 65001 is\n"
        "                  UTF-8); the system's code page when not given\n"
        "  -o FILE         the file to write, replaced in one step (a link leads to the file it\n"
        "                  names; a read-only file is refused); a device or a pipe is written\n"
        "                  directly, an open descriptor (/dev/stdout, /dev/fd/N) through it\n"
        "  -h, --help      shows this help\n"
        "\n"
        "Output goes to standard output; errors go to standard error.\n"
        "\n"
        "Exit codes:\n"
        "  0  done\n"
        "  1  the command failed: the project file cannot be opened, is not a project file, is\n"
        "     damaged (objects nested deeper than 1000 levels included) or of a newer version,\n"
        "     the JSON is wrong, the file cannot be saved, the output cannot be written, export\n"
        "     or import would change texts, find or shelf search matched nothing, scan or update\n"
        "     left files or folders out, the folder an update compares is missing or holds\n"
        "     nothing the project names, or a catalogue put on the shelf or refreshed could not\n"
        "     be read. dump and find print as they read: what they printed before a damaged\n"
        "     part of the file stays printed.\n"
        "  2  the command line is wrong\n";
    return text;
}

int RunCli(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    if (std::any_of(arguments.begin(), arguments.end(), IsHelp)) {
        out << HelpText();
        return ExitOk;
    }
    if (arguments.empty()) {
        err << "tomlet-cli: a command is needed (tomlet-cli --help lists the commands)\n";
        return ExitUsage;
    }
    const Command* command = FindCommand(arguments.front());
    if (command == nullptr) {
        err << "tomlet-cli: unknown command " << arguments.front()
            << " (tomlet-cli --help lists the commands)\n";
        return ExitUsage;
    }
    try {
        const Arguments parsed(arguments.subspan(1), command->Options, command->Flags);
        const int code = command->Run(parsed, out, err);
        // A full disc or a closed pipe must not pass for a finished export.
        if (!out.flush()) {
            err << "tomlet-cli " << command->Name << ": the output cannot be written\n";
            return ExitFailure;
        }
        return code;
    } catch (const UsageError& error) {
        err << "tomlet-cli " << command->Name << ": " << error.what() << "\n"
            << "Usage: tomlet-cli " << command->Name << " " << command->Usage << "\n";
        return ExitUsage;
    } catch (const std::exception& error) {
        // Errors name files and quote texts of the project.
        err << "tomlet-cli " << command->Name << ": " << EscapeControls(error.what()) << "\n";
        return ExitFailure;
    }
}

}  // namespace tomlet::cli
