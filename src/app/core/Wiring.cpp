#include "Wiring.h"

#include "app/core/SectionTable.h"
#include "config/Files.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "transfer/Commands.h"

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
    RegisterSections(s.sections);
}

}  // namespace cfg
