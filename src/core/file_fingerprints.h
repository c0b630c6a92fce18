#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tomlet {

class MessagePump;
class ObjectTree;

// A file's size and a 64-bit hash of its content: two files alike in both hold the same bytes
// for every purpose an update has.
struct FileFingerprint {
    std::uint64_t Size = 0;
    std::uint64_t Hash = 0;
    bool operator==(const FileFingerprint&) const = default;
};

// The fingerprints of a catalogue's files by the FingerprintKey of their stored path, as earlier
// updates found them. The project file keeps no sizes, so a file whose object is gone is known
// only by what this record kept of it while it was there. Keys, not paths, keep a record of a
// large disc quick to read and write.
using FingerprintMap = std::unordered_map<std::uint64_t, FileFingerprint>;

// A 64-bit hash of a stored path (in the catalogue's code page).
std::uint64_t FingerprintKey(std::string_view storedPath);

// The fingerprint of the regular file at `path` (in the process code page); nothing when it
// cannot be read. Lets window messages through between blocks of a large file.
std::optional<FileFingerprint> FingerprintOfFile(const std::string& path, MessagePump& pump);

// Keeps the fingerprints of the paths that objects of `catalogue` name, and no others; true when
// it let some go.
bool KeepNamedFingerprints(FingerprintMap& fingerprints, const ObjectTree& catalogue);

// Where the current user's record for a project file is kept, in UTF-8: a file named by a hash
// of the project file's absolute path in the user's data folder. Empty when the system names no
// such folder.
std::string FingerprintFileOf(const std::string& projectFile);

// The record in `file` (UTF-8); empty when there is none or it is damaged, as the record only
// spares work and pairs renamed files.
FingerprintMap LoadFingerprints(const std::string& file);
// Replaces the record in `file` (UTF-8), creating its folder; false when it cannot be written.
bool SaveFingerprints(const std::string& file, const FingerprintMap& fingerprints);

// After an update: keeps the fingerprints of what `catalogue` names and saves them to `file`,
// unless they are the `loaded` fingerprints read from it, unchanged.
void SaveNamedFingerprints(const std::string& file, FingerprintMap& fingerprints,
                           const ObjectTree& catalogue, size_t loaded);

}  // namespace tomlet
