// The main loop's registers: its state, the command that a toolbar button or
// popup entry left for it, and the values it keeps between turns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace cfg {

struct ShellRecord {
    std::string ApplicationTitle = "CFG-Veltrano";
    int WindowTop = 0, WindowLeft = 0;
    int16_t CloseCommandCode = 0;
    int16_t ActiveSection = 0;
    int16_t SectionPartStatus = 0;
};

// What a toolbar button, popup entry or window click asks of the main loop.
// Only the values given change; the loop picks them up in its next turn.
struct PostedCommand {
    std::optional<int16_t> toolbarButton;  // ToolbarButtonIndex: the button pressed
    std::optional<int16_t> section;        // SectionCommand
    std::optional<int16_t> option;         // CommandOption: the popup entry chosen
    std::optional<int16_t> diagnostic;     // DiagnosticCommand: a loop view's button
};

struct MainRegisters {
    int16_t MainState = 0;
    int16_t SectionCommand = 0;
    int16_t CommandOption = 0;
    int16_t DiagnosticCommand = 0;
    int16_t ToolbarButtonIndex = 0;
    int16_t DispatchCode = 0;
    bool SuperiorOptionsConfirmed = false;  // the warning before the superior options was accepted
    int16_t ClockProgramOption = 0;
    ShellRecord Shell;

    // The one way the front end hands the loop a command: it never writes
    // the registers itself.
    void PostCommand(const PostedCommand& c) {
        if (c.toolbarButton) ToolbarButtonIndex = *c.toolbarButton;
        if (c.section) SectionCommand = *c.section;
        if (c.option) CommandOption = *c.option;
        if (c.diagnostic) DiagnosticCommand = *c.diagnostic;
    }
};

}  // namespace cfg
