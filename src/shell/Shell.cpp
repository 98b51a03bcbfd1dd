#include "Shell.h"

namespace cfg {

void Yield(Session& s) {
    s.ui->ProcessEvents();
    // Wake at once when the panel sends something; otherwise a 10 ms rest.
    if (s.transport && s.transport->IsOpen())
        s.transport->WaitForInput(10);
    else
        s.clock->SleepMs(10);
}

void IdleYield(Session& s) {
    if (!s.ui->WaitForEvents(kIdleWaitMs)) Yield(s);
}

namespace {
template <typename Stop>
void WaitWhile(Session& s, double seconds, Stop stop) {
    double start = s.clock->SecondsSinceMidnight();
    for (;;) {
        double elapsed = s.clock->SecondsSinceMidnight() - start;
        if (elapsed >= seconds || elapsed < 0 || stop()) break;
        Yield(s);
    }
}
}  // namespace

void PauseSeconds(Session& s, double seconds) {
    s.events.PauseBreak = false;
    WaitWhile(s, seconds, [&] { return s.events.PauseBreak; });
    s.events.PauseBreak = false;
}

void WaitSeconds(Session& s, double seconds) {
    WaitWhile(s, seconds, [] { return false; });
}

void NextState(MainRegisters& reg) { reg.MainState = static_cast<int16_t>(reg.MainState + 1); }
void PrevState(MainRegisters& reg) { reg.MainState = static_cast<int16_t>(reg.MainState - 1); }

void LockToolbar(Session& s, int button) {
    for (int i = 1; i <= kToolbar1Buttons; ++i) s.ui->SetToolbarButtonEnabled(i, i == button);
}

void ShowFileButtons(Session& s) {
    for (int i = 1; i <= kToolbar1Buttons; ++i) s.ui->SetToolbarButtonEnabled(i, i <= 3);
}

void ShowSectionButtons(Session& s) {
    for (int i = 1; i <= kToolbar1Buttons; ++i) s.ui->SetToolbarButtonEnabled(i, i > 3);
}

void HideLoopDisplay(Session& s) { s.ui->HideLoopDisplay(); }

}  // namespace cfg
