#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace tomlet {

// Writes a new version of a file beside it and renames it over the old one on Commit, so that
// the target is always either the old file or the complete new one. Until Commit succeeds the
// target is never touched; a writer destroyed without Commit removes its temporary file.
class ReplacingFile final {
public:
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file in the target's folder.
    bool Open();
    bool Write(std::string_view bytes);
    // Closes the file and puts it in the target's place, keeping the access rights of a file it
    // replaces.
    bool Commit();

    // Why the last operation failed, naming the target.
    const std::string& Error() const { return m_error; }
    const std::string& TemporaryPath() const { return m_temporary; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool Fail(std::error_code error);
    bool Fail(int error);  // an errno value; 0 counts as EIO
    void Discard();

    std::string m_target;
    std::string m_temporary;
    std::unique_ptr<std::FILE, Closer> m_file;
    std::string m_error;
};

}  // namespace tomlet
