#include "app/cli/DataCli.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <ostream>
#include <vector>

#include "config/Files.h"
#include "report/Compare.h"
#include "shell/FileNames.h"
#include "shell/SafeWrite.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "transfer/Backups.h"
#include "transfer/Commands.h"

namespace fs = std::filesystem;

namespace cfg::cli {

namespace {

constexpr int kNoBackupsText = 1713;
constexpr int kConnectedPanelText = 1749;

// Display width of a UTF-8 text (code points).
std::size_t Width(const std::string& t) {
    std::size_t n = 0;
    for (unsigned char c : t)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string Pad(const std::string& t, std::size_t width) { return t + std::string(width - std::min(width, Width(t)), ' '); }

std::string AbsoluteSet(const std::string& name) {
    std::error_code ec;
    return StripExtension(fs::absolute(name, ec).string());
}

}  // namespace

int ListBackupsCommand(Session& s, std::ostream& out) {
    const std::string folder = BackupFolder(s);
    const std::vector<BackupEntry> entries = ListBackups(folder);
    const BackupListView view = MakeBackupListView(s, folder, entries);
    out << view.folderLabel << '\n';
    if (entries.empty()) {
        out << Trim(GetText(s, kNoBackupsText)) << '\n';
        return 0;
    }
    std::vector<std::vector<std::string>> table;
    table.push_back(view.columns);
    table.back().push_back("");
    for (const BackupRow& r : view.rows) table.push_back({r.date, r.installation, r.panel, r.reason, r.parts, r.path});
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto& row : table)
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) widths[c] = std::max(widths[c], Width(row[c]));
    for (const auto& row : table) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) line += c + 1 < row.size() ? Pad(row[c], widths[c] + 2) : row[c];
        out << TrimRight(line) << '\n';
    }
    return 0;
}

int CompareCommandLine(Session& s, CliUi& ui, const std::string& first, const std::string& second,
                       const std::string& output, std::ostream& out) {
    ui.BeginCommand();
    const int errors = ui.ErrorsShown();
    std::error_code ec;
    if (!output.empty() && output != "-" && fs::exists(output, ec) && !ui.answers.yes) {
        std::cerr << "cfgvimo-cli: " << output << " exists; --yes replaces it\n";
        return 2;
    }
    const std::string a = AbsoluteSet(first);
    if (CheckConfigFile(s, a, 1) != status::kDone) return 2;
    std::string b, bName;
    if (second.empty()) {
        const PanelSetResult read = ReadPanelConfiguration(s);
        if (!read.result.Done()) return 2;
        b = read.base;
        bName = Trim(GetText(s, kConnectedPanelText)) + " (" + BaseNameOf(b) + ")";
    } else {
        b = AbsoluteSet(second);
        if (CheckConfigFile(s, b, 1) != status::kDone) return 2;
        bName = BaseNameOf(b);
    }
    const CompareResult result = CompareFileSets(s, a, b);
    if (!result.done || ui.ErrorsShown() != errors) return 2;
    const std::vector<std::string> lines = ComparisonReport(s, BaseNameOf(a), bName, result);
    if (output.empty() || output == "-") {
        for (const std::string& line : lines) out << line << '\n';
        out.flush();
    } else {
        std::string text;
        for (const std::string& line : lines) text += line + '\n';
        if (WriteFileWhole(output, text)) {
            std::cerr << "cfgvimo-cli: cannot write " << output << '\n';
            return 2;
        }
    }
    return result.Count() == 0 ? 0 : 1;
}

}  // namespace cfg::cli
