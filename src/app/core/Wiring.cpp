#include "Wiring.h"

#include "transfer/Commands.h"
#include "config/Files.h"
#include "editors/OptionsEditor.h"
#include "editors/TimesEditor.h"
#include "editors/ZonesEditor.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelClock.h"
#include "loops/LoopSection.h"

namespace cfg {

void RegisterCoreCommands(Session& s) {
    Commands& c = s.commands;
    c.open = OpenConfiguration;
    c.transfer = TransferCommand;
    c.create = CreateCommand;
    c.refreshFromFile = RefreshConfigView;
    c.refreshFromPanel = RefreshConfigView;
    c.closePanel = [](Session& ss) {
        LeaveProgrammingMode(ss, true);
        ClosePanelPort(ss);
    };
    c.checkFilePart = [](Session& ss, int part) { return CheckConfigFile(ss, ss.ConfigFileName, part); };
    // Entries 4 and 5 of the clock menu show and set the panel clock; the
    // others belong to the clock-programmer section.
    c.prepareClockProgram = [](Session& ss, int option) {
        if (option == 4 || option == 5) {
            ClockCommand(ss, option);
            return 0;
        }
        return option;
    };
    c.sections[1] = LoopSection;
    c.sections[2] = [](Session& ss, int16_t& print, int) { ZonesEditor(ss, print); };
    c.sections[3] = [](Session& ss, int16_t& print, int) { TimesEditor(ss, print); };
    c.sections[4] = [](Session& ss, int16_t& print, int) { OptionsEditor(ss, print); };
}

}  // namespace cfg
