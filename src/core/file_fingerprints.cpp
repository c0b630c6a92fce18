#include "core/file_fingerprints.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "core/limits.h"
#include "core/progress.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/text_codec.h"
#include "platform/user_folders.h"

namespace tomlet {

namespace {

constexpr std::string_view RecordMagic = "Tomlet fingerprints 3\n";
constexpr size_t EntryBytes = 5 * 8;
constexpr std::uint64_t Prime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t Prime2 = 0xC2B2AE3D27D4EB4FULL;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::uint64_t Mixed(std::uint64_t hash) {
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    return hash;
}

// A 64-bit hash that reads eight bytes a step, the same on every system. Only the last block
// added may end between two steps; its last bytes make one step. (The length, mixed in at the
// end, tells them from the same bytes followed by zeros.)
class ContentHash final {
public:
    void Add(const unsigned char* bytes, size_t count) {
        for (; count >= 8; bytes += 8, count -= 8)
            Step(bytes, 8);
        if (count > 0)
            Step(bytes, count);
    }
    std::uint64_t Value() const { return m_hash; }

private:
    void Step(const unsigned char* bytes, size_t count) {
        std::uint64_t word = 0;
        for (size_t i = count; i-- > 0;)
            word = (word << 8) | bytes[i];
        m_hash = Mixed((m_hash ^ word) * Prime1);
    }

    std::uint64_t m_hash = Prime2;
};

std::uint64_t TextHash(std::string_view text) {
    ContentHash hash;
    hash.Add(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return Mixed(hash.Value() ^ text.size());
}

// Little-endian, the same on every system.
void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    char number[8];
    for (int i = 0; i < bytes; ++i)
        number[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    out.append(number, static_cast<size_t>(bytes));
}

std::uint64_t IdentityOf(const FileIdentityStamp& stamp) {
    return stamp.Index == 0 && stamp.Volume == 0
               ? 0
               : Mixed(Mixed(stamp.Volume * Prime1) ^ stamp.Index) | 1;
}

// A write within this time before a file was looked up may have left its modification time
// unchanged: file systems keep it in ticks, up to FAT's two seconds.
constexpr std::int64_t UnsettledNanoseconds = 5'000'000'000;

bool IsUnsettled(const FileIdentityStamp& stamp) {
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    return stamp.Modified > now - UnsettledNanoseconds;
}

}  // namespace

void FingerprintMap::reserve(size_t count) {
    size_t capacity = 16;
    while (capacity < 2 * count)
        capacity *= 2;
    if (capacity <= m_keys.size())
        return;
    std::vector<std::uint64_t> keys(capacity);
    std::vector<FileFingerprint> fingerprints(capacity);
    std::swap(keys, m_keys);
    std::swap(fingerprints, m_fingerprints);
    m_size = 0;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] != 0)
            Set(keys[i], fingerprints[i]);
}

size_t FingerprintMap::SlotOf(std::uint64_t key) const {
    const size_t mask = m_keys.size() - 1;
    size_t i = static_cast<size_t>(key) & mask;
    while (m_keys[i] != 0 && m_keys[i] != key)
        i = (i + 1) & mask;
    return i;
}

const FileFingerprint* FingerprintMap::Find(std::uint64_t key) const {
    if (m_keys.empty())
        return nullptr;
    const size_t slot = SlotOf(key);
    return m_keys[slot] == key ? &m_fingerprints[slot] : nullptr;
}

bool FingerprintMap::Set(std::uint64_t key, const FileFingerprint& fingerprint) {
    if (2 * (m_size + 1) > m_keys.size())
        reserve(std::max<size_t>(m_size + 1, m_keys.size()));
    const size_t slot = SlotOf(key);
    const bool added = m_keys[slot] == 0;
    m_keys[slot] = key;
    m_fingerprints[slot] = fingerprint;
    m_size += added ? 1 : 0;
    return added;
}

void FingerprintMap::SetAll(const FingerprintMap& other) {
    other.ForEach(
        [this](std::uint64_t key, const FileFingerprint& fingerprint) { Set(key, fingerprint); });
}

bool FingerprintMap::operator==(const FingerprintMap& other) const {
    if (m_size != other.m_size)
        return false;
    bool same = true;
    ForEach([&](std::uint64_t key, const FileFingerprint& fingerprint) {
        const FileFingerprint* theirs = other.Find(key);
        same = same && theirs != nullptr && *theirs == fingerprint;
    });
    return same;
}

std::uint64_t FingerprintKey(std::string_view storedPath) {
    const std::uint64_t key = TextHash(storedPath);
    return key != 0 ? key : 1;
}

std::optional<FileFingerprint> FingerprintOfFile(const std::string& path, MessagePump& pump) {
    const FileHandle file(OpenFile(path, "rb"));
    const std::optional<FileIdentityStamp> stamp =
        file ? StampOfOpenFile(file.get()) : std::nullopt;
    if (!stamp)
        return std::nullopt;
    // Read in blocks of its own: a buffer of the stream's would only be copied from.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    constexpr size_t BlockSize = 64 * 1024;
    unsigned char block[BlockSize];
    std::uint64_t size = 0;
    ContentHash hash;
    for (;;) {
        const size_t read = std::fread(block, 1, BlockSize, file.get());
        hash.Add(block, read);
        size += read;
        if (read < BlockSize)
            break;
        pump.LetMessagesThrough();
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    // The size read, which a write since the look-up may have made another.
    const std::uint64_t content = Mixed(hash.Value() ^ size);
    return FileFingerprint{size, content != 0 ? content : 1, stamp->Modified, IdentityOf(*stamp)};
}

std::optional<FileFingerprint> FingerprintOfStamped(const FileIdentityStamp& stamp,
                                                    const std::string& path, MessagePump& pump) {
    if (IsUnsettled(stamp))
        return FingerprintOfFile(path, pump);
    return FileFingerprint{stamp.Size, 0, stamp.Modified, IdentityOf(stamp)};
}

bool IsSameFile(const FileFingerprint& gone, const FileFingerprint& found) {
    if (gone.Size == 0 || gone.Size != found.Size)
        return false;
    if (gone.Hash != 0)
        return gone.Hash == found.Hash;
    return gone.Identity != 0 && gone.Identity == found.Identity && gone.Modified == found.Modified;
}

std::string FingerprintFileOf(const std::string& projectFile) {
    std::string folder = UserDataFolder();
    if (folder.empty())
        return {};
    const std::string absolute = ProcessCodec().ToUtf8(AbsolutePath(projectFile));
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.dat",
                  static_cast<unsigned long long>(TextHash(absolute)));
    // Joined as text: a std::filesystem::path made of UTF-8 bytes reads them otherwise on mingw.
    if (folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder + "Tomlet/fingerprints/" + name;
}

FingerprintMap LoadFingerprints(const std::string& file) {
    FingerprintMap fingerprints;
    const std::filesystem::path native = NativePathFromUtf8(file);
    const FileHandle stream(OpenNativeFile(native, "rb"));
    if (!stream)
        return fingerprints;
    // Read whole: a record holds a few dozen bytes per file of the disc.
    std::string bytes;
    std::error_code error;
    if (const auto size = std::filesystem::file_size(native, error); !error)
        bytes.reserve(static_cast<size_t>(std::min<std::uintmax_t>(size, 1u << 30)));
    char block[64 * 1024];
    for (size_t read; (read = std::fread(block, 1, sizeof block, stream.get())) > 0;)
        bytes.append(block, read);
    if (!bytes.starts_with(RecordMagic) || bytes.size() < RecordMagic.size() + 4)
        return fingerprints;
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data()) + RecordMagic.size();
    const auto number = [&at](int count) {
        std::uint64_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = (value << 8) | at[i];
        at += count;
        return value;
    };
    const std::uint64_t count = number(4);
    if (count > static_cast<std::uint64_t>(MaxObjects) ||
        bytes.size() - RecordMagic.size() - 4 != count * EntryBytes)
        return fingerprints;
    fingerprints.reserve(static_cast<size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t key = number(8);
        FileFingerprint fingerprint;
        fingerprint.Size = number(8);
        fingerprint.Hash = number(8);
        fingerprint.Modified = static_cast<std::int64_t>(number(8));
        fingerprint.Identity = number(8);
        if (key == 0)
            return {};
        fingerprints.Set(key, fingerprint);
    }
    return fingerprints;
}

bool SaveFingerprints(const std::string& file, const FingerprintMap& fingerprints) {
    const std::filesystem::path native = NativePathFromUtf8(file);
    std::error_code error;
    std::filesystem::create_directories(native.parent_path(), error);
    std::string content(RecordMagic);
    content.reserve(content.size() + 4 + fingerprints.size() * EntryBytes);
    PutNumber(content, fingerprints.size(), 4);
    fingerprints.ForEach([&](std::uint64_t key, const FileFingerprint& fingerprint) {
        PutNumber(content, key, 8);
        PutNumber(content, fingerprint.Size, 8);
        PutNumber(content, fingerprint.Hash, 8);
        PutNumber(content, static_cast<std::uint64_t>(fingerprint.Modified), 8);
        PutNumber(content, fingerprint.Identity, 8);
    });
    const auto path = CodePagePath(native);
    return path && ReplaceWholeFile(*path, content);
}

}  // namespace tomlet
