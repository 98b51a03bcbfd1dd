#include "transfer/SectionBlocks.h"

#include <memory>

#include "config/Files.h"
#include "link/Screen.h"
#include "transfer/Blocks.h"
#include "shell/Language.h"
#include "transfer/DateStamp.h"

namespace cfg {

long SectionAddress(Session& s, long offset, SectionFile file) {
    switch (s.config.ConfigSource) {
    case ConfigSource::File: return offset;
    case ConfigSource::Panel: return file.panelBase + offset;
    default: s.link.LinkStatus = status::kNoSource; return -1;
    }
}

bool LoadSectionBlock(Session& s, int offset, int count, SectionFile file) {
    long address = SectionAddress(s, offset, file);
    if (address < 0) return false;
    return ReadBlock(s, address, count, file.extension, offset, s.config.ConfigImage).Done();
}

bool WriteSectionBytes(Session& s, int offset, const std::vector<Cell>& bytes, SectionFile file) {
    long address = SectionAddress(s, offset, file);
    if (address < 0 || bytes.empty()) return false;
    int count = static_cast<int>(bytes.size());
    for (int i = 0; i < count; ++i) s.config.TransferBuffer[i + 1] = bytes[static_cast<std::size_t>(i)];
    if (!WriteBlock(s, address, count, file.extension, s.config.TransferBuffer).Done()) return false;
    for (int i = 0; i < count; ++i) s.config.ConfigImage[offset + i] = bytes[static_cast<std::size_t>(i)];
    return true;
}

void EndSection(Session& s) { HideEditScreen(s); }

bool RunListSection(Session& s, const ListSection& section, PrintMode mode) {
    for (const SectionBlock& b : section.blocks) {
        if (!LoadSectionBlock(s, b.offset, b.count, b.file)) {
            EndSection(s);
            return false;
        }
    }
    section.build(PageOf(s), mode == PrintMode::LinesOnly);
    if (mode == PrintMode::LinesOnly) {
        EndSection(s);
        return true;
    }
    ShowEditScreen(s, GetText(s, section.titleText), section.okText);
    RefreshScreen(s);
    // Start on the first line that can be changed, so Enter edits at once.
    if (SelectedScreenLine(s) == 0) MoveToEditableLine(s, +1);
    bool wrote = false;
    RunEditLoop(s, [&](int line) {
        if (!section.edit || !section.edit(s, line)) return;
        wrote = true;
        if (section.stamp == DateStampPolicy::AfterEachWrite && !s.config.DateStamped) static_cast<void>(StampDate(s));
        section.build(PageOf(s), false);
        RefreshScreen(s);
    });
    if (section.onLeave && section.onLeave(s)) wrote = true;
    if (wrote && section.stamp == DateStampPolicy::OnLeaveIfWritten) static_cast<void>(StampDate(s));
    EndSection(s);
    return true;
}

bool LoadImageBlocks(const FileSetImage& set, const std::vector<SectionBlock>& blocks, ConfigState& config) {
    for (const SectionBlock& b : blocks)
        if (!ReadImageBlock(set, b.file.extension, b.offset, b.count, b.offset, config.ConfigImage)) return false;
    return true;
}

bool PrintFromImage(const Texts& texts, std::vector<std::string>& lines, const std::function<bool(ConfigState&)>& load,
                    const std::function<void(const Page&)>& render) {
    lines.clear();
    auto config = std::make_unique<ConfigState>();
    if (!load(*config)) return false;
    auto screen = std::make_unique<ScreenState>();
    const Page page{*config, texts, *screen};
    render(page);
    lines = ScreenLines(*screen);
    return true;
}

bool PrintListSection(const ListSection& section, const FileSetImage& set, const Texts& texts,
                      std::vector<std::string>& lines) {
    return PrintFromImage(
        texts, lines, [&](ConfigState& c) { return LoadImageBlocks(set, section.blocks, c); },
        [&](const Page& p) { section.build(p, true); });
}

}  // namespace cfg
