// What the loop-module section needs from a front end: the loop toolbar
// (Toolbar2) and the module's caption box in the main window, the list
// window of the loop views (with its picture of the loop), the sensor detail
// window and the small text windows of the diagnostic views.
//
// Like every Ui call these are synchronous; the windows only record what the
// user did (closed, double-clicked a line, clicked a point of the picture,
// asked for a reset) and the view's wait loop collects it with the Take...
// calls, which also clear it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cfg {

enum class ScreenColor;

// One point of the loop as the pictures draw it. Values are table bytes
// (0..255, shown times 16); -1 where there is none.
struct LoopMark {
    int point = 0;            // shown point number
    bool configured = false;  // a sensor is configured at this point
    bool answering = true;    // false: the panel flags it as not answering
    int reading = -1;         // live reading
    int lo = 0, mid = 0, hi = 0, up = 0;  // the point's window
    int state = -1;           // 0 fault, 1 normal, 2 pre-alarm, 3 alarm (detail-window rule)
    int minimum = 255, maximum = 255;     // recorded range; 255 = nothing recorded
    int walk = 0;             // walk test: 0 not part of one, 1 not yet tested, 2 tested,
                              // 3 not configured but answered in alarm
};

struct LoopPicture {
    enum class Kind { None, Overview, Ranges, Walk };
    Kind kind = Kind::None;
    int module = 1;
    std::vector<LoopMark> marks;   // the 200 points of the module, in order
    std::array<int, 2> addressZero{};  // codes of devices at address 0 (0 = none)
};

struct LoopListSpec {
    std::string title;
    std::string closeCaption;
    std::string resetCaption;     // "" = no reset button
    uint32_t background = 0;      // 0x00BBGGRR colour of the list; 0 = the usual white
};

// What the user did in the list window since the last look.
struct LoopListInput {
    bool closed = false;
    int openedLine = -1;   // 0-based list line double-clicked (or Enter)
    int clickedPoint = 0;  // shown point clicked in the picture
    bool reset = false;    // the reset button
    bool activity = false; // any click, scroll or key in the list
};

class LoopUi {
public:
    virtual ~LoopUi() = default;

    // --- main window ------------------------------------------------------------
    // Toolbar2 in place of Toolbar1 (true) or Toolbar1 back (false).
    virtual void ShowLoopToolbar(bool) = 0;
    // The module's caption box: the text (lines separated by "\r\n") on a
    // 0x00BBGGRR background; an empty text hides the box.
    virtual void SetLoopCaption(const std::string& text, uint32_t background) = 0;
    // Toolbar2 button at position 1..8.
    virtual void SetLoopButtonEnabled(int position, bool enabled) = 0;
    // Shows the button at `position` pressed and the others not (0 = none).
    virtual void SetLoopButtonPressed(int position) = 0;

    // --- the list window of the loop views -----------------------------------------
    virtual void OpenLoopList(const LoopListSpec&) = 0;
    // Lines, the picture beside them, and the list position to keep.
    virtual void ShowLoopList(const std::vector<std::string>& lines, const LoopPicture&, int topIndex,
                              int selectedIndex) = 0;
    virtual int LoopListTop() = 0;
    virtual int LoopListSelected() = 0;
    virtual LoopListInput TakeLoopListInput() = 0;
    virtual void CloseLoopList() = 0;

    // --- the sensor detail window --------------------------------------------------
    virtual void OpenDetailWindow(const std::string& title, int rows, int cols) = 0;
    virtual void WriteDetail(int row, int col, const std::string& text, ScreenColor) = 0;
    // One live reading of the point (seconds since the window opened), with
    // the window it is judged against: the history picture.
    virtual void AddDetailSample(double seconds, const LoopMark&) = 0;
    virtual bool DetailWindowOpen() = 0;
    virtual void CloseDetailWindow() = 0;

    // --- text windows of the diagnostic views (errors, current, auto-configuration)
    // withReset: the window offers a reset button.
    virtual void OpenDiagWindow(const std::string& title, int rows, int cols, bool withReset) = 0;
    virtual void WriteDiag(int row, int col, const std::string& text, ScreenColor) = 0;
    virtual bool DiagWindowOpen() = 0;
    // True once after the reset button was pressed.
    virtual bool TakeDiagReset() = 0;
    virtual void CloseDiagWindow() = 0;
};

}  // namespace cfg
