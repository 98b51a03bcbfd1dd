// Checks the files of a configuration set before they are trusted: each file
// has its layout's size, the clock programs and the logics match their
// checksums (as a receive checks them), and the main file carries the
// identification of a panel of the family. A damaged or foreign file is named
// before it reaches a panel or a report, instead of being sent or printed as
// if it were a configuration.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/Session.h"

namespace cfg {

enum class SetFault {
    Missing,           // the file is not there (or cannot be read)
    WrongSize,         // size differs from the layout's (`size`, `expected`)
    ProgramChecksum,   // .PY2: programs present, checksum does not match
    LogicChecksum,     // .UY2: logics present, checksum does not match
    NoIdentification,  // .CY2: no version / release of a panel of the family
};

struct SetFinding {
    int kind = 0;  // 1..4: .CY2 .PY2 .UY2 .MY2
    SetFault fault = SetFault::Missing;
    long size = 0;
    long expected = 0;
};

// The files of a set as read from the disk: kinds 1..4 (index 0 unused);
// no value when the file is missing.
struct SetFileBytes {
    std::array<std::optional<std::vector<uint8_t>>, 5> files;
};

using KindSelection = std::array<bool, 5>;  // kinds 1..4, index 0 unused

// The findings for the chosen kinds. `logicSize` is the .UY2 size the
// receiving side takes (a panel's directory entry 17 + 2); 0 takes the
// logics editor's 1962. A .PY2 without programs (all 255) or a .UY2 without
// logics (first word 0) is an empty part, not a damaged one: the panel does
// not check what it is told is absent.
std::vector<SetFinding> CheckSetFiles(const SetFileBytes&, const KindSelection& kinds, long logicSize = 0);

// Reads the chosen files of `base` (found without regard to case). A file
// larger than any layout is read only in part: its size is wrong anyway.
SetFileBytes ReadSetFiles(const std::string& base, const KindSelection& kinds);

// The findings as lines for a message: "<file>: <what is wrong>".
std::string DescribeSetFindings(Session&, const std::string& base, const std::vector<SetFinding>&);

// The smallest size of each kind that a send can read without running past
// the end of the file (the .CY2 send reads up to its point tables).
long SendableSize(int kind, long logicSize);

}  // namespace cfg
