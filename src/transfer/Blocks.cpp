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
        ok = OpenConfigPart(s, s.config.ConfigFileName, extension, file);
    }
    if (ok) return true;
    ReportFileError(s);
    s.link.LinkStatus = status::kNoSource;
    return false;
}

}  // namespace

OpResult ReadBlock(Session& s, long address, int count, const std::string& extension, int destIndex, CellSpan dest) {
    s.link.LinkStatus = status::kAborted;
    switch (s.config.ConfigSource) {
    case ConfigSource::File: {
        std::fstream file;
        if (!OpenPart(s, extension, file)) return LinkResult(s.link);
        return ReadFileBlock(s, file, address, count, destIndex, dest);
    }
    case ConfigSource::Panel: return ReadPanelBlock(s, address, count, destIndex, dest);
    default: return Finish(s.link, status::kNoSource);
    }
}

OpResult WriteBlock(Session& s, long address, int count, const std::string& extension, CellSpan src) {
    s.link.LinkStatus = status::kAborted;
    s.config.DateStamped = false;
    switch (s.config.ConfigSource) {
    case ConfigSource::File: {
        std::fstream file;
        if (!OpenPart(s, extension, file)) return LinkResult(s.link);
        return WriteFileBlock(s, file, address, count, 1, src);
    }
    case ConfigSource::Panel: return WritePanelBlock(s, address, count, true, 1, src);
    default: return Finish(s.link, status::kNoSource);
    }
}

}  // namespace cfg
