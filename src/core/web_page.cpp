#include "core/web_page.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/object_actions.h"
#include "core/object_hint.h"
#include "core/object_pictures.h"
#include "core/paths.h"
#include "core/web_page_folder.h"
#include "core/web_resources.h"
#include "core/web_text.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;
using web::JsString;

// A block holds a run of one folder's children; a data file holds whole blocks. Both are bounded,
// so that the browser never loads a file that grows with the catalogue, and the writer holds at
// most one unfinished block per level of the tree.
constexpr int BlockObjects = 500;
constexpr std::size_t BlockBytes = 64 << 10;
constexpr std::size_t DataFileBytes = 256 << 10;
// The search data: each file holds the searchable texts of a run of objects in tree order.
constexpr int SearchObjects = 4000;
constexpr std::size_t SearchFileBytes = 256 << 10;

// Why an object's entry carries no link; the page shows the reason's text instead.
enum class Unopenable { NoFile = 1, OutsideDisc, PageOffDisc, Missing };

constexpr TextId ReasonTexts[] = {TextId::message_WebNoFile, TextId::message_WebOutsideDisc,
                                  TextId::message_WebPageOffDisc, TextId::message_WebMissing};

// Thrown from the visitor to stop reading: the user cancelled, or a file could not be written.
struct ExportStopped {};

std::string CatalogueText(TextId id) {
    return ProcessCodec().ToUtf8(Text(id));
}

// The reader's progress, with the export's own status line.
class ExportProgress final : public ProgressSink {
public:
    explicit ExportProgress(ProgressSink& progress) : m_progress(progress) {}
    bool Begin() override { return m_progress.Begin(); }
    bool SetMaximum(int maximum) override { return m_progress.SetMaximum(maximum); }
    bool Step() override { return m_progress.Step(); }
    bool IncreaseMaximum() override { return m_progress.IncreaseMaximum(); }
    bool SetText(const std::string&) override {
        return m_progress.SetText(Text(TextId::text_WritingWebPage_D));
    }
    bool End() override { return m_progress.End(); }

private:
    ProgressSink& m_progress;
};

// Where an object leads, as the page tells it.
struct ObjectPlace {
    std::string Shown;  // the path in its hint: below the disc's folder when it lies there
    // The file's path in the process code page, for its size and attributes; empty when it
    // names nothing.
    std::string FactsPath;
    std::string OpenScript;  // a link relative to index.html as a string literal, or a reason
};

// Whether a stored path names "." or "..", which only std::filesystem takes out reliably.
bool ClimbsByName(std::string_view storedPath) {
    for (std::size_t start = 0; start <= storedPath.size();) {
        const std::size_t end = std::min(storedPath.find(StoredSeparator, start), storedPath.size());
        const std::string_view name = storedPath.substr(start, end - start);
        if (name == "." || name == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// The native separator without the look-up ignoring case that the native rules add: the path as
// the catalogue writes it.
PathRules AsWritten() {
    PathRules rules = PathRules::Native();
    rules.DriveLetters = true;
    return rules;
}

// Streams the project into blocks, data files and search files as the reader visits it. An
// object's entry is complete only when it is known whether it has children, and a folder's once
// its last child is: each open level of the tree keeps its unfinished block until then.
class PageBuilder final : public ProjectFileVisitor {
public:
    PageBuilder(const WebPageRequest& request, WebPageFolder& folder,
                const std::function<bool()>& cancelled)
        : m_request(request), m_folder(folder), m_cancelled(cancelled) {}

    void Properties(const TProjectRec& project, int) override;
    void Object(TNodeData&& data, int level) override;
    // After the last object: closes every open level and writes the last files.
    void Finish();
    std::string RootScript() const;

    int Objects() const { return m_nextId; }
    std::string Title() const { return Utf8(m_project.ProjectName); }

private:
    struct BlockRef {
        int File;
        int Block;
    };
    // The children of one object (or the tree's top level) being collected.
    struct Level {
        std::string OwnerHead;  // the owner's entry without its children
        int OwnerId = -1;
        std::string Block;
        int BlockCount = 0;
        std::vector<BlockRef> Blocks;
    };

    std::string Recoded(const std::string& projectText) const;
    std::string Utf8(const std::string& projectText) const {
        return m_request.Codec.ToUtf8(projectText);
    }
    ObjectPlace PlaceOf(const std::string& storedPath);
    std::string EntryHead(int id, const TNodeData& data);
    void AddSearchText(const TNodeData& data, int parent);

    void Complete(std::string entry);  // to the deepest open level
    void CompletePending(bool hasChildren);
    void CloseLevel();
    void FlushBlock(Level& level);
    void FlushDataFile();
    void FlushSearchFile();
    void Write(const std::string& name, const std::string& bytes);

    const WebPageRequest& m_request;
    WebPageFolder& m_folder;
    const std::function<bool()>& m_cancelled;

    TProjectRec m_project;
    ActionContext m_context;
    fs::path m_base;    // the disc's base folder, absolute
    fs::path m_output;  // the page's folder, absolute
    bool m_pageOnDisc = false;
    // The last folder found missing, even looked up ignoring case, ending with a separator: the
    // objects below it, which follow one another in tree order, need no look at the disc.
    std::string m_missingFolder;
    std::string m_baseText;  // the base folder ending with a separator, as resolved paths begin
    // What the hint says of a path that names nothing.
    std::string m_noFileSize;
    std::string m_noFileAttributes;

    std::vector<Level> m_levels;  // [0] is the tree's top level
    std::string m_pendingHead;    // the last object's entry, until the next object shows
    int m_pendingId = -1;
    int m_pendingLevel = -1;
    int m_nextId = 0;

    std::string m_dataFile;
    int m_dataFileBlocks = 0;
    int m_dataFiles = 0;

    std::string m_searchText;
    std::string m_searchParents;
    int m_searchFirstId = 0;
    int m_searchCount = 0;
    int m_searchFiles = 0;
};

std::string PageBuilder::Recoded(const std::string& projectText) const {
    if (m_request.Codec.CodePage() == ProcessCodec().CodePage())
        return projectText;
    return ProcessCodec().FromUtf8(m_request.Codec.ToUtf8(projectText));
}

void PageBuilder::Properties(const TProjectRec& project, int) {
    m_project = project;
    m_context.Mode = project.AbsolutePath ? PathMode::Absolute : PathMode::Relative;
    m_context.DiscFolder = AbsolutePath(m_request.DiscFolder);
    if (!m_context.DiscFolder.ends_with(PathRules::Native().Separator))
        m_context.DiscFolder += PathRules::Native().Separator;
    m_context.DataDir =
        ResolveDataDirectory(Recoded(project.ProjectDataDir), m_context.DiscFolder);
    m_base = NativePath(AbsolutePath(BaseFolder(m_context))).lexically_normal();
    m_baseText = ResolveObjectPath(m_context.Mode, m_context.DataDir, " ", m_context.DiscFolder,
                                   AsWritten());
    m_baseText.pop_back();
    m_noFileSize = ProcessCodec().ToUtf8(FileSizeText({}));
    m_noFileAttributes = ProcessCodec().ToUtf8(FileAttributesText({}));
    const std::string output = AbsolutePath(m_request.OutputFolder);
    m_output = NativePath(output).lexically_normal();
    m_pageOnDisc = !BaseFolder(m_context).empty() && PathLiesWithin(output, BaseFolder(m_context));
    m_levels.emplace_back();
}

ObjectPlace PageBuilder::PlaceOf(const std::string& storedPath) {
    ObjectPlace place;
    const auto reason = [&](Unopenable why) {
        place.OpenScript = std::to_string(static_cast<int>(why));
        return place;
    };
    if (storedPath.empty())
        return reason(Unopenable::NoFile);
    const std::string written = ResolveObjectPath(m_context.Mode, m_context.DataDir, storedPath,
                                                  m_context.DiscFolder, AsWritten());
    if (written.empty())
        return reason(Unopenable::OutsideDisc);
    if (!m_missingFolder.empty() && written.starts_with(m_missingFolder) &&
        !ClimbsByName(storedPath)) {
        place.Shown = ProcessCodec().ToUtf8(written.substr(m_baseText.size()));
        return reason(Unopenable::Missing);
    }
    const std::string fullPath = FullObjectPath(m_context, storedPath);
    const fs::path full = NativePath(fullPath).lexically_normal();
    fs::path belowBase = full.lexically_relative(m_base);
    const bool climbsOut = belowBase.empty() || *belowBase.begin() == "..";
    place.Shown = climbsOut ? ProcessCodec().ToUtf8(fullPath)
                            : DisplayName(belowBase.make_preferred().native());

    const std::optional<FileFacts> facts = LookUpPath(fullPath);
    if (!facts) {
        if (!climbsOut && fullPath == written && written.starts_with(m_baseText) &&
            !PathExists(ParentFolderPath(fullPath)))
            m_missingFolder = ParentFolderPath(fullPath) + PathRules::Native().Separator;
        return reason(climbsOut ? Unopenable::OutsideDisc : Unopenable::Missing);
    }
    place.FactsPath = fullPath;
    // The same rule as for running it: through a link too, an object outside the disc is not
    // the disc's own.
    if (climbsOut || !PathLiesWithin(fullPath, BaseFolder(m_context))) {
        place.Shown = ProcessCodec().ToUtf8(fullPath);
        return reason(Unopenable::OutsideDisc);
    }
    if (!m_pageOnDisc)
        return reason(Unopenable::PageOffDisc);
    std::string link;
    for (const fs::path& name : full.lexically_relative(m_output))
        link.append(link.empty() ? "" : "/").append(web::PercentEncoded(DisplayName(name.native())));
    if (link.empty())
        link = ".";
    if (facts->IsDirectory)
        link += '/';
    place.OpenScript = JsString(link);
    return place;
}

std::string PageBuilder::EntryHead(int id, const TNodeData& data) {
    const ObjectPlace place = PlaceOf(Recoded(data.PathFileName));
    // In the order of ObjectHintLabels.
    const std::string hintValues[] = {
        Utf8(data.Hint),
        Utf8(data.Comments),
        place.Shown,
        place.FactsPath.empty() ? m_noFileSize : ProcessCodec().ToUtf8(FileSizeText(place.FactsPath)),
        place.FactsPath.empty() ? m_noFileAttributes
                                : ProcessCodec().ToUtf8(FileAttributesText(place.FactsPath)),
        Utf8(data.Parameters)};
    std::string head = '[' + std::to_string(id) + ',' + JsString(Utf8(data.Caption)) + ",[";
    for (const std::string& value : hintValues)
        head.append(JsString(value)).append(",");
    head.back() = ']';
    head += ',' + std::to_string(ObjectImageIndex(data.ObjectType, false)) + ',' +
            std::to_string(ObjectImageIndex(data.ObjectType, true)) + ',' + place.OpenScript +
            ',';
    return head;
}

void PageBuilder::Object(TNodeData&& data, int level) {
    if (m_cancelled && m_cancelled())
        throw ExportStopped{};
    CompletePending(level > m_pendingLevel && m_pendingId >= 0);
    while (static_cast<int>(m_levels.size()) > level + 1)
        CloseLevel();
    const int id = m_nextId++;
    AddSearchText(data, m_levels.back().OwnerId);
    m_pendingHead = EntryHead(id, data);
    m_pendingId = id;
    m_pendingLevel = level;
}

// The last object becomes the owner of a new level when the next one is its child; otherwise
// its entry is complete without children.
void PageBuilder::CompletePending(bool hasChildren) {
    if (m_pendingId < 0)
        return;
    if (hasChildren) {
        Level& level = m_levels.emplace_back();
        level.OwnerHead = std::move(m_pendingHead);
        level.OwnerId = m_pendingId;
    } else {
        Complete(std::move(m_pendingHead) + "0]");
    }
    m_pendingId = -1;
}

void PageBuilder::Complete(std::string entry) {
    Level& level = m_levels.back();
    if (level.BlockCount >= BlockObjects || level.Block.size() >= BlockBytes)
        FlushBlock(level);
    level.Block.append(level.BlockCount == 0 ? "[" : ",").append(entry);
    ++level.BlockCount;
}

void PageBuilder::CloseLevel() {
    Level closed = std::move(m_levels.back());
    m_levels.pop_back();
    FlushBlock(closed);
    std::string entry = std::move(closed.OwnerHead) + '[';
    for (const BlockRef& block : closed.Blocks)
        entry += '[' + std::to_string(block.File) + ',' + std::to_string(block.Block) + "],";
    entry.back() = ']';
    Complete(std::move(entry) + ']');
}

void PageBuilder::FlushBlock(Level& level) {
    if (level.BlockCount == 0)
        return;
    level.Blocks.push_back({m_dataFiles, m_dataFileBlocks++});
    m_dataFile.append(m_dataFile.empty() ? "tomletData(" + std::to_string(m_dataFiles) + ",[" : ",")
        .append(level.Block)
        .append("]");
    level.Block.clear();
    level.BlockCount = 0;
    if (m_dataFile.size() >= DataFileBytes)
        FlushDataFile();
}

void PageBuilder::FlushDataFile() {
    if (m_dataFile.empty())
        return;
    Write("data/t" + std::to_string(m_dataFiles++) + ".js", m_dataFile + "]);\n");
    m_dataFile.clear();
    m_dataFileBlocks = 0;
}

// Caption, hint and comments, separated by U+001F, the object ended by U+001E; and the object's
// parent, by which the page finds the folders to open to show it.
void PageBuilder::AddSearchText(const TNodeData& data, int parent) {
    m_searchText.append(web::SearchableText(Utf8(data.Caption)))
        .append("\x1F")
        .append(web::SearchableText(Utf8(data.Hint)))
        .append("\x1F")
        .append(web::SearchableText(Utf8(data.Comments)))
        .append("\x1E");
    m_searchParents.append(m_searchCount == 0 ? "" : ",").append(std::to_string(parent));
    if (++m_searchCount >= SearchObjects || m_searchText.size() >= SearchFileBytes)
        FlushSearchFile();
}

void PageBuilder::FlushSearchFile() {
    if (m_searchCount == 0)
        return;
    Write("data/s" + std::to_string(m_searchFiles) + ".js",
          "tomletSearch(" + std::to_string(m_searchFiles) + ',' + std::to_string(m_searchFirstId) +
              ',' + JsString(m_searchText) + ",[" + m_searchParents + "]);\n");
    ++m_searchFiles;
    m_searchFirstId += m_searchCount;
    m_searchCount = 0;
    m_searchText.clear();
    m_searchParents.clear();
}

void PageBuilder::Finish() {
    CompletePending(false);
    while (m_levels.size() > 1)
        CloseLevel();
    FlushBlock(m_levels.front());
    FlushDataFile();
    FlushSearchFile();
}

void PageBuilder::Write(const std::string& name, const std::string& bytes) {
    if (!m_folder.Write(name, bytes))
        throw ExportStopped{};
}

std::string PageBuilder::RootScript() const {
    std::string texts = "{";
    const std::pair<const char*, TextId> named[] = {
        {"find", TextId::text_WebFind},           {"comments", TextId::text_WebComments},
        {"about", TextId::text_WebAboutProject},  {"open", TextId::text_WebOpen},
        {"found", TextId::text_WebFound_D},       {"nothing", TextId::text_WebNothingFound},
        {"searching", TextId::text_WebSearching},
    };
    for (const auto& [key, id] : named)
        texts.append("\"").append(key).append("\":").append(JsString(CatalogueText(id))).append(",");
    texts += "\"reasons\":[";
    for (const TextId reason : ReasonTexts)
        texts.append(JsString(CatalogueText(reason))).append(",");
    texts.back() = ']';
    texts += ",\"labels\":[";
    for (const TextId label : ObjectHintLabels)
        texts.append(JsString(CatalogueText(label))).append(",");
    texts.back() = ']';
    texts += '}';

    std::string top = "[";
    for (const BlockRef& block : m_levels.front().Blocks)
        top += '[' + std::to_string(block.File) + ',' + std::to_string(block.Block) + "],";
    if (top.size() > 1)
        top.pop_back();
    top += ']';

    return "tomletRoot({\"names\":[" + JsString(Utf8(m_project.ProjectName)) + ',' +
           JsString(Utf8(m_project.ProjectName2)) +
           "],\"description\":" + JsString(Utf8(m_project.ProjectDescription)) +
           ",\"texts\":" + texts + ",\"top\":" + top +
           ",\"objects\":" + std::to_string(m_nextId) +
           ",\"searchFiles\":" + std::to_string(m_searchFiles) + "});\n";
}

std::string IndexHtml(const std::string& title) {
    std::string html(WebPageResource("index.html"));
    const auto fill = [&](std::string_view placeholder, const std::string& value) {
        if (const auto at = html.find(placeholder); at != std::string::npos)
            html.replace(at, placeholder.size(), value);
    };
    fill("{{TITLE}}", web::HtmlText(title));
    fill("{{NEEDS_SCRIPT}}", web::HtmlText(CatalogueText(TextId::text_WebNeedsScript)));
    return html;
}

}  // namespace

WebPageResult WriteWebPage(const WebPageRequest& request, ProgressSink& progress,
                           MessagePump& pump, const std::function<bool()>& cancelled) {
    WebPageResult result;
    WebPageFolder folder(request.OutputFolder);
    if (!folder.Open()) {
        result.Error = folder.Error();
        return result;
    }
    PageBuilder builder(request, folder, cancelled);
    ExportProgress exportProgress(progress);
    try {
        result.Read = ReadProjectFile(request.ProjectFile, builder, exportProgress, pump);
        if (!result.Read.Ok())
            return result;
        builder.Finish();
    } catch (const ExportStopped&) {
        if (folder.Error().empty())
            result.What = WebPageResult::Outcome::Cancelled;
        else
            result.Error = folder.Error();
        return result;
    }
    for (const WebPageFile& file : WebPageResources())
        if (file.Name != WebPageIndexName && !folder.Write(file.Name, file.Bytes)) {
            result.Error = folder.Error();
            return result;
        }
    if (!folder.Write("data/root.js", builder.RootScript()) ||
        !folder.Commit(IndexHtml(builder.Title()))) {
        result.Error = folder.Error();
        return result;
    }
    result.What = WebPageResult::Outcome::Written;
    result.Objects = builder.Objects();
    return result;
}

}  // namespace tomlet
