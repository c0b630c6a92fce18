#include "core/shelf_index.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/progress.h"
#include "core/project_file.h"
#include "core/shelf_database.h"
#include "core/sqlite.h"
#include "core/text_folding.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

// Ends the reading of a catalogue whose indexing was told to stop.
class Stopped final : public std::exception {};

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path) {
    const fs::path file = NativePathFromUtf8(path);
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    const auto size = fs::file_size(file, error);
    const auto modified = fs::last_write_time(file, error);
    if (error)
        return std::nullopt;
    return FileStamp{static_cast<std::int64_t>(size),
                     static_cast<std::int64_t>(modified.time_since_epoch().count())};
}

struct ShelfIndexer::Statements {
    explicit Statements(SqliteDatabase& database)
        : InsertObject(database.Prepare(
              "INSERT INTO object(id, parent, type, action, caption, hint, path, parameters, "
              "comments) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          InsertText(database.Prepare(
              "INSERT INTO object_text(rowid, caption, hint, path, parameters, comments) "
              "VALUES(?, ?, ?, ?, ?, ?)")),
          DeleteText(database.Prepare(
              "INSERT INTO object_text(object_text, rowid, caption, hint, path, parameters, "
              "comments) VALUES('delete', ?, ?, ?, ?, ?, ?)")),
          SelectEntries(database.Prepare(
              "SELECT id, caption, hint, path, parameters, comments FROM object "
              "WHERE id >= ? AND id < ?")),
          DeleteEntries(database.Prepare("DELETE FROM object WHERE id >= ? AND id < ?")),
          UpdateCatalogue(database.Prepare(
              "UPDATE catalogue SET size = ?, modified = ?, name = ?, name2 = ?, data_dir = ?, "
              "absolute = ?, objects = ?, indexed = ?, missing = 0, error = '' WHERE id = ?")) {}

    SqliteStatement InsertObject;
    SqliteStatement InsertText;
    SqliteStatement DeleteText;
    SqliteStatement SelectEntries;
    SqliteStatement DeleteEntries;
    SqliteStatement UpdateCatalogue;
};

namespace {

// The five searchable fields of an object, in the text index's column order.
using Fields = std::array<std::string, 5>;

// Binds the fields, folded, from parameter 2 on (the key is parameter 1).
void BindFolded(SqliteStatement& statement, const Fields& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        statement.Bind(static_cast<int>(i) + 2, FoldedUtf8(fields[i]));
}

// Writes each object as the file gives it: its record, decoded to UTF-8, and its folded texts.
class CatalogueWriter final : public ProjectFileVisitor {
public:
    CatalogueWriter(std::int64_t catalogueId, const TextCodec& codec, SqliteStatement& insertObject,
                    SqliteStatement& insertText, ProgressSink& progress, MessagePump& pump,
                    std::stop_token stop)
        : m_catalogueId(catalogueId),
          m_codec(codec),
          m_insertObject(insertObject),
          m_insertText(insertText),
          m_progress(progress),
          m_pump(pump),
          m_stop(std::move(stop)) {}

    void Properties(const TProjectRec& project, int) override {
        Project = project;
        Project.ProjectDataDir = m_codec.ToUtf8(project.ProjectDataDir);
        Project.ProjectName = m_codec.ToUtf8(project.ProjectName);
        Project.ProjectName2 = m_codec.ToUtf8(project.ProjectName2);
    }

    void Object(TNodeData&& data, int level) override {
        if (m_stop.stop_requested())
            throw Stopped();
        m_pump.LetMessagesThrough();
        m_progress.Step();
        const std::int64_t key = ObjectKey(m_catalogueId, Objects++);
        m_ancestors.resize(static_cast<std::size_t>(level));
        const Fields fields{m_codec.ToUtf8(data.Caption), m_codec.ToUtf8(data.Hint),
                            m_codec.ToUtf8(data.PathFileName), m_codec.ToUtf8(data.Parameters),
                            m_codec.ToUtf8(data.Comments)};
        m_insertObject.Bind(1, key);
        if (m_ancestors.empty())
            m_insertObject.BindNull(2);
        else
            m_insertObject.Bind(2, IndexOfKey(m_ancestors.back()));
        m_insertObject.Bind(3, data.ObjectType).Bind(4, data.ObjectAction);
        for (std::size_t i = 0; i < fields.size(); ++i)
            m_insertObject.Bind(static_cast<int>(i) + 5, fields[i]);
        m_insertObject.Run();
        m_insertText.Bind(1, key);
        BindFolded(m_insertText, fields);
        m_insertText.Run();
        m_ancestors.push_back(key);
    }

    TProjectRec Project;
    std::int64_t Objects = 0;

private:
    std::int64_t m_catalogueId;
    const TextCodec& m_codec;
    SqliteStatement& m_insertObject;
    SqliteStatement& m_insertText;
    ProgressSink& m_progress;
    MessagePump& m_pump;
    std::stop_token m_stop;
    std::vector<std::int64_t> m_ancestors;  // keys of the last object's ancestors, top first
};

}  // namespace

ShelfIndexer::ShelfIndexer(SqliteDatabase& database)
    : m_database(database), m_statements(std::make_unique<Statements>(database)) {}

ShelfIndexer::~ShelfIndexer() = default;

IndexResult ShelfIndexer::Index(const ShelfCatalogue& catalogue, const FileStamp& stamp,
                                ProgressSink& progress, MessagePump& pump, std::stop_token stop) {
    // The reader takes paths in the process code page.
    const auto filePath = ProcessCodec().FromUtf8Exactly(catalogue.Path);
    if (!filePath)
        return {IndexResult::Unreadable,
                catalogue.Path + ": the code page " + std::to_string(ProcessCodec().CodePage()) +
                    " cannot hold this path"};
    const TextCodec codec(catalogue.CodePage);
    SqliteTransaction transaction(m_database);
    Forget(catalogue.Id);
    CatalogueWriter writer(catalogue.Id, codec, m_statements->InsertObject,
                           m_statements->InsertText, progress, pump, std::move(stop));
    SilentProgress quiet;  // the steps are the writer's, counted across catalogues
    ReadResult read;
    try {
        read = ReadProjectFile(*filePath, writer, quiet, quiet);
    } catch (const Stopped&) {
        return {IndexResult::Stopped, {}};
    }
    if (!read.Ok()) {
        std::string error = ProcessCodec().ToUtf8(ReadFailureText(read));
        if (!error.starts_with(catalogue.Path))
            error = catalogue.Path + ": " + error;
        return {IndexResult::Unreadable, std::move(error)};
    }
    const TProjectRec& project = writer.Project;
    m_statements->UpdateCatalogue.Bind(1, stamp.Size)
        .Bind(2, stamp.Modified)
        .Bind(3, project.ProjectName)
        .Bind(4, project.ProjectName2)
        .Bind(5, project.ProjectDataDir)
        .Bind(6, project.AbsolutePath ? 1 : 0)
        .Bind(7, writer.Objects)
        .Bind(8, Now())
        .Bind(9, catalogue.Id)
        .Run();
    transaction.Commit();
    return {};
}

void ShelfIndexer::Forget(std::int64_t catalogueId) {
    SqliteStatement& select = m_statements->SelectEntries;
    select.Bind(1, ObjectKey(catalogueId, 0)).Bind(2, ObjectKey(catalogueId + 1, 0));
    Fields fields;
    // The text index keeps no copy of the texts: taking an object out of it needs the folded
    // texts it was given.
    while (select.Step()) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i] = select.Text(static_cast<int>(i) + 1);
        m_statements->DeleteText.Bind(1, select.Integer(0));
        BindFolded(m_statements->DeleteText, fields);
        m_statements->DeleteText.Run();
    }
    select.Reset();
    m_statements->DeleteEntries.Bind(1, ObjectKey(catalogueId, 0))
        .Bind(2, ObjectKey(catalogueId + 1, 0))
        .Run();
}

}  // namespace tomlet
