#include "FileNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace cfg {

std::string UpperCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string TrimRight(std::string s) {
    s.erase(s.find_last_not_of(" \t") + 1);
    return s;
}

std::string FolderOf(const std::string& path) {
    auto p = fs::path(path).parent_path().string();
    return p.empty() ? std::string(".") : p;
}

std::string BaseNameOf(const std::string& path) { return fs::path(path).filename().string(); }

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return (fs::path(folder) / name).string();
}

std::string ResolveExisting(const std::string& path) {
    std::error_code ec;
    if (path.empty()) return {};
    fs::path p(path);
    fs::path folder = p.parent_path();
    if (folder.empty()) folder = ".";
    const std::string given = p.filename().string();
    const std::string want = UpperCase(given);
    if (want.empty() || !fs::is_directory(folder, ec)) return {};
    // The folder is listed even when `path` opens as it stands: on a disk
    // that ignores case the name typed is not the name stored, and the
    // stored spelling is the one to show and compare. A name spelled
    // exactly as stored wins; among several that differ only in case (a
    // disk that keeps case) the first in sorted order, so that the choice
    // does not depend on the directory's order.
    std::string best;
    bool exact = false;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (UpperCase(name) != want) continue;
        if (!it->is_regular_file(ec)) continue;
        // The folder part stays as the caller wrote it, separators included.
        std::string cand = path.substr(0, path.size() - given.size()) + name;
        if (name == given) {
            best = cand;
            exact = true;
        } else if (!exact && (best.empty() || cand < best)) {
            best = cand;
        }
    }
    return best;
}

std::string ResolveForWrite(const std::string& path) {
    std::string existing = ResolveExisting(path);
    return existing.empty() ? path : existing;
}

bool FileExists(const std::string& path) { return !ResolveExisting(path).empty(); }

std::vector<std::string> ListFilesWithExtension(const std::string& folder, const std::string& ext) {
    std::vector<std::string> names;
    std::error_code ec;
    std::string want = UpperCase(ext);
    for (auto it = fs::directory_iterator(folder.empty() ? "." : folder, ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        if (name.size() > want.size() && UpperCase(name.substr(name.size() - want.size())) == want)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace cfg
