#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace tomlet::cli {

// What one run of the command-line tool printed and returned.
struct CliRun {
    int Code;
    std::string Out;
    std::string Err;
};

inline CliRun Cli(std::vector<std::string> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(arguments, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace tomlet::cli
