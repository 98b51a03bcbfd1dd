#include "app/core/SectionTable.h"

#include "editors/ClockProgrammer.h"
#include "editors/DisplayEditor.h"
#include "editors/IdentityEditor.h"
#include "editors/LogicsEditor.h"
#include "editors/ModulesView.h"
#include "editors/OptionsEditor.h"
#include "editors/SuperiorOptionsEditor.h"
#include "editors/TimesEditor.h"
#include "editors/ZonesEditor.h"
#include "link/PanelClock.h"
#include "loops/LoopSection.h"
#include "report/Compare.h"
#include "production/SerialNumber.h"
#include "report/Printout.h"
#include "shell/MainLoop.h"
#include "shell/Session.h"

namespace cfg {

namespace {

// The clock popup: entries 4 and 5 show and set the panel clock and open no
// section; the others belong to the clock programmer.
bool ClockMenuGuard(Session& s, int16_t& option) {
    if (option == 4 || option == 5) {
        ClockCommand(s, option);
        return false;
    }
    return true;
}

}  // namespace

void RegisterSections(SectionTable& t) {
    // A row without a routine is a section whose editor is not part of the
    // program yet: its button sends the code, the main loop checks it (file
    // part, guard) and then leaves the configuration view as it was.
    t.Add({.code = 1,
           .part = FilePart::Main,
           .option = SectionOption::Command,
           .locksToolbar = true,
           .printable = true,
           .run = LoopSection,
           .print = PrintLoopSensors});
    t.Add({.code = 2,
           .toolbarKey = "zone",
           .part = FilePart::Main,
           .titleText = kZonesTitleText,
           .printable = true,
           .run = ZonesSection,
           .print = PrintZones});
    t.Add({.code = 3,
           .toolbarKey = "tempi",
           .part = FilePart::Main,
           .titleText = kTimesTitleText,
           .printable = true,
           .run = TimesSection,
           .print = PrintTimes});
    t.Add({.code = 4,
           .toolbarKey = "opzioni",
           .part = FilePart::Main,
           .titleText = kOptionsTitleText,
           .printable = true,
           .run = OptionsSection,
           .print = PrintOptions});
    t.Add({.code = 5,
           .toolbarKey = "opsup",
           .part = FilePart::Main,
           .titleText = kSuperiorTitleText,
           .printable = true,
           .guard = [](Session& s, int16_t&) { return ConfirmSuperiorOptions(s); },
           .run = SuperiorOptionsSection,
           .print = PrintSuperiorOptions});
    t.Add({.code = 6,
           .part = FilePart::Clock,
           .titleText = kClockTitleText,
           .option = SectionOption::ClockProgram,
           .printable = true,
           .guard = ClockMenuGuard,
           .run = ClockProgrammerSection,
           .print = PrintClockProgrammer});
    t.Add({.code = 7,
           .toolbarKey = "logiche",
           .part = FilePart::Logic,
           .titleText = kLogicsTitleText,
           .printable = true,
           .run = LogicsSection,
           .print = PrintLogics});
    t.Add({.code = 8,
           .toolbarKey = "display",
           .part = FilePart::Texts,
           .titleText = kDisplayTitleText,
           .printable = true,
           .run = DisplaySection,
           .print = PrintDisplay});
    t.Add({.code = 9,
           .toolbarKey = "parcom",
           .part = FilePart::Main,
           .titleText = kIdentityTitleText,
           .printable = true,
           .run = IdentitySection,
           .print = PrintIdentity});
    t.Add({.code = 10,
           .toolbarKey = "moduli",
           .part = FilePart::Main,
           .titleText = kModulesTitleText,
           .printable = true,
           .run = ModulesSection,
           .print = PrintModules});
    t.Add({.code = kPrintoutCode, .option = SectionOption::Command, .run = PrintConfiguration});
    // The open configuration compared with another one (the "stampa" popup).
    t.Add({.code = kCompareCode, .run = CompareSection});
    t.Add({.code = kSerialNumberCode, .panelOnly = true, .guard = SerialNumberGuard, .run = SerialNumberSection});
}

}  // namespace cfg
