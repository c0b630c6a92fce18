#include "support/run_program.h"

#include "platform/file_system.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#endif

namespace tomlet::testing {

#ifdef _WIN32

int RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::wstring commandLine = L'"' + NativePath(program).native() + L'"';
    for (const std::string& argument : arguments)
        commandLine += L" \"" + NativePath(argument).native() + L'"';
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string BuiltProgram(const std::string& name) {
    return ExecutableFolder() + "..\\bin\\" + name + ".exe";
}

#else

int RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{NativePath(program).native()};
    for (const std::string& argument : arguments)
        words.push_back(NativePath(argument).native());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string BuiltProgram(const std::string& name) {
    return ExecutableFolder() + "../bin/" + name;
}

#endif

}  // namespace tomlet::testing
