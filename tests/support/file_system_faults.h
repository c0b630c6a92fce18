#pragma once

#include <cstdint>
#include <string>

// Real conditions that file-system code must survive, brought about for one test: a full disc, a
// folder the user may not read, a pipe, a tree deeper than the system's path limit. All hold on
// POSIX systems; on Windows only the last (tests that need the others skip there).
namespace tomlet::testing {

// Until the scope ends no file may grow beyond `bytes`: a write past it fails as on a full disc.
class ScopedFileSizeLimit final {
public:
    explicit ScopedFileSizeLimit(std::uint64_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    std::uint64_t m_old = 0;
    void (*m_oldHandler)(int) = nullptr;
};

// Until the scope ends this thread meets files as an ordinary user does: run as root (as the
// tests are here), it takes the rights of "nobody", so that a folder of mode 000 keeps it out.
class ScopedOrdinaryUser final {
public:
    ScopedOrdinaryUser();
    ~ScopedOrdinaryUser();
    ScopedOrdinaryUser(const ScopedOrdinaryUser&) = delete;
    ScopedOrdinaryUser& operator=(const ScopedOrdinaryUser&) = delete;

private:
    int m_oldFileUser = -1;
};

// Makes a named pipe (a FIFO) at a path; false where the system makes none (Windows).
bool MakeNamedPipe(const std::string& path);

// `levels` nested folders, each named `name`, below the folder `base`, with an empty file named
// `bottomFile` (unless empty) in the deepest. Made and removed without ever naming a whole path,
// so the chain may reach deeper than the system's limit on a path's length.
class FolderChain final {
public:
    FolderChain(std::string base, std::string name, int levels, std::string bottomFile = {});
    ~FolderChain();
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;

private:
    void Make() const;
    void Remove() const;

    std::string m_base;
    std::string m_name;
    int m_levels;
    std::string m_bottomFile;
};

}  // namespace tomlet::testing
