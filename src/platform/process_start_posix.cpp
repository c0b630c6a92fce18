#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <system_error>
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

std::string StartDetachedCommandLine(const std::string& commandLine) {
    std::vector<std::string> words = CommandWords(commandLine);
    if (words.empty())
        return std::generic_category().message(ENOENT);
    // Built before the fork: the child may only call what is safe between fork and exec.
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    // The program's error number comes back through a pipe that a successful exec closes.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return std::generic_category().message(errno);
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return std::generic_category().message(error);
    }
    if (child == 0) {
        // The program's own parent ends at once, so that the system, not this program, waits
        // for it.
        close(report[0]);
        setsid();
        const pid_t program = fork();
        if (program == 0)
            execvp(arguments[0], arguments.data());
        if (program <= 0) {
            const int error = errno;
            [[maybe_unused]] const auto written = write(report[1], &error, sizeof error);
        }
        _exit(program < 0 ? 127 : 0);
    }
    close(report[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got == sizeof error ? std::generic_category().message(error) : std::string();
}

}  // namespace tomlet
