// Files written whole or not at all: the new content goes to a temporary
// file in the target's folder, which is then renamed over the target. A full
// disk, a failing write or a program that dies half-way leaves the old file
// as it was (and at worst a stray temporary beside it), never a truncated
// one. The temporary's name is unique per process and per call, so two
// programs writing the same file never write into each other's temporary.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace cfg {

// A name for a temporary beside `path` (same folder, so that the rename is
// a rename and not a copy): "<name>.<pid>-<random>.tmp".
std::string TemporaryPathFor(const std::string& path);

// Renames `temporary` over `path` (replacing it where it exists, on Windows
// too) and gives the new file the old one's permissions. On failure the
// temporary is removed and `path` is untouched.
std::error_code CommitTemporary(const std::string& temporary, const std::string& path);

// Writes `bytes` as the whole new content of `path`. Empty on success,
// otherwise the reason; the old file then stays as it was.
std::error_code WriteFileWhole(const std::string& path, std::string_view bytes);

// The id of this process (for temporary names and lock files).
long CurrentProcessId();
// False only when `pid` certainly names no running process on this machine.
bool ProcessMayBeRunning(long pid);

}  // namespace cfg
