#pragma once

#include <sys/stat.h>

#include <optional>

#include "platform/file_system.h"

// POSIX only: the stamp that a file's status tells, shared by the look-ups by path, by open
// file and by name in an open folder.
namespace tomlet {

std::optional<FileIdentityStamp> StampOfStatus(const struct stat& status);

}  // namespace tomlet
