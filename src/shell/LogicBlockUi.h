// The function-block window: what the logic editor shows of one block and
// what the installer does with it. The core decides everything; the window
// only shows the view, reports which button was pressed and runs its two
// panels that ask (block settings, condition choice).
#pragma once

#include <string>
#include <vector>

namespace cfg {

// What the window shows of one block. Every text is ready to show.
struct LogicBlockView {
    std::string blockName;                 // " BF07", over the lists and in the state line
    std::vector<std::string> andLines;     // the AND conditions, one per line
    std::vector<std::string> orLines;      // the OR conditions, one per line
    // The block's settings as shown beside their labels.
    std::string threshold;
    std::string output;
    std::string activationDelay;
    std::string deactivation;              // how the output drops: latched, pulse or delay
    std::string sentence;                  // the block read as a sentence
    std::string fields;                    // the exact words of the record
};

// Command words of the window's buttons, one per button.
enum LogicCommandWord {
    kLogicAddOr = 1,
    kLogicAddAnd = 2,
    kLogicSettings = 3,
    kLogicCopyBlock = 4,
    kLogicDeleteCondition = 5,
    kLogicDeleteBlock = 6,
    kLogicClose = 7,
};

struct LogicCommand {
    int word = kLogicClose;
    int listCode = 0;   // 2 = a line of the AND list is selected, 1 = of the OR list, 0 = none
    int index = -1;     // 0-based line of that list
};

// The block settings panel. Entries are ready-made texts; the answer gives
// indices into them.
struct LogicSettingsRequest {
    std::vector<std::string> outputEntries;        // entry 0 = none, k = output k
    std::vector<std::string> activationEntries;     // activation delay: entry k = k half-seconds
    std::vector<std::string> durationEntries;      // pulse or delay length: entry k = k + 1 half-seconds
    std::vector<std::string> thresholdEntries;     // entry k = threshold k
    int type = 0;          // 0 AND/OR logic, 1 threshold AND
    int threshold = 0;
    int output = 0;
    int activation = 0;
    int deactivationOption = 2;  // how the output drops: 2 latched, 1 pulse, 0 delay
    int duration = 0;            // index into durationEntries
};

struct LogicSettingsAnswer {
    bool confirmed = false;
    int type = 0, threshold = 0, output = 0, activation = 0, deactivationOption = 2, duration = 0;
};

// The condition panel: a category from the list and the two options
// "if active" / "if NOT active".
struct LogicConditionRequest {
    std::string prompt;                 // whether an AND or an OR condition is added
    std::vector<std::string> categories;
};

struct LogicConditionAnswer {
    bool confirmed = false;
    int entry = 0;        // 1-based entry of the categories, 0 = none selected
    int option = 1;       // 1 if active, 2 if NOT active
};

class LogicBlockUi {
public:
    virtual ~LogicBlockUi() = default;
    // Opens the window for a block, or refreshes it with a new view.
    virtual void ShowLogicBlock(const LogicBlockView&) = 0;
    // Waits until a button of the window is pressed.
    virtual LogicCommand WaitLogicCommand() = 0;
    virtual LogicSettingsAnswer AskLogicSettings(const LogicSettingsRequest&) = 0;
    virtual LogicConditionAnswer AskLogicCondition(const LogicConditionRequest&) = 0;
    virtual void CloseLogicBlock() = 0;
};

}  // namespace cfg
