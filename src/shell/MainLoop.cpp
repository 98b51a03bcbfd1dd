#include "MainLoop.h"

#include <exception>

#include "ErrorHandler.h"
#include "Language.h"
#include "Settings.h"
#include "Shell.h"

namespace cfg {

namespace {

// File part that a section needs: 1 = .CY2, 2 = .PY2, 3 = .UY2, 4 = .MY2;
// 0 for codes that need none.
int FilePartOf(int section) {
    if ((section >= 1 && section <= 5) || section == 9 || section == 10) return 1;
    if (section >= 6 && section <= 8) return section - 4;
    return 0;
}

void State0Reset(Session& s) {
    s.SectionCommand = 0;
    s.PortOpened = 0;
    s.link.ResetForClose();
    s.config.AddressDirectory[50] = 0;
    for (auto& hook : s.commands.resetHooks)
        if (hook) hook(s);
    s.ConfigFileName.clear();
    s.ConfigSource = 0;
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
    case 51:
        if (c.open) c.open(s, s.CommandOption);
        if (s.ConfigSource >= 1)
            NextState(s);
        else
            PrevState(s);
        break;
    case 52:
        if (c.transfer) c.transfer(s, s.CommandOption);
        PrevState(s);
        break;
    case 53:
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
    if (s.ConfigSource == 1) {
        if (s.commands.refreshFromFile) s.commands.refreshFromFile(s);
    } else if (s.ConfigSource == 2) {
        if (s.commands.refreshFromPanel) s.commands.refreshFromPanel(s);
        if (s.LinkStatus != 255) {
            s.MainState = 0;
            return;
        }
    } else {
        s.MainState = 0;
        return;
    }
    s.ui->SetConfigViewVisible(true);
    s.ui->SetSettingsMenusEnabled(false);
    ShowSectionButtons(s);
    s.Shell.CloseCommandCode = 12;
    s.SectionCommand = 0;
    s.ui->SetWorkFormEnabled(true);
    NextState(s);
}

void Dispatch(Session& s, int code) {
    s.DispatchCode = static_cast<int16_t>(code);
    NextState(s);
}

void State4SectionCommand(Session& s) {
    if (s.SectionCommand == 0) return;
    LockToolbar(s, s.ToolbarButtonIndex);
    const int16_t section = s.SectionCommand;
    s.Shell.ActiveSection = section;
    s.SectionCommand = 0;

    if (s.ConfigSource == 1) {
        int part = FilePartOf(section);
        if (part != 0) {
            s.Shell.SectionPartStatus =
                static_cast<int16_t>(s.commands.checkFilePart ? s.commands.checkFilePart(s, part) : 255);
            if (s.Shell.SectionPartStatus != 255) {
                ShowSectionButtons(s);
                return;
            }
        }
    }

    switch (section) {
    case 1: case 2: case 3: case 4: case 7: case 8: case 9: case 10: case 11:
        Dispatch(s, section);
        return;
    case 5:
        if (s.SuperiorOptionsConfirmed == 0) {
            std::string text = GetText(s, 399) + GetText(s, 400) + GetText(s, 401) + GetText(s, 402) +
                               "\r\n\r\n" + GetText(s, 403);
            if (s.ui->MessageBox(GetText(s, 398), text, MsgButtons::YesNo, MsgIcon::Exclamation) ==
                MsgAnswer::Yes)
                s.SuperiorOptionsConfirmed = 255;
        }
        if (s.SuperiorOptionsConfirmed > 0)
            Dispatch(s, 5);
        else
            ShowSectionButtons(s);
        return;
    case 6:
        s.ClockProgramOption = s.CommandOption;
        if (s.commands.prepareClockProgram)
            s.ClockProgramOption = static_cast<int16_t>(s.commands.prepareClockProgram(s, s.ClockProgramOption));
        if (s.ClockProgramOption > 0)
            Dispatch(s, 6);
        else
            ShowSectionButtons(s);
        return;
    case 255: {
        if (s.ConfigSource == 2) {
            s.QuietErrors = 1;
            s.LastErrorNumber = 0;
            bool found = s.commands.probeSerialFile && s.commands.probeSerialFile(s);
            if (!found && s.LastErrorNumber == 0) s.LastErrorNumber = 53;
            s.QuietErrors = 0;
            if (s.LastErrorNumber == 0) {
                Dispatch(s, 255);
                return;
            }
            s.LastErrorNumber = 0;
        }
        ShowSectionButtons(s);
        return;
    }
    default:
        break;
    }

    if (section == s.Shell.CloseCommandCode) {
        if (s.PortOpened > 0) {
            if (s.commands.closePanel) s.commands.closePanel(s);
            s.PortOpened = 0;
        }
        s.MainState = 0;
        return;
    }
    ShowSectionButtons(s);
}

void State5RunSection(Session& s) {
    auto it = s.commands.sections.find(s.DispatchCode);
    if (it == s.commands.sections.end() || !it->second) {
        s.DispatchCode = 0;
    } else {
        int option = 0;
        if (s.DispatchCode == 1) {
            LockToolbar(s, 0);
            option = s.CommandOption;
        } else if (s.DispatchCode == 6) {
            option = s.ClockProgramOption;
        } else if (s.DispatchCode == 11) {
            option = s.CommandOption;
        }
        int16_t printRequest = 0;
        it->second(s, printRequest, option);
    }
    s.MainState = 3;
}

}  // namespace

void SetHomeCaptions(Session& s) {
    s.ui->SetWorkTitle(kProgramName);
    s.ui->SetMainCaption(std::string(kProgramName) + GetText(s, 397) + kProgramVersion);
}

void MainLoopTurn(Session& s) {
    if (s.MainState < 0 || s.MainState > 5) s.MainState = 0;
    try {
        switch (s.MainState) {
        case 0: State0Reset(s); break;
        case 1: State1Home(s); break;
        case 2: State2FileCommand(s); break;
        case 3: State3ConfigView(s); break;
        case 4: State4SectionCommand(s); break;
        case 5: State5RunSection(s); break;
        }
    } catch (const RuntimeError& e) {
        HandleRuntimeError(s, e.Number(), e.what());
        if (s.MainState == 5) s.MainState = 3;
    } catch (const std::exception& e) {
        HandleRuntimeError(s, 5, e.what());
        if (s.MainState == 5) s.MainState = 3;
    }
}

}  // namespace cfg
