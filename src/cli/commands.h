#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "core/file_fingerprints.h"
#include "core/project_file.h"
#include "platform/directory_listing.h"
#include "platform/text_codec.h"

// The commands of tomlet-cli. A new command is a function here, its file, and one line in the
// table in cli.cpp.
namespace tomlet::cli {

int RunDump(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunExport(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunImport(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunCheck(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunFind(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunScan(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunUpdate(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunHtml(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunShelf(const Arguments& arguments, std::ostream& out, std::ostream& err);

// The fields a --fields list names ("caption,path"); `fallback` when no list is given. Throws
// UsageError for an unknown name.
std::uint8_t ParseFindFields(const std::optional<std::string>& list, std::uint8_t fallback);

// Throws CommandError with the catalogue's message naming the file unless it was read.
void ThrowUnlessRead(const std::string& path, const ReadResult& result);
// Reads a project file into `visitor` for a command; throws CommandError with the catalogue's
// message naming the file when it cannot be read.
void VisitProjectFile(const std::string& path, ProjectFileVisitor& visitor);
// A path given in UTF-8 in the project's code page; throws CommandError when it cannot hold it.
std::string InProjectCodePage(const std::string& utf8Path, const TextCodec& codec);

// Reads a whole project file for a command that changes it; throws as VisitProjectFile does.
void LoadProjectFile(const std::string& path, TProjectRec& project, ObjectTree& tree);
// Says on standard error how many files and folders a command's scan left out, then names each
// with the reason.
void ReportSkipped(std::string_view command, const std::vector<SkippedEntry>& skipped,
                   std::ostream& err);
// Writes a command's project; throws CommandError with the save error when it cannot. A device or
// a pipe named as the output (-o /dev/stdout) is written directly.
void SaveProjectFile(const std::string& path, const TProjectRec& project, const ObjectTree& tree);
// Keeps the record of a project's files for its later updates, unless the project went to a
// device or a pipe. The record only helps: failing to keep it fails no command.
void KeepFingerprints(const std::string& projectFile, const FingerprintMap& fingerprints);

}  // namespace tomlet::cli
