#include "ErrorHandler.h"

#include "Language.h"
#include "Shell.h"

namespace cfg {

void HandleRuntimeError(Session& s, long number, const std::string& description) {
    s.LastErrorNumber = number;
    if (s.QuietErrors != 0) return;

    Ui& ui = *s.ui;
    switch (number) {
    case err::kInvalidPort:
        ui.MessageBox(GetText(s, 1391), GetText(s, 1389) + " " + s.CommPortName + GetText(s, 1390),
                      MsgButtons::Ok, MsgIcon::Critical);
        break;
    case err::kPortAlreadyOpen:
        ui.MessageBox(GetText(s, 1394), GetText(s, 1392) + " " + s.CommPortName + GetText(s, 1393),
                      MsgButtons::Ok, MsgIcon::Critical);
        break;
    case err::kDeviceIo:
        ui.Beep();
        return;  // a device error only beeps and does not pause
    case 0:
        break;
    default: {
        std::string d = description.empty() ? ErrorDescription(number) : description;
        ui.MessageBox(GetText(s, 1396), GetText(s, 1395) + " " + std::to_string(number) + "\r" + d,
                      MsgButtons::Ok, MsgIcon::Critical);
        break;
    }
    }
    s.CloseBlocked = 0;
    s.ScreenLocked = 0;
    WaitSeconds(s, 5);
}

}  // namespace cfg
