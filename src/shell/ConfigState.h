// The configuration image: the shared cell arrays, where the open
// configuration lives and the identification texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Cells.h"

namespace cfg {

struct ConfigState {
    CellArray<0, 10000> ConfigImage;
    CellArray<0, 4000> TransferBuffer;
    CellArray<0, 150> IdentBuffer;
    CellArray<0, 350> ClockProgramTable;
    CellArray<0, 10> ClockPeriodTable;
    CellArray<0, 24> ClockDateTable;
    // Entries 1..24 hold panel addresses; entry 50 is 255 once loaded.
    BoundedArray<int32_t, 1, 50> AddressDirectory;

    // Identification texts.
    std::string PanelIdent;         // 10
    std::string PanelVersionText;   // 5 (the ConfigTrailer's or the panel's)
    double PanelVersion = 0;        // its numeric value
    std::string PanelReleaseCode;   // 8
    std::string InstallationName;   // 19
    std::string LastChangeDate;     // 8, "dd-mm-yy"
    std::string PanelSerialNumber;  // 10
    std::string ProductionDate;     // 8

    int16_t DateStamped = 0;

    // Clock programmer: tables changed but not yet saved (bit 0 programs,
    // bit 1 holidays, bit 2 periods), the periods-saved flag, and 255 once
    // a section has saved to the panel.
    int16_t PendingChanges = 0;
    int16_t PeriodsSaved = 0;
    int16_t PanelChanged = 0;

    // FileChoice entries 1 (source) and 2 (destination) of the copy dialog.
    std::string FileChoiceSource;
    std::string FileChoiceDest;

    void Clear() { *this = ConfigState{}; }
};

// A file set held in memory: the bytes of its files by kind 1..4 (main,
// clock programs, logics, display texts) and which of them exist. The
// printed lines of every section can be built from it without the disk.
struct FileSetImage {
    std::array<std::vector<uint8_t>, 5> parts;
    std::array<bool, 5> present{};
};

}  // namespace cfg
