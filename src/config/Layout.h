// Where things are: the sizes of the four files of a set, the offsets of the
// pieces of the main file that more than one box uses, and where each file's
// byte 0 sits in the panel's memory. Every box takes these from here.
#pragma once

namespace cfg {

// --- the four files of a set ------------------------------------------------
inline constexpr const char* kMainFile = ".CY2";   // main configuration
inline constexpr const char* kClockFile = ".PY2";  // clock programs
inline constexpr const char* kLogicFile = ".UY2";  // logics and outputs
inline constexpr const char* kTextsFile = ".MY2";  // display texts

inline constexpr int kMainFileSize = 2981;
inline constexpr int kClockFileSize = 384;
inline constexpr int kLogicFileSize = 1962;  // 1960 bytes of logics + checksum
inline constexpr int kTextFileSize = 7280;

// --- panel memory: byte 0 of a file -----------------------------------------
// The main file and the display texts sit at fixed addresses; the clock
// programs and the logics are found through the panel's address directory.
inline constexpr long kMainPanelBase = 4096;
inline constexpr long kTextsPanelBase = 24576;

// --- pieces of the main file (.CY2 offsets) ----------------------------------
inline constexpr int kMainFlagOffset = 1;
inline constexpr int kLogicFlagOffset = 39;     // the byte the logics section keeps with its area
inline constexpr int kIdentBlockOffset = 192;
inline constexpr int kIdentBlockSize = 45;
inline constexpr int kLastChangeOffset = 211;   // 192 + 19
inline constexpr int kSecondPartOffset = 237;
inline constexpr int kCommParamsOffset = 496;
inline constexpr int kPointsOffset = 512;
inline constexpr int kTrailerOffset = 2968;
inline constexpr int kTrailerSize = 13;

}  // namespace cfg
