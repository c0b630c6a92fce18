#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/console_output.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Arguments, paths and everything printed are UTF-8 on every system: it holds any file name,
    // where Windows' ANSI code page would lose some.
    tomlet::SetProcessCodePage(tomlet::TextCodec::Utf8);
    tomlet::UseUnicodeConsole();
    const std::vector<std::string> arguments = tomlet::ProgramArguments(argc, argv);
    const int code = tomlet::cli::RunCli(arguments, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
