// How a section editor reaches its bytes: the block of the open source (the
// file set at the file offset, or the panel at base + offset) loaded into
// ConfigImage at cell = file offset, and changed bytes written back through
// TransferBuffer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/Layout.h"
#include "link/Screen.h"
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
[[nodiscard]] bool LoadSectionBlock(Session&, int offset, int count, SectionFile file = {});

// Writes `bytes` at file offset `offset` (one block, from TransferBuffer
// cell 1) and, only when the write succeeded, copies them into
// ConfigImage[offset ..], so that the image never shows what the source
// does not hold.
[[nodiscard]] bool WriteSectionBytes(Session&, int offset, const std::vector<Cell>& bytes, SectionFile file = {});

// Leaves the section: hides the editing screen. Used on every way out.
void EndSection(Session&);

// Where the value dialogs of the list sections open (twips from the work
// form), below the list's first lines.
inline constexpr int kValueDialogTop = 2300;
inline constexpr int kValueDialogLeft = 800;

// One block a section reads before it builds its lines: `count` bytes at
// file offset `offset` of `file`, into ConfigImage[offset ..].
struct SectionBlock {
    int offset = 0;
    int count = 0;
    SectionFile file{};
};

// When the last-change date is stamped after the section wrote.
enum class DateStampPolicy {
    AfterEachWrite,    // after every write that was not stamped yet
    OnLeaveIfWritten,  // once, when the user leaves a section that wrote
    Never,             // the section stamps by itself (or never changes the set)
};

// A section shown as a list on the editing screen.
struct ListSection {
    int titleText = 0;
    int okText = 0;  // the OK button's caption, when it is not the usual one
    std::vector<SectionBlock> blocks;
    // Fills the page from the loaded blocks; `print`: the lines are for the
    // printout (a heading first, where the section has one).
    std::function<void(const Page&, bool print)> build;
    // Runs for every OK or double-click on screen line `line`; true when it
    // wrote to the configuration. The list is rebuilt after a write.
    std::function<bool(Session&, int line)> edit;
    DateStampPolicy stamp = DateStampPolicy::AfterEachWrite;
    // Runs when the user leaves the list (not in print mode), before the
    // editing screen hides: a section that keeps its changes in memory
    // stores them here. Its result: whether it wrote.
    std::function<bool(Session&)> onLeave;
};

// The course of a list section: reads its blocks, builds the lines; a print
// request (above 0) ends there, the lines left in the screen buffer for the
// printout. Otherwise the editing screen shows the title and the edit runs
// for every OK or double-click until Cancel; after each write the list is
// rebuilt and the date stamped as the section asks. Returns false when a
// block could not be read (the block routine has reported it).
bool RunListSection(Session&, const ListSection&, PrintMode mode);

// Reads each block from a file set in memory into `config`'s image (cell =
// file offset), as LoadSectionBlock does from the open file set. False when
// one cannot be read.
[[nodiscard]] bool LoadImageBlocks(const FileSetImage&, const std::vector<SectionBlock>&, ConfigState&);

// Builds a section's printed lines from a file set in memory: a fresh
// configuration image that `load` fills, a fresh page that `render` fills.
// False when `load` could not read the bytes.
bool PrintFromImage(const Texts&, std::vector<std::string>& lines, const std::function<bool(ConfigState&)>& load,
                    const std::function<void(const Page&)>& render);
// The printed lines of a list section from a file set in memory.
bool PrintListSection(const ListSection&, const FileSetImage&, const Texts&, std::vector<std::string>& lines);

}  // namespace cfg
