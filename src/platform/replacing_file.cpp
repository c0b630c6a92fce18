#include "platform/replacing_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <random>
#include <system_error>

#include "platform/file_system.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

// The longest file name that common file systems hold: 255 bytes, on Windows 255 UTF-16 units.
// Temporary names are measured in UTF-8 bytes on Windows too, the stricter of the two, as a
// Windows folder may lie on a file system that counts bytes (a network share, Wine's host).
constexpr std::size_t MaxNameLength = 255;
// A temporary is named after its target: the name, the mark and a random suffix.
constexpr std::string_view TemporaryMark = ".tmp-";
constexpr std::size_t SuffixLength = 8;
constexpr std::string_view SuffixLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

NativeString Native(std::string_view ascii) {
    return NativeString(ascii.begin(), ascii.end());
}

std::string RandomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, SuffixLetters.size() - 1);
    std::string suffix(SuffixLength, ' ');
    for (char& letter : suffix)
        letter = SuffixLetters[pick(generator)];
    return suffix;
}

template <class Unit>
bool ContinuesCharacter(Unit unit) {
    if constexpr (sizeof(Unit) == 1)
        return (static_cast<unsigned char>(unit) & 0xC0) == 0x80;  // a UTF-8 continuation byte
    else
        return unit >= 0xDC00 && unit <= 0xDFFF;  // the second half of a UTF-16 pair
}

// The UTF-8 bytes that a unit of a native name comes to.
template <class Unit>
std::size_t Utf8Bytes(Unit unit) {
    if constexpr (sizeof(Unit) == 1) {
        return 1;
    } else {
        const auto code = static_cast<std::uint32_t>(unit);
        if (code < 0x80)
            return 1;
        if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))
            return 2;  // either half of a pair: four bytes for the two
        return 3;
    }
}

// The name of a file's temporaries up to their random suffix: its own name and the mark, the
// name cut between two characters where the whole would make too long a name.
NativeString TemporaryPrefix(const fs::path& target) {
    NativeString name = target.filename().native();
    const std::size_t room = MaxNameLength - TemporaryMark.size() - SuffixLength;
    std::size_t cut = 0;
    for (std::size_t bytes = 0; cut < name.size() && bytes + Utf8Bytes(name[cut]) <= room; ++cut)
        bytes += Utf8Bytes(name[cut]);
    while (cut > 0 && cut < name.size() && ContinuesCharacter(name[cut]))
        --cut;
    name.resize(cut);
    return name + Native(TemporaryMark);
}

bool IsTemporaryName(NativeStringView name, NativeStringView prefix) {
    return name.size() == prefix.size() + SuffixLength && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](auto unit) {
                           return unit > 0 && unit < 128 &&
                                  SuffixLetters.find(static_cast<char>(unit)) !=
                                      std::string_view::npos;
                       });
}

// Removes what saves of the same file left behind when they were killed: files named as its
// temporaries are, last written before this save began (a save running beside this one keeps
// writing its own).
void RemoveStaleTemporaries(const fs::path& folder, NativeStringView prefix,
                            fs::file_time_type saveBegan) {
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (IsTemporaryName(it->path().filename().native(), prefix) &&
            it->symlink_status(ignored).type() == fs::file_type::regular &&
            it->last_write_time(ignored) < saveBegan)
            fs::remove(it->path(), ignored);
    }
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target, SpecialTarget special)
    : m_target(std::move(target)), m_special(special) {}

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

bool ReplacingFile::Fail(std::string_view why) {
    m_error = m_target + ": " + std::string(why);
    return false;
}

void ReplacingFile::Discard() {
    m_file.reset();
    if (!m_temporary.empty()) {
        std::error_code ignored;
        fs::remove(m_temporary, ignored);
        m_temporary.clear();
    }
}

bool ReplacingFile::FindReplacedFile(bool& direct) {
    direct = false;
    // A descriptor's name (-o /dev/stdout): the file behind it may be open for appending, or
    // deleted, and replacing it by name would lose what it held or make a new one.
    if ((m_descriptor = NamedDescriptor(m_target))) {
        direct = m_special == SpecialTarget::WriteDirectly;
        return direct || Fail("an open descriptor of this program, not a file");
    }
    // What the system reaches through every link: a pipe behind /dev/stdout has no path of its
    // own to follow links to.
    const std::optional<FileFacts> reached = LookUpPath(m_target);
    if (reached && reached->IsDirectory)
        return Fail(std::make_error_code(std::errc::is_a_directory));
    if (reached && reached->IsSpecial) {
        m_replaced = NativePath(m_target);
        direct = m_special == SpecialTarget::WriteDirectly;
        return direct || Fail("a device, a pipe or a socket, not a file");
    }
    std::error_code error;
    const std::optional<std::string> followed = FollowLinks(m_target, error);
    if (!followed)
        return Fail(error);
    m_replaced = NativePath(*followed);
    if (!reached)
        return true;  // a new file
    if ((reached->Attributes & faReadOnly) != 0)
        return Fail("the file is read-only");
    if (reached->Links > 1)
        return Fail("the file has " + std::to_string(reached->Links) +
                    " names (hard links), which replacing it would part");
    return true;
}

bool ReplacingFile::CreateTemporary() {
    const NativeString prefix = TemporaryPrefix(m_replaced);
    const fs::path folder = m_replaced.parent_path();
    RemoveStaleTemporaries(folder, prefix, fs::file_time_type::clock::now());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = folder / (prefix + Native(RandomSuffix()));
        errno = 0;
        // Never take over a file that happens to exist under that name.
        if (std::FILE* file = CreateNewNativeFile(candidate, m_replaced)) {
            m_file.reset(file);
            m_temporary = std::move(candidate);
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool ReplacingFile::Open() {
    Discard();
    bool direct = false;
    if (!FindReplacedFile(direct))
        return false;
    if (!direct)
        return CreateTemporary();
    errno = 0;
    m_file.reset(m_descriptor ? OpenDescriptorCopy(*m_descriptor)
                              : OpenNativeFile(m_replaced, "wb"));
    return m_file ? true : Fail(errno);
}

bool ReplacingFile::Write(std::string_view bytes) {
    if (!m_file)
        return Fail(EBADF);
    errno = 0;
    // An empty view may hold a null pointer, which fwrite must not be handed.
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) != bytes.size())
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
    if (m_temporary.empty())
        return true;  // written directly

    std::error_code error;
    fs::rename(m_temporary, m_replaced, error);
    if (error)
        return Fail(error);
    m_temporary.clear();
    return true;
}

bool ReplaceWholeFile(const std::string& path, std::string_view content) {
    ReplacingFile file(path);
    return file.Open() && file.Write(content) && file.Commit();
}

}  // namespace tomlet
