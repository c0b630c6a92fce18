#pragma once

#include <string>
#include <vector>

namespace tomlet::testing {

// Runs a program with the arguments, each passed whole, and waits for it; gives its exit code,
// -1 when it could not be started. Program and arguments are in the process code page; on
// Windows they travel as the wide command line, so any name reaches the program.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// A program built beside the tests in the build's bin/ folder, by its name without ".exe".
std::string BuiltProgram(const std::string& name);

}  // namespace tomlet::testing
