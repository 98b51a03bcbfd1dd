// The value-input driver shared by every dialog that asks for a number, a
// text or a list entry.
#pragma once

#include "Session.h"

namespace cfg {

inline constexpr int kInputConfirmed = 255;

// Whether `text` is a value that a number request (kind 1) accepts: a plain
// number within [minimum, maximum], whole when both bounds are whole.
[[nodiscard]] bool AcceptsNumber(const ValueRequest&, const std::string& text, double& value);

// Shows the value-input dialog and returns 255 when the user confirmed a
// value that passes the range check (kind 1: minimum <= value <= maximum;
// non-integers are refused when both bounds are integers), else 0.
[[nodiscard]] int AskValue(Session&, const ValueRequest&, ValueAnswer& answer);

// Convenience for a whole number in [minimum, maximum]. Returns 255 and sets
// `value` when confirmed.
// `topic` says what is asked, for front ends that answer without a window.
[[nodiscard]] int AskNumber(Session&, ValueTopic topic, const std::string& title, const std::string& prompt, long initial,
              long minimum, long maximum, long& value, int top = 0, int left = 0);

}  // namespace cfg
