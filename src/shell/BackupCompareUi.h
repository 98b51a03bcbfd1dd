// What the backups and the comparison of two configurations ask of a front
// end: the list of backup sets to open one from, a folder chooser for the
// backups folder, and the window that shows the differences.
#pragma once

#include <string>
#include <vector>

namespace cfg {

// One backup set as the list shows it.
struct BackupRow {
    std::string date;          // "05/12/2026 23:00:05"
    std::string installation;  // the installation name
    std::string panel;         // the panel's serial number, or the text that says it has none
    std::string reason;        // received, or taken before a send
    std::string parts;         // the files the set holds: "CY2 PY2 UY2 MY2"
    std::string path;          // the set's full name without extension
};

struct BackupListView {
    std::string title;
    std::string folderLabel;   // "Folder:" and the folder
    std::vector<std::string> columns;  // date, installation, panel, reason, parts
    std::vector<BackupRow> rows;       // newest first
    std::string openCaption, cancelCaption;
};

// One group of differences: a section (or the identification, the files,
// the bytes no section shows) and its readable lines.
struct CompareGroupView {
    std::string title;
    std::vector<std::string> lines;
};

struct ComparisonView {
    std::string title;
    std::string first, second;     // "A: name", "B: name"
    std::string summary;           // how many differences, or that there are none
    std::string legend;            // what "→", "−" and "+" mean
    std::vector<CompareGroupView> groups;
    std::vector<std::string> reportLines;  // the same as a text report
    std::string saveCaption, closeCaption;
    std::string saveTitle;         // title of the file dialog of the text report
    std::string saveFailedText;    // the report file could not be written (the path follows)
};

class BackupCompareUi {
public:
    virtual ~BackupCompareUi() = default;
    // The backups list: the 0-based row chosen, or -1 when none was.
    virtual int ChooseBackup(const BackupListView&) = 0;
    // A folder chooser; "" when cancelled.
    virtual std::string AskFolder(const std::string& title, const std::string& start) = 0;
    // Shows the differences until the user closes the window.
    virtual void ShowComparison(const ComparisonView&) = 0;
};

}  // namespace cfg
