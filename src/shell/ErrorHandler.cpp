#include "ErrorHandler.h"

#include "Language.h"
#include "LinkSettings.h"
#include "Shell.h"

namespace cfg {

namespace {

// Texts.
constexpr int kErrorTitle = 1396;
constexpr int kUnexpectedErrorText = 1395;

}  // namespace

void HandleRuntimeError(Session& s, long number, const std::string& description) {
    s.link.LastErrorNumber = number;
    if (s.link.QuietErrors) return;

    Ui& ui = *s.ui;
    std::string title, text;
    if (PortErrorMessage(s, number, s.settings.CommPortName, title, text)) {
        ui.MessageBox(title, text, MsgButtons::Ok, MsgIcon::Critical);
    } else {
        switch (number) {
        case err::kDeviceIo:
            ui.Beep();
            return;  // a device error only beeps and does not pause
        case 0:
            break;
        default: {
            std::string d = description.empty() ? ErrorDescription(number) : description;
            ui.MessageBox(GetText(s, kErrorTitle),
                          GetText(s, kUnexpectedErrorText) + " " + std::to_string(number) + "\r" + d, MsgButtons::Ok,
                          MsgIcon::Critical);
            break;
        }
        }
    }
    s.link.CloseBlocked = false;
    s.screen.ScreenLocked = false;
    WaitSeconds(s, 5);
}

}  // namespace cfg
