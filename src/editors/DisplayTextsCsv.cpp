#include "DisplayTextsCsv.h"

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "DisplayTexts.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";
constexpr const char* kHeader = "group;entry;text";
// Entries listed by name in the export report; the rest are counted.
constexpr std::size_t kUnshownListed = 12;

// Text ids of the messages.
constexpr int kBoxTitle = 1760;
constexpr int kLineText = 1761;
constexpr int kUnknownGroup = 1762;
constexpr int kEntryOutside = 1763;
constexpr int kTooLong = 1764;
constexpr int kBadCharacter = 1765;
constexpr int kDuplicate = 1766;
constexpr int kMissingField = 1767;
constexpr int kNothingWritten = 1768;
constexpr int kCannotRead = 1769;
constexpr int kEntriesChanged = 1770;
constexpr int kBlocksWritten = 1771;
constexpr int kNoChange = 1772;
constexpr int kEntriesExported = 1773;
constexpr int kUnshownBytes = 1774;
constexpr int kCannotWrite = 1778;
constexpr int kGroupWord = 1780;
constexpr int kEntryWord = 1781;

bool IsValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
        ++i;
        for (int k = 0; k < extra; ++k, ++i)
            if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return false;
    }
    return true;
}

std::string Quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

// One record of the file: its fields and the line it starts on.
struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

// The separator the first row uses: the most frequent of ';', ',' and tab
// outside quotes (';' when none is found).
char DetectSeparator(const std::string& content) {
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (char c : content) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) break;
        else if (!quoted && c == ';') ++semicolons;
        else if (!quoted && c == ',') ++commas;
        else if (!quoted && c == '\t') ++tabs;
    }
    if (commas > semicolons && commas >= tabs) return ',';
    if (tabs > semicolons && tabs > commas) return '\t';
    return ';';
}

std::vector<Record> SplitRecords(const std::string& content, char separator) {
    std::vector<Record> records;
    Record current{1, {}};
    std::string field;
    bool quoted = false, wasQuoted = false;
    int line = 1;
    auto endField = [&] {
        current.fields.push_back(field);
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        records.push_back(std::move(current));
        current = Record{line, {}};
    };
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (quoted) {
            if (c == '"' && i + 1 < content.size() && content[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n') ++line;
                field += c;
            }
        } else if (c == '"' && (field.empty() || Trim(field).empty()) && !wasQuoted) {
            field.clear();  // blanks before an opening quote do not count
            quoted = wasQuoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
            ++line;
            endRecord();
        } else if (!(wasQuoted && c == ' ')) {
            field += c;  // blanks after a closing quote are dropped
        }
    }
    if (!field.empty() || !current.fields.empty() || quoted) endRecord();
    return records;
}

bool BlankRecord(const Record& r) {
    for (const auto& f : r.fields)
        if (!Trim(f).empty()) return false;
    return true;
}

// A whole number in digits, or -1.
long WholeNumber(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 6 || t.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stol(t);
}

std::string LineMessage(Session& s, int line, const std::string& reason) {
    return GetText(s, kLineText) + " " + std::to_string(line) + ": " + reason;
}

std::string ReadWholeFile(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    if (!ok) return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string DisplayTextsCsvText(Session& s, std::vector<std::string>& unshown) {
    std::string out = std::string(kBom) + kHeader + "\r\n";
    for (const auto& g : DisplayTextGroups()) {
        for (int n = 1; n <= g.entries; ++n) {
            const int offset = DisplayEntryOffset(g, n);
            for (int i = 0; i < kDisplayTextLength; ++i) {
                if (!DisplayShowsByte(s.config.ConfigImage[offset + i] & 0xFF)) {
                    unshown.push_back(GetText(s, kGroupWord) + " " + std::to_string(g.number) + ", " +
                                      GetText(s, kEntryWord) + " " + std::to_string(n));
                    break;
                }
            }
            out += std::to_string(g.number) + ";" + std::to_string(n) + ";" +
                   Quoted(TrimRight(DisplayEntryText(s, offset, ' '))) + "\r\n";
        }
    }
    return out;
}

bool ParseDisplayTextsCsv(Session& s, const std::string& rawContent, std::vector<CsvTextRow>& rows,
                          std::string& error) {
    std::string content = rawContent;
    if (content.compare(0, 3, kBom) == 0) content.erase(0, 3);
    if (!IsValidUtf8(content)) content = Latin1ToUtf8(content);

    const std::vector<Record> records = SplitRecords(content, DetectSeparator(content));
    std::map<std::pair<int, int>, int> seen;  // (group, entry) -> line
    bool first = true;
    for (const Record& r : records) {
        if (BlankRecord(r)) continue;
        const long group = WholeNumber(r.fields[0]);
        if (first && group < 0) {  // a header row
            first = false;
            continue;
        }
        first = false;
        auto fail = [&](const std::string& reason) {
            error = LineMessage(s, r.line, reason);
            return false;
        };
        if (r.fields.size() < 3) return fail(GetText(s, kMissingField));
        const DisplayTextGroup* g = group > 0 && group <= kDisplayTextGroups ? FindDisplayTextGroup(static_cast<int>(group)) : nullptr;
        if (!g) return fail(GetText(s, kUnknownGroup));
        const long entry = WholeNumber(r.fields[1]);
        if (entry < 1 || entry > g->entries) return fail(GetText(s, kEntryOutside) + " " + std::to_string(g->entries));
        const std::string text = TrimRight(r.fields[2]);
        if (DisplayTextLengthOf(text) > kDisplayTextLength) return fail(GetText(s, kTooLong));
        std::vector<Cell> bytes;
        std::string bad;
        if (!DisplayTextBytes(text, bytes, bad)) {
            std::string shown = bad == "\n" || bad == "\r" || bad == "\t" ? std::string() : bad;
            return fail(GetText(s, kBadCharacter) + " \"" + shown + "\"");
        }
        auto [it, fresh] = seen.emplace(std::make_pair(g->number, static_cast<int>(entry)), r.line);
        if (!fresh) return fail(GetText(s, kDuplicate) + " " + std::to_string(it->second));
        rows.push_back(CsvTextRow{r.line, g->number, static_cast<int>(entry), text});
    }
    return true;
}

bool ExportDisplayTexts(Session& s, const std::string& path, bool load) {
    if (load && !LoadDisplayTexts(s)) return false;
    std::vector<std::string> unshown;
    const std::string csv = DisplayTextsCsvText(s, unshown);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    out.close();
    if (!out) {
        ShowAlert(s, GetText(s, kCannotWrite), path);
        s.LinkStatus = status::kRefused;
        return false;
    }
    int count = 0;
    for (const auto& g : DisplayTextGroups()) count += g.entries;
    std::string report = GetText(s, kEntriesExported) + " " + std::to_string(count) + "\r\n" + path;
    if (!unshown.empty()) {
        report += "\r\n\r\n" + GetText(s, kUnshownBytes);
        for (std::size_t i = 0; i < unshown.size() && i < kUnshownListed; ++i) report += "\r\n" + unshown[i];
        if (unshown.size() > kUnshownListed) report += "\r\n... (" + std::to_string(unshown.size()) + ")";
    }
    ShowInfo(s, GetText(s, kBoxTitle), report);
    s.LinkStatus = status::kDone;
    return true;
}

int ImportDisplayTexts(Session& s, const std::string& path, bool load) {
    bool readable = false;
    const std::string content = ReadWholeFile(path, readable);
    if (!readable) {
        ShowAlert(s, GetText(s, kCannotRead), path);
        s.LinkStatus = status::kRefused;
        return -1;
    }
    std::vector<CsvTextRow> rows;
    std::string error;
    if (!ParseDisplayTextsCsv(s, content, rows, error)) {
        ShowAlert(s, error, GetText(s, kNothingWritten));
        s.LinkStatus = status::kRefused;
        return -1;
    }
    if (load && !LoadDisplayTexts(s)) return -1;

    // Only what differs from the texts as the tool reads them (a byte the
    // display cannot show counts as the blank it is shown as).
    std::map<int, std::vector<Cell>> changes;
    for (const CsvTextRow& row : rows) {
        const DisplayTextGroup* g = FindDisplayTextGroup(row.group);
        const int offset = DisplayEntryOffset(*g, row.entry);
        std::vector<Cell> wanted, current;
        std::string bad;
        DisplayTextBytes(row.text, wanted, bad);
        DisplayTextBytes(DisplayEntryText(s, offset, ' '), current, bad);
        if (wanted != current) changes[offset] = wanted;
    }
    if (changes.empty()) {
        ShowInfo(s, GetText(s, kBoxTitle), GetText(s, kNoChange));
        s.LinkStatus = status::kDone;
        return 0;
    }
    const int blocks = WriteDisplayEntries(s, changes);
    if (blocks < 0) return -1;
    ShowInfo(s, GetText(s, kBoxTitle),
             GetText(s, kEntriesChanged) + " " + std::to_string(changes.size()) + "\r\n" + GetText(s, kBlocksWritten) +
                 " " + std::to_string(blocks));
    return static_cast<int>(changes.size());
}

}  // namespace cfg
