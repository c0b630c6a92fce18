#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

const TextCodec& SystemCodec() {
    static const TextCodec codec(SystemCodePage());
    return codec;
}

// Names pass as they are unless a catalogue's code page was chosen by hand.
bool NamesNeedConversion() {
    return ProcessCodec().CodePage() != SystemCodec().CodePage();
}

}  // namespace

PathStyle SystemPathStyle() {
    return {'/', false, false};
}

fs::path NativePath(std::string_view path) {
    if (!NamesNeedConversion())
        return fs::path(std::string(path));
    return fs::path(SystemCodec().FromUtf8(ProcessCodec().ToUtf8(path)));
}

fs::path NativePathFromUtf8(std::string_view utf8) {
    if (SystemCodec().IsUtf8())
        return fs::path(std::string(utf8));
    return fs::path(SystemCodec().FromUtf8(utf8));
}

std::optional<std::string> CodePageName(NativeStringView name) {
    if (!NamesNeedConversion())
        return std::string(name);
    return ProcessCodec().FromUtf8Exactly(SystemCodec().ToUtf8(name));
}

std::optional<std::string> CodePagePath(const fs::path& path) {
    return CodePageName(path.native());
}

std::string DisplayName(NativeStringView name) {
    return SystemCodec().ToUtf8(name);
}

std::FILE* OpenNativeFile(const fs::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* CreateNewNativeFile(const fs::path& path) {
    return std::fopen(path.c_str(), "wbx");
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        if (NamesNeedConversion())
            arguments.push_back(ProcessCodec().FromUtf8(SystemCodec().ToUtf8(argv[i])));
        else
            arguments.emplace_back(argv[i]);
    }
    return arguments;
}

}  // namespace tomlet
