// The flags that buttons, dialogs and timers raise for the core. A handler
// only sets a flag; the routine that waits polls it and clears it. Besides
// these the front end only posts commands (MainRegisters::PostCommand).
#pragma once

#include <cstdint>

namespace cfg {

// The display-text section's buttons that move all texts to or from a file.
enum class BulkText { None, Export, Import };

struct FormEvents {
    // Work form, beside the configuration list.
    bool UserEvent = false;         // OK or a double-click on a line
    bool ExitRequested = false;     // Cancel
    bool ForwardEvent = false;      // Fwd
    bool ReverseRequested = false;  // Rev
    bool ResetRequested = false;    // Reset
    // Main window.
    bool AbortRequested = false;    // the abort button of the busy area; polled by the link
    // Splash and text-grid window: a click or a close ends a pause early.
    bool PauseBreak = false;
    bool ScreenDismissed = false;   // the text-grid window was closed
    // Message-input dialog: the user switched to the range entry.
    bool MessageRangeInput = false;
    // Display texts section: its export or import button.
    BulkText BulkTextCommand = BulkText::None;
};

}  // namespace cfg
