#pragma once

#include <string>

namespace tomlet {

// Starts a Windows command line, given in UTF-8: the program's path first, then its parameters as
// written. Returns once the program has started (nothing waits for it to end): empty, or the
// system's reason, in UTF-8, why it could not be started. Windows
// parses the line itself, as CreateProcess does. Elsewhere the line is split into words at
// blanks, double quotes grouping blanks (three in a row stand for one quote), and the first word
// names the program, looked up on the PATH unless it holds a '/'.
std::string StartDetachedCommandLine(const std::string& commandLine);

}  // namespace tomlet
