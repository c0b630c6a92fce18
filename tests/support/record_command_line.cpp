// A program that tests start as an object's target: it writes how it was started to the file that
// TOMLET_RECORD_FILE names. On Windows that is the command line exactly as the system handed it
// over; elsewhere the arguments, one per line.
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
    const char* target = std::getenv("TOMLET_RECORD_FILE");
    if (target == nullptr)
        return 2;
    std::string record;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    const wchar_t* line = GetCommandLineW();
    record.resize(WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr));
    WideCharToMultiByte(CP_UTF8, 0, line, -1, record.data(), static_cast<int>(record.size()),
                        nullptr, nullptr);
    record.pop_back();  // the terminating zero
#else
    for (int i = 1; i < argc; ++i)
        record.append(argv[i]).append("\n");
#endif
    // Written whole under a temporary name, so that a reader never sees half of it.
    const std::string partial = std::string(target) + ".part";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr)
        return 1;
    const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    return std::fclose(file) == 0 && written && std::rename(partial.c_str(), target) == 0 ? 0 : 1;
}
