// The shared run-time error handler.
#pragma once

#include <string>

#include "Session.h"

namespace cfg {

// Records `number` in LastErrorNumber and, unless QuietErrors is set, tells
// the user: 8002 invalid port, 8005 port already open, 8101..8103 a network
// port that is no address, cannot be reached or was lost, 57 a beep, 0 nothing,
// any other number a generic message with the number and description.
// Afterwards (not quiet, not 57) CloseBlocked and ScreenLocked are cleared
// and the handler waits 5 seconds.
void HandleRuntimeError(Session&, long number, const std::string& description);

// Keeps the handler quiet for the life of the object, so that a failure is
// only recorded in LastErrorNumber (cleared on entry) and the code that
// opened the scope reports it in its own words, or not at all. Leaving
// restores the previous setting, so scopes nest. The one way to silence
// errors: nothing sets QuietErrors by hand.
class QuietFileErrors {
public:
    explicit QuietFileErrors(LinkState& link) : link_(link), saved_(link.QuietErrors) {
        link_.QuietErrors = true;
        link_.LastErrorNumber = 0;
    }
    explicit QuietFileErrors(Session& s) : QuietFileErrors(s.link) {}
    ~QuietFileErrors() { link_.QuietErrors = saved_; }
    QuietFileErrors(const QuietFileErrors&) = delete;
    QuietFileErrors& operator=(const QuietFileErrors&) = delete;

private:
    LinkState& link_;
    bool saved_;
};

}  // namespace cfg
