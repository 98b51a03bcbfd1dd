// The user-facing side of the core: everything a form, dialog or message box
// does. The core calls these synchronously; a front end that needs to wait for
// the user runs its own event loop inside the call. Every method has a
// harmless default so that a head-less front end only implements what it uses.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "LoopUi.h"
#include "SensorInputUi.h"

namespace cfg {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

// Colours of the text-grid window (FRMScreen).
enum class ScreenColor { Default, Black, Red, Green, Yellow, Blue, Magenta, Cyan, White, Gray };

// FRMInput: ask for a number (kind 1), a text (kind 2) or a list entry (kind 3).
struct ValueRequest {
    int kind = 1;
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

// FRMMenu: pick one of several buttons. Returns the 0-based index or -1.
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

// FRMCopyFile: the create (destination only) and copy (both sides) dialog.
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

// FRMInpMsg: one display text of at most maxLength characters. With
// allowRange the user may switch to the range entry (a first and a last
// value) instead.
struct MessageRequest {
    std::string title;
    std::string prompt;       // may hold line breaks
    std::string initialText;
    int maxLength = 16;
    bool allowRange = false;
};

struct MessageAnswer {
    bool confirmed = false;
    std::string text;
    bool range = false;         // the user switched to the range entry
    std::string first, last;    // the range as typed
};

// The date-and-time dialog of the clock setting: day, month, year, hours,
// minutes, seconds as typed.
struct DateTimeFields {
    std::array<std::string, 6> field;
};

class Ui : public SensorInputUi, public LoopUi {
public:
    virtual ~Ui() = default;

    // --- event pump -------------------------------------------------------
    // Let pending window events run (button clicks set the shared flags).
    virtual void ProcessEvents() {}

    // --- message boxes ----------------------------------------------------
    virtual MsgAnswer MessageBox(const std::string& title, const std::string& text,
                                 MsgButtons buttons, MsgIcon icon) = 0;
    virtual void Beep() {}

    // --- dialogs ----------------------------------------------------------
    virtual ValueAnswer AskValue(const ValueRequest&) { return {}; }
    virtual int AskChoice(const ChoiceRequest&) { return -1; }
    virtual std::string AskOpenFile(const FileDialogRequest&) { return {}; }
    virtual std::string AskSaveFile(const FileDialogRequest&) { return {}; }
    virtual CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) { return {}; }
    virtual MessageAnswer AskMessage(const MessageRequest&) { return {}; }
    // Returns false when cancelled. focusField (0..5) names the field to
    // select and focus when a previous entry was rejected; -1 for none.
    virtual bool AskDateTime(const std::string& /*title*/, DateTimeFields&, int /*focusField*/) {
        return false;
    }

    // --- the work form's edit screen (LSTConfig and its buttons) ---------
    virtual void ShowEditScreen(const std::string& /*title*/, const std::string& /*okCaption*/,
                                const std::string& /*cancelCaption*/) {}
    virtual void HideEditScreen() {}
    // Replace the list contents; keep the given scroll position and selection
    // (-1 = no selection).
    virtual void SetListLines(const std::vector<std::string>& /*lines*/, int /*topIndex*/,
                              int /*selectedIndex*/) {}
    virtual int ListTopIndex() { return 0; }
    virtual int ListSelectedIndex() { return -1; }
    virtual void SetListSelectedIndex(int) {}
    // Visibility of the Fwd / Rev / Reset buttons beside the list.
    virtual void SetEditButtons(bool /*forward*/, bool /*reverse*/, bool /*reset*/) {}

    // --- main window and work form ---------------------------------------
    virtual void SetToolbarButtonEnabled(int /*index 1..17*/, bool) {}
    virtual void SetToolbarEnabled(bool) {}
    virtual void SetMainCaption(const std::string&) {}
    virtual void SetWorkTitle(const std::string&) {}
    virtual void SetConfigViewVisible(bool) {}
    virtual void SetSettingsMenusEnabled(bool) {}
    virtual void SetWorkFormEnabled(bool) {}
    virtual void HideLoopDisplay() {}
    virtual void HideSectionControls() {}
    // LBLImpostaz: serial settings and plant code.
    virtual void SetSettingsLabel(const std::string&) {}
    // Shows LBLImpostaz (the busy area shows it with every status line).
    virtual void ShowSettingsLabel() {}
    // Identification shown in the status area (installation, last change...).
    virtual void SetIdentification(const std::string&) {}

    // --- busy area --------------------------------------------------------
    virtual void SetStatusVisible(bool) {}
    virtual bool StatusVisible() { return false; }
    virtual void SetStatusText(const std::string&) {}
    virtual std::string StatusText() { return {}; }
    virtual void SetProgressMaximum(int) {}
    virtual void SetProgressValue(int) {}
    // " Tx ", " Rx " or "" (hidden).
    virtual void SetTxRx(const std::string&) {}
    virtual void SetAbortButtonVisible(bool) {}
    // TMRStatus: 0 disables it, otherwise one shot after ms milliseconds.
    virtual void SetStatusTimer(int /*ms*/) {}
    virtual bool StatusTimerEnabled() { return false; }
    // TMRAbort: reveals the abort button while the status line shows.
    virtual void SetAbortTimer(bool) {}

    // --- text grid window (FRMScreen) --------------------------------------
    virtual void OpenScreen(const std::string& /*title*/, int /*rows*/, int /*cols*/) {}
    virtual void WriteScreen(int /*row*/, int /*col*/, const std::string&, ScreenColor) {}
    virtual void ClearScreen() {}
    virtual void CloseScreen() {}
    virtual bool ScreenOpen() { return false; }

    // --- language ------------------------------------------------------------
    // Re-read captions, tool-tips and tags of every open form.
    virtual void TranslateForms() {}
};

}  // namespace cfg
