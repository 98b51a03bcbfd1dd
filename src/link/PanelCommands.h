// Panel commands on top of the frame layer: memory blocks ("L", "J"), the
// memory map, control ("C"), loop modules ("X") and the clock ("D", "H").
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// "L": reads count bytes from address into dest[destIndex..]; 64-byte chunks,
// progress in the busy area, access code asked on answer 80. LinkStatus 255
// on success.
OpResult ReadPanelBlock(Session&, long address, int count, int destIndex, CellSpan dest);
// "J": writes src[srcIndex..srcIndex+count-1] at address; 64-byte chunks;
// answer 128 re-enters programming mode and restarts from the first chunk.
OpResult WritePanelBlock(Session&, long address, int count, bool expectReply, int srcIndex, CellSpan src);
// Fills config.AddressDirectory (entries 1..24) unless already loaded.
OpResult ReadMemoryMap(Session&);
// Control codes of "C": programming mode on and off, and the commit steps
// that follow a send of the logics and of the clock programs.
inline constexpr int kControlEnterProgramming = 20;
inline constexpr int kControlLeaveProgramming = 21;
inline constexpr int kControlCommitLogics = 14;
inline constexpr int kControlCommitPrograms = 15;
// "C" with a control code. Gives the exchange's result and the panel's
// answer byte (ReplyData byte 4, e.g. 'O'), 0 when the exchange failed.
struct [[nodiscard]] ControlReply {
    OpResult result;
    int answer = 0;
};
ControlReply SendControl(Session&, int code, bool expectReply = true);
// "X": sends link.LoopCommand to loop link.LoopNumber and leaves the answer in it.
OpResult SendLoopCommand(Session&, bool showErrors);

struct PanelClockText {
    std::string seconds, minutes, hours, weekday, day, month, year;
};
// "D": reads the panel clock. LinkStatus 255 on success.
OpResult ReadPanelClock(Session&, PanelClockText& out);
// "H" without reply, from the PC's clock.
OpResult SetPanelClockFromPc(Session&);
// Two-digit year as the panel carries it (0 outside 1900..2099).
int PanelYear(int year);

}  // namespace cfg
