#include "report/Compare.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "config/Files.h"
#include "link/Screen.h"
#include "report/Printout.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Text.h"
#include "transfer/Backups.h"
#include "transfer/Commands.h"
#include "transfer/DateStamp.h"
#include "transfer/SectionBlocks.h"

namespace cfg {

namespace {

// Texts.
constexpr int kWindowTitle = 1730;
constexpr int kNoDifferences = 1731;
constexpr int kDifferencesText = 1732;
constexpr int kLegendText = 1733;
constexpr int kIdentGroup = 1734;
constexpr int kFilesGroup = 1735;
constexpr int kBytesGroup = 1736;
constexpr int kByteWord = 1737;
constexpr int kOnlyInFirst = 1738;     // 1739 only in the second
constexpr int kUnreadableFirst = 1740;  // 1741 in the second
constexpr int kCompareWith = 1742;     // 1743 a file set, 1744 the panel
constexpr int kFirstFileTitle = 1745;  // 1746 the second
constexpr int kSaveCaption = 1747;     // 1748 the save dialog's title
constexpr int kPanelSide = 1749;
constexpr int kProbeLimitText = 1750;
constexpr int kBytesWord = 1751;
constexpr int kSaveFailedText = 1752;
constexpr int kCloseCaption = 1712;
constexpr int kFileFilters = 468;  // 468..471, one for each file of a set
// Printout texts reused for the identification and the loop modules.
constexpr int kVersionText = 75;
constexpr int kInstallationText = 80;
constexpr int kLastChangeText = 81;
constexpr int kSerialText = 82;
constexpr int kLoopSensorsText = 85;
constexpr int kModuleText = 87;

constexpr const char* kArrow = " \xE2\x86\x92 ";   // →
constexpr const char* kMinus = "\xE2\x88\x92 ";    // −
constexpr const char* kPlus = "+ ";
constexpr const char* kStep = " \xE2\x80\xBA ";    // ›
constexpr const char* kNothing = "\xE2\x80\x94";   // —
// Probes (one run of every section) spent on telling which bytes no
// section shows; past it the rest of the differing bytes count as shown.
constexpr int kProbeBudget = 1500;
// A run of differing bytes up to this long is listed value by value.
constexpr std::size_t kListedRun = 8;

using Bytes = std::vector<uint8_t>;

// --- readable lines ------------------------------------------------------------

// Words of a printed line; a quoted text and a [...] tag are one word each,
// dot leaders are dropped ("Type......" is "Type").
std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = i;
        const char close = line[i] == '"' ? '"' : line[i] == '[' ? ']' : 0;
        if (close != 0) {
            end = line.find(close, i + 1);
            end = end == std::string::npos ? line.size() : end + 1;
        } else {
            while (end < line.size() && line[end] != ' ') ++end;
        }
        std::string token = line.substr(i, end - i);
        i = end;
        // Dot leaders fill a column up to its value: their length follows
        // the value's, so they are no part of a word.
        if (close == 0) {
            for (std::size_t dots; (dots = token.find("..")) != std::string::npos;) {
                std::size_t run = token.find_first_not_of('.', dots);
                token.erase(dots, run == std::string::npos ? std::string::npos : run - dots);
            }
        }
        if (!token.empty()) out.push_back(std::move(token));
    }
    return out;
}

// A label as a reader wants it: a closing ":" or arrow goes.
std::string CleanLabel(const std::vector<std::string>& tokens) {
    std::string out;
    for (const std::string& t : tokens) {
        if (t == ":" && !out.empty()) {
            out += ":";
            continue;
        }
        if (!out.empty()) out += " ";
        out += t;
    }
    for (;;) {
        std::string before = out;
        while (!out.empty() && (out.back() == ' ' || out.back() == ':')) out.pop_back();
        for (const char* arrow : {"-->", "->"}) {
            const std::string a = arrow;
            if (out.size() >= a.size() && out.compare(out.size() - a.size(), a.size(), a) == 0)
                out.erase(out.size() - a.size());
        }
        if (out == before) break;
    }
    return out;
}

std::string JoinTokens(const std::vector<std::string>& tokens, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += (out.empty() ? "" : " ") + tokens[i];
    return out.empty() ? std::string(kNothing) : out;
}

int Indent(const std::string& line) {
    std::size_t i = line.find_first_not_of(' ');
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

// A heading of a section's printout: flush left, its words before any
// "(" in capitals.
bool IsHeading(const std::string& line) {
    if (Indent(line) != 0) return false;
    int letters = 0;
    for (char c : line) {
        if (c == '(') break;
        if (std::islower(static_cast<unsigned char>(c))) return false;
        if (std::isupper(static_cast<unsigned char>(c))) ++letters;
    }
    return letters >= 3;
}

// The name part of a line: up to the first gap of two blanks.
std::string LabelOf(const std::string& line) {
    std::string t = Trim(line);
    std::size_t gap = t.find("  ");
    if (gap != std::string::npos) t.erase(gap);
    return CleanLabel(Tokens(t));
}

// What a line sits under: the nearest heading (when the section has more
// than one) and up to two lines it is indented under.
std::string ContextOf(const std::vector<std::string>& lines, std::size_t index, bool withHeadings) {
    std::vector<std::string> chain;
    int indent = Indent(lines[index]);
    for (std::size_t j = index; j-- > 0 && chain.size() < 2 && indent >= 3;) {
        const int i = Indent(lines[j]);
        if (i < 0 || i > indent - 3 || IsHeading(lines[j])) continue;
        chain.push_back(LabelOf(lines[j]));
        indent = i;
    }
    if (withHeadings) {
        for (std::size_t j = index; j-- > 0;) {
            if (IsHeading(lines[j])) {
                chain.push_back(Trim(lines[j]));
                break;
            }
        }
    }
    std::string out;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if (!it->empty()) out += *it + kStep;
    return out;
}

// A line kept or dropped whole: after its context, or, without one, with
// its leading blanks, so that the numbers of a list ("  9:", " 10:") stay
// in one column.
std::string WithContext(const std::string& context, const std::string& line) {
    return context.empty() ? TrimRight(line) : context + Trim(line);
}

// --- the two sides -----------------------------------------------------------------

struct SectionOutput {
    std::string title;
    FilePart part = FilePart::None;
    bool ok = false;  // the section read its bytes
    std::vector<std::string> lines;
};

// A section of the comparison: a row of the section table and its option.
struct Printed {
    const SectionDef* def;
    int option;
    std::string title;
};

std::vector<Printed> PrintedSections(Session& s) {
    std::vector<Printed> out;
    if (const SectionDef* loops = s.sections.Find(kLoopSensorsCode); loops && loops->printable && loops->print) {
        for (int module = 1; module <= 2; ++module)
            out.push_back({loops, module,
                           Trim(GetText(s, kLoopSensorsText)) + " - " + Trim(GetText(s, kModuleText)) + " " +
                               std::to_string(module)});
    }
    for (const SectionDef& def : s.sections.Rows()) {
        if (!def.printable || !def.print || def.code == kLoopSensorsCode) continue;
        std::string title = def.titleText > 0 ? Trim(GetText(s, def.titleText)) : std::string();
        if (title.empty()) title = "#" + std::to_string(def.code);
        out.push_back({&def, 1, title});
    }
    // The printout's order: the main file's sections, then the clock
    // programmer, the logics, the display texts.
    std::stable_sort(out.begin(), out.end(),
                     [](const Printed& x, const Printed& y) { return x.def->part < y.def->part; });
    return out;
}

std::vector<std::string> IdentificationLines(const Texts& t, const ConfigState& c) {
    return {
        GetText(t, kInstallationText) + " " + Trim(c.InstallationName),
        GetText(t, kLastChangeText) + " " + Trim(c.LastChangeDate),
        GetText(t, kSerialText) + " " + Trim(c.PanelSerialNumber) + "  " + Trim(c.ProductionDate),
        GetText(t, kVersionText) + " " + Trim(c.PanelVersionText) + "  " + Trim(c.PanelReleaseCode),
    };
}

// Every section's lines of one file set; entry 0 is the identification.
std::vector<SectionOutput> PrintSide(const Texts& texts, const std::string& identTitle, const FileSetImage& side,
                                     const std::vector<Printed>& sections) {
    std::vector<SectionOutput> out;
    SectionOutput ident;
    ident.title = identTitle;
    ident.part = FilePart::Main;
    if (side.present[1]) {
        auto config = std::make_unique<ConfigState>();
        ident.ok = ReadIdentification(side, *config);
        if (ident.ok) ident.lines = IdentificationLines(texts, *config);
    }
    out.push_back(std::move(ident));
    for (const Printed& p : sections) {
        SectionOutput o;
        o.title = p.title;
        o.part = p.def->part;
        const int part = static_cast<int>(o.part);
        if (part < 1 || side.present[static_cast<std::size_t>(part)]) o.ok = p.def->print(side, texts, p.option, o.lines);
        out.push_back(std::move(o));
    }
    return out;
}

bool SameOutput(const std::vector<SectionOutput>& a, const std::vector<SectionOutput>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].ok != b[i].ok || a[i].lines != b[i].lines) return false;
    return true;
}

// --- bytes that no section shows ----------------------------------------------------

class Prober {
public:
    Prober(const Texts& texts, const FileSetImage& first, const FileSetImage& second,
           const std::vector<Printed>& sections, const std::vector<SectionOutput>& baseline)
        : texts_(texts), a_(first), b_(second), sections_(sections), baseline_(baseline) {}

    // Positions of part `kind` that differ and change no section's lines.
    std::vector<std::size_t> Unshown(int kind) {
        const auto k = static_cast<std::size_t>(kind);
        std::vector<std::size_t> diff;
        const Bytes& x = a_.parts[k];
        const Bytes& y = b_.parts[k];
        for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i)
            if (x[i] != y[i]) diff.push_back(i);
        std::vector<std::size_t> out;
        Split(kind, diff, out);
        std::sort(out.begin(), out.end());
        return out;
    }
    bool LimitReached() const { return limited_; }

private:
    // True when taking `positions` from the second side leaves every
    // section's lines as they were on the first.
    bool Unchanged(int kind, const std::vector<std::size_t>& positions) {
        const auto k = static_cast<std::size_t>(kind);
        FileSetImage probe = a_;
        for (std::size_t p : positions) probe.parts[k][p] = b_.parts[k][p];
        ++probes_;
        return SameOutput(PrintSide(texts_, {}, probe, sections_), baseline_);
    }

    void Split(int kind, const std::vector<std::size_t>& positions, std::vector<std::size_t>& out) {
        if (positions.empty()) return;
        if (probes_ >= kProbeBudget) {
            limited_ = true;
            return;
        }
        if (Unchanged(kind, positions)) {
            out.insert(out.end(), positions.begin(), positions.end());
            return;
        }
        if (positions.size() == 1) return;
        const auto half = static_cast<long>(positions.size() / 2);
        Split(kind, {positions.begin(), positions.begin() + half}, out);
        Split(kind, {positions.begin() + half, positions.end()}, out);
    }

    const Texts& texts_;
    const FileSetImage& a_;
    const FileSetImage& b_;
    const std::vector<Printed>& sections_;
    const std::vector<SectionOutput>& baseline_;
    int probes_ = 0;
    bool limited_ = false;
};

std::string ByteRunLine(Session& s, int kind, const Bytes& a, const Bytes& b, std::size_t from, std::size_t to) {
    std::string line = Trim(GetText(s, PartNameText(kind))) + ", " + Trim(GetText(s, kByteWord)) + " " +
                       std::to_string(from);
    if (to > from) line += "-" + std::to_string(to);
    line += ": ";
    if (to - from + 1 > kListedRun) return line + std::to_string(to - from + 1) + " " + Trim(GetText(s, kBytesWord));
    std::string before, after;
    for (std::size_t i = from; i <= to; ++i) {
        before += (i > from ? " " : "") + std::to_string(a[i]);
        after += (i > from ? " " : "") + std::to_string(b[i]);
    }
    return line + before + kArrow + after;
}

std::string SideName(const std::string& letter, const std::string& name) { return letter + ": " + name; }

}  // namespace

int CompareResult::Count() const {
    int n = 0;
    for (const auto& g : groups) n += static_cast<int>(g.lines.size());
    return n;
}

std::string DescribeChange(const std::string& before, const std::string& after) {
    const std::vector<std::string> a = Tokens(before), b = Tokens(after);
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::string label = CleanLabel({a.begin(), a.begin() + static_cast<long>(prefix)});
    const std::string change =
        JoinTokens(a, prefix, a.size() - suffix) + kArrow + JoinTokens(b, prefix, b.size() - suffix);
    return label.empty() ? change : label + ": " + change;
}

std::vector<std::string> DiffSectionLines(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::size_t n = a.size(), m = b.size();
    // Longest common subsequence of the lines, from the end.
    std::vector<int> lcs((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> int& { return lcs[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            at(i, j) = a[i] == b[j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    const bool headingsA = std::count_if(a.begin(), a.end(), IsHeading) > 1;
    const bool headingsB = std::count_if(b.begin(), b.end(), IsHeading) > 1;

    std::vector<std::string> out;
    std::vector<std::size_t> gone, added;
    auto flush = [&] {
        if (gone.size() == added.size()) {
            for (std::size_t k = 0; k < gone.size(); ++k)
                out.push_back(ContextOf(a, gone[k], headingsA) + DescribeChange(a[gone[k]], b[added[k]]));
        } else {
            for (std::size_t i : gone)
                if (Indent(a[i]) >= 0) out.push_back(kMinus + WithContext(ContextOf(a, i, headingsA), a[i]));
            for (std::size_t j : added)
                if (Indent(b[j]) >= 0) out.push_back(kPlus + WithContext(ContextOf(b, j, headingsB), b[j]));
        }
        gone.clear();
        added.clear();
    };
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j]) {
            flush();
            ++i;
            ++j;
        } else if (j < m && (i == n || at(i, j + 1) >= at(i + 1, j))) {
            added.push_back(j++);
        } else {
            gone.push_back(i++);
        }
    }
    flush();
    return out;
}

CompareResult CompareFileSets(Session& s, const std::string& first, const std::string& second) {
    CompareResult result;
    // Files that fail their checks are compared only when the user says so:
    // a damaged file would read as a configuration that differs everywhere.
    const std::array<bool, 5> all{false, true, true, true, true};
    if (!ConfirmSetFiles(s, first, all, 0) || !ConfirmSetFiles(s, second, all, 0)) return result;
    {
        const FileSetImage a = ReadFileSetImage(first);
        const FileSetImage b = ReadFileSetImage(second);
        if (a.present[1] && b.present[1]) {
            const std::vector<Printed> sections = PrintedSections(s);
            const std::string identTitle = GetText(s, kIdentGroup);
            const std::vector<SectionOutput> outA = PrintSide(s.texts, identTitle, a, sections);
            const std::vector<SectionOutput> outB = PrintSide(s.texts, identTitle, b, sections);

            CompareGroup files;
            files.title = GetText(s, kFilesGroup);
            for (int kind = 1; kind <= 4; ++kind) {
                const auto k = static_cast<std::size_t>(kind);
                const std::string name = Trim(GetText(s, PartNameText(kind)));
                if (a.present[k] != b.present[k]) {
                    files.lines.push_back(name + ": " + Trim(GetText(s, a.present[k] ? kOnlyInFirst : kOnlyInFirst + 1)));
                } else if (a.present[k] && a.parts[k].size() != b.parts[k].size()) {
                    const std::string word = " " + Trim(GetText(s, kBytesWord));
                    files.lines.push_back(name + ": " + std::to_string(a.parts[k].size()) + word + kArrow +
                                          std::to_string(b.parts[k].size()) + word);
                }
            }
            if (!files.lines.empty()) result.groups.push_back(std::move(files));

            for (std::size_t i = 0; i < outA.size(); ++i) {
                const SectionOutput& x = outA[i];
                const SectionOutput& y = outB[i];
                const int part = static_cast<int>(x.part);
                // A part one side lacks is told about among the files.
                if (part >= 1 && (!a.present[static_cast<std::size_t>(part)] || !b.present[static_cast<std::size_t>(part)]))
                    continue;
                CompareGroup g;
                g.title = x.title.empty() ? y.title : x.title;
                if (!x.ok && !y.ok) continue;  // neither side shows it: nothing to compare
                if (!x.ok || !y.ok) {
                    if (!x.ok) g.lines.push_back(Trim(GetText(s, kUnreadableFirst)));
                    if (!y.ok) g.lines.push_back(Trim(GetText(s, kUnreadableFirst + 1)));
                } else {
                    g.lines = DiffSectionLines(x.lines, y.lines);
                }
                if (!g.lines.empty()) result.groups.push_back(std::move(g));
            }

            CompareGroup bytes;
            bytes.title = GetText(s, kBytesGroup);
            Prober prober(s.texts, a, b, sections, outA);
            for (int kind = 1; kind <= 4; ++kind) {
                const auto k = static_cast<std::size_t>(kind);
                if (!a.present[k] || !b.present[k]) continue;
                const std::vector<std::size_t> unshown = prober.Unshown(kind);
                for (std::size_t r = 0; r < unshown.size();) {
                    std::size_t end = r;
                    while (end + 1 < unshown.size() && unshown[end + 1] == unshown[end] + 1) ++end;
                    bytes.lines.push_back(ByteRunLine(s, kind, a.parts[k], b.parts[k], unshown[r], unshown[end]));
                    r = end + 1;
                }
            }
            result.probeLimitReached = prober.LimitReached();
            if (result.probeLimitReached) bytes.lines.push_back(Trim(GetText(s, kProbeLimitText)));
            if (!bytes.lines.empty()) result.groups.push_back(std::move(bytes));
            result.done = true;
        }
    }
    if (!result.done) {
        // A side without its main file cannot be compared: say which.
        for (const std::string& base : {first, second})
            if (CheckConfigFile(s, base, 1) != status::kDone) break;
    }
    return result;
}

std::vector<std::string> ComparisonReport(Session& s, const std::string& firstName, const std::string& secondName,
                                          const CompareResult& r) {
    std::vector<std::string> out;
    out.push_back(Trim(GetText(s, kWindowTitle)));
    out.push_back(SideName("A", firstName));
    out.push_back(SideName("B", secondName));
    out.push_back(r.Count() == 0 ? Trim(GetText(s, kNoDifferences))
                                 : Trim(GetText(s, kDifferencesText)) + " " + std::to_string(r.Count()));
    if (r.Count() > 0) out.push_back(Trim(GetText(s, kLegendText)));
    for (const CompareGroup& g : r.groups) {
        out.emplace_back();
        out.push_back(g.title);
        for (const std::string& line : g.lines) out.push_back("  " + line);
    }
    return out;
}

ComparisonView MakeComparisonView(Session& s, const std::string& firstName, const std::string& secondName,
                                  const CompareResult& r) {
    ComparisonView v;
    v.title = Trim(GetText(s, kWindowTitle));
    v.first = SideName("A", firstName);
    v.second = SideName("B", secondName);
    v.summary = r.Count() == 0 ? Trim(GetText(s, kNoDifferences))
                               : Trim(GetText(s, kDifferencesText)) + " " + std::to_string(r.Count());
    v.legend = r.Count() == 0 ? std::string() : Trim(GetText(s, kLegendText));
    for (const CompareGroup& g : r.groups) v.groups.push_back({g.title, g.lines});
    v.reportLines = ComparisonReport(s, firstName, secondName, r);
    v.saveCaption = GetText(s, kSaveCaption);
    v.saveTitle = Trim(GetText(s, kSaveCaption + 1));
    v.closeCaption = GetText(s, kCloseCaption);
    v.saveFailedText = Trim(GetText(s, kSaveFailedText));
    return v;
}

OpResult CompareCommand(Session& s) {
    std::string first, firstName;
    bool firstIsPanel = false;
    if (s.config.ConfigSource == ConfigSource::File) {
        first = s.config.ConfigFileName;
        firstName = BaseNameOf(first);
    } else if (s.config.ConfigSource == ConfigSource::Panel) {
        firstIsPanel = true;
    } else {
        FileDialogRequest req;
        req.title = GetText(s, kFirstFileTitle);
        for (int i = 0; i < 4; ++i) req.filters.push_back(GetText(s, kFileFilters + i));
        std::string answer = s.ui->AskOpenFile(req);
        if (Trim(answer).empty()) return {status::kAborted};
        first = StripExtension(answer);
        firstName = BaseNameOf(first);
    }
    bool secondIsPanel = false;
    if (!firstIsPanel) {
        ChoiceRequest menu;
        menu.title = GetText(s, kCompareWith);
        // The window's title may not show: the menu says what is compared.
        menu.prompts = {SideName("A", firstName), Trim(GetText(s, kCompareWith)) + ":"};
        menu.items = {GetText(s, kCompareWith + 1), GetText(s, kCompareWith + 2)};
        const int choice = s.ui->AskChoice(menu);
        if (choice < 0 || choice > 1) return {status::kAborted};
        secondIsPanel = choice == 1;
    }
    std::string second, secondName;
    if (!secondIsPanel) {
        FileDialogRequest req;
        req.title = GetText(s, kFirstFileTitle + 1);
        for (int i = 0; i < 4; ++i) req.filters.push_back(GetText(s, kFileFilters + i));
        std::string answer = s.ui->AskOpenFile(req);
        if (Trim(answer).empty()) return {status::kAborted};
        second = StripExtension(answer);
        secondName = BaseNameOf(second);
    }
    if (firstIsPanel || secondIsPanel) {
        const PanelSetResult read = ReadPanelConfiguration(s);
        if (!read.result.Done()) return read.result;
        const std::string& panel = read.base;
        const std::string name = Trim(GetText(s, kPanelSide)) + " (" + BaseNameOf(panel) + ")";
        (firstIsPanel ? first : second) = panel;
        (firstIsPanel ? firstName : secondName) = name;
    }
    const CompareResult result = CompareFileSets(s, first, second);
    if (!result.done) return {status::kRefused};
    s.ui->ShowComparison(MakeComparisonView(s, firstName, secondName, result));
    return {status::kDone};
}

void CompareSection(Session& s, PrintMode, int) {
    // The window, or the box that said why there is none, was the answer.
    static_cast<void>(CompareCommand(s));
    EndSection(s);
}

}  // namespace cfg
