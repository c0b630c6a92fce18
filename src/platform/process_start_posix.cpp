#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "platform/process_start.h"

namespace tomlet {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The words of a command line, as Qt's QProcess::splitCommand takes them.
std::vector<std::string> CommandWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    int quotes = 0;
    bool quoted = false;
    for (const char c : commandLine) {
        if (c == '"') {
            if (++quotes == 3) {
                quotes = 0;
                word += c;
            }
            continue;
        }
        if (quotes == 1)
            quoted = !quoted;
        quotes = 0;
        if (quoted || !IsBlank(c)) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

}  // namespace

void StartDetachedCommandLine(const std::string& commandLine) {
    std::vector<std::string> words = CommandWords(commandLine);
    if (words.empty())
        return;
    // Built before the fork: the child may only call what is safe between fork and exec.
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return;
    if (child == 0) {
        // The program's own parent ends at once, so that the system, not this program, waits
        // for it.
        setsid();
        if (fork() == 0) {
            execvp(arguments[0], arguments.data());
            _exit(127);
        }
        _exit(0);
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace tomlet
