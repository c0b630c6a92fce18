#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomlet {

class MessagePump;
struct FileIdentityStamp;

// What a record keeps of a file, to know it again under another name. A file whose content was
// read is known by its size and a 64-bit hash of its content; one only looked up (as a scan
// lists a large disc without reading it) by its stamp: which file it is on its volume, its size
// and when its content was last written. A rename or a move within the volume keeps all three,
// and a write changes the time.
struct FileFingerprint {
    std::uint64_t Size = 0;
    std::uint64_t Hash = 0;      // of the content; 0 when it was not read
    std::int64_t Modified = 0;   // nanoseconds since 1970
    std::uint64_t Identity = 0;  // the volume and the file's index on it; 0 when unknown
    bool operator==(const FileFingerprint&) const = default;
};

// Fingerprints by the FingerprintKey of the stored paths of a catalogue's files. The project file
// keeps no sizes, so a file whose object is gone is known only by what this record kept of it
// while it was there. A flat table: a record of a large disc is read and written without an
// allocation per file.
class FingerprintMap final {
public:
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    void reserve(size_t count);
    const FileFingerprint* Find(std::uint64_t key) const;
    // Adds or replaces; true when it added. `key` is never 0.
    bool Set(std::uint64_t key, const FileFingerprint& fingerprint);
    // Adds or replaces every entry of `other`.
    void SetAll(const FingerprintMap& other);
    template <class Visit>
    void ForEach(Visit visit) const {
        for (size_t i = 0; i < m_keys.size(); ++i)
            if (m_keys[i] != 0)
                visit(m_keys[i], m_fingerprints[i]);
    }
    bool operator==(const FingerprintMap& other) const;

private:
    size_t SlotOf(std::uint64_t key) const;

    // A power of two of slots, at most half of them in use. The keys lie apart from the
    // fingerprints: an update looks up every file of a large disc, so the fewer bytes the lookups
    // range over the better.
    std::vector<std::uint64_t> m_keys;  // 0: a free slot
    std::vector<FileFingerprint> m_fingerprints;
    size_t m_size = 0;
};

// A 64-bit hash of a stored path (in the catalogue's code page), never 0.
std::uint64_t FingerprintKey(std::string_view storedPath);

// The fingerprint of the regular file at `path` (in the process code page), its content read;
// nothing when it cannot be read. Lets window messages through between blocks of a large file.
std::optional<FileFingerprint> FingerprintOfFile(const std::string& path, MessagePump& pump);
// The fingerprint of a file that a listing or a look-up met, from its stamp: the stamp alone,
// unless the file was written so lately that a write in the same tick of the file system's
// clock could still leave its stamp as it is; then its content at `path` is read too.
std::optional<FileFingerprint> FingerprintOfStamped(const FileIdentityStamp& stamp,
                                                    const std::string& path, MessagePump& pump);

// Whether `found`, a file whose content an update read, is the file `gone` recorded, under
// another name: not empty, of the same size and content; where the content of the gone one was
// never read, the very same file, not written since.
bool IsSameFile(const FileFingerprint& gone, const FileFingerprint& found);

// Where the current user's record for a project file is kept, in UTF-8: a file named by a hash
// of the project file's absolute path in the user's data folder. Empty when the system names no
// such folder.
std::string FingerprintFileOf(const std::string& projectFile);

// The record in `file` (UTF-8); empty when there is none or it is damaged, as the record only
// spares work and pairs renamed files.
FingerprintMap LoadFingerprints(const std::string& file);
// Replaces the record in `file` (UTF-8), creating its folder; false when it cannot be written.
bool SaveFingerprints(const std::string& file, const FingerprintMap& fingerprints);

}  // namespace tomlet
