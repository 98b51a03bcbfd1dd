#include "Wiring.h"

#include "app/core/SectionTable.h"
#include "config/Files.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "report/Compare.h"
#include "transfer/Commands.h"

namespace cfg {

void RegisterCoreCommands(Session& s) {
    Commands& c = s.commands;
    // The "apre" popup also holds the backups list (3) and, with nothing
    // open yet, the comparison of two configurations (4).
    // The outcome of a file command stays in LinkStatus, where the main
    // window's owner finds how the last command ended.
    c.open = [](Session& ss, int option) {
        ss.link.LinkStatus = (option == 4 ? CompareCommand(ss) : OpenConfiguration(ss, option)).status;
    };
    c.transfer = [](Session& ss, int option) { ss.link.LinkStatus = TransferCommand(ss, option).status; };
    c.create = [](Session& ss, int option) { ss.link.LinkStatus = CreateCommand(ss, option).status; };
    c.refreshFromFile = RefreshConfigView;
    c.refreshFromPanel = RefreshConfigView;
    c.closePanel = [](Session& ss) {
        LeaveProgrammingMode(ss, true);
        ClosePanelPort(ss);
    };
    c.checkFilePart = [](Session& ss, int part) { return CheckConfigFile(ss, ss.config.ConfigFileName, part); };
    RegisterSections(s.sections);
}

}  // namespace cfg
