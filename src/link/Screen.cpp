#include "Screen.h"

#include <algorithm>

#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr int kTagColumn = 69;
// Text ids of the editing screen's buttons and of the reference tag.
constexpr int kOkCaption = 1291;
constexpr int kCancelCaption = 1292;
constexpr int kTagText = 1243;

bool IsScreenLine(int line) { return line >= 1 && line <= kScreenLines; }

std::string Pad(int width, long value, char fill) {
    if (width <= 0) return {};
    const std::string text = std::to_string(value);
    const auto w = static_cast<std::size_t>(width);
    if (text.size() >= w) return text.substr(text.size() - w);
    std::string padded(w - text.size(), fill);
    padded += text;
    return padded;
}

}  // namespace

// --- building lines -----------------------------------------------------

Page PageOf(Session& s) { return Page{s.config, s.texts, s.screen}; }

void ClearScreenLines(const Page& p) {
    // A line never taken stays empty: it reads as blank everywhere (a write
    // fills it to 80 blanks first), and a buffer made for one printout
    // needs no 501 blank lines made.
    for (int i = 0; i <= kScreenLines; ++i) {
        if (!p.screen.Lines[i].empty()) p.screen.Lines[i].assign(kScreenWidth, ' ');
        p.screen.Descriptors[i] = LineDescriptor{};
    }
    p.screen.LineCount = 0;
}

int NewScreenLine(const Page& p, int16_t field, int16_t value2, int16_t value3) {
    if (p.screen.LineCount >= kScreenLines) return 0;
    int line = ++p.screen.LineCount;
    p.screen.Lines[line].assign(kScreenWidth, ' ');
    p.screen.Descriptors[line] = LineDescriptor{field, value2, value3};
    return line;
}

namespace {

// Writes `text` over columns column..column+width-1 of a screen line, cut at
// `width` characters and, with `fill`, blank-filled to it; nothing goes
// beyond column 80.
void WriteColumns(std::string& target, int column, std::size_t width, const std::string& text, bool fill) {
    const std::size_t start = static_cast<std::size_t>(column - 1);
    width = std::min(width, static_cast<std::size_t>(kLastColumn - column + 1));
    // A line of 80 bytes holds 80 one-byte characters (lines are always held
    // at 80 characters): there a text of one-byte characters goes straight
    // to its byte offsets. That is nearly every write of a list or printout.
    if (target.size() == static_cast<std::size_t>(kScreenWidth) && IsAscii(text)) {
        const std::size_t n = std::min(width, text.size());
        target.replace(start, n, text, 0, n);
        if (fill && n < width) target.replace(start + n, width - n, width - n, ' ');
        return;
    }
    // Lines made elsewhere may be short or long: hold them at 80 characters.
    if (Utf8Length(target) != static_cast<std::size_t>(kScreenWidth)) target = Utf8PadRight(target, kScreenWidth);
    const std::string piece = fill ? Utf8PadRight(text, width) : Utf8Left(text, width);
    const std::size_t from = Utf8Offset(target, start);
    const std::size_t to = from + Utf8Offset(std::string_view(target).substr(from), Utf8Length(piece));
    target.replace(from, to - from, piece);
}

}  // namespace

void WriteScreenText(const Page& p, int line, int column, const std::string& text) {
    if (!IsScreenLine(line) || column < kFirstColumn || column > kLastColumn) return;
    WriteColumns(p.screen.Lines[line], column, static_cast<std::size_t>(kLastColumn - column + 1), text, false);
}

void WriteScreenField(const Page& p, int line, int first, int last, const std::string& text) {
    if (last < first) return;
    if (!IsScreenLine(line) || first < kFirstColumn || first > kLastColumn) return;
    WriteColumns(p.screen.Lines[line], first, static_cast<std::size_t>(last - first + 1), text, true);
}

void SetDescriptor(const Page& p, int line, int16_t field, int16_t value2, int16_t value3) {
    if (!IsScreenLine(line)) return;
    p.screen.Descriptors[line] = LineDescriptor{field, value2, value3};
}

void ClearScreenLines(Session& s) { ClearScreenLines(PageOf(s)); }
int NewScreenLine(Session& s, int16_t field, int16_t value2, int16_t value3) {
    return NewScreenLine(PageOf(s), field, value2, value3);
}
void WriteScreenText(Session& s, int line, int column, const std::string& text) {
    WriteScreenText(PageOf(s), line, column, text);
}
void WriteScreenField(Session& s, int line, int first, int last, const std::string& text) {
    WriteScreenField(PageOf(s), line, first, last, text);
}
void SetDescriptor(Session& s, int line, int16_t field, int16_t value2, int16_t value3) {
    SetDescriptor(PageOf(s), line, field, value2, value3);
}

LineDescriptor DescriptorOf(const ScreenState& screen, int line) {
    if (line < 0 || line > kScreenLines) return {};
    return screen.Descriptors[line];
}

std::vector<std::string> ScreenLines(const ScreenState& screen) {
    std::vector<std::string> lines;
    int count = std::min(screen.LineCount, kScreenLines);
    lines.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i) {
        const std::string& l = screen.Lines[i];
        lines.emplace_back(l, 0, l.find_last_not_of(" \t") + 1);  // TrimRight without the copy
    }
    return lines;
}

// --- formatting ----------------------------------------------------------

std::string PadZeros(int width, long value) { return Pad(width, value, '0'); }
std::string PadSpaces(int width, long value) { return Pad(width, value, ' '); }

std::string ModuleRefTag(const Page& p, int module, int point) {
    std::string number = std::to_string(point);
    switch (number.size()) {
    case 0: number = " 00"; break;
    case 1: number = " 0" + number; break;
    case 2: number = " " + number; break;
    default: break;
    }
    return GetText(p, kTagText) + PadZeros(3, module) + "->" + number + "]";
}

void TagModuleRef(const Page& p, int module, int point) {
    if (p.screen.LineCount < 1) return;
    WriteScreenText(p, p.screen.LineCount, kTagColumn, ModuleRefTag(p, module, point));
}

std::string ModuleRefTag(Session& s, int module, int point) { return ModuleRefTag(PageOf(s), module, point); }
void TagModuleRef(Session& s, int module, int point) { TagModuleRef(PageOf(s), module, point); }

// --- the list on the work form ------------------------------------------

void ShowEditScreen(Session& s, const std::string& title, int okText) {
    s.screen.SavedTopIndex = 0;
    s.screen.SavedSelectedIndex = -1;
    s.ui->SetListLines({}, 0, -1);
    const std::string ok = okText == kNoOkButton ? std::string() : GetText(s, okText > 0 ? okText : kOkCaption);
    s.ui->ShowEditScreen(title, ok, GetText(s, kCancelCaption));
    s.ui->SetEditButtons(true, true, false);
}

void HideEditScreen(Session& s) {
    s.ui->HideEditScreen();
    s.screen.SavedTopIndex = 0;
    s.screen.SavedSelectedIndex = -1;
}

void RefreshScreen(Session& s) {
    std::vector<std::string> lines = ScreenLines(s.screen);
    int count = static_cast<int>(lines.size());
    int top = s.ui->ListTopIndex();
    int selected = s.ui->ListSelectedIndex();
    if (selected >= count) selected = 0;
    if (top > count) top = 0;
    if (count == 0) selected = -1;
    s.screen.SavedTopIndex = top;
    s.screen.SavedSelectedIndex = selected;
    s.ui->SetListLines(lines, top, selected);
}

int SelectedScreenLine(Session& s) {
    int index = s.ui->ListSelectedIndex();
    if (index < 0 || index >= s.screen.LineCount) return 0;
    return index + 1;
}

void SelectScreenLine(Session& s, int line) {
    if (line < 1 || line > s.screen.LineCount) return;
    s.screen.SavedSelectedIndex = line - 1;
    s.ui->SetListSelectedIndex(line - 1);
}

void MoveToEditableLine(Session& s, int direction) {
    int count = std::min(s.screen.LineCount, kScreenLines);
    int step = direction < 0 ? -1 : 1;
    int line = SelectedScreenLine(s);
    if (line == 0) line = step > 0 ? 0 : count + 1;
    for (line += step; line >= 1 && line <= count; line += step) {
        if (s.screen.Descriptors[line].field != 0) {
            SelectScreenLine(s, line);
            return;
        }
    }
}

// --- the edit loop ----------------------------------------------------------

void HandleEditCursor(Session& s) {
    if (s.events.ForwardEvent) {
        s.events.ForwardEvent = false;
        MoveToEditableLine(s, +1);
    }
    if (s.events.ReverseRequested) {
        s.events.ReverseRequested = false;
        MoveToEditableLine(s, -1);
    }
    if (s.events.ResetRequested) {
        s.events.ResetRequested = false;
        s.ui->SetListSelectedIndex(-1);
        MoveToEditableLine(s, +1);
    }
}

void RunEditLoop(Session& s, const std::function<void(int line)>& editLine) {
    for (;;) {
        const FormEvents& e = s.events;
        const bool pending = e.UserEvent || e.ExitRequested || e.ForwardEvent || e.ReverseRequested || e.ResetRequested;
        if (pending)
            Yield(s);
        else
            IdleYield(s);
        HandleEditCursor(s);
        if (s.events.ExitRequested) break;
        if (s.events.UserEvent) {
            s.events.UserEvent = false;
            editLine(SelectedScreenLine(s));
        }
    }
    s.events.ExitRequested = false;
    s.link.LastErrorNumber = 0;
}

}  // namespace cfg
