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

namespace {

// An object's texts in the object table's order: caption, hint, path, parameters, comments.
using ObjectTexts = std::array<std::string, 5>;
enum TextField { Caption, Hint, Path, Parameters, Comments };

// What the text index of the default fields holds: the folded path, and the folded caption too
// unless the path holds it already (a scanned object's caption is its file name). The parts are
// parted by a character no one searches for; a trigram across the two only adds a candidate.
std::string NameText(const ObjectTexts& texts) {
    std::string path = FoldedUtf8(texts[Path]);
    std::string caption = FoldedUtf8(texts[Caption]);
    if (path.find(caption) != std::string::npos)
        return path;
    if (path.empty())
        return caption;
    return caption + '\x1F' + path;
}

std::string NoteText(const ObjectTexts& texts) {
    std::string note;
    for (const TextField field : {Hint, Parameters, Comments}) {
        if (texts[field].empty())
            continue;
        if (!note.empty())
            note += '\x1F';
        note += FoldedUtf8(texts[field]);
    }
    return note;
}

}  // namespace

struct ShelfIndexer::Statements {
    explicit Statements(SqliteDatabase& database)
        : InsertObject(database.Prepare(
              "INSERT INTO object(id, parent, type, action, caption, hint, path, parameters, "
              "comments) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          InsertName(database.Prepare("INSERT INTO object_name(rowid, text) VALUES(?, ?)")),
          InsertNote(database.Prepare("INSERT INTO object_note(rowid, text) VALUES(?, ?)")),
          DeleteName(database.Prepare(
              "INSERT INTO object_name(object_name, rowid, text) VALUES('delete', ?, ?)")),
          DeleteNote(database.Prepare(
              "INSERT INTO object_note(object_note, rowid, text) VALUES('delete', ?, ?)")),
          SelectEntries(database.Prepare(
              "SELECT id, caption, hint, path, parameters, comments FROM object "
              "WHERE id >= ? AND id < ?")),
          DeleteEntries(database.Prepare("DELETE FROM object WHERE id >= ? AND id < ?")),
          UpdateCatalogue(database.Prepare(
              "UPDATE catalogue SET size = ?, modified = ?, name = ?, name2 = ?, data_dir = ?, "
              "absolute = ?, objects = ?, indexed = ?, missing = 0, error = '' WHERE id = ?")) {}

    // Puts an object's texts into the text indexes, or takes them out: the text index keeps no
    // copy of them, so taking them out needs the same texts it was given.
    void IndexTexts(std::int64_t key, const ObjectTexts& texts, bool index) {
        const std::string name = NameText(texts);
        const std::string note = NoteText(texts);
        if (!name.empty())
            (index ? InsertName : DeleteName).Bind(1, key).Bind(2, name).Run();
        if (!note.empty())
            (index ? InsertNote : DeleteNote).Bind(1, key).Bind(2, note).Run();
    }

    SqliteStatement InsertObject;
    SqliteStatement InsertName;
    SqliteStatement InsertNote;
    SqliteStatement DeleteName;
    SqliteStatement DeleteNote;
    SqliteStatement SelectEntries;
    SqliteStatement DeleteEntries;
    SqliteStatement UpdateCatalogue;
};

namespace {

// Writes each object as the file gives it: its record, decoded to UTF-8, and its folded texts.
class CatalogueWriter final : public ProjectFileVisitor {
public:
    CatalogueWriter(std::int64_t catalogueId, const TextCodec& codec,
                    ShelfIndexer::Statements& statements, ProgressSink& progress,
                    MessagePump& pump, std::stop_token stop)
        : m_catalogueId(catalogueId),
          m_codec(codec),
          m_statements(statements),
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
        const ObjectTexts texts{m_codec.ToUtf8(data.Caption), m_codec.ToUtf8(data.Hint),
                                m_codec.ToUtf8(data.PathFileName),
                                m_codec.ToUtf8(data.Parameters), m_codec.ToUtf8(data.Comments)};
        SqliteStatement& insert = m_statements.InsertObject;
        insert.Bind(1, key);
        if (m_ancestors.empty())
            insert.BindNull(2);
        else
            insert.Bind(2, IndexOfKey(m_ancestors.back()));
        insert.Bind(3, data.ObjectType).Bind(4, data.ObjectAction);
        for (std::size_t i = 0; i < texts.size(); ++i)
            insert.Bind(static_cast<int>(i) + 5, texts[i]);
        insert.Run();
        m_statements.IndexTexts(key, texts, true);
        m_ancestors.push_back(key);
    }

    TProjectRec Project;
    std::int64_t Objects = 0;

private:
    std::int64_t m_catalogueId;
    const TextCodec& m_codec;
    ShelfIndexer::Statements& m_statements;
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
    CatalogueWriter writer(catalogue.Id, codec, *m_statements, progress, pump, std::move(stop));
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
    ObjectTexts texts;
    while (select.Step()) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            texts[i] = select.Text(static_cast<int>(i) + 1);
        m_statements->IndexTexts(select.Integer(0), texts, false);
    }
    select.Reset();
    m_statements->DeleteEntries.Bind(1, ObjectKey(catalogueId, 0))
        .Bind(2, ObjectKey(catalogueId + 1, 0))
        .Run();
}

}  // namespace tomlet
