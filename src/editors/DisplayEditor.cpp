#include "DisplayEditor.h"

#include <map>
#include <string>
#include <vector>

#include "DisplayTexts.h"
#include "DisplayTextsCsv.h"
#include "transfer/SectionBlocks.h"
#include "transfer/DateStamp.h"
#include "link/Screen.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr int kTitleText = kDisplayTitleText;
constexpr int kBadCharacterText = 1765;
constexpr int kRangeText = 1779;
constexpr int kSaveTitle = 1775;
constexpr int kOpenTitle = 1776;
constexpr int kFilterText = 1777;
constexpr int kExistsText = 1615;  // and 1616: the question before replacing a file

std::string EntryLine(const Page& s, const DisplayTextGroup& g, int entry) {
    std::string line = GetText(s, g.label);
    if (g.number >= 3) line += " ";
    return line + PadSpaces(3, entry) + " -->    \"" + DisplayEntryText(s.config, DisplayEntryOffset(g, entry), '?') + "\"";
}

// A whole number written in digits, within 1..max; -1 otherwise.
int EntryNumber(const std::string& text, int max) {
    std::string t = Trim(text);
    if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != std::string::npos) return -1;
    int n = std::stoi(t);
    return n >= 1 && n <= max ? n : -1;
}

void ShowBadCharacter(Session& s, const std::string& bad) {
    ShowAlert(s, GetText(s, kBadCharacterText) + " \"" + bad + "\"", "");
}

void Rebuild(Session& s, int selectLine) {
    BuildDisplayScreen(s);
    RefreshScreen(s);
    if (selectLine > 0) SelectScreenLine(s, selectLine);
}

// Export / import from the section's buttons: the file chosen in the
// platform's dialog, the list rebuilt from what the source now holds.
void RunBulkCommand(Session& s, BulkText command) {
    const bool exporting = command == BulkText::Export;
    FileDialogRequest request;
    request.title = GetText(s, exporting ? kSaveTitle : kOpenTitle);
    request.filters = {GetText(s, kFilterText)};
    if (exporting) {
        // Named after the file set, or after the installation on the panel.
        std::string name = s.config.ConfigSource == ConfigSource::File ? BaseNameOf(s.config.ConfigFileName) : Trim(s.config.InstallationName);
        request.initialName = (name.empty() ? std::string("display") : name) + ".csv";
    }
    std::string path = exporting ? s.ui->AskSaveFile(request) : s.ui->AskOpenFile(request);
    if (path.empty()) return;
    if (exporting && BaseNameOf(path).find('.') == std::string::npos) path += ".csv";
    // An export never replaces a file silently (the name may have gained
    // its ".csv" after the dialog).
    if (exporting && FileExists(path) &&
        s.ui->MessageBox(s.main.Shell.ApplicationTitle, GetText(s, kExistsText) + " " + path + "\r\n" + GetText(s, kExistsText + 1),
                         MsgButtons::YesNo, MsgIcon::Exclamation) != MsgAnswer::Yes)
        return;
    const int selected = SelectedScreenLine(s);
    if (exporting) {
        // Either way the user has been told how it went.
        static_cast<void>(ExportDisplayTexts(s, path, false));
    } else if (ImportDisplayTexts(s, path, false).entries > 0) {
        if (!s.config.DateStamped) static_cast<void>(StampDate(s));
    }
    Rebuild(s, selected);
}

}  // namespace

void BuildDisplayScreen(Session& s) { RenderDisplay(PageOf(s)); }

bool PrintDisplay(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection({.blocks = DisplayTextBlocks(), .build = [](const Page& p, bool) { RenderDisplay(p); }},
                            set, texts, lines);
}

void RenderDisplay(const Page& s) {
    ClearScreenLines(s);
    for (const auto& g : DisplayTextGroups()) {
        WriteScreenText(s, NewScreenLine(s), 1, GetText(s, g.heading));
        for (int n = 1; n <= g.entries; ++n) {
            int line = NewScreenLine(s, static_cast<int16_t>(g.number), static_cast<int16_t>(n),
                                     static_cast<int16_t>(DisplayEntryOffset(g, n)));
            WriteScreenText(s, line, 1, EntryLine(s, g, n));
        }
    }
}

bool EditDisplayLine(Session& s, int line) {
    LineDescriptor d = DescriptorOf(s.screen, line);
    const DisplayTextGroup* g = FindDisplayTextGroup(d.field);
    if (!g || d.value2 < 1 || d.value2 > g->entries) return false;
    const int entry = d.value2;
    const int offset = DisplayEntryOffset(*g, entry);

    MessageRequest request;
    request.title = GetText(s, g->title) + PadSpaces(3, entry);
    request.prompt = g->prompt > 0 ? GetText(s, g->prompt) : request.title;
    // Without its trailing blanks: the box takes 16 characters, and a text
    // that already fills it would take no typing at the end.
    request.initialText = DisplayEntryText(s, offset, ' ');
    request.initialText = TrimRight(request.initialText);
    request.maxLength = kDisplayTextLength;
    request.allowRange = true;
    request.entry = entry;
    s.events.MessageRangeInput = false;
    MessageAnswer answer = s.ui->AskMessage(request);
    if (!answer.confirmed) return false;

    int first = entry, last = entry;
    if (answer.range) {
        first = EntryNumber(answer.first, g->entries);
        last = EntryNumber(answer.last, g->entries);
        if (first < 0 || last < 0 || first > last) {
            ShowAlert(s, GetText(s, kRangeText) + " " + std::to_string(g->entries), "");
            return false;
        }
    }

    std::map<int, std::vector<Cell>> entries;
    for (int n = first; n <= last; ++n) {
        std::string text = answer.range ? RangeEntryText(answer.text, n - first, answer.countUp) : answer.text;
        std::vector<Cell> bytes;
        std::string bad;
        if (!DisplayTextBytes(text, bytes, bad)) {
            ShowBadCharacter(s, bad);
            return false;
        }
        entries[DisplayEntryOffset(*g, n)] = bytes;
    }
    const bool written = WriteDisplayEntries(s, entries) > 0;
    Rebuild(s, line);
    return written;
}

void DisplaySection(Session& s, PrintMode mode, int /*option*/) {
    if (!LoadDisplayTexts(s)) {
        EndSection(s);
        return;
    }
    BuildDisplayScreen(s);
    if (mode == PrintMode::LinesOnly) {
        EndSection(s);
        return;
    }
    ShowEditScreen(s, GetText(s, kTitleText));
    RefreshScreen(s);
    if (SelectedScreenLine(s) == 0) MoveToEditableLine(s, +1);
    s.events.BulkTextCommand = BulkText::None;
    s.ui->SetBulkTextButtons(true);
    for (;;) {
        // Like every list: wait on window events while nothing is pending.
        const FormEvents& e = s.events;
        if (e.UserEvent || e.ExitRequested || e.ForwardEvent || e.ReverseRequested || e.ResetRequested ||
            e.BulkTextCommand != BulkText::None)
            Yield(s);
        else
            IdleYield(s);
        HandleEditCursor(s);
        if (s.events.ExitRequested) break;
        if (s.events.BulkTextCommand != BulkText::None) {
            const BulkText command = s.events.BulkTextCommand;
            s.events.BulkTextCommand = BulkText::None;
            RunBulkCommand(s, command);
        }
        if (s.events.UserEvent) {
            s.events.UserEvent = false;
            if (EditDisplayLine(s, SelectedScreenLine(s)) && !s.config.DateStamped) static_cast<void>(StampDate(s));
        }
    }
    s.ui->SetBulkTextButtons(false);
    s.events.ExitRequested = false;
    s.link.LastErrorNumber = 0;
    EndSection(s);
}

}  // namespace cfg
