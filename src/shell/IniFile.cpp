#include "IniFile.h"

#include <fstream>
#include <sstream>

namespace cfg {

bool ReadIniLines(const std::string& path, IniLines& ini) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    if (all.compare(0, 3, "\xEF\xBB\xBF") == 0) all.erase(0, 3);
    if (all.find("\r\n") != std::string::npos) ini.eol = "\r\n";
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t nl = all.find('\n', start);
        std::string line = all.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        ini.lines.push_back(std::move(line));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return true;
}

bool IniSectionLine(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    auto close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool IniKeyLine(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') return false;
    auto eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

std::string IniValue(std::string v) {
    // A stray CR or NUL inside a line ends the value, as a line ending would:
    // what is kept must read back the same after a save.
    auto end = v.find_first_of(std::string("\0\r", 2));
    if (end != std::string::npos) v = Trim(v.substr(0, end));
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
    if (v.size() > 255) v.resize(255);
    return v;
}

std::string IniWriteValue(const std::string& v) {
    bool quoted = v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\''));
    if (quoted || Trim(v) != v) return '"' + v + '"';
    return v;
}

}  // namespace cfg
