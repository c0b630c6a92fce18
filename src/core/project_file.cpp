#include "core/project_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/catalogue.h"
#include "core/limits.h"
#include "core/paths.h"
#include "core/visible_text.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

constexpr std::string_view Signature = "Tomlet";
constexpr std::size_t MaxTextSize = 0xFFFF;
constexpr std::size_t MaxStringSize = 2 + MaxTextSize + 1;
// Five strings and three int32 values.
constexpr std::size_t MinEntrySize = 5 * 3 + 3 * 4;
constexpr std::size_t MaxEntrySize = 5 * MaxStringSize + 3 * 4;
// Signature, versions, six strings, show time, path mode, object count.
constexpr std::size_t MaxHeaderSize = 6 * MaxStringSize + 2 + 4 + 1 + 4;
// Files are read and written in blocks of this size, so that a large project never needs a copy
// of its whole file in memory.
constexpr std::size_t BlockSize = std::size_t{1} << 20;

// Bounds-checked reading of little-endian fields from bytes in memory.
class Cursor final {
public:
    Cursor(const char* begin, const char* end)
        : m_position(reinterpret_cast<const unsigned char*>(begin)),
          m_end(reinterpret_cast<const unsigned char*>(end)) {}

    const char* Position() const { return reinterpret_cast<const char*>(m_position); }

    bool Byte(std::uint8_t& value) {
        if (m_end - m_position < 1)
            return false;
        value = *m_position++;
        return true;
    }

    bool Int32(std::int32_t& value) {
        if (m_end - m_position < 4)
            return false;
        const std::uint32_t bits =
            std::uint32_t{m_position[0]} | std::uint32_t{m_position[1]} << 8 |
            std::uint32_t{m_position[2]} << 16 | std::uint32_t{m_position[3]} << 24;
        value = static_cast<std::int32_t>(bits);
        m_position += 4;
        return true;
    }

    // A 16-bit count, the bytes, and one end byte that is skipped whatever its value.
    bool String(std::string_view& text) {
        if (m_end - m_position < 2)
            return false;
        const std::size_t count = std::size_t{m_position[0]} | std::size_t{m_position[1]} << 8;
        if (static_cast<std::size_t>(m_end - m_position) < 2 + count + 1)
            return false;
        text = {reinterpret_cast<const char*>(m_position) + 2, count};
        m_position += 2 + count + 1;
        return true;
    }

    bool String(std::string& text) {
        std::string_view view;
        if (!String(view))
            return false;
        text.assign(view);
        return true;
    }

private:
    const unsigned char* m_position;
    const unsigned char* m_end;
};

// Reads a file block by block; parsing works on the bytes in memory through Window().
class BlockReader final {
public:
    // False with the system's reason when the file cannot be opened or its size is unknown.
    bool Open(const std::string& path, std::size_t blockSize, std::string& error) {
        namespace fs = std::filesystem;
        std::error_code code;
        const auto size = fs::file_size(NativePath(path), code);
        if (code) {
            error = path + ": " + code.message();
            return false;
        }
        errno = 0;
        m_file.reset(OpenFile(path, "rb"));
        if (!m_file) {
            error = path + ": " + std::generic_category().message(errno != 0 ? errno : EIO);
            return false;
        }
        m_path = path;
        m_unread = size;
        m_capacity = static_cast<std::size_t>(std::min<std::uintmax_t>(size, blockSize));
        m_buffer = std::make_unique_for_overwrite<char[]>(m_capacity);
        return true;
    }

    // Makes at least `wanted` bytes, or all that are left, available in Window(). False on a
    // read error, with the reason.
    bool Fill(std::size_t wanted, std::string& error) {
        const std::size_t held = m_end - m_start;
        if (held >= wanted || m_unread == 0)
            return true;
        std::memmove(m_buffer.get(), m_buffer.get() + m_start, held);
        m_start = 0;
        m_end = held;
        const std::size_t room =
            static_cast<std::size_t>(std::min<std::uintmax_t>(m_capacity - m_end, m_unread));
        errno = 0;
        const std::size_t got = std::fread(m_buffer.get() + m_end, 1, room, m_file.get());
        m_end += got;
        if (got < room) {
            if (std::ferror(m_file.get())) {
                error = m_path + ": " + std::generic_category().message(errno != 0 ? errno : EIO);
                return false;
            }
            m_unread = 0;  // the file shrank since it was measured
        } else {
            m_unread -= got;
        }
        return true;
    }

    Cursor Window() const { return {m_buffer.get() + m_start, m_buffer.get() + m_end}; }
    void ConsumeTo(const char* position) {
        m_start = static_cast<std::size_t>(position - m_buffer.get());
    }
    // Bytes not yet consumed, in memory and in the file.
    std::uintmax_t Remaining() const { return (m_end - m_start) + m_unread; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::string m_path;
    std::unique_ptr<std::FILE, Closer> m_file;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    std::size_t m_start = 0;
    std::size_t m_end = 0;
    std::uintmax_t m_unread = 0;
};

// The fields before the object entries as they stand in the file.
struct Header {
    TProjectRec Project;
    std::uint8_t PathMode = 1;
    std::int32_t Count = 0;
};

// Signature and version bytes.
ReadStatus ReadPreamble(Cursor& cursor) {
    std::string_view signature;
    if (!cursor.String(signature) || signature != Signature)
        return ReadStatus::WrongSignature;
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    if (!cursor.Byte(first) || !cursor.Byte(second))
        return ReadStatus::Damaged;
    return IsVersionTooNew(first, second) ? ReadStatus::VersionTooNew : ReadStatus::Ok;
}

// The properties up to and including the path mode: all the header peek needs.
bool ReadSplashPart(Cursor& cursor, Header& header) {
    TProjectRec& project = header.Project;
    return cursor.String(project.ProjectDataDir) && cursor.String(project.ProjectName) &&
           cursor.String(project.ProjectName2) && cursor.String(project.SplashFileName) &&
           cursor.Int32(project.SplashShowTime) && cursor.Byte(header.PathMode);
}

ReadStatus ReadHeader(Cursor& cursor, Header& header) {
    if (const ReadStatus status = ReadPreamble(cursor); status != ReadStatus::Ok)
        return status;
    if (!ReadSplashPart(cursor, header) || !cursor.String(header.Project.ProjectDescription) ||
        !cursor.Int32(header.Count))
        return ReadStatus::Damaged;
    header.Project.AbsolutePath = header.PathMode != 0;
    return ReadStatus::Ok;
}

struct Entry {
    std::string_view Caption, Hint, PathFileName, Parameters, Comments;
    std::int32_t ObjectType = 0;
    std::int32_t ObjectAction = 0;
    std::int32_t Level = 0;
};

bool ReadEntry(Cursor& cursor, Entry& entry) {
    return cursor.String(entry.Caption) && cursor.String(entry.Hint) &&
           cursor.Int32(entry.ObjectType) && cursor.Int32(entry.ObjectAction) &&
           cursor.String(entry.PathFileName) && cursor.String(entry.Parameters) &&
           cursor.String(entry.Comments) && cursor.Int32(entry.Level);
}

// Of each int32 only the low byte is kept.
TNodeData RecordOf(const Entry& entry) {
    return {std::string(entry.Caption),
            std::string(entry.Hint),
            static_cast<std::uint8_t>(entry.ObjectType & 0xFF),
            static_cast<std::uint8_t>(entry.ObjectAction & 0xFF),
            std::string(entry.PathFileName),
            std::string(entry.Parameters),
            std::string(entry.Comments)};
}

// Turns the levels a file gives into levels in the tree: a level above the last one makes a
// child of the last object (however far above), an equal level a sibling, a lower level steps
// up first. Steps beyond a top-level object, and negative levels, land on the top level.
class LevelPlacer final {
public:
    int Place(std::int32_t given) {
        given = std::max(given, 0);
        int level = 0;
        if (given > m_given) {
            level = m_level + 1;
        } else {
            for (; m_given > given && m_level >= 0; --m_given)
                --m_level;
            level = given != 0 && m_level >= 0 ? m_level : 0;
        }
        m_given = given;
        m_level = level;
        return level;
    }

private:
    std::int32_t m_given = 0;  // as the file gave it for the last object
    int m_level = -1;          // of the last object in the tree; -1 above the top
};

// Builds the tree apart, so that a failed read leaves the caller's tree alone.
class TreeBuilder final : public ProjectFileVisitor {
public:
    void Properties(const TProjectRec& project, int) override { Project = project; }
    void Object(TNodeData&& data, int level) override {
        m_path.resize(static_cast<std::size_t>(level));
        m_path.push_back(Tree.Append(level == 0 ? nullptr : m_path.back(), std::move(data)));
    }

    TProjectRec Project;
    ObjectTree Tree;

private:
    std::vector<ObjectNode*> m_path;  // the last object and its ancestors, the top one first
};

class ProgressEnd final {
public:
    explicit ProgressEnd(ProgressSink& progress) : m_progress(progress) {}
    ~ProgressEnd() { m_progress.End(); }
    ProgressEnd(const ProgressEnd&) = delete;
    ProgressEnd& operator=(const ProgressEnd&) = delete;

private:
    ProgressSink& m_progress;
};

ReadResult Failed(ReadStatus status, std::string error = {}) {
    return {status, std::move(error)};
}

ReadResult ReadEntries(BlockReader& file, std::int32_t count, ProjectFileVisitor& visitor,
                       ProgressSink& progress, MessagePump& pump) {
    LevelPlacer placer;
    Entry entry;
    std::string error;
    for (std::int32_t i = 0; i < count; ++i) {
        pump.LetMessagesThrough();
        progress.Step();
        if (!file.Fill(MaxEntrySize, error))
            return Failed(ReadStatus::CannotOpen, std::move(error));
        Cursor cursor = file.Window();
        if (!ReadEntry(cursor, entry))
            return Failed(ReadStatus::Damaged);
        file.ConsumeTo(cursor.Position());
        const int level = placer.Place(entry.Level);
        if (level >= MaxTreeLevels)
            return Failed(ReadStatus::TooDeep, TreeTooDeepText());

        visitor.Object(RecordOf(entry), level);
    }
    return {};
}

// Output collected in a block and handed to the file whenever the block is full. Callers check
// text lengths first, and flush after every entry, so the block never runs over.
class BlockWriter final {
public:
    explicit BlockWriter(ReplacingFile& file)
        : m_file(file),
          m_block(std::make_unique_for_overwrite<char[]>(BlockSize)),
          m_end(m_block.get()) {}

    void Byte(std::uint8_t value) { *m_end++ = static_cast<char>(value); }

    void Int32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        m_end[0] = static_cast<char>(bits);
        m_end[1] = static_cast<char>(bits >> 8);
        m_end[2] = static_cast<char>(bits >> 16);
        m_end[3] = static_cast<char>(bits >> 24);
        m_end += 4;
    }

    void String(std::string_view text) {
        m_end[0] = static_cast<char>(text.size());
        m_end[1] = static_cast<char>(text.size() >> 8);
        std::memcpy(m_end + 2, text.data(), text.size());
        m_end[2 + text.size()] = '\0';
        m_end += text.size() + 3;
    }

    // Hands the block to the file when another entry might not fit (or always, when `all`).
    bool Flush(bool all = false) {
        const auto size = static_cast<std::size_t>(m_end - m_block.get());
        if (!all && size < BlockSize - MaxEntrySize)
            return true;
        m_end = m_block.get();
        return m_file.Write({m_block.get(), size});
    }

private:
    ReplacingFile& m_file;
    std::unique_ptr<char[]> m_block;
    char* m_end;
};

void WriteHeader(BlockWriter& out, const TProjectRec& project, int count) {
    out.String(Signature);
    out.Byte(FileVersionMajor);
    out.Byte(FileVersionMinor);
    out.String(project.ProjectDataDir);
    out.String(project.ProjectName);
    out.String(project.ProjectName2);
    out.String(project.SplashFileName);
    out.Int32(project.SplashShowTime);
    out.Byte(project.AbsolutePath ? 1 : 0);
    out.String(project.ProjectDescription);
    out.Int32(count);
}

void WriteEntry(BlockWriter& out, const TNodeData& data, int level) {
    out.String(data.Caption);
    out.String(data.Hint);
    out.Int32(data.ObjectType);
    out.Int32(data.ObjectAction);
    out.String(data.PathFileName);
    out.String(data.Parameters);
    out.String(data.Comments);
    out.Int32(level);
}

std::string TooLongText(std::string_view field, std::string_view owner, std::size_t size) {
    return "The field " + std::string(field) + " of " + std::string(owner) + " holds " +
           std::to_string(size) + " bytes; a project file can hold at most " +
           std::to_string(MaxTextSize) + ".";
}

std::optional<std::string> TooLongProperty(const TProjectRec& project) {
    const std::pair<std::string_view, const std::string*> fields[] = {
        {"ProjectDataDir", &project.ProjectDataDir},
        {"ProjectName", &project.ProjectName},
        {"ProjectName2", &project.ProjectName2},
        {"SplashFileName", &project.SplashFileName},
        {"ProjectDescription", &project.ProjectDescription}};
    for (const auto& [field, text] : fields)
        if (text->size() > MaxTextSize)
            return TooLongText(field, "the project properties", text->size());
    return std::nullopt;
}

// The start of a caption as an error message quotes it: cut between characters, its control
// characters escaped, so that it cannot break the message's lines.
std::string QuotedCaption(std::string_view caption) {
    constexpr std::size_t Quoted = 60;
    const TextCodec& codec = ProcessCodec();
    std::string text = codec.ToUtf8(caption);
    if (text.size() > Quoted) {
        std::size_t cut = Quoted;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return codec.FromUtf8(EscapeControls(text));
}

// `number` counts objects in tree order from 1.
std::optional<std::string> TooLongField(const TNodeData& data, int number) {
    const std::pair<std::string_view, const std::string*> fields[] = {
        {"Caption", &data.Caption},
        {"Hint", &data.Hint},
        {"PathFileName", &data.PathFileName},
        {"Parameters", &data.Parameters},
        {"Comments", &data.Comments}};
    for (const auto& [field, text] : fields) {
        if (text->size() > MaxTextSize) {
            const std::string owner = "object " + std::to_string(number) + " in tree order (\"" +
                                      QuotedCaption(data.Caption) + "\")";
            return TooLongText(field, owner, text->size());
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ReadFailureText(const ReadResult& result) {
    switch (result.Status) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::CannotOpen:
            return result.Error;
        case ReadStatus::VersionTooNew:
            return Text(TextId::message_FileVersionHigherUseNewerTomlet);
        case ReadStatus::WrongSignature:
        case ReadStatus::Damaged:
            return Text(TextId::message_IncorrectFormatFile);
        case ReadStatus::TooDeep:
            return Text(TextId::message_IncorrectFormatFile) + " " + result.Error;
    }
    return {};
}

bool IsVersionTooNew(std::uint8_t first, std::uint8_t second) {
    return first != 0 && second > FileVersionMinor;
}

ReadResult ReadProjectFile(const std::string& path, ProjectFileVisitor& visitor,
                           ProgressSink& progress, MessagePump& pump) {
    ProgressEnd end(progress);
    std::string error;
    BlockReader file;
    if (!file.Open(path, BlockSize, error) || !file.Fill(MaxHeaderSize, error))
        return Failed(ReadStatus::CannotOpen, std::move(error));

    Header header;
    Cursor cursor = file.Window();
    if (const ReadStatus status = ReadHeader(cursor, header); status != ReadStatus::Ok)
        return Failed(status);
    file.ConsumeTo(cursor.Position());
    // Every entry takes at least MinEntrySize bytes: a larger count cannot be true, and nothing
    // is allocated for it.
    if (header.Count < 0 ||
        static_cast<std::uintmax_t>(header.Count) > file.Remaining() / MinEntrySize)
        return Failed(ReadStatus::Damaged);

    visitor.Properties(header.Project, header.Count);
    progress.Begin();
    progress.SetText(Text(TextId::text_LoadingData_D));
    progress.SetMaximum(header.Count);
    return ReadEntries(file, header.Count, visitor, progress, pump);
}

ReadResult ReadProjectFile(const std::string& path, TProjectRec& project, ObjectTree& tree,
                           ProgressSink& progress, MessagePump& pump) {
    TreeBuilder built;
    ReadResult result = ReadProjectFile(path, built, progress, pump);
    if (result.Ok()) {
        project = std::move(built.Project);
        tree.Adopt(std::move(built.Tree), nullptr);
    }
    return result;
}

WriteResult WriteProjectFile(const std::string& path, const TProjectRec& project,
                             const ObjectTree& tree, ProgressSink& progress, MessagePump& pump,
                             SpecialTarget special) {
    ProgressEnd end(progress);
    WriteResult result;
    if (auto tooLong = TooLongProperty(project)) {
        result.Error = std::move(*tooLong);
        return result;
    }
    ReplacingFile file(path, special);
    if (!file.Open()) {
        result.Error = file.Error();
        return result;
    }

    progress.Begin();
    progress.SetText(Text(TextId::text_SavingData_D));
    progress.SetMaximum(tree.Count());
    BlockWriter out(file);
    WriteHeader(out, project, tree.Count());
    // One walk checks and writes each object; the first failure stops it, and the temporary
    // file goes with `file`, leaving the target as it was.
    std::optional<std::string> failure;
    int number = 0;
    tree.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        if (failure)
            return;
        pump.LetMessagesThrough();
        progress.Step();
        if (level >= MaxTreeLevels) {
            failure = TreeTooDeepText();
            return;
        }
        if ((failure = TooLongField(node.Data, ++number)))
            return;
        WriteEntry(out, node.Data, level);
        if (!out.Flush())
            failure = file.Error();
    });
    if (!failure && (!out.Flush(true) || !file.Commit()))
        failure = file.Error();
    if (failure) {
        result.Error = std::move(*failure);
        return result;
    }
    result.Saved = true;
    return result;
}

std::optional<std::int32_t> PeekObjectCount(const std::string& path) {
    std::string error;
    BlockReader file;
    if (!file.Open(path, MaxHeaderSize, error) || !file.Fill(MaxHeaderSize, error))
        return std::nullopt;
    Cursor cursor = file.Window();
    Header header;
    if (ReadHeader(cursor, header) != ReadStatus::Ok)
        return std::nullopt;
    return header.Count;
}

std::string NoProjectFileText(const std::string& path) {
    const std::optional<FileFacts> facts = LookUpPath(path);
    const TextId text = !facts               ? TextId::message_ProjectFileNotFound_S
                        : facts->IsDirectory ? TextId::message_ProjectPathIsFolder_S
                                             : TextId::message_ProjectPathIsSpecial_S;
    return FormatString(Text(text), path);
}

bool PeekSplashSettings(const std::string& path, const std::string& discFolder,
                        SplashSettings& settings) {
    if (!FileExists(path))
        return false;
    std::string error;
    BlockReader file;
    if (!file.Open(path, MaxHeaderSize, error) || !file.Fill(MaxHeaderSize, error))
        return false;
    Cursor cursor = file.Window();
    Header header;
    if (ReadPreamble(cursor) != ReadStatus::Ok || !ReadSplashPart(cursor, header))
        return false;
    settings.PicturePath =
        ResolveObjectPath(static_cast<PathMode>(header.PathMode),
                          ResolveDataDirectory(header.Project.ProjectDataDir, discFolder),
                          header.Project.SplashFileName, discFolder);
    settings.ShowTime = header.Project.SplashShowTime;
    return FileExists(settings.PicturePath);
}

}  // namespace tomlet
