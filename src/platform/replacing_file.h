#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tomlet {

// What becomes of a target that is a device, a pipe or a socket.
enum class SpecialTarget {
    Refuse,         // the program's own files: such a target is refused with the save error
    WriteDirectly,  // tomlet-cli's output (-o /dev/stdout, a pipe): written as it goes, no rename
};

// Writes a new version of a file beside it and renames it over the old one on Commit, so that
// the target is always either the old file or the complete new one. Until Commit succeeds the
// target is never touched; a writer destroyed without Commit removes its temporary file. Every
// file the program rewrites (projects, language files, settings) goes through here.
//
// A link is followed and the file it names replaced beside itself. A target that may not be
// replaced is refused: a folder, a read-only file, a file with more than one name (hard links,
// which a rename would part), and a device, pipe or socket or the name of one of the program's
// open descriptors (/dev/stdout, /dev/fd/N) unless it is to be written directly: a descriptor is
// then written where it stands, whatever file it holds open.
class ReplacingFile final {
public:
    explicit ReplacingFile(std::string target, SpecialTarget special = SpecialTarget::Refuse);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Checks the target, removes the temporaries that saves of it killed on the way left behind
    // (those older than this save), and creates the temporary file beside it, from its first
    // moment with the access rights (and, as far as the user may, the owner and group) of the
    // file it replaces: what it holds is never more open than the file.
    bool Open();
    bool Write(std::string_view bytes);
    // Closes the file and puts it in the target's place.
    bool Commit();

    // Why the last operation failed, naming the target.
    const std::string& Error() const { return m_error; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool Fail(std::error_code error);
    bool Fail(int error);  // an errno value; 0 counts as EIO
    bool Fail(std::string_view why);
    // Follows links to the file to replace and checks that it may be; false when refused.
    bool FindReplacedFile(bool& direct);
    bool CreateTemporary();
    void Discard();

    std::string m_target;  // as given, for messages
    SpecialTarget m_special;
    std::optional<int> m_descriptor;    // the descriptor the target names, written directly
    std::filesystem::path m_replaced;   // the target with links followed
    std::filesystem::path m_temporary;  // empty when writing directly
    std::unique_ptr<std::FILE, Closer> m_file;
    std::string m_error;
};

// Replaces a whole file with `content` through ReplacingFile; false when it fails.
bool ReplaceWholeFile(const std::string& path, std::string_view content);

}  // namespace tomlet
