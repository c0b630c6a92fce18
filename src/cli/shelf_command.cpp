#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>

#include "cli/commands.h"
#include "cli/output_text.h"
#include "core/catalogue.h"
#include "core/records.h"
#include "core/scanner.h"
#include "core/shelf.h"
#include "platform/system_info.h"

namespace tomlet::cli {

namespace {

using Json = nlohmann::ordered_json;

// What each sub-command takes besides --shelf, which all take.
struct Subcommand {
    std::string_view Name;
    std::string_view Options;
    int (*Run)(Shelf& shelf, const Arguments& arguments, std::ostream& out, std::ostream& err);
};

// Shows how far add and refresh are on a terminal, on one line rewritten at most every 100 ms.
class TerminalProgress final : public ProgressSink, public MessagePump {
public:
    explicit TerminalProgress(std::ostream& err) : m_err(err), m_shown(IsTerminal(stderr)) {}

    bool Begin() override {
        m_value = m_maximum = 0;
        return true;
    }
    bool SetMaximum(int maximum) override {
        m_maximum = maximum;
        return true;
    }
    bool Step() override {
        Show(++m_value);
        return true;
    }
    bool IncreaseMaximum() override {
        Show(++m_maximum);
        return true;
    }
    bool SetText(const std::string& format) override {
        m_format = ProcessCodec().ToUtf8(format);
        return true;
    }
    bool End() override {
        if (m_lineOpen)
            m_err << "\n";
        m_lineOpen = false;
        return true;
    }
    void LetMessagesThrough() override {}

private:
    void Show(long long count) {
        const auto now = std::chrono::steady_clock::now();
        if (!m_shown || now - m_last < std::chrono::milliseconds(100))
            return;
        m_last = now;
        m_err << "\r" << FormatCount(m_format, count) << std::flush;
        m_lineOpen = true;
    }

    std::ostream& m_err;
    bool m_shown;
    bool m_lineOpen = false;
    std::string m_format;
    long long m_value = 0;
    long long m_maximum = 0;
    std::chrono::steady_clock::time_point m_last{};
};

std::string StatusWord(const ShelfCatalogue& catalogue) {
    switch (catalogue.Status()) {
        case CatalogueStatus::Missing:
            return "missing";
        case CatalogueStatus::Damaged:
            return "damaged";
        case CatalogueStatus::NotIndexed:
            return "not-indexed";
        case CatalogueStatus::Indexed:
            break;
    }
    return catalogue.IsOnline() ? "online" : "offline";
}

// "2024-06-01 12:30 UTC"; "-" for never.
std::string DateText(std::int64_t seconds) {
    if (seconds == 0)
        return "-";
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d UTC", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                  int(clock.minutes().count()));
    return text;
}

Json JsonText(std::string_view utf8) {
    return Json(std::string(utf8));
}

std::string Dumped(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

// Says what a refresh could not read; true when everything was read.
bool ReportRefresh(const ShelfRefresh& refresh, std::ostream& out, std::ostream& err) {
    for (const auto& [path, error] : refresh.Damaged)
        err << "tomlet-cli shelf: " << EscapeControls(error) << "\n";
    out << refresh.Indexed << " catalogues indexed, " << refresh.Unchanged << " unchanged, "
        << refresh.Missing << " missing, " << refresh.Damaged.size() << " unreadable"
        << (refresh.Cancelled ? ", cancelled" : "") << "\n";
    return refresh.Damaged.empty() && !refresh.Cancelled;
}

int RunAdd(Shelf& shelf, const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> paths(arguments.Plain().begin() + 1, arguments.Plain().end());
    if (paths.empty())
        throw UsageError("a catalogue or a folder is needed");
    TerminalProgress progress(err);
    const ShelfAddition added = shelf.Add(paths, arguments.Codec().CodePage(), progress, progress);
    for (const std::string& path : added.Added)
        out << "added " << EscapeControls(path) << "\n";
    for (const std::string& path : added.NotFound)
        err << "tomlet-cli shelf: " << EscapeControls(path) << ": neither a file nor a folder\n";
    for (const std::string& folder : added.FolderErrors)
        err << "tomlet-cli shelf: " << EscapeControls(folder) << "\n";
    if (!added.Skipped.empty())
        ReportSkipped("shelf", added.Skipped, err);
    const bool read = ReportRefresh(added.Refresh, out, err);
    const bool complete =
        added.NotFound.empty() && added.FolderErrors.empty() && added.Skipped.empty();
    return read && complete ? ExitOk : ExitFailure;
}

int RunRemove(Shelf& shelf, const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> paths(arguments.Plain().begin() + 1, arguments.Plain().end());
    if (paths.empty())
        throw UsageError("a catalogue or a folder is needed");
    const std::vector<std::string> removed = shelf.Remove(paths);
    for (const std::string& path : removed)
        out << "removed " << EscapeControls(path) << "\n";
    if (removed.empty()) {
        err << "tomlet-cli shelf: nothing named is on the shelf\n";
        return ExitFailure;
    }
    return ExitOk;
}

int RunList(Shelf& shelf, const Arguments& arguments, std::ostream& out, std::ostream&) {
    if (arguments.Plain().size() > 1)
        throw UsageError("too many arguments");
    const std::vector<ShelfCatalogue> catalogues = shelf.Catalogues();
    if (arguments.Flag("--json")) {
        Json list = Json::array();
        for (const ShelfCatalogue& catalogue : catalogues)
            list.push_back({{"path", JsonText(catalogue.Path)},
                            {"projectName", JsonText(catalogue.ProjectName)},
                            {"projectName2", JsonText(catalogue.ProjectName2)},
                            {"dataDir", JsonText(catalogue.DataDir)},
                            {"absolutePath", catalogue.AbsolutePath},
                            {"codePage", catalogue.CodePage},
                            {"objects", catalogue.Objects},
                            {"indexed", catalogue.IndexedAt},
                            {"status", StatusWord(catalogue)},
                            {"error", JsonText(catalogue.Error)}});
        out << Dumped(list);
        return ExitOk;
    }
    for (const ShelfCatalogue& catalogue : catalogues) {
        out << StatusWord(catalogue) << '\t' << catalogue.Objects << '\t'
            << DateText(catalogue.IndexedAt) << '\t' << EscapeControls(catalogue.Title()) << '\t'
            << EscapeControls(catalogue.Path);
        if (!catalogue.Error.empty())
            out << '\t' << EscapeControls(catalogue.Error);
        out << '\n';
    }
    return ExitOk;
}

int RunRefresh(Shelf& shelf, const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.Plain().size() > 1)
        throw UsageError("too many arguments");
    TerminalProgress progress(err);
    return ReportRefresh(shelf.Refresh(progress, progress), out, err) ? ExitOk : ExitFailure;
}

// A type's number, or its name as the editor lists it, in any case.
std::uint8_t ParseType(const std::string& value) {
    int number = 0;
    const char* end = value.data() + value.size();
    if (const auto [stop, error] = std::from_chars(value.data(), end, number);
        error == std::errc{} && stop == end && number >= 0 && number <= 255)
        return static_cast<std::uint8_t>(number);
    const auto lower = [](std::string_view text) {
        std::string folded(text);
        std::ranges::transform(folded, folded.begin(), [](unsigned char c) {
            return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        });
        return folded;
    };
    for (std::size_t type = 0; type < ObjectTypeDisplayNames.size(); ++type)
        if (lower(ObjectTypeDisplayNames[type]) == lower(value))
            return static_cast<std::uint8_t>(type);
    throw UsageError("--type takes a type name such as \"Text file\" or a number, not " + value);
}

std::size_t ParseLimit(const std::string& value) {
    std::size_t limit = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, limit);
    if (error != std::errc{} || stop != end || limit == 0)
        throw UsageError("--limit needs a whole number above 0, not " + value);
    return limit;
}

ShelfQuery QueryOf(Shelf& shelf, const Arguments& arguments) {
    const auto& plain = arguments.Plain();
    if (plain.size() != 2)
        throw UsageError(plain.size() < 2 ? "a text is needed" : "too many arguments");
    ShelfQuery query;
    query.Text = plain[1];
    query.Fields = ParseFindFields(arguments.Option("--fields"), query.Fields);
    query.CaseSensitive = arguments.Flag("--case-sensitive");
    if (const auto type = arguments.Option("--type"))
        query.ObjectType = ParseType(*type);
    if (const auto limit = arguments.Option("--limit"))
        query.Limit = ParseLimit(*limit);
    if (const auto file = arguments.Option("--catalogue")) {
        const auto catalogue = shelf.FindCatalogue(*file);
        if (!catalogue)
            throw CommandError(*file + ": not on the shelf");
        query.Catalogue = catalogue->Id;
    }
    return query;
}

int RunSearch(Shelf& shelf, const Arguments& arguments, std::ostream& out, std::ostream&) {
    const ShelfQuery query = QueryOf(shelf, arguments);
    const ShelfHits found = shelf.Search(query);
    if (arguments.Flag("--json")) {
        Json hits = Json::array();
        for (const ShelfHit& hit : found.Hits)
            hits.push_back({{"catalogue", JsonText(hit.CataloguePath)},
                            {"projectName", JsonText(hit.ProjectName)},
                            {"online", hit.Online},
                            {"index", hit.Index},
                            {"type", hit.ObjectType},
                            {"caption", JsonText(hit.Caption)},
                            {"treePath", JsonText(hit.TreePath)},
                            {"path", JsonText(hit.PathFileName)},
                            {"resolvedPath", JsonText(hit.ResolvedPath)}});
        out << Dumped({{"total", found.Total}, {"hits", hits}});
    } else {
        for (const ShelfHit& hit : found.Hits)
            out << EscapeControls(hit.ProjectName) << '\t' << EscapeControls(hit.TreePath) << '\t'
                << EscapeControls(hit.PathFileName) << '\t' << EscapeControls(hit.ResolvedPath)
                << '\n';
        out << found.Total << " objects found";
        if (found.Hits.size() < static_cast<std::size_t>(found.Total))
            out << ", the first " << found.Hits.size() << " shown";
        out << "\n";
    }
    return found.Total > 0 ? ExitOk : ExitFailure;
}

constexpr Subcommand Subcommands[] = {
    {"add", "--code-page", RunAdd},
    {"remove", "", RunRemove},
    {"list", "--json", RunList},
    {"refresh", "", RunRefresh},
    {"search", "--fields --case-sensitive --type --catalogue --limit --json", RunSearch},
};

// Options given that the sub-command does not take.
void RefuseOthers(const Subcommand& subcommand, const Arguments& arguments) {
    for (const std::string_view option : {"--code-page", "--json", "--fields", "--case-sensitive",
                                          "--type", "--catalogue", "--limit"}) {
        const bool given = arguments.Flag(option) || arguments.Option(option).has_value();
        if (given && subcommand.Options.find(option) == std::string_view::npos)
            throw UsageError(std::string(subcommand.Name) + " does not take " +
                             std::string(option));
    }
}

}  // namespace

int RunShelf(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.Plain().empty())
        throw UsageError("add, remove, list, refresh or search is needed");
    const auto subcommand =
        std::ranges::find(Subcommands, arguments.Plain().front(), &Subcommand::Name);
    if (subcommand == std::end(Subcommands))
        throw UsageError("add, remove, list, refresh or search is needed, not " +
                         arguments.Plain().front());
    RefuseOthers(*subcommand, arguments);
    Shelf shelf(arguments.Option("--shelf").value_or(DefaultShelfPath()));
    if (const auto& setAside = shelf.SetAside()) {
        std::string message = SetAsideMessage(*setAside);
        std::erase(message, '\r');
        err << "tomlet-cli shelf: " << message << "\n";
    }
    return subcommand->Run(shelf, arguments, out, err);
}

}  // namespace tomlet::cli
