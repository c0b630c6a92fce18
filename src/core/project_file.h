#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/object_tree.h"
#include "core/progress.h"
#include "core/records.h"
#include "platform/replacing_file.h"

namespace tomlet {

// The two version bytes this program writes; files "too new" by IsVersionTooNew are refused.
inline constexpr std::uint8_t FileVersionMajor = 0;
inline constexpr std::uint8_t FileVersionMinor = 2;
bool IsVersionTooNew(std::uint8_t first, std::uint8_t second);

enum class ReadStatus {
    Ok,
    CannotOpen,      // the file could not be opened; `error` says why
    WrongSignature,  // not a project file
    VersionTooNew,   // a project file of a newer program
    Damaged,         // ends early, holds more than the file can, or a negative count
    TooDeep,         // damaged too: objects nested deeper than MaxTreeLevels
};

struct ReadResult {
    ReadStatus Status = ReadStatus::Ok;
    // The system's text for CannotOpen; the catalogue's reason for TooDeep.
    std::string Error;
    bool Ok() const { return Status == ReadStatus::Ok; }
};

// Why a project file could not be read, as the user is told: the catalogue's message, or the
// system's reason for a file that cannot be opened.
std::string ReadFailureText(const ReadResult& result);

// Reads a project file. On success the properties land in `project` and the objects are
// appended to `tree`; on any failure `tree` is left as it was.
ReadResult ReadProjectFile(const std::string& path, TProjectRec& project, ObjectTree& tree,
                           ProgressSink& progress, MessagePump& pump);

// Receives a project file's content in file order, for readers that need no tree (a streaming
// export holds one object at a time).
class ProjectFileVisitor {
public:
    virtual ~ProjectFileVisitor() = default;
    // The properties and the object count, before the first object.
    virtual void Properties(const TProjectRec& project, int count) = 0;
    // One object, in depth-first order, with the level it takes in the tree: the level the
    // file gives, placed as ReadProjectFile places it.
    virtual void Object(TNodeData&& data, int level) = 0;
};

// Reads a project file into `visitor` as it goes. A failure can come after some objects were
// visited.
ReadResult ReadProjectFile(const std::string& path, ProjectFileVisitor& visitor,
                           ProgressSink& progress, MessagePump& pump);

struct WriteResult {
    bool Saved = false;
    std::string Error;  // why nothing was saved, for the user (after "Cant save file!")
};

// Writes the properties and the whole tree. The file is written beside the target and renamed
// over it (platform/replacing_file.h), so a failed save leaves an existing file untouched; a
// target that may not be replaced is refused. A tree deeper than MaxTreeLevels is refused.
WriteResult WriteProjectFile(const std::string& path, const TProjectRec& project,
                             const ObjectTree& tree, ProgressSink& progress, MessagePump& pump,
                             SpecialTarget special = SpecialTarget::Refuse);

// The number of objects a project file's header announces; nothing when the file cannot be read
// as far, is not a project file or is of a newer version.
std::optional<std::int32_t> PeekObjectCount(const std::string& path);

// What to tell a user who named a path that holds no project file: that nothing is there, or
// that it is a folder, or a device, a pipe or a socket.
std::string NoProjectFileText(const std::string& path);

struct SplashSettings {
    std::string PicturePath;  // full path of the project's splash picture
    std::int32_t ShowTime = 0;
};

// Reads a project file only as far as its splash settings. True when the file is a readable
// project file of an accepted version and its splash picture file exists. The picture is
// resolved as the objects' paths are, `discFolder` being the disc's folder.
bool PeekSplashSettings(const std::string& path, const std::string& discFolder,
                        SplashSettings& settings);

}  // namespace tomlet
