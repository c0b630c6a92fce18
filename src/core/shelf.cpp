#include "core/shelf.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/progress.h"
#include "core/project_file.h"
#include "core/scanner.h"
#include "core/shelf_database.h"
#include "core/shelf_index.h"
#include "core/shelf_search.h"
#include "core/sqlite.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"
#include "platform/user_folders.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

const char Separator = static_cast<char>(fs::path::preferred_separator);

// A path as the shelf keeps it: absolute, "." and ".." taken out, the system's separators, no
// separator at the end.
std::string ShelfPathOf(const std::string& utf8) {
    std::error_code error;
    fs::path path = fs::absolute(NativePathFromUtf8(utf8), error).lexically_normal();
    path.make_preferred();
    if (path.has_filename() || path == path.root_path())
        return DisplayName(path.native());
    return DisplayName(path.parent_path().native());
}

std::string FolderOf(const std::string& path) {
    return ParentFolderPath(path) + Separator;
}

std::string CatalogueText(TextId id) {
    return ProcessCodec().ToUtf8(Text(id));
}

ShelfCatalogue CatalogueOfRow(const SqliteStatement& row) {
    ShelfCatalogue catalogue;
    catalogue.Id = row.Integer(0);
    catalogue.Path = row.Text(1);
    catalogue.CodePage = static_cast<int>(row.Integer(2));
    catalogue.FileSize = row.Integer(3);
    catalogue.FileModified = row.Integer(4);
    catalogue.ProjectName = row.Text(5);
    catalogue.ProjectName2 = row.Text(6);
    catalogue.DataDir = row.Text(7);
    catalogue.AbsolutePath = row.Integer(8) != 0;
    catalogue.Objects = row.Integer(9);
    catalogue.IndexedAt = row.Integer(10);
    catalogue.Missing = row.Integer(11) != 0;
    catalogue.Error = row.Text(12);
    return catalogue;
}

constexpr const char* CatalogueColumns =
    "SELECT id, path, code_page, size, modified, name, name2, data_dir, absolute, objects, "
    "indexed, missing, error FROM catalogue";

// The catalogue files below a folder, as a scan for "*.tml" finds them: in name order ignoring
// case, across links and as deep as a scan goes.
void CataloguesBelow(const std::string& folder, ShelfAddition& result,
                     std::vector<std::string>& files, ProgressSink& progress, MessagePump& pump) {
    const auto listed = ProcessCodec().FromUtf8Exactly(folder);
    if (!listed) {
        result.FolderErrors.push_back(folder + ": " +
                                      CatalogueText(TextId::message_SkippedCodePage));
        return;
    }
    ObjectTree found;
    FolderScanner scanner({"*.tml"}, *listed, progress, pump);
    try {
        scanner.ScanDirectory(*listed, found, nullptr, true);
    } catch (const std::exception& error) {
        result.FolderErrors.push_back(folder + ": " + ProcessCodec().ToUtf8(error.what()));
        return;
    }
    result.Skipped.insert(result.Skipped.end(), scanner.Skipped().begin(), scanner.Skipped().end());
    const std::string prefix = folder.ends_with(Separator) ? folder : folder + Separator;
    found.ForEachDepthFirst([&](const ObjectNode& node, int) {
        if (node.Data.ObjectType != otFolder)
            files.push_back(prefix +
                            ProcessCodec().ToUtf8(NativeStoredPath(node.Data.PathFileName)));
    });
}

}  // namespace

std::string DefaultShelfPath() {
    if (auto named = EnvironmentVariable(ShelfEnvironmentVariable))
        return *named;
    std::string folder = UserDataFolder();
    if (!folder.empty() && folder.back() != Separator)
        folder += Separator;
    return folder + "Tomlet" + Separator + "shelf.sqlite";
}

std::string SetAsideMessage(const ShelfSetAside& setAside) {
    std::string message =
        FormatString(CatalogueText(TextId::message_ShelfSetAside_S), setAside.Reason) + "\r\n" +
        setAside.MovedTo;
    if (setAside.Catalogues > 0)
        message += "\r\n" + FormatCount(CatalogueText(TextId::message_ShelfIndexAgain_D),
                                        static_cast<long long>(setAside.Catalogues));
    return message;
}

std::string CatalogueTitle(const std::string& projectName, const std::string& path) {
    return projectName.empty() ? FileNamePart(path) : projectName;
}

CatalogueStatus ShelfCatalogue::Status() const {
    if (Missing)
        return CatalogueStatus::Missing;
    if (!Error.empty())
        return CatalogueStatus::Damaged;
    return IndexedAt == 0 ? CatalogueStatus::NotIndexed : CatalogueStatus::Indexed;
}

std::string ShelfCatalogue::DiscFolder() const {
    const std::string folder = FolderOf(Path);
    return AbsolutePath ? ResolveDataDirectory(DataDir, folder) : folder;
}

bool ShelfCatalogue::IsOnline() const {
    const std::string folder = DiscFolder();
    std::error_code error;
    return !folder.empty() && fs::is_directory(NativePathFromUtf8(folder), error);
}

Shelf::Shelf(std::string path, Access access) : m_path(std::move(path)), m_access(access) {
    const bool maintain = access == Access::Maintain;
    std::string reason;
    try {
        m_database = ConnectShelf(m_path, maintain);
        return;
    } catch (const UnusableShelf& error) {
        if (!maintain)
            throw;
        reason = error.what();
    } catch (const SqliteError& error) {
        if (!maintain || !error.IsDamage())
            throw;
        reason = error.what();
    }
    m_setAside = SetShelfAside(m_path, reason);
    m_database = ConnectShelf(m_path, true);
}

Shelf::~Shelf() = default;

template <class Operation>
auto Shelf::Guarded(Operation&& operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const SqliteError& error) {
        if (m_access != Access::Maintain || !error.IsDamage())
            throw;
        m_database.reset();
        m_setAside = SetShelfAside(m_path, error.what());
        m_database = ConnectShelf(m_path, true);
        throw std::runtime_error(SetAsideMessage(*m_setAside));
    }
}

std::vector<ShelfCatalogue> Shelf::Catalogues() {
    return Guarded([this] {
        std::vector<ShelfCatalogue> catalogues;
        SqliteStatement query = m_database->Prepare(std::string(CatalogueColumns) + " ORDER BY id");
        while (query.Step())
            catalogues.push_back(CatalogueOfRow(query));
        return catalogues;
    });
}

std::optional<ShelfCatalogue> Shelf::FindCatalogue(const std::string& path) {
    return Guarded([&]() -> std::optional<ShelfCatalogue> {
        SqliteStatement query =
            m_database->Prepare(std::string(CatalogueColumns) + " WHERE path = ?");
        query.Bind(1, ShelfPathOf(path));
        if (!query.Step())
            return std::nullopt;
        return CatalogueOfRow(query);
    });
}

bool Shelf::Register(const std::string& path, int codePage) {
    SqliteStatement insert =
        m_database->Prepare("INSERT OR IGNORE INTO catalogue(path, code_page) VALUES(?, ?)");
    insert.Bind(1, path).Bind(2, codePage).Run();
    if (m_database->Changes() > 0)
        return true;
    // Asked for in another code page: read again in that one.
    SqliteStatement recode = m_database->Prepare(
        "UPDATE catalogue SET code_page = ?2, size = -1 WHERE path = ?1 AND code_page <> ?2");
    recode.Bind(1, path).Bind(2, codePage).Run();
    return false;
}

ShelfAddition Shelf::Add(const std::vector<std::string>& paths, int codePage,
                         ProgressSink& progress, MessagePump& pump, std::stop_token stop) {
    return Guarded([&] {
        ShelfAddition result;
        std::vector<std::string> files;
        for (const std::string& given : paths) {
            const std::string path = ShelfPathOf(given);
            std::error_code error;
            const fs::file_status status = fs::status(NativePathFromUtf8(path), error);
            if (fs::is_regular_file(status))
                files.push_back(path);
            else if (fs::is_directory(status))
                CataloguesBelow(path, result, files, progress, pump);
            else
                result.NotFound.push_back(given);
        }
        result.Catalogues = files.size();
        std::vector<std::int64_t> named;
        {
            SqliteTransaction transaction(*m_database);
            SqliteStatement idOf = m_database->Prepare("SELECT id FROM catalogue WHERE path = ?");
            for (const std::string& file : files) {
                if (Register(file, codePage))
                    result.Added.push_back(file);
                idOf.Bind(1, file);
                if (idOf.Step())
                    named.push_back(idOf.Integer(0));
                idOf.Reset();
            }
            transaction.Commit();
        }
        result.Refresh = IndexChanged(named, progress, pump, std::move(stop));
        return result;
    });
}

std::vector<std::string> Shelf::Remove(const std::vector<std::string>& paths) {
    return Guarded([&] {
        std::vector<std::string> removed;
        SqliteTransaction transaction(*m_database);
        ShelfIndexer indexer(*m_database);
        SqliteStatement remove = m_database->Prepare("DELETE FROM catalogue WHERE id = ?");
        for (const ShelfCatalogue& catalogue : Catalogues()) {
            const bool named = std::ranges::any_of(paths, [&](const std::string& given) {
                const std::string path = ShelfPathOf(given);
                return catalogue.Path == path ||
                       catalogue.Path.starts_with(path.back() == Separator ? path
                                                                           : path + Separator);
            });
            if (!named)
                continue;
            indexer.Forget(catalogue.Id);
            remove.Bind(1, catalogue.Id).Run();
            removed.push_back(catalogue.Path);
        }
        transaction.Commit();
        return removed;
    });
}

ShelfRefresh Shelf::Refresh(ProgressSink& progress, MessagePump& pump, std::stop_token stop) {
    return Guarded([&] {
        std::vector<std::int64_t> all;
        for (const ShelfCatalogue& catalogue : Catalogues())
            all.push_back(catalogue.Id);
        return IndexChanged(all, progress, pump, std::move(stop));
    });
}

ShelfRefresh Shelf::IndexChanged(const std::vector<std::int64_t>& ids, ProgressSink& progress,
                                 MessagePump& pump, std::stop_token stop) {
    ShelfRefresh result;
    SqliteStatement markMissing =
        m_database->Prepare("UPDATE catalogue SET missing = ? WHERE id = ?");
    std::vector<ChangedCatalogue> changed;
    long long objects = 0;
    for (const ShelfCatalogue& catalogue : Catalogues()) {
        if (std::ranges::find(ids, catalogue.Id) == ids.end())
            continue;
        const std::optional<FileStamp> stamp = StampOf(catalogue.Path);
        if (stamp.has_value() == catalogue.Missing)
            markMissing.Bind(1, stamp ? 0 : 1).Bind(2, catalogue.Id).Run();
        if (!stamp) {
            ++result.Missing;
        } else if (*stamp == FileStamp{catalogue.FileSize, catalogue.FileModified}) {
            ++result.Unchanged;
        } else {
            const auto path = ProcessCodec().FromUtf8Exactly(catalogue.Path);
            const std::int64_t count = path ? PeekObjectCount(*path).value_or(0) : 0;
            objects += count;
            changed.push_back({catalogue, *stamp, count});
        }
    }
    if (changed.empty())
        return result;

    const ProgressScope scope(progress);
    progress.SetText(Text(TextId::text_ShelfIndexing_D));
    progress.SetMaximum(
        static_cast<int>(std::min<long long>(objects, std::numeric_limits<int>::max())));
    ShelfIndexer indexer(*m_database);
    ShelfRefresh indexed = indexer.Index(changed, progress, pump, std::move(stop));
    indexed.Unchanged = result.Unchanged;
    indexed.Missing = result.Missing;
    return indexed;
}

ShelfHits Shelf::Search(const ShelfQuery& query, std::stop_token stop,
                        const std::function<void(const ShelfHits&)>& firstHits) {
    return Guarded([&] { return SearchShelf(*m_database, query, std::move(stop), firstHits); });
}

}  // namespace tomlet
