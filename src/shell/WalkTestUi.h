// What the walk test needs from a front end: its window (the loop picture
// with the tested points ticked, the counts, the events newest first, and
// the Start / Continue / Stop / Save report / Close buttons) and a PDF
// writer for the report.
//
// The window only records what the user did; the view's wait loop collects
// it with TakeWalkTestInput, which also clears it.
#pragma once

#include <string>
#include <vector>

#include "LoopUi.h"
#include "PrintoutUi.h"

namespace cfg {

struct WalkTestSpec {
    std::string title;
    std::string startCaption, continueCaption, stopCaption, reportCaption, closeCaption;
};

struct WalkTestViewData {
    LoopPicture picture;                 // marks carry walk = 1 untested, 2 tested
    std::vector<std::string> summary;    // one line per module: "Loop module 1: Tested 37 of 143"
    std::vector<std::string> events;     // newest first
    std::string status;                  // what the test is doing, and the record file
    bool running = false;                // Stop enabled, Start and Continue disabled
    bool canContinue = false;            // a record of this panel exists
    bool hasRecord = false;              // Save report enabled
};

struct WalkTestInput {
    bool closed = false;
    bool start = false;
    bool continueLast = false;
    bool stop = false;
    bool report = false;
};

class WalkTestUi {
public:
    virtual ~WalkTestUi() = default;
    virtual void OpenWalkTest(const WalkTestSpec&) = 0;
    virtual void ShowWalkTest(const WalkTestViewData&) = 0;
    virtual WalkTestInput TakeWalkTestInput() = 0;
    virtual void CloseWalkTest() = 0;
    // Lays the report's lines out as an A4 PDF file; false when it could not
    // be written (or the front end has no PDF).
    virtual bool WriteReportPdf(const std::string& path, const ReportPrintJob&) = 0;
};

}  // namespace cfg
