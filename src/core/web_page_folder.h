#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tomlet {

// The files of a web page in the making, and their safe replacement of an earlier page.
//
// A page is `index.html` in its folder and everything else in the folder `tomlet-page` beside
// it, whose `files.txt` names every file the export wrote there. A new page is written into a
// staging folder beside them and takes their place only on Commit, so a failed or cancelled
// export leaves the earlier page (or nothing) as it was. Only what an export wrote is ever
// replaced: an index.html of someone else's, or a file in `tomlet-page` that files.txt does not
// name, stops the export before anything is written.
class WebPageFolder final {
public:
    // `folder` in the process code page.
    explicit WebPageFolder(std::string folder);
    ~WebPageFolder();
    WebPageFolder(const WebPageFolder&) = delete;
    WebPageFolder& operator=(const WebPageFolder&) = delete;

    // Creates the folder when missing, checks that what lies there may be replaced, removes what
    // killed exports left behind and creates the staging folder. False with Error() when not.
    bool Open();
    // Writes a file below `tomlet-page` (names separated by '/').
    bool Write(std::string_view relative, std::string_view bytes);
    // Puts the staged page in the place of the earlier one and writes index.html.
    bool Commit(std::string_view indexHtml);

    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& why);
    bool FailAt(const std::filesystem::path& path, const std::error_code& error);
    bool CheckReplaceable();
    void RemoveLeftovers() const;

    std::string m_folder;
    std::filesystem::path m_native;
    std::filesystem::path m_staging;  // empty once committed or when never opened
    bool m_createdFolder = false;     // removed again, if still empty, unless committed
    std::vector<std::string> m_written;
    std::string m_error;
};

// The names of a page's parts.
inline constexpr std::string_view WebPageIndexName = "index.html";
inline constexpr std::string_view WebPageFolderName = "tomlet-page";

}  // namespace tomlet
