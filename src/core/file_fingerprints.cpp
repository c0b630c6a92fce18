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

constexpr std::string_view RecordMagic = "Tomlet fingerprints 1\n";
constexpr std::uint32_t MaxRecordedPath = 32 * 1024;
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

std::uint64_t PathHash(std::string_view text) {
    ContentHash hash;
    hash.Add(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return hash.Value();
}

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool GetNumber(std::FILE* file, std::uint64_t& value, int bytes) {
    unsigned char buffer[8];
    if (std::fread(buffer, 1, static_cast<size_t>(bytes), file) != static_cast<size_t>(bytes))
        return false;
    value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | buffer[i];
    return true;
}

}  // namespace

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

void KeepNamedFingerprints(FingerprintMap& fingerprints, const ObjectTree& catalogue) {
    std::unordered_set<std::string_view> named;
    named.reserve(static_cast<size_t>(catalogue.Count()));
    catalogue.ForEachDepthFirst(
        [&](const ObjectNode& node, int) { named.insert(node.Data.PathFileName); });
    std::erase_if(fingerprints, [&](const auto& entry) { return !named.contains(entry.first); });
}

std::string FingerprintFileOf(const std::string& projectFile) {
    std::string folder = UserDataFolder();
    if (folder.empty())
        return {};
    const std::string absolute = ProcessCodec().ToUtf8(AbsolutePath(projectFile));
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.dat",
                  static_cast<unsigned long long>(PathHash(absolute)));
    return (std::filesystem::path(folder) / "Tomlet" / "fingerprints" / name).generic_string();
}

FingerprintMap LoadFingerprints(const std::string& file) {
    FingerprintMap fingerprints;
    const FileHandle stream(OpenNativeFile(NativePathFromUtf8(file), "rb"));
    if (!stream)
        return fingerprints;
    std::string magic(RecordMagic.size(), '\0');
    std::uint64_t count = 0;
    if (std::fread(magic.data(), 1, magic.size(), stream.get()) != magic.size() ||
        magic != RecordMagic || !GetNumber(stream.get(), count, 4) ||
        count > static_cast<std::uint64_t>(MaxObjects))
        return fingerprints;
    fingerprints.reserve(static_cast<size_t>(count));
    std::string path;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t length = 0;
        FileFingerprint fingerprint;
        if (!GetNumber(stream.get(), length, 4) || length > MaxRecordedPath)
            return {};
        path.resize(static_cast<size_t>(length));
        if (std::fread(path.data(), 1, path.size(), stream.get()) != path.size() ||
            !GetNumber(stream.get(), fingerprint.Size, 8) ||
            !GetNumber(stream.get(), fingerprint.Hash, 8))
            return {};
        fingerprints.insert_or_assign(path, fingerprint);
    }
    return fingerprints;
}

bool SaveFingerprints(const std::string& file, const FingerprintMap& fingerprints) {
    const std::filesystem::path native = NativePathFromUtf8(file);
    std::error_code error;
    std::filesystem::create_directories(native.parent_path(), error);
    std::string content(RecordMagic);
    content.reserve(content.size() + fingerprints.size() * 48);
    // A path too long to read back is left out of the record.
    const auto recorded = [](const auto& entry) { return entry.first.size() <= MaxRecordedPath; };
    PutNumber(content, static_cast<std::uint64_t>(std::ranges::count_if(fingerprints, recorded)),
              4);
    for (const auto& entry : fingerprints) {
        if (!recorded(entry))
            continue;
        const auto& [path, fingerprint] = entry;
        PutNumber(content, path.size(), 4);
        content += path;
        PutNumber(content, fingerprint.Size, 8);
        PutNumber(content, fingerprint.Hash, 8);
    }
    const auto path = CodePagePath(native);
    return path && ReplaceWholeFile(*path, content);
}

}  // namespace tomlet
