// The point dialog of the zones section (FRMInpSen): the user chooses whether
// to set the zone ("group") of a loop point, its type, both, or nothing.
#pragma once

#include <string>

namespace cfg {

struct SensorInputRequest {
    std::string title;
    std::string prompt;  // may hold line breaks
};

// The dialog's result word.
inline constexpr int kSensorInputCancelled = 0;   // CMDCanc (or the window closed)
inline constexpr int kSensorInputGroup = 1;       // CMDImpGrup
inline constexpr int kSensorInputType = 2;        // CMDImpTip
inline constexpr int kSensorInputOk = 65535;      // CMDOk

class SensorInputUi {
public:
    virtual ~SensorInputUi() = default;
    virtual int AskSensorInput(const SensorInputRequest&) = 0;
};

}  // namespace cfg
