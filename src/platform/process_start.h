#pragma once

#include <string>

namespace tomlet {

// Starts a Windows command line, given in UTF-8: the program's path first, then its parameters as
// written. Returns at once; nothing waits for the program and a failure is not reported. Windows
// parses the line itself, as CreateProcess does. Elsewhere the line is split into words at
// blanks, double quotes grouping blanks (three in a row stand for one quote), and the first word
// names the program, looked up on the PATH unless it holds a '/'.
void StartDetachedCommandLine(const std::string& commandLine);

}  // namespace tomlet
