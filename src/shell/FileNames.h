// File names on any disk: names are shown and compared upper-cased, but the
// disk is touched through these helpers, which find an existing file without
// regard to case inside its folder and never change the folder's case.
#pragma once

#include <string>
#include <vector>

namespace cfg {

std::string UpperCase(std::string);
std::string Trim(const std::string&);
// Without its trailing blanks and tabs (the fixed-width texts of the panel
// end in blanks).
std::string TrimRight(std::string);
// Path of an existing file whose name matches `path`'s last component without
// regard to case, or "" when there is none. A folder that does not exist gives "".
std::string ResolveExisting(const std::string& path);
// The path to use for a file: the existing one when there is one, else `path`.
std::string ResolveForWrite(const std::string& path);
bool FileExists(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);
std::string BaseNameOf(const std::string& path);
// Names in `folder` whose extension equals `ext` (".lng") without regard to case.
std::vector<std::string> ListFilesWithExtension(const std::string& folder, const std::string& ext);

}  // namespace cfg
