// The configuration image: the shared cell arrays, where the open
// configuration lives and the identification texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Cells.h"

namespace cfg {

// Entries of the panel's address directory: where each table lives in the
// panel's memory.
enum class PanelEntry : int {
    Thresholds = 4,           // the type thresholds
    Live = 5,                 // live readings; + 800 minimum/maximum, + 1600 references
    ClockPeriods = 9,
    ClockDates = 10,
    ClockPrograms = 11,
    ClockProgramsLength = 12,
    Logics = 16,
    LogicsLength = 17,
    ClockMarker = 18,         // whether the panel has clock programs at all
    Descriptions = 19,        // the point descriptions
};

// The panel's address directory, read once per connection: entries 1..24
// hold panel addresses, slot 50 is 255 once they are loaded.
class PanelDirectory : public BoundedArray<int32_t, 1, 50> {
public:
    static constexpr int kEntries = 24;
    static constexpr int kLoadedSlot = 50;

    using BoundedArray::operator[];
    int32_t operator[](PanelEntry e) const { return (*this)[static_cast<int>(e)]; }
    bool Loaded() const { return (*this)[kLoadedSlot] == 255; }
    void SetLoaded(bool loaded) { (*this)[kLoadedSlot] = loaded ? 255 : 0; }
};

// Where the open configuration lives.
enum class ConfigSource : int16_t { None = 0, File = 1, Panel = 2 };

struct ConfigState {
    cfg::ConfigSource ConfigSource = cfg::ConfigSource::None;
    std::string ConfigFileName;  // the open file set's name, without extension

    CellArray<0, 10000> ConfigImage;
    CellArray<0, 4000> TransferBuffer;
    CellArray<0, 150> IdentBuffer;
    CellArray<0, 350> ClockProgramTable;
    CellArray<0, 10> ClockPeriodTable;
    CellArray<0, 24> ClockDateTable;
    PanelDirectory AddressDirectory;

    // Identification texts.
    std::string PanelIdent;         // 10
    std::string PanelVersionText;   // 5 (the ConfigTrailer's or the panel's)
    double PanelVersion = 0;        // its numeric value
    std::string PanelReleaseCode;   // 8
    std::string InstallationName;   // 19
    std::string LastChangeDate;     // 8, "dd-mm-yy"
    std::string PanelSerialNumber;  // 10
    std::string ProductionDate;     // 8

    bool DateStamped = false;

    // Clock programmer: tables changed but not yet saved (bit 0 programs,
    // bit 1 holidays, bit 2 periods), the periods-saved flag, and 255 once
    // a section has saved to the panel.
    int16_t PendingChanges = 0;
    bool PeriodsSaved = false;
    bool PanelChanged = false;

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
