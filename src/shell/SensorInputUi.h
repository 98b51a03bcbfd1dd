// The point dialog of the zones section: the user chooses whether to set the
// zone ("group") of a loop point, its type, both, or nothing.
#pragma once

#include <string>

namespace cfg {

struct SensorInputRequest {
    std::string title;
    std::string prompt;  // may hold line breaks
};

// The dialog's result word.
inline constexpr int kSensorInputCancelled = 0;   // Cancel, or the window closed
inline constexpr int kSensorInputGroup = 1;       // set the zone only
inline constexpr int kSensorInputType = 2;        // set the type only
inline constexpr int kSensorInputOk = 65535;      // OK: set both

class SensorInputUi {
public:
    virtual ~SensorInputUi() = default;
    virtual int AskSensorInput(const SensorInputRequest&) = 0;
};

}  // namespace cfg
