#include "support/web_page_data.h"

#include <filesystem>
#include <stdexcept>

#include "support/temp_folder.h"

namespace tomlet::testing {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// The arguments of the one call a data file makes: "name(arguments);".
Json CallArguments(const fs::path& file, std::string_view function) {
    const std::string text = ReadWholeFile(file.string());
    const std::string head = std::string(function) + "(";
    if (!text.starts_with(head) || !text.ends_with(");\n"))
        throw std::runtime_error(file.string() + " is not a call of " + std::string(function));
    return Json::parse("[" + text.substr(head.size(), text.size() - head.size() - 3) + "]");
}

class Reader {
public:
    explicit Reader(const fs::path& data, WebPageData& page) : m_data(data), m_page(page) {}

    std::vector<WebObject> Objects(const Json& blockRefs) {
        std::vector<WebObject> objects;
        for (const Json& ref : blockRefs) {
            const Json& block = DataFile(ref[0].get<int>()).at(ref[1].get<std::size_t>());
            m_page.LargestBlock = std::max(m_page.LargestBlock, block.size());
            for (const Json& entry : block)
                objects.push_back(Object(entry));
        }
        return objects;
    }

private:
    WebObject Object(const Json& entry) {
        WebObject object;
        object.Id = entry[0];
        object.Caption = entry[1];
        object.HintValues = entry[2].get<std::vector<std::string>>();
        object.Picture = entry[3];
        object.SelectedPicture = entry[4];
        if (entry[5].is_string())
            object.Link = entry[5];
        else
            object.Reason = entry[5];
        if (entry[6].is_array())
            object.Children = Objects(entry[6]);
        return object;
    }

    const Json& DataFile(int number) {
        const fs::path file = m_data / ("t" + std::to_string(number) + ".js");
        if (m_files.size() <= static_cast<std::size_t>(number))
            m_files.resize(number + 1);
        if (m_files[number].is_null()) {
            const Json arguments = CallArguments(file, "tomletData");
            if (arguments[0] != number)
                throw std::runtime_error(file.string() + " names another number");
            m_files[number] = arguments[1];
            m_page.LargestDataFile = std::max(m_page.LargestDataFile, fs::file_size(file));
        }
        return m_files[number];
    }

    fs::path m_data;
    WebPageData& m_page;
    std::vector<Json> m_files;
};

}  // namespace

WebPageData ReadWebPage(const std::string& folder) {
    const fs::path data = fs::path(folder) / "tomlet-page" / "data";
    WebPageData page;
    page.Root = CallArguments(data / "root.js", "tomletRoot").at(0);
    page.Top = Reader(data, page).Objects(page.Root["top"]);
    for (int number = 0; number < page.Root["searchFiles"].get<int>(); ++number) {
        const fs::path file = data / ("s" + std::to_string(number) + ".js");
        const Json arguments = CallArguments(file, "tomletSearch");
        if (arguments[1] != page.Parents.size())
            throw std::runtime_error(file.string() + " does not go on where the last one ended");
        std::string text = arguments[2];
        for (std::size_t end; (end = text.find('\x1E')) != std::string::npos;) {
            page.SearchTexts.push_back(text.substr(0, end));
            text.erase(0, end + 1);
        }
        for (const Json& parent : arguments[3])
            page.Parents.push_back(parent);
        page.LargestDataFile = std::max(page.LargestDataFile, fs::file_size(file));
    }
    return page;
}

std::string CaptionOutline(const std::vector<WebObject>& objects) {
    std::string outline;
    for (const WebObject& object : objects) {
        outline += (outline.empty() ? "" : " ") + object.Caption;
        if (!object.Children.empty())
            outline += " (" + CaptionOutline(object.Children) + ")";
    }
    return outline;
}

}  // namespace tomlet::testing
