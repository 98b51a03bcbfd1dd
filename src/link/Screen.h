// The editing screen that every section editor shares: the screen buffer of
// fixed 80-character lines (Session::screen), its line descriptors, the list
// of the work form that shows it, the cursor buttons and the edit loop.
//
// Columns are 1-based, as on the panel's printouts: column 1 is the first
// character of a line, column 80 the last. Lines are UTF-8; every width and
// column counts characters, not bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/Session.h"

namespace cfg {

inline constexpr int kFirstColumn = 1;
inline constexpr int kLastColumn = kScreenWidth;

// --- building lines -----------------------------------------------------

// Where a section builds its lines: the configuration it shows, the texts
// they are written in and the screen buffer they go to. Nothing else: a
// section's lines depend on the bytes and the texts only, so the printout,
// the comparison and the tests build them from bytes held in memory as well
// as from the open configuration (PageOf).
struct Page {
    const ConfigState& config;
    const Texts& texts;
    ScreenState& screen;
};
// The page of the open configuration: its image, the session's texts and
// the editing screen's buffer.
Page PageOf(Session&);

void ClearScreenLines(const Page&);
int NewScreenLine(const Page&, int16_t field = 0, int16_t value2 = 0, int16_t value3 = 0);
void WriteScreenText(const Page&, int line, int column, const std::string& text);
void WriteScreenField(const Page&, int line, int first, int last, const std::string& text);
void SetDescriptor(const Page&, int line, int16_t field, int16_t value2 = 0, int16_t value3 = 0);
void TagModuleRef(const Page&, int module, int point);
std::string ModuleRefTag(const Page&, int module, int point);
inline const std::string& GetText(const Page& p, int id) { return GetText(p.texts, id); }
// Lines 1 .. line count of a screen buffer without their trailing blanks.
std::vector<std::string> ScreenLines(const ScreenState&);

// Blanks every line and descriptor of the buffer; the line count becomes 0.
// A line never written stays empty, which every reader takes as blank.
void ClearScreenLines(Session&);
// Takes the next line (line count + 1), blank, with the given descriptor.
// Returns its number, or 0 when the buffer is full.
int NewScreenLine(Session&, int16_t field = 0, int16_t value2 = 0, int16_t value3 = 0);
// Overwrites the line from `column` with `text`; nothing is written beyond
// column 80, and a line number outside 1..500 is ignored.
void WriteScreenText(Session&, int line, int column, const std::string& text);
// Writes `text` into columns first..last, cut or blank-filled to fit.
void WriteScreenField(Session&, int line, int first, int last, const std::string& text);
void SetDescriptor(Session&, int line, int16_t field, int16_t value2 = 0, int16_t value3 = 0);
// The descriptor of a line; an all-zero one for a line outside 0..500.
LineDescriptor DescriptorOf(const ScreenState&, int line);

// --- formatting ----------------------------------------------------------

// The decimal text of `value`, right-aligned in `width` characters with
// leading zeros (PadZeros) or blanks (PadSpaces). A longer text keeps only
// its last `width` characters.
std::string PadZeros(int width, long value);
std::string PadSpaces(int width, long value);
// Text 1243, the module as three digits, "->", the point right-aligned in
// three characters, "]": written from column 69 of the last screen line.
void TagModuleRef(Session&, int module, int point);
std::string ModuleRefTag(Session&, int module, int point);

// --- the list on the work form ------------------------------------------

// Shows the editing screen: the title, OK captioned text 1291, Cancel text
// 1292, the Fwd and Rev buttons. The list starts without a selection.
// okText, when given, captions OK with that text id instead (a section whose
// OK does something else than edit the line).
// okText 0: the usual OK caption; kNoOkButton: a list only to read, whose
// OK button is hidden.
inline constexpr int kNoOkButton = -1;
void ShowEditScreen(Session&, const std::string& title, int okText = 0);
// Hides it and forgets the saved list position.
void HideEditScreen(Session&);
// Fills the list from lines 1 .. line count, keeping the scroll position and
// the selection when they still fall inside the list (otherwise line 1).
void RefreshScreen(Session&);
// Moves the selection to the next (direction > 0) or previous editable line
// (descriptor field not 0). Without a selection, forward starts before the
// first line and backward after the last. Stays put when there is none.
void MoveToEditableLine(Session&, int direction);
// The selected screen line (list index + 1); 0 when nothing is selected.
int SelectedScreenLine(Session&);
// Selects screen line `line` (1-based) in the list.
void SelectScreenLine(Session&, int line);

// --- the edit loop ----------------------------------------------------------

// The cursor buttons of the editing screen: Fwd and Rev move to the next and
// previous editable line, Reset back to the first one. Clears the flags it
// handled.
void HandleEditCursor(Session&);
// The loop of every editor: yield; handle the cursor buttons; leave when
// Cancel was pressed (ExitRequested); on OK or a double-click (UserEvent)
// call editLine with the selected screen line. On leaving clears
// ExitRequested and LastErrorNumber.
void RunEditLoop(Session&, const std::function<void(int line)>& editLine);

}  // namespace cfg
