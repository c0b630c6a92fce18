#include "support/file_system_faults.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include <filesystem>
#include <stdexcept>

#include "platform/native_path.h"

namespace tomlet::testing {

namespace {

[[noreturn]] void Refuse(const std::string& what) {
    throw std::runtime_error("cannot " + what);
}

}  // namespace

#ifdef _WIN32

ScopedFileSizeLimit::ScopedFileSizeLimit(std::uint64_t) {}
ScopedFileSizeLimit::~ScopedFileSizeLimit() = default;
ScopedOrdinaryUser::ScopedOrdinaryUser() = default;
ScopedOrdinaryUser::~ScopedOrdinaryUser() = default;

bool MakeNamedPipe(const std::string&) {
    return false;
}

namespace {

// The long form of a path ("\\?\C:\..."), which the wide API takes beyond MAX_PATH.
std::wstring LongPath(const std::string& path) {
    return L"\\\\?\\" + std::filesystem::absolute(NativePath(path)).make_preferred().native();
}

}  // namespace

void FolderChain::Make() const {
    std::wstring path = LongPath(m_base);
    const std::wstring part = L"\\" + NativePath(m_name).native();
    for (int level = 0; level < m_levels; ++level) {
        path += part;
        if (!CreateDirectoryW(path.c_str(), nullptr))
            Refuse("make level " + std::to_string(level));
    }
    if (m_bottomFile.empty())
        return;
    const HANDLE file = CreateFileW((path + L"\\" + NativePath(m_bottomFile).native()).c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Refuse("make the bottom file");
    CloseHandle(file);
}

void FolderChain::Remove() const {
    std::wstring path = LongPath(m_base);
    const std::wstring part = L"\\" + NativePath(m_name).native();
    for (int level = 0; level < m_levels; ++level)
        path += part;
    if (!m_bottomFile.empty())
        DeleteFileW((path + L"\\" + NativePath(m_bottomFile).native()).c_str());
    for (int level = 0; level < m_levels; ++level) {
        RemoveDirectoryW(path.c_str());
        path.resize(path.size() - part.size());
    }
}

#else

ScopedFileSizeLimit::ScopedFileSizeLimit(std::uint64_t bytes) {
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    m_old = limit.rlim_cur;
    limit.rlim_cur = bytes;
    // Past the limit the system sends a signal that ends the process unless it is ignored; then
    // the write fails with EFBIG.
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        Refuse("limit the file size");
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_old;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}

ScopedOrdinaryUser::ScopedOrdinaryUser() {
    constexpr uid_t Nobody = 65534;
    if (geteuid() == 0)
        m_oldFileUser = setfsuid(Nobody);
}

ScopedOrdinaryUser::~ScopedOrdinaryUser() {
    if (m_oldFileUser >= 0)
        setfsuid(static_cast<uid_t>(m_oldFileUser));
}

bool MakeNamedPipe(const std::string& path) {
    return mkfifo(NativePath(path).c_str(), 0600) == 0;
}

namespace {

// Opens the folder `name` in the open folder `parent` and closes the parent.
int Descend(int parent, const char* name) {
    const int child = openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(parent);
    return child;
}

}  // namespace

void FolderChain::Make() const {
    const std::string part = NativePath(m_name).native();
    int folder = open(NativePath(m_base).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < m_levels && folder >= 0; ++level) {
        if (mkdirat(folder, part.c_str(), 0755) != 0) {
            close(folder);
            Refuse("make level " + std::to_string(level));
        }
        folder = Descend(folder, part.c_str());
    }
    if (folder < 0)
        Refuse("descend the chain");
    if (!m_bottomFile.empty()) {
        const int file = openat(folder, NativePath(m_bottomFile).c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (file < 0) {
            close(folder);
            Refuse("make the bottom file");
        }
        close(file);
    }
    close(folder);
}

void FolderChain::Remove() const {
    const std::string part = NativePath(m_name).native();
    int folder = open(NativePath(m_base).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < m_levels && folder >= 0; ++level)
        folder = Descend(folder, part.c_str());
    if (folder < 0)
        return;
    if (!m_bottomFile.empty())
        unlinkat(folder, NativePath(m_bottomFile).c_str(), 0);
    for (int level = 0; level < m_levels && folder >= 0; ++level) {
        folder = Descend(folder, "..");
        unlinkat(folder, part.c_str(), AT_REMOVEDIR);
    }
    if (folder >= 0)
        close(folder);
}

#endif

FolderChain::FolderChain(std::string base, std::string name, int levels, std::string bottomFile)
    : m_base(std::move(base)),
      m_name(std::move(name)),
      m_levels(levels),
      m_bottomFile(std::move(bottomFile)) {
    Make();
}

FolderChain::~FolderChain() {
    Remove();
}

}  // namespace tomlet::testing
