// The user-facing side of the core: everything a form, dialog or message box
// does, split by role (event pump, dialogs, edit screen, main frame, busy
// area, text grid). The core calls these synchronously; a front end that
// needs to wait for the user runs its own event loop inside the call.
// Every method is pure: a front end that forgets one does not compile.
// SilentUi (SilentUi.h) answers for nobody, in tests, fuzz targets and
// benchmarks; a front end derives from Ui itself.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "BackupCompareUi.h"
#include "ClockProgrammerUi.h"
#include "DisplayTextsUi.h"
#include "LogicBlockUi.h"
#include "LoopUi.h"
#include "PrintoutUi.h"
#include "SensorInputUi.h"
#include "SerialNumberUi.h"
#include "WalkTestUi.h"

namespace cfg {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

// Questions whose yes may lose data, asked apart from the ordinary overwrite
// questions: a front end without windows answers each only from an option
// of its own, never from a general "yes".
enum class RiskTopic {
    DamagedSet,   // files of a set that failed their checks, to be used anyway
    TemplateSet,  // the DEFAULT set, template of every new set, to be replaced
};

// Colours of the text-grid window.
enum class ScreenColor { Default, Black, Red, Green, Yellow, Blue, Magenta, Cyan, White, Gray };

// What a value dialog asks for, so that a front end without windows can
// answer it from its options without reading the prompt.
enum class ValueTopic {
    Other,
    PanelAddress,  // the address of the panel to talk to
    AccessCode,    // the panel's access code
    PlantCode,     // the plant code of the settings
};

// Asks for one value: a number (kind 1), a text (kind 2) or a list entry (kind 3).
struct ValueRequest {
    int kind = 1;
    ValueTopic topic = ValueTopic::Other;
    std::string title;
    std::string prompt;        // may hold line breaks
    std::string initialText;   // kinds 1 and 2
    double minimum = 0;        // kind 1: shown to the user; the core checks again
    double maximum = 0;
    std::vector<std::string> items;  // kind 3
    int initialIndex = 0;            // kind 3
    int maxLength = 0;               // kind 2: 0 = no limit
    int top = 0, left = 0;           // twips from the work form; 0 = centred
};

struct ValueAnswer {
    bool confirmed = false;
    double number = 0;     // kind 1
    std::string text;      // kinds 1 and 2: the text as typed
    int index = -1;        // kind 3
};

// A choice among several buttons. The answer is the 0-based index, or -1.
struct ChoiceRequest {
    std::string title;
    std::vector<std::string> prompts;  // lines shown above the buttons
    std::vector<std::string> items;
    int current = 0;                   // 0-based item that has the focus
    int top = 0, left = 0;
};

// Platform open / save dialog.
struct FileDialogRequest {
    std::string title;
    std::vector<std::string> filters;  // "Configurations (*.CY2)" style entries
    std::string folder;                // start folder; "" = program folder
    std::string initialName;
};

// The file-set dialog of the create (destination only) and copy (both
// sides) commands.
struct CopyDialogRequest {
    std::string caption;
    std::string sourceLabel;
    std::string destLabel;
    std::string hint;  // a line of guidance under the two sides ("" = none)
    bool showSource = true;
    std::string pattern = "*.CY2";
    std::string folder;  // start folder of both sides
};

struct CopyDialogAnswer {
    bool confirmed = false;
    std::string source;  // full path, extension stripped, upper-cased by the core
    std::string dest;
};

// Asks for one display text of at most maxLength characters. With
// allowRange the user may switch to the range entry (a first and a last
// value) instead.
struct MessageRequest {
    std::string title;
    std::string prompt;       // may hold line breaks
    std::string initialText;
    int maxLength = 16;
    bool allowRange = false;
    int entry = 0;            // the entry edited: the range entry starts from it
};

struct MessageAnswer {
    bool confirmed = false;
    std::string text;
    bool range = false;         // the user switched to the range entry
    std::string first, last;    // the range as typed
    bool countUp = true;        // range: count up a number that ends the text
};

// The date-and-time dialog of the clock setting: day, month, year, hours,
// minutes, seconds as typed.
struct DateTimeFields {
    std::array<std::string, 6> field;
};

// Lets pending window events run (button clicks set the shared flags).
class EventPumpUi {
public:
    virtual ~EventPumpUi() = default;
    virtual void ProcessEvents() = 0;
    // Sleeps until a window event arrives (a click, a key, a timer) or
    // maxMs pass, then lets the events run. False when the front end cannot
    // wait on its events; the caller then rests in its own way.
    virtual bool WaitForEvents(int maxMs) = 0;
};

// Message boxes and the modal dialogs.
class DialogUi {
public:
    virtual ~DialogUi() = default;
    virtual MsgAnswer MessageBox(const std::string& title, const std::string& text, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    virtual void Beep() = 0;
    // The value dialog as the user left it, without the range check: the core
    // calls cfg::AskValue (shell/Input.h), which checks the answer.
    virtual ValueAnswer ShowValueDialog(const ValueRequest&) = 0;
    virtual int AskChoice(const ChoiceRequest&) = 0;
    virtual std::string AskOpenFile(const FileDialogRequest&) = 0;
    virtual std::string AskSaveFile(const FileDialogRequest&) = 0;
    virtual CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) = 0;
    virtual MessageAnswer AskMessage(const MessageRequest&) = 0;
    // Returns false when cancelled. focusField (0..5) names the field to
    // select and focus when a previous entry was rejected; -1 for none.
    virtual bool AskDateTime(const std::string& title, DateTimeFields&, int focusField) = 0;
    // A warning box with Yes and No whose default is No. True for yes.
    virtual bool ConfirmRisk(RiskTopic, const std::string& title, const std::string& text) = 0;
};

// The work form's edit screen: the configuration list and its buttons.
class EditScreenUi {
public:
    virtual ~EditScreenUi() = default;
    virtual void ShowEditScreen(const std::string& title, const std::string& okCaption,
                                const std::string& cancelCaption) = 0;
    virtual void HideEditScreen() = 0;
    // Replace the list contents; keep the given scroll position and selection
    // (-1 = no selection).
    virtual void SetListLines(const std::vector<std::string>& lines, int topIndex, int selectedIndex) = 0;
    virtual int ListTopIndex() = 0;
    virtual int ListSelectedIndex() = 0;
    virtual void SetListSelectedIndex(int) = 0;
    // Visibility of the Fwd / Rev / Reset buttons beside the list.
    virtual void SetEditButtons(bool forward, bool reverse, bool reset) = 0;
};

// The main window and the work form around the list.
class MainFrameUi {
public:
    virtual ~MainFrameUi() = default;
    virtual void SetToolbarButtonEnabled(int index /*1..17*/, bool) = 0;
    virtual void SetToolbarEnabled(bool) = 0;
    virtual void SetMainCaption(const std::string&) = 0;
    virtual void SetWorkTitle(const std::string&) = 0;
    virtual void SetConfigViewVisible(bool) = 0;
    virtual void SetSettingsMenusEnabled(bool) = 0;
    virtual void SetWorkFormEnabled(bool) = 0;
    virtual void HideLoopDisplay() = 0;
    virtual void HideSectionControls() = 0;
    // The label with the serial settings and the plant code.
    virtual void SetSettingsLabel(const std::string&) = 0;
    // Shows that label (the busy area shows it with every status line).
    virtual void ShowSettingsLabel() = 0;
    // Identification shown in the status area (installation, last change...).
    virtual void SetIdentification(const std::string&) = 0;
    // Re-read captions, tool-tips and tags of every open form.
    virtual void TranslateForms() = 0;
};

// The busy area of the main window: status line, progress, Tx/Rx, abort.
class BusyAreaUi {
public:
    virtual ~BusyAreaUi() = default;
    virtual void SetStatusVisible(bool) = 0;
    virtual bool StatusVisible() = 0;
    virtual void SetStatusText(const std::string&) = 0;
    virtual std::string StatusText() = 0;
    virtual void SetProgressMaximum(int) = 0;
    virtual void SetProgressValue(int) = 0;
    // " Tx ", " Rx " or "" (hidden).
    virtual void SetTxRx(const std::string&) = 0;
    virtual void SetAbortButtonVisible(bool) = 0;
    // The timer that clears the status line: 0 stops it, otherwise it fires
    // once after ms milliseconds.
    virtual void SetStatusTimer(int ms) = 0;
    virtual bool StatusTimerEnabled() = 0;
    // The timer that reveals the abort button while the status line shows.
    virtual void SetAbortTimer(bool) = 0;
};

// The text-grid window: characters written by row and column in colour.
class TextGridUi {
public:
    virtual ~TextGridUi() = default;
    virtual void OpenScreen(const std::string& title, int rows, int cols) = 0;
    virtual void WriteScreen(int row, int col, const std::string&, ScreenColor) = 0;
    virtual void ClearScreen() = 0;
    virtual void CloseScreen() = 0;
    virtual bool ScreenOpen() = 0;
};

// Everything the core asks of a front end. A feature that needs a dialog of
// its own adds a role interface here.
class Ui : public EventPumpUi,
           public DialogUi,
           public EditScreenUi,
           public MainFrameUi,
           public BusyAreaUi,
           public TextGridUi,
           public SensorInputUi,
           public ClockProgrammerUi,
           public LogicBlockUi,
           public LoopUi,
           public PrintoutUi,
           public DisplayTextsUi,
           public BackupCompareUi,
           public SerialNumberUi,
           public WalkTestUi {};

}  // namespace cfg
