// Auto-configuration of a loop module: the panel scans its loop, reports the
// type of every device it found, and the tool merges that into the module's
// point configuration and writes it back.
#include <array>

#include "transfer/DateStamp.h"
#include "link/Connection.h"
#include "link/PanelCommands.h"
#include "loops/LoopSection.h"
#include "shell/Language.h"
#include "shell/Shell.h"

namespace cfg {

namespace {

constexpr int kBlocks = 25;
constexpr int kPointsPerBlock = 8;
constexpr double kPollSeconds = 0.4;

// Texts.
constexpr int kTitle = 43;            // followed by the module number
constexpr int kExplanation = 44;      // 44..63, one line each
constexpr int kLastExplanation = 63;
constexpr int kInProgress = 64;
constexpr int kRefused = 65, kRefusedHint = 66;

// Types 9 (call point) and 10 (module) are wired differently from every
// other device: a detected type agrees with the configured one when both are
// 9, both are 10, or neither is 9 or 10.
bool TypesAgree(int detected, int configured) {
    auto special = [](int t) { return t == 9 || t == 10; };
    if (special(detected) || special(configured)) return detected == configured;
    return true;
}

}  // namespace

AutoConfigPoint ApplyDetectedPoint(AutoConfigPoint p, int detected1, int detected2, bool overwrite) {
    const int D = (detected1 * 16) & 240;
    const int d = D >> 4;
    if (!overwrite) {
        if (D == 0) {
            p.b1 &= 15;
            return p;
        }
        if (TypesAgree(d, p.b1 >> 4)) {
            p.b1 = (p.b1 & 15) | D;
            return p;
        }
    }
    if (D == 0) {
        p.b1 &= 7;
        p.b2 &= 31;
    } else {
        int variant = p.b1 & 7;
        if (variant == 0 || overwrite) variant = d == 9 ? 2 : 1;
        p.b1 = variant | D | (p.b1 & 8);
    }
    p.param1 = 0;
    p.param2 = detected2 & 0xFF;
    return p;
}

bool RunAutoConfiguration(Session& s, LoopContext& c, AutoConfigChoice choice) {
    if (s.config.ConfigSource != ConfigSource::Panel || !c.Present()) return false;
    Ui& ui = *s.ui;
    if (choice.ask) {
        std::string text;
        for (int id = kExplanation; id <= kLastExplanation; ++id) text += (id > kExplanation ? "\r\n" : "") + GetText(s, id);
        switch (ui.MessageBox(GetText(s, kTitle) + " " + std::to_string(c.module), text, MsgButtons::YesNoCancel,
                              MsgIcon::Question)) {
        case MsgAnswer::Yes: choice.overwrite = true; break;
        case MsgAnswer::No: choice.overwrite = false; break;
        default: return false;
        }
    }

    if (!EnterProgrammingMode(s).Done()) return false;
    ui.OpenDiagWindow(GetText(s, kTitle) + " " + std::to_string(c.module), 3, 48, false);
    ui.WriteDiag(1, 2, GetText(s, kInProgress), ScreenColor::Default);
    auto& image = s.config.ConfigImage;
    for (int i = 1; i <= 1000; ++i) image[i] = 0;

    // Any failure from here ends the run with the window closed.
    auto fail = [&] {
        s.events.AbortRequested = false;
        ui.CloseDiagWindow();
        return false;
    };
    if (!ReadPanelBlock(s, kPanelTableBase + PointConfigOffset(c.module), kLoopTableBytes, kPointConfigCell, image).Done()) return fail();
    if (!ReadPanelBlock(s, kPanelTableBase + PointParamOffset(c.module), kLoopTableBytes, kPointParamCell, image).Done()) return fail();

    if (!LoopExchange(s, c.module, 133)) return fail();
    if (AnswerByte(s.link, 2) == 0) {
        ui.MessageBox(GetText(s, kTitle) + " " + std::to_string(c.module), GetText(s, kRefused) + "\r\n" + GetText(s, kRefusedHint),
                      MsgButtons::Ok, MsgIcon::Exclamation);
        return fail();
    }
    do {
        if (!WaitInView(s, kPollSeconds, {})) return fail();
        if (!LoopExchange(s, c.module, 5)) return fail();
    } while (AnswerByte(s.link, 2) != 0);

    std::array<bool, 33> used{};
    for (int k = 1; k <= kBlocks; ++k) {
        if (!LoopExchange(s, c.module, 11, k)) return fail();
        for (int j = 1; j <= kPointsPerBlock; ++j) {
            const int index = kPointsPerBlock * (k - 1) + j;
            const int cell = kPointConfigCell + 2 * (index - 1);
            const int param = kPointParamCell + 2 * (index - 1);
            AutoConfigPoint p{image[cell] & 0xFF, image[cell + 1] & 0xFF, image[param] & 0xFF,
                              image[param + 1] & 0xFF};
            p = ApplyDetectedPoint(p, AnswerByte(s.link, 2 * j), AnswerByte(s.link, 2 * j + 1), choice.overwrite);
            image[cell] = static_cast<Cell>(p.b1);
            image[cell + 1] = static_cast<Cell>(p.b2);
            image[param] = static_cast<Cell>(p.param1);
            image[param + 1] = static_cast<Cell>(p.param2);
            used[static_cast<std::size_t>((p.b2 & 31) + 1)] = true;
        }
    }

    if (!WritePanelBlock(s, kPanelTableBase + PointConfigOffset(c.module), kLoopTableBytes, true, kPointConfigCell, image).Done()) return fail();
    if (!WritePanelBlock(s, kPanelTableBase + PointParamOffset(c.module), kLoopTableBytes, true, kPointParamCell, image).Done()) return fail();

    // A group that now holds points but has no type gets the first one.
    auto& groups = s.config.TransferBuffer;
    if (!ReadPanelBlock(s, kPanelTableBase + kGroupTableOffset, kGroupTableSize, 1, groups).Done()) return fail();
    bool changed = false;
    for (int g = 1; g <= kGroupTableSize; ++g) {
        if (used[static_cast<std::size_t>(g)] && (groups[g] & 15) == 0) {
            groups[g] = static_cast<Cell>(groups[g] | 1);
            changed = true;
        }
    }
    if (changed) {
        if (!WritePanelBlock(s, kPanelTableBase + kGroupTableOffset, kGroupTableSize, true, 1, groups).Done()) return fail();
    }

    // The records of the old loop go; a reset the panel did not carry out
    // ends the view like any failed command.
    if (!ResetMinMax(s, c)) return fail();
    if (!ResetLoopErrors(s, c)) return fail();
    static_cast<void>(StampDate(s));
    LeaveProgrammingMode(s, true);
    WaitSeconds(s, 0.5);
    // A refusal has been reported; the new configuration is in the panel.
    (void)EnterProgrammingMode(s);
    ui.CloseDiagWindow();
    ui.SetLoopButtonPressed(loopbutton::kList);
    ShowConfiguredSensors(s, c, false);
    return true;
}

}  // namespace cfg
