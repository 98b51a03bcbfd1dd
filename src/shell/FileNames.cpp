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
    if (fs::is_regular_file(path, ec)) return path;
    fs::path p(path);
    fs::path folder = p.parent_path();
    if (folder.empty()) folder = ".";
    std::string want = UpperCase(p.filename().string());
    if (want.empty() || !fs::is_directory(folder, ec)) return {};
    std::string best;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (UpperCase(it->path().filename().string()) != want) continue;
        if (!it->is_regular_file(ec)) continue;
        // Several names that differ only in case: take the first in sorted
        // order so the choice does not depend on the directory's order.
        std::string cand = (p.parent_path().empty() ? it->path().filename() : p.parent_path() / it->path().filename()).string();
        if (best.empty() || cand < best) best = cand;
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
