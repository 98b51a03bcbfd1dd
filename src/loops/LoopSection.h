// The loop-module section: one analog loop module chosen from the "vimom"
// popup, its caption box and Toolbar2, and the views run from Toolbar2 until
// "endvimom": the configured sensors (visloop), recorded minimum and maximum
// (minmax), auto-configuration (autocf), loop errors (errloop) and line
// current (iloop), with the sensor detail window.
//
// The views share one LoopContext: the module, what the section learnt about
// it, and the loop tables loaded for it. The point tables of the module go
// into ConfigImage cells 1..400 (configuration) and 500..899 (parameters).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "loops/LoopTables.h"
#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

// Toolbar2 view codes (DiagnosticCommand).
namespace loopview {
inline constexpr int kList = 1;        // visloop
inline constexpr int kMinMax = 2;      // minmax
inline constexpr int kThresholds = 3;  // soglie: no view
inline constexpr int kAutoConfig = 4;  // autocf
inline constexpr int kErrors = 5;      // errloop
inline constexpr int kCurrent = 6;     // iloop
inline constexpr int kEnd = 7;         // endvimom
inline constexpr int kWalkTest = 8;    // walk test
}  // namespace loopview

// Toolbar2 positions.
namespace loopbutton {
inline constexpr int kEnd = 2, kAutoConfig = 3, kList = 4, kMinMax = 5, kThresholds = 6, kErrors = 7,
                     kCurrent = 8, kWalkTest = 9;
}

struct LoopContext {
    int module = 1;
    std::array<bool, 5> present{};  // module present flags by index 0..4 (1..3 used)
    int firstPoint = 1, lastPoint = 200;
    std::string ModuleModel, ModuleVersion;
    int configured = 0;                // configured points of the last list
    std::array<int, 2> addressZero{};  // codes of the devices at address 0
    TypeThresholdTable thresholds;
    // Bytes 1..400 of the module's tables (500 cells, as the views clear them).
    BoundedArray<int, 1, 500> live, minMax, reference;

    bool Present() const { return module >= 1 && module <= 3 && present[static_cast<std::size_t>(module)]; }
    void ClearLiveTables();
};

// --- the section ------------------------------------------------------------------

// The section routine (section code 1). `option` is the module chosen in
// the popup (1 or 2; 0 ends at once). PrintMode::LinesOnly builds
// the compact sensor list of the module into the screen buffer for the
// printout instead of showing Toolbar2.
void LoopSection(Session&, PrintMode mode, int option);

// Reads the module directory and sets the present flags; none are set when
// the read failed.
OpResult ReadModuleDirectory(Session&, LoopContext&);
// Sets the present flags from the module directory in image cells 430..493.
void MarkPresentModules(const ConfigState&, LoopContext&);
// The section's printout (the compact sensor list of loop module `option`)
// from a file set in memory.
bool PrintLoopSensors(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Identifies a present module on the panel: 137 (twice at most), then its
// model (9) and version (10). True when it answered; true with a file set.
bool IdentifyModule(Session&, LoopContext&);
// The caption box text and its background colour (0x00BBGGRR).
std::string LoopCaptionText(Session&, const LoopContext&);
uint32_t LoopCaptionColour(const LoopContext&);
// Enables the Toolbar2 buttons for the module and the source.
void SetLoopButtons(Session&, const LoopContext&);

// --- loop tables --------------------------------------------------------------

// Loads the threshold table, the point tables (cells 1..400, 500..899), the
// live table (panel) and the reference table; with `askAddressZero` (the
// sensor list) also the devices at address 0. LinkStatus tells.
bool LoadLoopTables(Session&, LoopContext&, bool askAddressZero = true);
bool ReadLiveTable(Session&, LoopContext&);
bool ReadMinMaxTable(Session&, LoopContext&);
// Asks the panel for the devices left at address 0 (command 15).
void ReadAddressZero(Session&, LoopContext&);

// One loop command ("X") to the context's module: the sub-command and its
// argument. True when the panel answered; AnswerByte(n) then reads answer
// byte n (2 is the first value).
bool LoopExchange(Session&, int module, int command, int argument = 0, bool showErrors = true);
int AnswerByte(const LinkState&, int n);

// --- views --------------------------------------------------------------------------

// The window of configured point index k (1..200) of the loaded tables, with
// the reference level when `withReference`.
PointWindow PointWindowOf(const ConfigState&, const LoopContext&, int index, bool withReference);
inline PointWindow PointWindowOf(const Session& s, const LoopContext& c, int index, bool withReference) {
    return PointWindowOf(s.config, c, index, withReference);
}
// Fills the screen buffer with the sensor list; returns the configured count.
int BuildLoopList(Session&, LoopContext&, bool compact);
// The same list from the tables in `c` and the page's image; `panel`: with
// the live readings of a panel.
int RenderLoopList(const Page&, LoopContext&, bool panel, bool compact);
// The picture of the list: one mark per point.
LoopPicture LoopOverview(const Session&, const LoopContext&);
// visloop. With `compact` it only loads and builds the list.
void ShowConfiguredSensors(Session&, LoopContext&, bool compact);
// The sensor detail window of shown point p.
void ShowPointDetail(Session&, LoopContext&, int point);
// The point a loop list's input asks to open: the point of a double-clicked
// sensor line, or a configured point clicked in the picture; 0 for none.
int ChosenPoint(const Session&, const LoopContext&, const LoopListInput&);
// The live state of a reading: 0 fault, 1 normal, 2 pre-alarm, 3 alarm.
int PointState(int reading, const PointWindow&, int type, int reference);
// What the detail window judges point index k (1..200) of the loaded tables
// by: its window and, for types 2 and 3 of indices 1..99, the reference
// level (-1 for none).
struct DetailRule {
    int type = 0;
    PointWindow window;
    int reference = -1;
};
DetailRule DetailRuleOf(const Session&, const LoopContext&, int index);

// minmax and its reset.
int BuildMinMaxList(Session&, LoopContext&);
LoopPicture MinMaxPicture(const Session&, const LoopContext&);
void ShowMinMax(Session&, LoopContext&);
bool ResetMinMax(Session&, LoopContext&);

// errloop, iloop and the errors reset.
struct LoopErrors {
    std::array<int, 4> counters{};  // answer bytes 2..5
    int faultPoint = 0;             // shown point of byte 5, 0 = none
    int status = -1;                // loop status byte, -1 = not read
};
bool ReadLoopErrors(Session&, const LoopContext&, LoopErrors&);
// Sends 136; shows text 0101 when the panel did not reset. True when it did.
bool ResetLoopErrors(Session&, const LoopContext&);
void ShowLoopErrors(Session&, LoopContext&);
// The line current in mA from three samples of 135 (answer byte 2 each): a
// sample counts its excess over 4, and the sum times 2 over 1.4, truncated.
int LineCurrentFromSamples(const std::array<int, 3>& samples);
// Three samples of 135; the line current in mA, or -1 when an exchange failed.
int ReadLineCurrent(Session&, const LoopContext&);
void ShowLineCurrent(Session&, LoopContext&);

// autocf. `overwrite` unset asks the user; the command line passes its choice.
struct AutoConfigChoice {
    bool ask = true;
    bool overwrite = false;
};
// Applies one detected point (first answer byte, second answer byte) to the
// configuration bytes b1, b2 and the parameter bytes; returns the group (1..32).
struct AutoConfigPoint {
    int b1 = 0, b2 = 0, param1 = 0, param2 = 0;
};
AutoConfigPoint ApplyDetectedPoint(AutoConfigPoint configured, int detected1, int detected2, bool overwrite);
// True when it ran to the end.
bool RunAutoConfiguration(Session&, LoopContext&, AutoConfigChoice);

// Waits `seconds`, yielding; ends early when `stop` says so. False when the
// abort button was pressed meanwhile.
bool WaitInView(Session&, double seconds, const std::function<bool()>& stop);

}  // namespace cfg
