#include "MainLoop.h"

#include <exception>

#include "ErrorHandler.h"
#include "Language.h"
#include "Settings.h"
#include "Shell.h"

namespace cfg {

namespace {

// Texts.
constexpr int kVersionWord = 397;  // " ver.", between the program name and its version
constexpr int kAdvancedOptionsTitle = 398;
constexpr int kAdvancedOptionsWarning = 399;  // 399..402, one sentence in four parts
constexpr int kContinueQuestion = 403;

void State0Reset(Session& s) {
    s.main.SectionCommand = 0;
    s.link.PortOpened = false;
    s.link.ResetForClose();
    s.config.AddressDirectory.SetLoaded(false);
    for (auto& hook : s.commands.resetHooks)
        if (hook) hook(s);
    s.config.ConfigFileName.clear();
    s.config.ConfigSource = ConfigSource::None;
    s.ui->SetSettingsLabel(SettingsCaption(s.settings));
    NextState(s.main);
}

void State1Home(Session& s) {
    HideLoopDisplay(s);
    s.ui->HideSectionControls();
    ShowFileButtons(s);
    s.ui->SetConfigViewVisible(false);
    SetHomeCaptions(s);
    s.ui->SetSettingsMenusEnabled(true);
    s.link.PortOpened = false;
    s.main.SectionCommand = 0;
    s.ui->SetWorkFormEnabled(true);
    s.link.CloseBlocked = false;
    NextState(s.main);
}

void State2FileCommand(Session& s) {
    if (s.main.SectionCommand == 0) return;
    LockToolbar(s, s.main.ToolbarButtonIndex);
    auto& c = s.commands;
    switch (s.main.SectionCommand) {
    case kOpenCommand:
        if (c.open) c.open(s, s.main.CommandOption);
        if (s.config.ConfigSource != ConfigSource::None)
            NextState(s.main);
        else
            PrevState(s.main);
        break;
    case kTransferCommand:
        if (c.transfer) c.transfer(s, s.main.CommandOption);
        PrevState(s.main);
        break;
    case kCreateCommand:
        if (c.create) c.create(s, s.main.CommandOption);
        PrevState(s.main);
        break;
    default:
        PrevState(s.main);
        break;
    }
    s.main.SectionCommand = 0;
}

void State3ConfigView(Session& s) {
    if (s.config.ConfigSource == ConfigSource::File) {
        if (s.commands.refreshFromFile) static_cast<void>(s.commands.refreshFromFile(s));
    } else if (s.config.ConfigSource == ConfigSource::Panel) {
        // Without a panel that answers there is nothing to show.
        if (!s.commands.refreshFromPanel || !s.commands.refreshFromPanel(s).Done()) {
            s.main.MainState = mainstate::kReset;
            return;
        }
    } else {
        s.main.MainState = mainstate::kReset;
        return;
    }
    s.ui->SetConfigViewVisible(true);
    s.ui->SetSettingsMenusEnabled(false);
    ShowSectionButtons(s);
    s.main.Shell.CloseCommandCode = kCloseCommand;
    s.main.SectionCommand = 0;
    s.ui->SetWorkFormEnabled(true);
    NextState(s.main);
}

void Dispatch(Session& s, int code) {
    s.main.DispatchCode = static_cast<int16_t>(code);
    NextState(s.main);
}

// The option word a section receives, as the table names it.
int16_t* OptionSlot(MainRegisters& reg, SectionOption option) {
    switch (option) {
    case SectionOption::Command: return &reg.CommandOption;
    case SectionOption::ClockProgram: return &reg.ClockProgramOption;
    case SectionOption::None: break;
    }
    return nullptr;
}

void State4SectionCommand(Session& s) {
    if (s.main.SectionCommand == 0) return;
    LockToolbar(s, s.main.ToolbarButtonIndex);
    const int16_t section = s.main.SectionCommand;
    s.main.Shell.ActiveSection = section;
    s.main.SectionCommand = 0;

    if (section == s.main.Shell.CloseCommandCode) {
        if (s.link.PortOpened) {
            if (s.commands.closePanel) s.commands.closePanel(s);
            s.link.PortOpened = false;
        }
        s.main.MainState = mainstate::kReset;
        return;
    }

    const SectionDef* def = s.sections.Find(section);
    if (!def) {
        ShowSectionButtons(s);
        return;
    }
    if (s.config.ConfigSource == ConfigSource::File && def->part != FilePart::None) {
        const int part = static_cast<int>(def->part);
        s.main.Shell.SectionPartStatus =
            static_cast<int16_t>(s.commands.checkFilePart ? s.commands.checkFilePart(s, part) : status::kDone);
        if (s.main.Shell.SectionPartStatus != status::kDone) {
            ShowSectionButtons(s);
            return;
        }
    }
    if (def->panelOnly && s.config.ConfigSource != ConfigSource::Panel) {
        ShowSectionButtons(s);
        return;
    }
    int16_t option = s.main.CommandOption;
    // A guard may do the whole work itself (the clock entries that only
    // show or set the panel clock) and leave no section to run.
    if ((def->guard && !def->guard(s, option)) || !def->run) {
        ShowSectionButtons(s);
        return;
    }
    if (int16_t* slot = OptionSlot(s.main, def->option)) *slot = option;
    Dispatch(s, section);
}

void State5RunSection(Session& s) {
    const SectionDef* def = s.sections.Find(s.main.DispatchCode);
    if (!def || !def->run) {
        s.main.DispatchCode = 0;
    } else {
        if (def->locksToolbar) LockToolbar(s, 0);
        const int16_t* slot = OptionSlot(s.main, def->option);
        // RunSection takes a copy: the routine may replace the table's row
        // while it runs. An interactive section has shown its own failures;
        // the loop goes back to the configuration view either way.
        static_cast<void>(RunSection(s, def->run, PrintMode::Interactive, slot ? *slot : 0));
    }
    s.main.MainState = mainstate::kConfigView;
}

}  // namespace

bool ConfirmSuperiorOptions(Session& s) {
    if (!s.main.SuperiorOptionsConfirmed) {
        std::string text = GetText(s, kAdvancedOptionsWarning) + GetText(s, kAdvancedOptionsWarning + 1) +
                           GetText(s, kAdvancedOptionsWarning + 2) + GetText(s, kAdvancedOptionsWarning + 3) +
                           "\r\n\r\n" + GetText(s, kContinueQuestion);
        if (s.ui->MessageBox(GetText(s, kAdvancedOptionsTitle), text, MsgButtons::YesNo, MsgIcon::Exclamation) ==
            MsgAnswer::Yes)
            s.main.SuperiorOptionsConfirmed = true;
    }
    return s.main.SuperiorOptionsConfirmed;
}

void SetHomeCaptions(Session& s) {
    s.ui->SetWorkTitle(kProgramName);
    s.ui->SetMainCaption(std::string(kProgramName) + GetText(s, kVersionWord) + kProgramVersion);
}

void MainLoopTurn(Session& s) {
    if (s.main.MainState < mainstate::kReset || s.main.MainState > mainstate::kLast) s.main.MainState = mainstate::kReset;
    try {
        switch (s.main.MainState) {
        case mainstate::kReset: State0Reset(s); break;
        case mainstate::kHome: State1Home(s); break;
        case mainstate::kFileCommand: State2FileCommand(s); break;
        case mainstate::kConfigView: State3ConfigView(s); break;
        case mainstate::kSectionCommand: State4SectionCommand(s); break;
        case mainstate::kRunSection: State5RunSection(s); break;
        }
    } catch (const RuntimeError& e) {
        HandleRuntimeError(s, e.Number(), e.what());
        if (s.main.MainState == mainstate::kRunSection) s.main.MainState = mainstate::kConfigView;
    } catch (const std::exception& e) {
        HandleRuntimeError(s, err::kInvalidCall, e.what());
        if (s.main.MainState == mainstate::kRunSection) s.main.MainState = mainstate::kConfigView;
    }
}

}  // namespace cfg
