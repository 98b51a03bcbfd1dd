// Section 9: the installation's name (.CY2 offset 192, 19 characters) and
// the panel's own link parameters (.CY2 offset 496: address, plant code,
// baud code, a spare byte). The name can be changed on a file set and on
// the panel; the link parameters only on the connected panel, and the tool
// follows every change at once so that it keeps talking to the panel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/Layout.h"
#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

inline constexpr int kInstallationNameOffset = 192;
inline constexpr int kInstallationNameLength = 19;
inline constexpr int kCommParamLength = 4;  // at kCommParamsOffset (config/Layout.h)

// Accepted values: address 1..223 (0 means "whichever panel answers" on
// the link, not an address to give a panel), plant code 0..223.
inline constexpr int kPanelAddressMin = 1;
inline constexpr int kPanelAddressMax = 223;
inline constexpr int kPlantCodeMin = 0;
inline constexpr int kPlantCodeMax = 223;

inline constexpr int kIdentityTitleText = 541;

// The section routine. In PrintMode::LinesOnly it only builds the lines (for the
// printout); Interactive opens the section for editing.
void IdentitySection(Session&, PrintMode mode, int option = 0);
// Fills the screen buffer from ConfigImage and takes InstallationName from
// cells 192..210. Descriptor field: 1 the name, 2 address (value2 1) or
// plant code (value2 2), 3 the baud code. On the editing screen
// (Interactive) over the relay files the rate is labelled as fixed; a printout does not
// depend on the link it was made over.
void BuildIdentityScreen(Session&, PrintMode mode = PrintMode::Interactive);
// The same lines from the image alone; `fixedRate` labels the rate as fixed.
void RenderIdentity(const Page&, bool fixedRate);
// The section's printed lines from a file set in memory.
bool PrintIdentity(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Runs the editor of screen line `line`; true when something was written.
bool EditIdentityLine(Session&, int line);

// The 16-bit condition that refuses a change of the panel's rate (alert
// 1277/1278): the number of panel views whose window is still open (the
// text-grid window of the loop diagnostics polls the panel at the current
// rate, and would lose it mid-exchange).
int PanelViewsOpen(Session&);

}  // namespace cfg
