// The printer side of the printout: the front end lays the report's lines
// out on pages and sends them to the printer the user picks (or previews
// them, or saves them as PDF from the same dialog).
#pragma once

#include <string>
#include <vector>

namespace cfg {

struct ReportPrintJob {
    std::string title;       // the configuration's name, on every page header
    std::string pageLabel;   // the word before the page number ("Page")
    std::vector<std::string> lines;
};

enum class PrintResult { Printed, Cancelled, Failed };

class PrintoutUi {
public:
    virtual ~PrintoutUi() = default;
    virtual PrintResult PrintReport(const ReportPrintJob&) = 0;
};

}  // namespace cfg
