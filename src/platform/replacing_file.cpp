#include "platform/replacing_file.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/native_path.h"

namespace tomlet {

namespace {

std::string RandomSuffix() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof(Letters) - 2);
    std::string suffix(8, ' ');
    for (char& letter : suffix)
        letter = Letters[pick(generator)];
    return suffix;
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target) : m_target(std::move(target)) {}

ReplacingFile::~ReplacingFile() {
    Discard();
}

bool ReplacingFile::Fail(std::error_code error) {
    m_error = m_target + ": " + error.message();
    return false;
}

bool ReplacingFile::Fail(int error) {
    return Fail(std::error_code(error != 0 ? error : EIO, std::generic_category()));
}

void ReplacingFile::Discard() {
    m_file.reset();
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(NativePath(m_temporary), ignored);
        m_temporary.clear();
    }
}

bool ReplacingFile::Open() {
    Discard();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = m_target + ".tmp-" + RandomSuffix();
        errno = 0;
        // Never take over a file that happens to exist under that name.
        std::FILE* file = CreateNewFile(candidate);
        if (file != nullptr) {
            m_file.reset(file);
            m_temporary = std::move(candidate);
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool ReplacingFile::Write(std::string_view bytes) {
    if (!m_file)
        return Fail(EBADF);
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) != bytes.size())
        return Fail(errno);
    return true;
}

bool ReplacingFile::Commit() {
    if (!m_file)
        return Fail(EBADF);
    errno = 0;
    // No sync to the disc: the rename already makes a crash of the program harmless, and
    // syncing a large project would cost more than writing it.
    if (std::fflush(m_file.get()) != 0 || std::fclose(m_file.release()) != 0)
        return Fail(errno);

    namespace fs = std::filesystem;
    const fs::path target = NativePath(m_target);
    const fs::path temporary = NativePath(m_temporary);
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (!error && fs::is_regular_file(old))
        fs::permissions(temporary, old.permissions(), error);
    fs::rename(temporary, target, error);
    if (error)
        return Fail(error);
    m_temporary.clear();
    return true;
}

}  // namespace tomlet
