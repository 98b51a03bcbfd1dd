// The flags that buttons, dialogs and timers raise for the core. A handler
// only sets a flag; the routine that waits polls it and clears it. Besides
// these the front end only posts commands (MainRegisters::PostCommand).
#pragma once

#include <cstdint>

namespace cfg {

struct FormEvents {
    // Work form, beside the configuration list.
    int16_t UserEvent = 0;         // OK or a double-click on a line
    int16_t ExitRequested = 0;     // Cancel
    int16_t ForwardEvent = 0;      // Fwd
    int16_t ReverseRequested = 0;  // Rev
    int16_t ResetRequested = 0;    // Reset
    // Main window.
    int16_t AbortRequested = 0;    // the abort button of the busy area; polled by the link
    // Splash and text-grid window: a click or a close ends a pause early.
    int16_t PauseBreak = 0;
    int16_t ScreenDismissed = 0;   // the text-grid window was closed
    // Message-input dialog: the user switched to the range entry.
    int16_t MessageRangeInput = 0;
    // Display texts section: its export (1) or import (2) button.
    int16_t BulkTextCommand = 0;
};

}  // namespace cfg
