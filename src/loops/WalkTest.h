// The walk test of commissioning: the installer goes round the building and
// sets off every detector and call point, and the tool records which of
// them reached the panel.
//
// A walk-test record holds, for each configured point of the modules
// tested, the first time its reading reached the alarm state (the state
// rule of the point's detail window), its peak reading and the faults seen
// (a reading at or below the fault threshold, a device that does not
// answer); points that are not configured but answered in alarm are kept
// apart. Every change is an event; the events are kept in order and shown
// newest first.
//
// The record is updated from each read of a module's live table and saved
// as it grows, as a small text file beside the settings file named by the
// panel's serial number and the date, so that a test interrupted by lunch or
// by a crash goes on from where it was.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "loops/LoopSection.h"
#include "shell/Clock.h"
#include "shell/PrintoutUi.h"
#include "shell/Session.h"

namespace cfg {

// The poll of the live table. One read of 400 bytes takes about a second
// at 9600 baud, so an alarm shorter than this may fall between two reads.
inline constexpr double kWalkPollSeconds = 2.0;

enum class WalkFaultKind { NoAnswer = 1, LowReading = 2 };
enum class WalkEventKind { Tested = 1, Fault = 2, NoAnswer = 3, Unconfigured = 4 };

struct WalkFault {
    WalkFaultKind kind = WalkFaultKind::NoAnswer;
    DateTime time;
    int reading = 0;
};

struct WalkPoint {
    int point = 0;             // shown point number (1..400)
    std::string description;   // the point's display text, trimmed
    bool tested = false;
    DateTime first;            // the first alarm
    int firstReading = 0;
    int peak = -1;             // highest reading seen (table byte), -1 = none
    std::vector<WalkFault> faults;  // each time a fault appeared
    bool inFault = false;      // a fault is present now (a new one counts when it clears first)
};

// What the module showed at the end of the test (or when the report was made).
struct WalkLoopEnd {
    bool read = false;
    std::array<int, 4> counters{};
    int faultPoint = 0;
    int loopStatus = -1;
    int currentMa = -1;
};

struct WalkModule {
    int module = 1;
    std::vector<WalkPoint> points;      // the configured points, in order
    std::vector<WalkPoint> strangers;   // not configured, answered in alarm
    WalkLoopEnd end;

    int Configured() const { return static_cast<int>(points.size()); }
    int Tested() const;
    WalkPoint* Find(int point);
};

struct WalkEvent {
    DateTime time;
    int module = 1;
    int point = 0;
    int reading = 0;
    int state = -1;  // 0 fault, 1 normal, 2 pre-alarm, 3 alarm; -1 no answer
    WalkEventKind kind = WalkEventKind::Tested;
};

struct WalkRecord {
    std::string serial, panelName, firmware, installation, tester;
    DateTime started, ended;
    bool hasEnded = false;
    std::vector<WalkModule> modules;
    std::vector<WalkEvent> events;  // oldest first

    WalkModule* Module(int module);
    const WalkModule* Module(int module) const;
    // The module's part, made from `points` when the record has none yet.
    WalkModule& ModuleFor(int module);
};

// --- the state rule and the update ------------------------------------------------

// What a point of a module is judged by: the detail window's window and
// reference level for a configured point.
struct WalkPointRule {
    int index = 0;    // 1..200 in the module
    int type = 0;     // configured type
    PointWindow window;
    int reference = -1;
};

struct WalkLoopSetup {
    int module = 1;
    TypeThresholdTable thresholds;
    std::vector<WalkPointRule> configured;  // in point order
};

// The setup of the loaded tables of a module (LoadLoopTables).
WalkLoopSetup WalkSetupOf(const Session&, const LoopContext&);

// The state of a reading of a configured point: the detail window's rule.
int WalkPointState(const WalkPointRule&, int reading);
// The state of a point that is not configured: judged by the thresholds of
// the device type the live table names (bits 3..0 of its first byte; a
// smoke detector's when it names none).
int UnconfiguredPointState(const TypeThresholdTable&, int liveFlags, int reading);

// Takes one read of the module's live table (bytes 1..400: flags and
// reading of each point) taken at `now`; returns the events it caused, which
// are also added to the record. A point that reaches the alarm state again
// after it was tested causes nothing new.
std::vector<WalkEvent> UpdateWalkRecord(WalkRecord&, const WalkLoopSetup&, const BoundedArray<int, 1, 500>& live,
                                        const DateTime& now);

// The loop picture of the module: the live readings of the loaded tables,
// every tested point ticked, every untested configured point outlined.
LoopPicture WalkPicture(const Session&, const LoopContext&, const WalkRecord&);

// --- texts ----------------------------------------------------------------------------

// "2026-12-05 09:31:10".
std::string WalkTimeText(const DateTime&);
// A reading as the views show it (times 16), without the padding.
std::string WalkReadingText(int reading);
// "Tested 37 of 143".
std::string WalkTestedText(Session&, const WalkModule&);
// One line of the event list: time, point, description, reading, state.
std::string WalkEventLine(Session&, const WalkRecord&, const WalkEvent&);
// The CSV: the header row, then for each module of the record a row per
// configured point and a row per point that answered in alarm without being
// configured.
std::vector<std::string> WalkCsvLines(Session&, const WalkRecord&);
// The lines of the handover report (every module of the record).
std::vector<std::string> WalkReportLines(Session&, const WalkRecord&);
ReportPrintJob WalkReportJob(Session&, const WalkRecord&);

// --- the record file -----------------------------------------------------------------

std::string WalkRecordText(const WalkRecord&);
// False and a reason (with the line number) when the text is not a record.
bool ParseWalkRecord(const std::string& text, WalkRecord&, std::string& error);

// WALKTEST_<SERIAL>_<YYYYMMDD>.TXT beside the settings file.
std::string WalkRecordPath(const Session&, const std::string& serial, const DateTime& day);
// The newest record of this panel beside the settings file; "" when none.
std::string LastWalkRecordPath(const Session&, const std::string& serial);
bool SaveWalkRecord(const std::string& path, const WalkRecord&, std::string& error);
bool LoadWalkRecord(const std::string& path, WalkRecord&, std::string& error);
// Writes `content` to a new file beside `path` and puts it in its place, so
// that a crash never leaves half a file.
bool WriteFileReplacing(const std::string& path, const std::string& content, std::string& error);
// Moves a finished file `from` to `path`, replacing it.
bool ReplaceFile(const std::string& from, const std::string& path, std::string& error);

// --- a walk test on the panel ------------------------------------------------------------

// The name of who tests, kept in the settings file ([WalkTest] Tester=).
std::string KeptTesterName(const Session&);
void KeepTesterName(Session&, const std::string&);

// One walk test of one module on the panel: the loaded tables, the record
// and its file. The caller has loaded the module's tables (LoadLoopTables).
class WalkTest {
public:
    WalkTest(Session&, LoopContext&);

    // Reads the panel's identity and the descriptions of the configured
    // points; a new record (today's file, whose other modules are kept).
    bool Start(const std::string& tester);
    // The last record of this panel; false with a message when there is
    // none or it cannot be read.
    bool Continue(std::string& error);
    // Today's record already holds tested points of this module.
    bool TodayHasTestedPoints();

    // Reads the live table once and updates the record; saves it when it
    // changed. False when the panel did not answer.
    bool Poll(std::vector<WalkEvent>* events = nullptr);
    // Reads the loop error counters, the loop state and the line current
    // into the record, marks the end and saves.
    bool Finish();
    // Saves now. False (and `SaveError`) when the file cannot be written.
    bool Save();

    const WalkRecord& Record() const { return record_; }
    WalkRecord& Record() { return record_; }
    const WalkLoopSetup& Setup() const { return setup_; }
    const std::string& Path() const { return path_; }
    const std::string& SaveError() const { return saveError_; }
    bool Started() const { return started_; }
    // True when every configured point of the module has been tested.
    bool AllTested() const;
    // The loop picture: the live readings with every tested point ticked.
    LoopPicture Picture() const;

private:
    bool ReadIdentity();
    bool ReadDescriptions(std::vector<std::string>& out);
    WalkModule NewModule(const std::vector<std::string>& descriptions) const;

    Session& s_;
    LoopContext& c_;
    WalkLoopSetup setup_;
    WalkRecord record_;
    std::string path_;
    std::string saveError_;
    bool started_ = false;
    double lastSave_ = -1;
    bool unsaved_ = false;
};

// The walk test runs: polls every 2 seconds until `stop` says so, the abort
// button is pressed or the panel stops answering; `onPoll` is called after
// every read with its events. Returns false when the panel stopped answering.
bool RunWalkTestPolls(Session&, WalkTest&, const std::function<bool()>& stop,
                      const std::function<void(const std::vector<WalkEvent>&)>& onPoll);

// The walk-test view (Toolbar2): the window with the loop picture, the
// counts and the events, Start, Continue, Stop and Save report.
void ShowWalkTest(Session&, LoopContext&);

// Writes the CSV of the record (UTF-8 with a byte-order mark, for a
// spreadsheet) and, when `pdfPath` is not empty, the report as PDF through
// the front end. False with the reason.
bool SaveWalkCsv(Session&, const WalkRecord&, const std::string& path, std::string& error);
bool SaveWalkPdf(Session&, const WalkRecord&, const std::string& path, std::string& error);

}  // namespace cfg
