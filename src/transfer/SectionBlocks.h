// How a section editor reaches its bytes: the block of the open source (the
// file set at the file offset, or the panel at base + offset) loaded into
// ConfigImage at cell = file offset, and changed bytes written back through
// TransferBuffer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/Layout.h"
#include "shell/Session.h"

namespace cfg {


struct SectionFile {
    const char* extension = kMainFile;
    long panelBase = kMainPanelBase;
};

// The address of file offset `offset` for the open source: the offset itself
// for a file set, panel base + offset for the panel. -1 (and LinkStatus 240)
// when no configuration is open.
long SectionAddress(Session&, long offset, SectionFile file = {});

// Reads `count` bytes at file offset `offset` into ConfigImage[offset ..].
// True when LinkStatus is 255; a failure has been reported by the block
// routine.
bool LoadSectionBlock(Session&, int offset, int count, SectionFile file = {});

// Writes `bytes` at file offset `offset` (one block, from TransferBuffer
// cell 1) and, only when the write succeeded, copies them into
// ConfigImage[offset ..], so that the image never shows what the source
// does not hold.
bool WriteSectionBytes(Session&, int offset, const std::vector<Cell>& bytes, SectionFile file = {});

// Leaves the section: hides the editing screen. Used on every way out.
void EndSection(Session&);

// The course of a section shown as a list: reads `count` bytes at file
// offset `offset` and builds the lines with build(printRequest). A print
// request (above 0) ends there, the lines left in the screen buffer for the
// printout; otherwise the editing screen shows text `titleText` and
// editLine(line) runs for every OK or double-click until Cancel. Returns
// false when the block could not be read.
bool RunListSection(Session&, int offset, int count, int16_t printRequest, int titleText,
                    const std::function<void(int16_t printRequest)>& build,
                    const std::function<void(int line)>& editLine);

}  // namespace cfg
