#include "transfer/SectionBlocks.h"

#include "transfer/Blocks.h"
#include "link/Screen.h"
#include "shell/Language.h"

namespace cfg {

long SectionAddress(Session& s, long offset, SectionFile file) {
    switch (s.ConfigSource) {
    case 1: return offset;
    case 2: return file.panelBase + offset;
    default: s.LinkStatus = status::kNoSource; return -1;
    }
}

bool LoadSectionBlock(Session& s, int offset, int count, SectionFile file) {
    long address = SectionAddress(s, offset, file);
    if (address < 0) return false;
    ReadBlock(s, address, count, file.extension, offset, s.config.ConfigImage);
    return s.LinkStatus == status::kDone;
}

bool WriteSectionBytes(Session& s, int offset, const std::vector<Cell>& bytes, SectionFile file) {
    long address = SectionAddress(s, offset, file);
    if (address < 0 || bytes.empty()) return false;
    int count = static_cast<int>(bytes.size());
    for (int i = 0; i < count; ++i) s.config.TransferBuffer[i + 1] = bytes[static_cast<std::size_t>(i)];
    WriteBlock(s, address, count, file.extension, s.config.TransferBuffer);
    if (s.LinkStatus != status::kDone) return false;
    for (int i = 0; i < count; ++i) s.config.ConfigImage[offset + i] = bytes[static_cast<std::size_t>(i)];
    return true;
}

void EndSection(Session& s) { HideEditScreen(s); }

bool RunListSection(Session& s, int offset, int count, int16_t printRequest, int titleText,
                    const std::function<void(int16_t)>& build, const std::function<void(int)>& editLine) {
    if (!LoadSectionBlock(s, offset, count)) {
        EndSection(s);
        return false;
    }
    build(printRequest);
    if (printRequest > 0) {
        EndSection(s);
        return true;
    }
    ShowEditScreen(s, GetText(s, titleText));
    RefreshScreen(s);
    // Start on the first line that can be changed, so Enter edits at once.
    if (SelectedScreenLine(s) == 0) MoveToEditableLine(s, +1);
    RunEditLoop(s, editLine);
    EndSection(s);
    return true;
}

}  // namespace cfg
