#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

std::FILE* OpenDescriptorCopy(int descriptor) {
    const int copy = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return nullptr;
    std::FILE* file = ::fdopen(copy, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(copy);
        errno = error;
    }
    return file;
}

std::FILE* CreateNewNativeFile(const fs::path& path, const fs::path& rightsOf) {
    struct stat model {};
    const bool modelled = !rightsOf.empty() && ::stat(rightsOf.c_str(), &model) == 0;
    // Only the owner may open it until it has the model's rights: a file that only the owner
    // may read never has a moment of being readable by all.
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modelled ? 0600 : 0666);
    if (descriptor < 0)
        return nullptr;
    if (modelled) {
        // Before the rights: a change of owner takes away set-user and set-group bits. Where the
        // user may give neither owner nor group, the file stays the user's, as a save makes it.
        if (::fchown(descriptor, model.st_uid, model.st_gid) != 0 &&
            ::fchown(descriptor, static_cast<uid_t>(-1), model.st_gid) != 0) {
        }
        ::fchmod(descriptor, model.st_mode & 07777);
    }
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
    }
    return file;
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
