// Section 10: the concentrator modules that the configuration declares in
// its module directory (64 slots at .CY2 offset 430), each with its kind,
// the loop points it serves and a mark when those points disagree with the
// point configuration. Choosing a module questions it on the panel. The
// section changes nothing in the configuration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

enum class ModuleKind { None = 0, Input = 1, Output = 2, Mixed = 3, Loop = 4 };

// One slot byte of the module directory, decoded.
struct ModuleSlot {
    int byte = 0;      // 0 = empty slot
    int moduleClass = 0;  // bits 7..6
    bool flag = false;    // bit 5
    int number = 0;       // bits 4..0
    ModuleKind kind = ModuleKind::None;
    // The module's number among the concentrators: the slot's number, plus
    // 16 for input concentrators of class 2; for a loop module its loop 1..4.
    int moduleNumber = 0;

    static ModuleSlot Decode(int byte);
    bool Concentrator() const { return kind == ModuleKind::Input || kind == ModuleKind::Output || kind == ModuleKind::Mixed; }
    // Loop points served by a concentrator: 8 from (moduleNumber - 1) * 8 + 1.
    int FirstPoint() const { return (moduleNumber - 1) * 8 + 1; }
    int LastPoint() const { return FirstPoint() + 7; }
    // Outputs driven by output and mixed concentrators, numbered across them:
    // output concentrators 17..24 drive outputs 1..64, mixed ones 25..31
    // outputs 65..120.
    int FirstOutput() const;
    int LastOutput() const { return FirstOutput() + 7; }
    // The bus address the panel questions the module at: class and number,
    // without the flag bit.
    int BusAddress() const { return byte & 0xDF; }
};

// Whether a concentrator's points disagree with the point configuration
// (image cells 512..1311): none of its points is configured, or a
// configured point is not a module point of the kind the declaration
// promises (inputs: type 10 not variant 2; outputs: type 10 variant 2; mixed:
// either). Points beyond 400 are not checked. Never true for other kinds.
bool ModuleMismatch(const ConfigState&, const ModuleSlot&);
inline bool ModuleMismatch(const Session& s, const ModuleSlot& m) { return ModuleMismatch(s.config, m); }

struct ModuleCounts {
    int modules = 0;     // non-empty slots
    int mismatched = 0;  // lines marked " !!"
};
// Fills the screen buffer from image cells 430..493 and 512..1311; with
// In PrintMode::LinesOnly the hint about questioning a module is left out.
ModuleCounts RenderModules(const Page&, bool print);
ModuleCounts BuildModulesScreen(Session&, PrintMode mode);
// The section's printed lines from a file set in memory.
bool PrintModules(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);

// The section routine. In PrintMode::LinesOnly it only builds the lines.
void ModulesSection(Session&, PrintMode mode, int option);
inline constexpr int kModulesTitleText = 491;

// The detail window of the module in directory slot `slot` (1..64): the
// module questioned on the panel, its answers refreshed until the window is
// closed. A module that does not answer has the error reported and the
// window closed.
void ShowModuleDetail(Session&, int slot);

}  // namespace cfg
