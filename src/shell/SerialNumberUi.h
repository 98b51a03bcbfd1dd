// The serial-number form of the production line: the last number and date
// given, and the proposal the user may change.
#pragma once

#include <string>

namespace cfg {

struct SerialNumberFields {
    std::string lastNumber;  // line 1 of the counter file
    std::string lastDate;    // line 2
    std::string newNumber;   // editable
    std::string newDate;     // editable
};

// Fields of the form, for the focus after a rejected entry.
inline constexpr int kSerialNumberField = 0;
inline constexpr int kSerialDateField = 1;

class SerialNumberUi {
public:
    virtual ~SerialNumberUi() = default;
    // Shows the form with `fields`; returns false when the user cancels.
    // focusField names the entry to select after a rejected entry (-1 none).
    virtual bool AskSerialNumber(SerialNumberFields& fields, int focusField) = 0;
};

}  // namespace cfg
