#include "core/web_page_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <memory>
#include <random>
#include <system_error>

#include "core/catalogue.h"
#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view FileListName = "files.txt";
// The first line of files.txt and a line of every index.html an export writes: what marks them
// as an export's own.
constexpr std::string_view FileListMarker = "Tomlet web page files";
constexpr std::string_view IndexMarker = "<meta name=\"generator\" content=\"Tomlet\">";
constexpr std::string_view StagingPrefix = ".tomlet-page-new-";
constexpr std::string_view OldPrefix = ".tomlet-page-old-";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

fs::path Below(const fs::path& folder, std::string_view asciiName) {
    return folder / fs::path(std::string(asciiName));
}

std::string RandomSuffix() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string suffix;
    for (int i = 0; i < 8; ++i)
        suffix += Letters[device() % (sizeof Letters - 1)];
    return suffix;
}

// The first `limit` bytes of a file; empty when it cannot be read.
std::string Head(const fs::path& path, std::size_t limit) {
    const File file(OpenNativeFile(path, "rb"));
    if (!file)
        return {};
    std::string bytes;
    char buffer[1 << 14];
    while (bytes.size() < limit) {
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get());
        if (read == 0)
            break;
        bytes.append(buffer, std::min(read, limit - bytes.size()));
    }
    return bytes;
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The names an export's files.txt lists; nothing when `pageFolder` holds no export's list.
std::optional<std::vector<std::string>> ListedFiles(const fs::path& pageFolder) {
    std::vector<std::string> lines = Lines(Head(Below(pageFolder, FileListName), 64 << 20));
    if (lines.empty() || lines.front() != FileListMarker)
        return std::nullopt;
    lines.front() = FileListName;
    return lines;
}

std::string Utf8Name(const fs::path& path) {
    return DisplayName(path.generic_string<fs::path::value_type>());
}

}  // namespace

WebPageFolder::WebPageFolder(std::string folder)
    : m_folder(std::move(folder)), m_native(NativePath(m_folder)) {}

WebPageFolder::~WebPageFolder() {
    std::error_code ignored;
    if (m_staging.empty())
        return;
    fs::remove_all(m_staging, ignored);
    if (m_createdFolder)
        fs::remove(m_native, ignored);  // only when empty
}

bool WebPageFolder::Fail(const std::string& why) {
    m_error = why;
    return false;
}

bool WebPageFolder::FailAt(const fs::path& path, const std::error_code& error) {
    return Fail(ProcessCodec().FromUtf8(DisplayName(path.native())) + ": " +
                ProcessCodec().FromUtf8(error.message()));
}

bool WebPageFolder::Open() {
    std::error_code error;
    m_createdFolder = fs::create_directories(m_native, error);
    if (error)
        return FailAt(m_native, error);
    if (!fs::is_directory(m_native, error))
        return Fail(m_folder + ": not a folder");
    if (!CheckReplaceable())
        return false;
    RemoveLeftovers();
    const fs::path staging = Below(m_native, std::string(StagingPrefix) + RandomSuffix());
    fs::create_directory(staging, error);
    if (error)
        return FailAt(staging, error);
    m_staging = staging;
    // Marked at once, so that the next export can tell it from anything else should this one be
    // killed.
    return Write(FileListName, std::string(FileListMarker) + "\n");
}

bool WebPageFolder::CheckReplaceable() {
    const auto notOurs = [&](const fs::path& path) {
        return Fail(FormatString(Text(TextId::message_WebPageNotOurs_S),
                                 ProcessCodec().FromUtf8(DisplayName(path.native()))));
    };
    std::error_code error;
    const fs::path index = Below(m_native, WebPageIndexName);
    if (fs::exists(fs::symlink_status(index, error)) &&
        (!fs::is_regular_file(index, error) ||
         Head(index, 64 << 10).find(IndexMarker) == std::string::npos))
        return notOurs(index);

    const fs::path page = Below(m_native, WebPageFolderName);
    if (!fs::exists(fs::symlink_status(page, error)))
        return true;
    if (fs::is_symlink(page, error) || !fs::is_directory(page, error))
        return notOurs(page);
    const auto listed = ListedFiles(page);
    if (!listed)
        return notOurs(page);
    for (auto it = fs::recursive_directory_iterator(page, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            continue;
        const std::string name = Utf8Name(it->path().lexically_relative(page));
        if (std::find(listed->begin(), listed->end(), name) == listed->end())
            return notOurs(it->path());
    }
    return error ? FailAt(page, error) : true;
}

void WebPageFolder::RemoveLeftovers() const {
    std::error_code error;
    std::vector<fs::path> leftovers;
    for (auto it = fs::directory_iterator(m_native, error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = Utf8Name(it->path().filename());
        if ((name.starts_with(StagingPrefix) || name.starts_with(OldPrefix)) &&
            it->is_directory(error) && !it->is_symlink(error) && ListedFiles(it->path()))
            leftovers.push_back(it->path());
    }
    for (const fs::path& leftover : leftovers)
        fs::remove_all(leftover, error);
}

bool WebPageFolder::Write(std::string_view relative, std::string_view bytes) {
    const fs::path path = m_staging / fs::path(std::string(relative)).make_preferred();
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error)
        return FailAt(path.parent_path(), error);
    const File file(OpenNativeFile(path, "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0)
        return FailAt(path, std::error_code(errno != 0 ? errno : EIO, std::generic_category()));
    if (relative != FileListName)
        m_written.emplace_back(relative);
    return true;
}

bool WebPageFolder::Commit(std::string_view indexHtml) {
    std::string list = std::string(FileListMarker) + "\n";
    for (const std::string& name : m_written)
        list.append(name).append("\n");
    if (!Write(FileListName, list))
        return false;
    // Written beside index.html now, put in its place last: an earlier index.html serves the new
    // page as well should that last step fail.
    ReplacingFile index(m_folder + static_cast<char>(fs::path::preferred_separator) +
                        std::string(WebPageIndexName));
    if (!index.Open() || !index.Write(indexHtml))
        return Fail(index.Error());

    std::error_code error;
    const fs::path page = Below(m_native, WebPageFolderName);
    const fs::path old = Below(m_native, std::string(OldPrefix) + RandomSuffix());
    const bool hadPage = fs::exists(page, error);
    if (hadPage) {
        fs::rename(page, old, error);
        if (error)
            return FailAt(page, error);
    }
    fs::rename(m_staging, page, error);
    if (error) {
        std::error_code ignored;
        if (hadPage)
            fs::rename(old, page, ignored);
        return FailAt(page, error);
    }
    m_staging.clear();
    if (hadPage)
        fs::remove_all(old, error);
    return index.Commit() || Fail(index.Error());
}

}  // namespace tomlet
