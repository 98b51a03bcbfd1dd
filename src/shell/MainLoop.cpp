#include "MainLoop.h"

#include <exception>

#include "ErrorHandler.h"
#include "Language.h"
#include "Settings.h"
#include "Shell.h"

namespace cfg {

namespace {

void State0Reset(Session& s) {
    s.SectionCommand = 0;
    s.PortOpened = 0;
    s.link.ResetForClose();
    s.config.AddressDirectory.SetLoaded(false);
    for (auto& hook : s.commands.resetHooks)
        if (hook) hook(s);
    s.ConfigFileName.clear();
    s.ConfigSource = ConfigSource::None;
    s.ui->SetSettingsLabel(SettingsCaption(s));
    NextState(s);
}

void State1Home(Session& s) {
    HideLoopDisplay(s);
    s.ui->HideSectionControls();
    ShowFileButtons(s);
    s.ui->SetConfigViewVisible(false);
    SetHomeCaptions(s);
    s.ui->SetSettingsMenusEnabled(true);
    s.PortOpened = 0;
    s.SectionCommand = 0;
    s.ui->SetWorkFormEnabled(true);
    s.CloseBlocked = 0;
    NextState(s);
}

void State2FileCommand(Session& s) {
    if (s.SectionCommand == 0) return;
    LockToolbar(s, s.ToolbarButtonIndex);
    auto& c = s.commands;
    switch (s.SectionCommand) {
    case kOpenCommand:
        if (c.open) c.open(s, s.CommandOption);
        if (s.ConfigSource != ConfigSource::None)
            NextState(s);
        else
            PrevState(s);
        break;
    case kTransferCommand:
        if (c.transfer) c.transfer(s, s.CommandOption);
        PrevState(s);
        break;
    case kCreateCommand:
        if (c.create) c.create(s, s.CommandOption);
        PrevState(s);
        break;
    default:
        PrevState(s);
        break;
    }
    s.SectionCommand = 0;
}

void State3ConfigView(Session& s) {
    if (s.ConfigSource == ConfigSource::File) {
        if (s.commands.refreshFromFile) s.commands.refreshFromFile(s);
    } else if (s.ConfigSource == ConfigSource::Panel) {
        if (s.commands.refreshFromPanel) s.commands.refreshFromPanel(s);
        if (s.LinkStatus != status::kDone) {
            s.MainState = mainstate::kReset;
            return;
        }
    } else {
        s.MainState = mainstate::kReset;
        return;
    }
    s.ui->SetConfigViewVisible(true);
    s.ui->SetSettingsMenusEnabled(false);
    ShowSectionButtons(s);
    s.Shell.CloseCommandCode = kCloseCommand;
    s.SectionCommand = 0;
    s.ui->SetWorkFormEnabled(true);
    NextState(s);
}

void Dispatch(Session& s, int code) {
    s.DispatchCode = static_cast<int16_t>(code);
    NextState(s);
}

// The option word a section receives, as the table names it.
int16_t* OptionSlot(Session& s, SectionOption option) {
    switch (option) {
    case SectionOption::Command: return &s.CommandOption;
    case SectionOption::ClockProgram: return &s.ClockProgramOption;
    case SectionOption::None: break;
    }
    return nullptr;
}

void State4SectionCommand(Session& s) {
    if (s.SectionCommand == 0) return;
    LockToolbar(s, s.ToolbarButtonIndex);
    const int16_t section = s.SectionCommand;
    s.Shell.ActiveSection = section;
    s.SectionCommand = 0;

    if (section == s.Shell.CloseCommandCode) {
        if (s.PortOpened > 0) {
            if (s.commands.closePanel) s.commands.closePanel(s);
            s.PortOpened = 0;
        }
        s.MainState = mainstate::kReset;
        return;
    }

    const SectionDef* def = s.sections.Find(section);
    if (!def) {
        ShowSectionButtons(s);
        return;
    }
    if (s.ConfigSource == ConfigSource::File && def->part != FilePart::None) {
        const int part = static_cast<int>(def->part);
        s.Shell.SectionPartStatus =
            static_cast<int16_t>(s.commands.checkFilePart ? s.commands.checkFilePart(s, part) : status::kDone);
        if (s.Shell.SectionPartStatus != status::kDone) {
            ShowSectionButtons(s);
            return;
        }
    }
    if (def->panelOnly && s.ConfigSource != ConfigSource::Panel) {
        ShowSectionButtons(s);
        return;
    }
    int16_t option = s.CommandOption;
    // A guard may do the whole work itself (the clock entries that only
    // show or set the panel clock) and leave no section to run.
    if ((def->guard && !def->guard(s, option)) || !def->run) {
        ShowSectionButtons(s);
        return;
    }
    if (int16_t* slot = OptionSlot(s, def->option)) *slot = option;
    Dispatch(s, section);
}

void State5RunSection(Session& s) {
    const SectionDef* def = s.sections.Find(s.DispatchCode);
    if (!def || !def->run) {
        s.DispatchCode = 0;
    } else {
        if (def->locksToolbar) LockToolbar(s, 0);
        const int16_t* slot = OptionSlot(s, def->option);
        // A copy: the routine may replace the table's row while it runs.
        const SectionDef::Run run = def->run;
        run(s, PrintMode::Interactive, slot ? *slot : 0);
    }
    s.MainState = mainstate::kConfigView;
}

}  // namespace

bool ConfirmSuperiorOptions(Session& s) {
    if (s.SuperiorOptionsConfirmed == 0) {
        std::string text = GetText(s, 399) + GetText(s, 400) + GetText(s, 401) + GetText(s, 402) + "\r\n\r\n" +
                           GetText(s, 403);
        if (s.ui->MessageBox(GetText(s, 398), text, MsgButtons::YesNo, MsgIcon::Exclamation) == MsgAnswer::Yes)
            s.SuperiorOptionsConfirmed = kFlag255;
    }
    return s.SuperiorOptionsConfirmed > 0;
}

void SetHomeCaptions(Session& s) {
    s.ui->SetWorkTitle(kProgramName);
    s.ui->SetMainCaption(std::string(kProgramName) + GetText(s, 397) + kProgramVersion);
}

void MainLoopTurn(Session& s) {
    if (s.MainState < mainstate::kReset || s.MainState > mainstate::kLast) s.MainState = mainstate::kReset;
    try {
        switch (s.MainState) {
        case mainstate::kReset: State0Reset(s); break;
        case mainstate::kHome: State1Home(s); break;
        case mainstate::kFileCommand: State2FileCommand(s); break;
        case mainstate::kConfigView: State3ConfigView(s); break;
        case mainstate::kSectionCommand: State4SectionCommand(s); break;
        case mainstate::kRunSection: State5RunSection(s); break;
        }
    } catch (const RuntimeError& e) {
        HandleRuntimeError(s, e.Number(), e.what());
        if (s.MainState == mainstate::kRunSection) s.MainState = mainstate::kConfigView;
    } catch (const std::exception& e) {
        HandleRuntimeError(s, 5, e.what());
        if (s.MainState == mainstate::kRunSection) s.MainState = mainstate::kConfigView;
    }
}

}  // namespace cfg
