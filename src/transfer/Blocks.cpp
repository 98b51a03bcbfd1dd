#include "transfer/Blocks.h"

#include <fstream>

#include "config/Files.h"
#include "link/PanelCommands.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"

namespace cfg {

namespace {

// Opens the file of the set for a block; reports a failure and leaves
// LinkStatus 240.
bool OpenPart(Session& s, const std::string& extension, std::fstream& file) {
    bool ok = false;
    {
        QuietFileErrors quiet(s);
        ok = OpenConfigPart(s, s.ConfigFileName, extension, file);
    }
    if (ok) return true;
    ReportFileError(s);
    s.LinkStatus = status::kNoSource;
    return false;
}

}  // namespace

void ReadBlock(Session& s, long address, int count, const std::string& extension, int destIndex, CellSpan dest) {
    s.LinkStatus = status::kAborted;
    switch (s.ConfigSource) {
    case ConfigSource::File: {
        std::fstream file;
        if (!OpenPart(s, extension, file)) return;
        // The block's status stays in LinkStatus, where the callers read it.
        (void)ReadFileBlock(s, file, address, count, destIndex, dest);
        return;
    }
    case ConfigSource::Panel: ReadPanelBlock(s, address, count, destIndex, dest); return;
    default: s.LinkStatus = status::kNoSource; return;
    }
}

void WriteBlock(Session& s, long address, int count, const std::string& extension, CellSpan src) {
    s.LinkStatus = status::kAborted;
    s.config.DateStamped = 0;
    switch (s.ConfigSource) {
    case ConfigSource::File: {
        std::fstream file;
        if (!OpenPart(s, extension, file)) return;
        (void)WriteFileBlock(s, file, address, count, 1, src);
        return;
    }
    case ConfigSource::Panel: WritePanelBlock(s, address, count, true, 1, src); return;
    default: s.LinkStatus = status::kNoSource; return;
    }
}

}  // namespace cfg
