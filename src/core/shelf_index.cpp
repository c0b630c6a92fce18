#include "core/shelf_index.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
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

// An object as the shelf keeps it: the index of its parent, its kind and its texts in UTF-8.
struct DecodedObject {
    std::optional<int> Parent;
    std::uint8_t Type = 0;
    std::uint8_t Action = 0;
    ObjectTexts Texts;
};

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
          SelectEntries(
              database.Prepare("SELECT id, caption, hint, path, parameters, comments FROM object "
                               "WHERE id >= ? AND id < ?")),
          DeleteEntries(database.Prepare("DELETE FROM object WHERE id >= ? AND id < ?")),
          UpdateCatalogue(database.Prepare(
              "UPDATE catalogue SET size = ?, modified = ?, name = ?, name2 = ?, data_dir = ?, "
              "absolute = ?, objects = ?, indexed = ?, missing = 0, error = '' WHERE id = ?")),
          RecordFailure(database.Prepare(
              "UPDATE catalogue SET size = ?, modified = ?, error = ? WHERE id = ?")) {}

    void Insert(std::int64_t key, const DecodedObject& object) {
        InsertObject.Bind(1, key);
        if (object.Parent)
            InsertObject.Bind(2, *object.Parent);
        else
            InsertObject.BindNull(2);
        InsertObject.Bind(3, object.Type).Bind(4, object.Action);
        for (std::size_t i = 0; i < object.Texts.size(); ++i)
            InsertObject.Bind(static_cast<int>(i) + 5, object.Texts[i]);
        InsertObject.Run();
        IndexTexts(key, object.Texts, true);
    }

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
    SqliteStatement RecordFailure;
};

// What reading a catalogue gave besides its objects.
struct ShelfIndexer::Decoded {
    TProjectRec Project;  // its texts in UTF-8
    std::int64_t Objects = 0;
};

namespace {

// Catalogues up to this size are read whole before they are written; larger ones as they are
// read, so that memory stays bounded.
constexpr std::int64_t WholeReadObjects = 100'000;
// A transaction of catalogues read whole ends once it holds this many objects, so that another
// process waiting to write does not wait long.
constexpr std::int64_t BatchObjects = 200'000;

// Decodes each object as the file gives it and hands it on, with the index of its parent.
class CatalogueDecoder final : public ProjectFileVisitor {
public:
    CatalogueDecoder(const TextCodec& codec, MessagePump& pump, std::stop_token stop,
                     std::function<void(DecodedObject&&)> take)
        : m_codec(codec), m_pump(pump), m_stop(std::move(stop)), m_take(std::move(take)) {}

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
        m_ancestors.resize(static_cast<std::size_t>(level));
        DecodedObject object{m_ancestors.empty() ? std::nullopt : std::optional(m_ancestors.back()),
                             data.ObjectType,
                             data.ObjectAction,
                             {m_codec.ToUtf8(data.Caption), m_codec.ToUtf8(data.Hint),
                              m_codec.ToUtf8(data.PathFileName), m_codec.ToUtf8(data.Parameters),
                              m_codec.ToUtf8(data.Comments)}};
        m_ancestors.push_back(Objects++);
        m_take(std::move(object));
    }

    TProjectRec Project;
    int Objects = 0;

private:
    const TextCodec& m_codec;
    MessagePump& m_pump;
    std::stop_token m_stop;
    std::function<void(DecodedObject&&)> m_take;
    std::vector<int> m_ancestors;  // indexes of the last object's ancestors, top first
};

std::string FailureText(const std::string& path, const ReadResult& read) {
    std::string error = ProcessCodec().ToUtf8(ReadFailureText(read));
    return error.starts_with(path) ? error : path + ": " + error;
}

}  // namespace

ShelfIndexer::ShelfIndexer(SqliteDatabase& database)
    : m_database(database), m_statements(std::make_unique<Statements>(database)) {}

ShelfIndexer::~ShelfIndexer() = default;

ShelfRefresh ShelfIndexer::Index(const std::vector<ChangedCatalogue>& catalogues,
                                 ProgressSink& progress, MessagePump& pump, std::stop_token stop) {
    ShelfRefresh result;
    std::optional<SqliteTransaction> batch;
    std::int64_t batched = 0;
    const auto commitBatch = [&] {
        if (batch)
            batch->Commit();
        batch.reset();
        batched = 0;
    };
    try {
        for (const ChangedCatalogue& changed : catalogues) {
            if (stop.stop_requested())
                throw Stopped();
            const std::string& utf8 = changed.Catalogue.Path;
            std::string error;
            // The reader takes paths in the process code page.
            const auto path = ProcessCodec().FromUtf8Exactly(utf8);
            bool read = false;
            if (!path) {
                error = utf8 + ": the code page " + std::to_string(ProcessCodec().CodePage()) +
                        " cannot hold this path";
            } else if (changed.Objects > WholeReadObjects) {
                commitBatch();
                read = IndexStreamed(changed, *path, pump, progress, stop, error);
            } else {
                if (!batch)
                    batch.emplace(m_database);
                read = IndexWhole(changed, *path, pump, progress, stop, error);
                batched += changed.Objects;
            }
            if (read) {
                ++result.Indexed;
            } else {
                RecordFailure(changed, error);
                result.Damaged.emplace_back(utf8, std::move(error));
            }
            if (batched >= BatchObjects)
                commitBatch();
        }
    } catch (const Stopped&) {
        result.Cancelled = true;
    }
    commitBatch();  // the catalogues written whole before the stop stay
    return result;
}

bool ShelfIndexer::IndexWhole(const ChangedCatalogue& changed, const std::string& path,
                              MessagePump& pump, ProgressSink& progress, std::stop_token stop,
                              std::string& error) {
    std::vector<DecodedObject> objects;
    objects.reserve(static_cast<std::size_t>(std::max<std::int64_t>(changed.Objects, 0)));
    const TextCodec codec(changed.Catalogue.CodePage);
    CatalogueDecoder decoder(codec, pump, std::move(stop),
                             [&](DecodedObject&& object) { objects.push_back(std::move(object)); });
    SilentProgress quiet;  // the steps are the writer's, counted across catalogues
    if (const ReadResult read = ReadProjectFile(path, decoder, quiet, quiet); !read.Ok()) {
        error = FailureText(changed.Catalogue.Path, read);
        return false;
    }
    Forget(changed.Catalogue.Id);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        m_statements->Insert(ObjectKey(changed.Catalogue.Id, static_cast<std::int64_t>(i)),
                             objects[i]);
        progress.Step();
        pump.LetMessagesThrough();
    }
    RecordIndexed(changed, {decoder.Project, decoder.Objects});
    return true;
}

bool ShelfIndexer::IndexStreamed(const ChangedCatalogue& changed, const std::string& path,
                                 MessagePump& pump, ProgressSink& progress, std::stop_token stop,
                                 std::string& error) {
    const std::int64_t id = changed.Catalogue.Id;
    SqliteTransaction transaction(m_database);
    Forget(id);
    std::int64_t index = 0;
    const TextCodec codec(changed.Catalogue.CodePage);
    CatalogueDecoder decoder(codec, pump, std::move(stop), [&](DecodedObject&& object) {
        m_statements->Insert(ObjectKey(id, index++), object);
        progress.Step();
    });
    SilentProgress quiet;
    if (const ReadResult read = ReadProjectFile(path, decoder, quiet, quiet); !read.Ok()) {
        error = FailureText(changed.Catalogue.Path, read);
        return false;
    }
    RecordIndexed(changed, {decoder.Project, decoder.Objects});
    transaction.Commit();
    return true;
}

void ShelfIndexer::RecordIndexed(const ChangedCatalogue& changed, const Decoded& catalogue) {
    const TProjectRec& project = catalogue.Project;
    m_statements->UpdateCatalogue.Bind(1, changed.Stamp.Size)
        .Bind(2, changed.Stamp.Modified)
        .Bind(3, project.ProjectName)
        .Bind(4, project.ProjectName2)
        .Bind(5, project.ProjectDataDir)
        .Bind(6, project.AbsolutePath ? 1 : 0)
        .Bind(7, catalogue.Objects)
        .Bind(8, Now())
        .Bind(9, changed.Catalogue.Id)
        .Run();
}

// Read again only once the file changes.
void ShelfIndexer::RecordFailure(const ChangedCatalogue& changed, const std::string& error) {
    m_statements->RecordFailure.Bind(1, changed.Stamp.Size)
        .Bind(2, changed.Stamp.Modified)
        .Bind(3, error)
        .Bind(4, changed.Catalogue.Id)
        .Run();
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
