// Message boxes shared by every part of the program.
#pragma once

#include <string>

#include "Session.h"

namespace cfg {

// Critical box, title text 1378, the two texts on two lines.
void ShowAlert(Session&, const std::string& first, const std::string& second);
// ShowAlert with texts 1281 and 1282: the function needs the panel.
void ShowNotConnected(Session&);
// Information box with an OK button.
void ShowInfo(Session&, const std::string& title, const std::string& message);
// Explains LastErrorNumber as a file error. Returns 1 for the numbers it
// knows (52, 53, 55, 58, 70, 71, 75, 76), else 0.
int ReportFileError(Session&);

}  // namespace cfg
