// Form texts of one language file, read once and indexed. Translating a form
// asks for three keys per control; reading the file for each of them is slow
// once the file passes 64 KB (the line-scan path), so the forms ask here.
// Answers are exactly those of cfg::ReadLanguageEntry: the INI rules for
// small files, the first line that begins with the key for large ones.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cfg::gui {

class LanguageCache {
public:
    // One value of a language file; "" when absent. The file is re-read when
    // its name, size or modification time changes.
    std::string Lookup(const std::string& file, const std::string& section, const std::string& key);
    void Invalidate() { loadedFile_.clear(); }

private:
    void Load(const std::string& file, const std::string& resolved);

    std::string loadedFile_;   // the name asked for
    std::string resolvedPath_; // the file found on disk ("" when none)
    std::uintmax_t size_ = 0;
    long long mtime_ = 0;
    bool large_ = false;
    // Small files: (upper-cased section, upper-cased key) -> first value.
    std::map<std::pair<std::string, std::string>, std::string> ini_;
    // Large files: every line (line end and BOM removed) with its position,
    // sorted by text so that the lines beginning with a key are neighbours.
    std::vector<std::pair<std::string, std::size_t>> sortedLines_;
};

}  // namespace cfg::gui
