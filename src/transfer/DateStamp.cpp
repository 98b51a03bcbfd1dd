#include "transfer/DateStamp.h"

#include <cstdio>

#include "config/Files.h"
#include "transfer/Blocks.h"
#include "shell/FileNames.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"
#include "shell/Text.h"

namespace cfg {

namespace {

// Cells first..first+count-1 as a text (one Latin-1 character per cell).
std::string CellText(CellSpan cells, int first, int count) {
    std::string latin1;
    for (int i = 0; i < count; ++i) latin1.push_back(static_cast<char>(cells[first + i] & 0xFF));
    return Latin1ToUtf8(latin1);
}

void Append(std::string& line, const std::string& part) {
    std::string p = Trim(part);
    if (p.empty()) return;
    if (!line.empty()) line += "  ";
    line += p;
}

}  // namespace

std::string ChangeDateText(const DateTime& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%02d", d.day % 100, d.month % 100, d.year % 100);
    return buf;
}

void TakeIdentBlock(ConfigState& c) {
    c.InstallationName = CellText(c.IdentBuffer, 1, 19);
    c.LastChangeDate = CellText(c.IdentBuffer, 20, 8);
    c.PanelSerialNumber = CellText(c.IdentBuffer, 28, 10);
    c.ProductionDate = CellText(c.IdentBuffer, 38, 8);
}

OpResult TakeIdentificationFromFile(Session& s) {
    auto& c = s.config;
    std::fstream file;
    bool opened = false;
    {
        QuietFileErrors quiet(s);
        opened = OpenConfigPart(s, s.config.ConfigFileName, PartExtension(1), file);
    }
    if (!opened) {
        const OpResult missing{status::kNoSource, s.link.LastErrorNumber};
        ReportFileError(s);
        return missing;
    }
    if (const OpResult read = ReadFileBlock(s, file, kIdentBlockOffset, kIdentBlockSize, 1, c.IdentBuffer); !read.Done())
        return read;
    TakeIdentBlock(s.config);
    if (const OpResult read = ReadFileBlock(s, file, kTrailerOffset, kTrailerSize, 1, c.ConfigImage); !read.Done())
        return read;
    TakeTrailer(c);
    return {status::kDone};
}

void TakeTrailer(ConfigState& c) {
    c.PanelVersionText = CellText(c.ConfigImage, 1, 5);
    c.PanelVersion = ParseNumber(c.PanelVersionText);
    c.PanelReleaseCode = CellText(c.ConfigImage, 6, 8);
}

bool ReadIdentification(const FileSetImage& set, ConfigState& c) {
    if (!ReadImageBlock(set, PartExtension(1), kIdentBlockOffset, kIdentBlockSize, 1, c.IdentBuffer)) return false;
    TakeIdentBlock(c);
    if (!ReadImageBlock(set, PartExtension(1), kTrailerOffset, kTrailerSize, 1, c.ConfigImage)) return false;
    TakeTrailer(c);
    return true;
}

void TakeIdentificationFromPanel(Session& s) {
    auto& c = s.config;
    c.PanelIdent = s.link.PanelName;
    c.PanelVersionText = s.link.PanelVersionText;
    c.PanelVersion = s.link.PanelVersion;
    c.PanelReleaseCode = s.link.PanelDateText;
}

std::string IdentificationText(const ConfigState& config) {
    const auto& c = config;
    std::string line;
    // A file set is named first: its identification may well be blank.
    if (config.ConfigSource == ConfigSource::File) Append(line, BaseNameOf(config.ConfigFileName));
    Append(line, c.InstallationName);
    Append(line, c.LastChangeDate);
    std::string panel = Trim(c.PanelIdent);
    std::string version = Trim(c.PanelVersionText);
    if (!version.empty()) panel += (panel.empty() ? "V" : " V") + version;
    Append(line, panel);
    Append(line, c.PanelReleaseCode);
    Append(line, c.PanelSerialNumber);
    Append(line, c.ProductionDate);
    return line;
}

OpResult StampDate(Session& s) {
    auto& c = s.config;
    if (c.DateStamped) return {status::kDone};
    long address;
    if (s.config.ConfigSource == ConfigSource::File) {
        c.LastChangeDate = ChangeDateText(s.clock->Now());
        for (int i = 0; i < 8; ++i) c.IdentBuffer[1 + i] = static_cast<Cell>(static_cast<unsigned char>(c.LastChangeDate[static_cast<std::size_t>(i)]));
        if (const OpResult written = WriteBlock(s, kLastChangeOffset, 8, PartExtension(1), c.IdentBuffer); !written.Done())
            return written;
        address = kIdentBlockOffset;
    } else if (s.config.ConfigSource == ConfigSource::Panel) {
        address = kMainPanelBase + kIdentBlockOffset;
    } else {
        return {status::kNoSource};
    }
    if (const OpResult read = ReadBlock(s, address, kIdentBlockSize, PartExtension(1), 1, c.IdentBuffer); !read.Done())
        return read;
    TakeIdentBlock(s.config);
    s.ui->SetIdentification(IdentificationText(s.config));
    c.DateStamped = true;
    return {status::kDone};
}

}  // namespace cfg
