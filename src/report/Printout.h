// The printout of the open configuration: a report of plain text lines, the
// same for the printer and for the text file. Every section contributes the
// lines it builds in print mode, taken from the section table, so no section
// is formatted twice; a section that is not part of the program yet prints
// nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/Session.h"

namespace cfg {

inline constexpr int16_t kPrintoutCode = 11;
inline constexpr int kReportRuleWidth = 70;

// The part menu: 1 everything, 2 the general part (loop modules, zones,
// times, options, superior options, identity, concentrator modules),
// 3 the clock programmer, 4 the programmable logics, 5 the display messages.
inline constexpr int kReportEverything = 1;
inline constexpr int kReportGeneral = 2;
inline constexpr int kReportClock = 3;
inline constexpr int kReportLogics = 4;
inline constexpr int kReportMessages = 5;
inline constexpr int kReportParts = 5;

// The section whose print mode lists one loop module's sensors; it gets the
// module number as its option.
inline constexpr int16_t kLoopSensorsCode = 1;

// The whole report of part `part` (1..5) of the open configuration: the
// header, then each group of the part. A section that could not read its
// blocks has reported it and is missing from the report.
std::vector<std::string> BuildReport(Session&, int part);

// The header alone: rules, date, the identification of the source.
std::vector<std::string> ReportHeader(Session&);

// "name.ext" -> "NAME.TXT" (path kept, the name upper-cased).
std::string ReportFileName(const std::string& name);

// The configuration's name for the page header: the file set's name, or the
// panel's installation name.
std::string ReportTitle(Session&);

// Writes the lines to `path`, replacing it. False, after ReportFileError has
// explained it, when the file cannot be created or written.
bool WriteReportFile(Session&, const std::string& path, const std::vector<std::string>& lines);

// The section routine of code 11: option 1 prints, option 2 writes a text
// file chosen in the copy dialog.
void PrintConfiguration(Session&, PrintMode mode, int option);

}  // namespace cfg
