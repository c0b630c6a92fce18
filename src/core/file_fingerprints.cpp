#include "core/file_fingerprints.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "core/limits.h"
#include "core/object_tree.h"
#include "core/progress.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/text_codec.h"
#include "platform/user_folders.h"

namespace tomlet {

namespace {

constexpr std::string_view RecordMagic = "Tomlet fingerprints 2\n";
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

// A 64-bit hash that reads eight bytes a step, the same on every system.
class ContentHash final {
public:
    void Add(const unsigned char* bytes, size_t count) {
        for (; count >= 8; bytes += 8, count -= 8) {
            std::uint64_t word = 0;
            for (int i = 7; i >= 0; --i)
                word = (word << 8) | bytes[i];
            m_hash = Mixed((m_hash ^ word) * Prime1);
        }
        for (; count > 0; ++bytes, --count)
            m_hash = Mixed((m_hash ^ *bytes) * Prime1);
    }
    std::uint64_t Value() const { return m_hash; }

private:
    std::uint64_t m_hash = Prime2;
};

std::uint64_t TextHash(std::string_view text) {
    ContentHash hash;
    hash.Add(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return Mixed(hash.Value() ^ text.size());
}

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::uint64_t FingerprintKey(std::string_view storedPath) {
    return TextHash(storedPath);
}

std::optional<FileFingerprint> FingerprintOfFile(const std::string& path, MessagePump& pump) {
    const FileHandle file(OpenFile(path, "rb"));
    if (!file)
        return std::nullopt;
    constexpr size_t BlockSize = 64 * 1024;
    unsigned char block[BlockSize];
    FileFingerprint fingerprint;
    ContentHash hash;
    for (;;) {
        const size_t read = std::fread(block, 1, BlockSize, file.get());
        hash.Add(block, read);
        fingerprint.Size += read;
        if (read < BlockSize)
            break;
        pump.LetMessagesThrough();
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    fingerprint.Hash = Mixed(hash.Value() ^ fingerprint.Size);
    return fingerprint;
}

bool KeepNamedFingerprints(FingerprintMap& fingerprints, const ObjectTree& catalogue) {
    std::unordered_set<std::uint64_t> named;
    named.reserve(static_cast<size_t>(catalogue.Count()));
    catalogue.ForEachDepthFirst(
        [&](const ObjectNode& node, int) { named.insert(FingerprintKey(node.Data.PathFileName)); });
    return std::erase_if(fingerprints,
                         [&](const auto& entry) { return !named.contains(entry.first); }) > 0;
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
    const FileHandle stream(OpenNativeFile(NativePathFromUtf8(file), "rb"));
    if (!stream)
        return fingerprints;
    // Read whole: a record holds a few dozen bytes per file of the disc.
    std::string bytes;
    char block[64 * 1024];
    for (size_t read; (read = std::fread(block, 1, sizeof block, stream.get())) > 0;)
        bytes.append(block, read);
    std::string_view rest = bytes;
    const auto take = [&rest](size_t count) {
        const std::string_view taken = rest.substr(0, std::min(count, rest.size()));
        rest.remove_prefix(taken.size());
        return taken;
    };
    const auto number = [&](int count) -> std::optional<std::uint64_t> {
        const std::string_view taken = take(static_cast<size_t>(count));
        if (taken.size() != static_cast<size_t>(count))
            return std::nullopt;
        std::uint64_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(taken[static_cast<size_t>(i)]);
        return value;
    };
    const auto count = take(RecordMagic.size()) == RecordMagic ? number(4) : std::nullopt;
    if (!count || *count > static_cast<std::uint64_t>(MaxObjects))
        return fingerprints;
    if (rest.size() != *count * 24)
        return fingerprints;
    fingerprints.reserve(static_cast<size_t>(*count));
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::uint64_t key = *number(8);
        const std::uint64_t size = *number(8);
        fingerprints.insert_or_assign(key, FileFingerprint{size, *number(8)});
    }
    return fingerprints;
}

bool SaveFingerprints(const std::string& file, const FingerprintMap& fingerprints) {
    const std::filesystem::path native = NativePathFromUtf8(file);
    std::error_code error;
    std::filesystem::create_directories(native.parent_path(), error);
    std::string content(RecordMagic);
    content.reserve(content.size() + 4 + fingerprints.size() * 24);
    PutNumber(content, fingerprints.size(), 4);
    for (const auto& [key, fingerprint] : fingerprints) {
        PutNumber(content, key, 8);
        PutNumber(content, fingerprint.Size, 8);
        PutNumber(content, fingerprint.Hash, 8);
    }
    const auto path = CodePagePath(native);
    return path && ReplaceWholeFile(*path, content);
}

void SaveNamedFingerprints(const std::string& file, FingerprintMap& fingerprints,
                           const ObjectTree& catalogue, size_t loaded) {
    // Fingerprints are only ever added by an update, and let go here.
    if (KeepNamedFingerprints(fingerprints, catalogue) || fingerprints.size() != loaded)
        SaveFingerprints(file, fingerprints);
}

}  // namespace tomlet
