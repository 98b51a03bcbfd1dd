// The configuration list of the work form as the editors build it: fixed
// 80-character lines 0..500 and three descriptor words per line.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "Cells.h"

namespace cfg {

inline constexpr int kScreenWidth = 80;
inline constexpr int kScreenLines = 500;

struct LineDescriptor {
    int16_t field = 0;  // 0 = not editable
    int16_t value2 = 0;
    int16_t value3 = 0;
};

struct ScreenState {
    bool ScreenLocked = false;  // the text-grid window refuses to close
    // A line once written holds exactly 80 characters (empty before that):
    // one of 80 bytes holds one-byte characters only, so there a column is
    // a byte offset.
    BoundedArray<std::string, 0, kScreenLines> Lines;
    BoundedArray<LineDescriptor, 0, kScreenLines> Descriptors;
    int LineCount = 0;
    // List position kept across a refresh.
    int SavedTopIndex = 0;
    int SavedSelectedIndex = 0;
};

}  // namespace cfg
