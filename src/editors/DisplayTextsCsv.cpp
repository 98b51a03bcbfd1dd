#include "DisplayTextsCsv.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "DisplayTexts.h"
#include "config/Layout.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/SafeWrite.h"
#include "shell/Text.h"

namespace fs = std::filesystem;

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
constexpr int kNotAFile = 1608;
constexpr int kTooLarge = 1609;
constexpr int kNoTextsFile = 1610;
constexpr int kStoppedPartWay = 1611;
constexpr int kNoneWritten = 1612;
constexpr int kTooManyFields = 1613;
constexpr int kNotUtf8 = 1614;

// A texts file holds 454 rows of a few dozen characters: anything past this
// is not one (and would only cost time and memory).
constexpr std::uintmax_t kLargestImport = 1024 * 1024;

// Offset of the first byte that breaks UTF-8, or npos when there is none.
std::size_t FirstInvalidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t at = i;
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2)) return at;
        ++i;
        for (int k = 0; k < extra; ++k, ++i)
            if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return at;
    }
    return std::string::npos;
}

// The line (from 1) that holds byte `offset`.
int LineOf(const std::string& s, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < s.size(); ++i) {
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))) ++line;
    }
    return line;
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

// The file's bytes, at most one past kLargestImport: a device that calls
// itself a file (as /dev/zero may under a compatibility layer) ends too.
std::string ReadWholeFile(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    if (!ok) return {};
    std::string content(kLargestImport + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
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
    const bool bom = content.compare(0, 3, kBom) == 0;
    if (bom) content.erase(0, 3);
    if (const std::size_t bad = FirstInvalidUtf8(content); bad != std::string::npos) {
        // With its byte-order mark the file says it is UTF-8: a broken byte
        // is a fault of the file, not a sign of Latin-1.
        if (bom) {
            error = LineMessage(s, LineOf(content, bad), GetText(s, kNotUtf8));
            return false;
        }
        content = Latin1ToUtf8(content);
    }

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
        // A fourth field is a text cut at a separator it holds ("SALA 1, PIANO
        // 2" unquoted in a comma file); empty fields a spreadsheet adds at
        // the end of a row are no text.
        for (std::size_t f = 3; f < r.fields.size(); ++f)
            if (!Trim(r.fields[f]).empty()) return fail(GetText(s, kTooManyFields));
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

OpResult ExportDisplayTexts(Session& s, const std::string& path, bool load) {
    // A failed read has been reported and left its status with the link.
    if (load && !LoadDisplayTexts(s)) return LinkResult(s.link);
    std::vector<std::string> unshown;
    const std::string csv = DisplayTextsCsvText(s, unshown);
    if (WriteFileWhole(path, csv)) {
        ShowAlert(s, GetText(s, kCannotWrite), path);
        return {status::kRefused};
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
    return {status::kDone};
}

TextsImport ImportDisplayTexts(Session& s, const std::string& path, bool load) {
    const TextsImport refused{{status::kRefused}, -1};
    // A folder, a device or a pipe is refused before it is opened (a read
    // would fail, never end or wait for a writer), and so is a file far
    // larger than any texts file.
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!ec && fs::exists(st) && !fs::is_regular_file(st)) {
        ShowAlert(s, GetText(s, kNotAFile), path);
        return refused;
    }
    if (!ec && fs::is_regular_file(st) && fs::file_size(path, ec) > kLargestImport && !ec) {
        ShowAlert(s, GetText(s, kTooLarge), path);
        return refused;
    }
    bool readable = false;
    const std::string content = ReadWholeFile(path, readable);
    if (!readable || content.size() > kLargestImport) {
        ShowAlert(s, GetText(s, readable ? kTooLarge : kCannotRead), path);
        return refused;
    }
    std::vector<CsvTextRow> rows;
    std::string error;
    if (!ParseDisplayTextsCsv(s, content, rows, error)) {
        ShowAlert(s, error, GetText(s, kNothingWritten));
        return refused;
    }
    if (s.config.ConfigSource == ConfigSource::File) {
        // Every entry lies inside a whole .MY2: a missing or short one is
        // named, not filled out with zeros by the writes.
        const std::string texts = ResolveExisting(Trim(s.config.ConfigFileName) + kTextsFile);
        std::error_code sizeError;
        if (texts.empty() || fs::file_size(texts, sizeError) < static_cast<std::uintmax_t>(kTextFileSize) || sizeError) {
            ShowAlert(s, GetText(s, kNoTextsFile), Trim(s.config.ConfigFileName) + kTextsFile);
            return refused;
        }
    }
    if (load && !LoadDisplayTexts(s)) return {LinkResult(s.link), -1};

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
        return {{status::kDone}, 0};
    }
    std::vector<int> written;
    const int blocks = WriteDisplayEntries(s, changes, &written);
    if (blocks < 0) {
        // The blocks before the failure stay written: say which entries.
        // The failed write has been reported and left its status with the link.
        const OpResult failure = LinkResult(s.link);
        std::string list;
        for (int offset : written) {
            for (const auto& g : DisplayTextGroups()) {
                if (offset < g.offset || offset >= g.offset + g.entries * kDisplayTextLength) continue;
                const int entry = (offset - g.offset) / kDisplayTextLength + 1;
                list += (list.empty() ? "" : ", ") + std::to_string(g.number) + "/" + std::to_string(entry);
            }
        }
        ShowAlert(s, GetText(s, kStoppedPartWay) + " " + (list.empty() ? GetText(s, kNoneWritten) : list),
                  GetText(s, kGroupWord) + "/" + GetText(s, kEntryWord));
        return {failure, -1};
    }
    ShowInfo(s, GetText(s, kBoxTitle),
             GetText(s, kEntriesChanged) + " " + std::to_string(changes.size()) + "\r\n" + GetText(s, kBlocksWritten) +
                 " " + std::to_string(blocks));
    return {{status::kDone}, static_cast<int>(changes.size())};
}

}  // namespace cfg
